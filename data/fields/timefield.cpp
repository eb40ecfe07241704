#include "data/fields/timefield.h"

#include "core/exceptions.h"
#include "core/textutil.h"

namespace contado {

TDateTime TTimeField::ParseText(const std::string& text) const {
    TDateTime value = 0;
    if (!TryStrToTime(text, value)) {
        throw EConvertError(FormatMessage("'%s' is not a valid time", text));
    }
    return value;
}

}  // namespace contado
