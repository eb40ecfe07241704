#pragma once

#include "data/fields/field.h"

namespace contado {

// A date and time of day. Its text uses DisplayFormat when displayed and set, else the system's
// short date and long time formats.
class TDateTimeField : public TField {
  public:
    explicit TDateTimeField(TComponent* owner = nullptr);

    const std::string& DisplayFormat() const { return displayFormat_; }
    void SetDisplayFormat(const std::string& format) { displayFormat_ = format; }

    std::string AsString() const override { return GetText(false); }
    void SetAsString(const std::string& value) override;
    TDateTime AsDateTime() const override;
    void SetAsDateTime(TDateTime value) override;
    double AsFloat() const override { return AsDateTime(); }
    void SetAsFloat(double value) override { SetAsDateTime(value); }
    std::string GetText(bool displayText) const override;

  protected:
    TDateTimeField(TComponent* owner, TFieldType type);
    int DefaultWidth() const override { return 18; }
    // The system format for the field's kind of value.
    virtual std::string DefaultFormat(TDateTime value) const;
    // Reads a text of the field's kind; throws EConvertError when it is none.
    virtual TDateTime ParseText(const std::string& text) const;
    // What the field keeps of an assigned value.
    virtual TDateTime Stored(TDateTime value) const { return value; }

  private:
    std::string displayFormat_;
};

// Reads "h:n", "h:n:s" or "h:n:s.f" (to the ten-thousandth of a second); false when the text is no
// time of day.
bool TryStrToTime(const std::string& text, TDateTime& value);

}  // namespace contado
