#pragma once

#include "core/formatsettings.h"
#include "data/fields/datetimefield.h"

namespace contado {

// A time of day.
class TTimeField : public TDateTimeField {
  public:
    explicit TTimeField(TComponent* owner = nullptr) : TDateTimeField(owner, ftTime) {}

  protected:
    int DefaultWidth() const override { return 8; }
    std::string DefaultFormat(TDateTime value) const override { return TimeToStr(value); }
    // "'%s' is not a valid time".
    TDateTime ParseText(const std::string& text) const override;
    TDateTime Stored(TDateTime value) const override { return TimeOf(value); }
};

}  // namespace contado
