#include "platform/fbdriver/fbmetadata.h"

#include "platform/fbdriver/fboptionbuffer.h"
#include "platform/fbdriver/fbsession.h"

namespace contado {

SQLResult TFbMetaData::setOption(int option, std::intptr_t value) {
    if (option != metaoption::kSchemaName) {
        return sqlstatus::kNotSupported;
    }
    schemaName_ = OptionText(value);
    return sqlstatus::kSuccess;
}

SQLResult TFbMetaData::getOption(int option, void* buffer, std::int32_t size, std::int32_t& length) {
    switch (option) {
        case metaoption::kSchemaName:
            return WriteOptionText(buffer, size, length, schemaName_);
        case metaoption::kObjectQuoteChar: {
            if (buffer == nullptr || size < 1) {
                return sqlstatus::kInvalidParameter;
            }
            // Dialect 1 reads double quotes as string delimiters: no identifier quoting there.
            *static_cast<char*>(buffer) = session_->Options().SQLDialect >= 3 ? '"' : '\0';
            length = 1;
            return sqlstatus::kSuccess;
        }
        case metaoption::kSupportsTransactions:
            return WriteOptionNumber(buffer, size, length, 1);
        case metaoption::kSupportsMultipleTransactions:
            return WriteOptionNumber(buffer, size, length, 0);
        default:
            return sqlstatus::kNotSupported;
    }
}

SQLResult TFbMetaData::getErrorMessage(std::string& message) {
    message.clear();
    return sqlstatus::kSuccess;
}

}  // namespace contado
