#include "platform/dsengine/dsstatus.h"

#include "core/textutil.h"

namespace contado {

std::string DSErrorText(int status) {
    switch (status) {
        case dsstatus::kOk:
            return "";
        case dsstatus::kBeginningOfRows:
            return "Beginning of rows reached";
        case dsstatus::kEndOfRows:
            return "End of rows reached";
        case dsstatus::kNoCurrentRecord:
            return "No current record";
        case dsstatus::kRecordNotFound:
            return "Record not found";
        case dsstatus::kInvalidBookmark:
            return "Invalid bookmark";
        case dsstatus::kNoTable:
            return "No data packet has been loaded";
        case dsstatus::kColumnOutOfRange:
            return "Field index out of range";
        case dsstatus::kRowShapeMismatch:
            return "Data packet row does not match its columns";
        case dsstatus::kInvalidExpression:
            return "Invalid filter expression";
        case dsstatus::kInvalidFilterHandle:
            return "Invalid filter handle";
        case dsstatus::kReadOnly:
            return "Dataset is read-only";
        // The error translator recognises these two by their first characters.
        case dsstatus::kKeyViolation:
            return "key violation.";
        case dsstatus::kMasterHasDetails:
            return "Cannot delete master record with dependent detail records";
        case dsstatus::kInvalidErrorPacket:
            return "Invalid error packet";
        case dsstatus::kInvalidAction:
            return "Invalid reconcile action";
        default:
            return FormatMessage("Engine error %d", status);
    }
}

}  // namespace contado
