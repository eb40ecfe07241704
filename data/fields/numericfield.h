#pragma once

#include "data/fields/field.h"

namespace contado {

// Base of the number fields: right-aligned, typed with signs and digits, shown through an optional
// number format (DisplayFormat when displayed, EditFormat when edited).
class TNumericField : public TField {
  public:
    explicit TNumericField(TComponent* owner = nullptr);

    const std::string& DisplayFormat() const { return displayFormat_; }
    void SetDisplayFormat(const std::string& format) { displayFormat_ = format; }
    const std::string& EditFormat() const { return editFormat_; }
    void SetEditFormat(const std::string& format) { editFormat_ = format; }

  protected:
    // The format for a display or an edit text; empty when none applies.
    const std::string& TextFormat(bool displayText) const;

  private:
    std::string displayFormat_;
    std::string editFormat_;
};

}  // namespace contado
