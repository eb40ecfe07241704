#pragma once

#include "data/dataset/param.h"
#include "data/dataset/params.h"
#include "platform/sqldriver.h"

namespace contado {

// Parameters as the driver takes them: each field type has its driver type (text, 32-bit integer,
// day number, decimal with the value's own digits, ...) and a null flag.
class TDriverParameter {
  public:
    // Fails with "No value for parameter '%s'" for a type the driver has no type for.
    static TDriverValue FromParam(const TParam& param);
    // Binds every parameter by position from 1; a failing status raises with the command's text.
    static void BindAll(ISQLCommand& command, const TParams& params, std::string& lastErrorText);

  private:
    static TDriverType DriverType(TFieldType type);
    static void StoreValue(const TVariant& value, TDriverValue& driverValue);
};

}  // namespace contado
