#pragma once

#include "core/formatsettings.h"
#include "data/fields/datetimefield.h"

namespace contado {

// A date without a time of day.
class TDateField : public TDateTimeField {
  public:
    explicit TDateField(TComponent* owner = nullptr) : TDateTimeField(owner, ftDate) {}

  protected:
    int DefaultWidth() const override { return 10; }
    std::string DefaultFormat(TDateTime value) const override { return DateToStr(value); }
    // "'%s' is not a valid date".
    TDateTime ParseText(const std::string& text) const override { return StrToDate(text); }
    TDateTime Stored(TDateTime value) const override { return DateOf(value); }
};

}  // namespace contado
