#include "data/sql/sqlerror.h"

#include <map>

#include "core/exceptions.h"
#include "core/textutil.h"

namespace contado {

namespace {

const std::map<SQLResult, const char*>& StatusTexts() {
    static const std::map<SQLResult, const char*> texts{
        {1, "[0x0001]: Warning"},
        {2, "[0x0002]: Insufficient Memory for Operation"},
        {3, "[0x0003]: Invalid Field Type"},
        {4, "[0x0004]: Invalid Handle"},
        {5, "[0x0005]: Operation Not Supported"},
        {6, "[0x0006]: Invalid Time"},
        {7, "[0x0007]: Invalid Data Translation"},
        {8, "[0x0008]: Parameter/Column out of Range"},
        {9, "[0x0009]: Invalid Parameter"},
        {10, "[0x000A]: Result set at EOF"},
        {11, "SQLDriver Error [0x000B]: Parameter Not Set"},
        {12, "[0x000C] Invalid Username/Password"},
        {13, "[0x000D]: Invalid Precision"},
        {14, "[0x000E]: Invalid Length"},
        {15, "[0x000F]: Invalid Transaction Isolation Level"},
        {16, "[0x0010]: Invalid Transaction ID"},
        {17, "[0x0011]: Duplicate Transaction ID"},
        {19, "[0x0013]: Local Transaction already active"},
        {20, "[0x0014]: Multiple Transactions not Enabled"},
        {21, "[0x0015]: Connection failed"},
        {22, "[0x0016]: Driver initialization failed"},
        {23, "[0x0017]: Optimistic Locking failed"},
        {24, "[0x0018]: Invalid REF"},
        {25, "[0x0019]: No table found"},
        {sqlstatus::kNoData, "[0x0064]: No more data"},
    };
    return texts;
}

}  // namespace

std::string TSQLError::StatusText(SQLResult status) {
    const auto found = StatusTexts().find(status);
    return found == StatusTexts().end() ? std::string() : FormatMessage("SQLDriver Error: %s", found->second);
}

std::string TSQLError::Message(SQLResult status, const std::string& handleText,
                               const std::string& previousText) {
    const std::string first = StatusText(status);
    const std::string second =
        handleText.empty() ? std::string() : FormatMessage("SQL Server Error: %s", handleText);
    if (!first.empty() && !second.empty()) {
        return first + "\r\n" + second;
    }
    if (!first.empty() || !second.empty()) {
        return first + second;
    }
    if (!previousText.empty()) {
        return previousText;
    }
    return FormatMessage("SQLDriver Error: Unknown Error Code '%s'", static_cast<int>(status));
}

void TSQLError::Raise(SQLResult status, const std::string& handleText, std::string& lastErrorText) {
    lastErrorText = Message(status, handleText, lastErrorText);
    throw EDatabaseError(lastErrorText);
}

}  // namespace contado
