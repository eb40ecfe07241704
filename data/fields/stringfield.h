#pragma once

#include "data/fields/field.h"

namespace contado {

// A text of at most Size() characters; an assigned text is cut to that length.
class TStringField : public TField {
  public:
    explicit TStringField(TComponent* owner = nullptr);

    bool FixedChar() const { return fixedChar_; }
    void SetFixedChar(bool fixed) { fixedChar_ = fixed; }

    std::string AsString() const override;
    void SetAsString(const std::string& value) override;
    std::int32_t AsInteger() const override;
    void SetAsInteger(std::int32_t value) override { SetAsString(std::to_string(value)); }
    double AsFloat() const override;
    void SetAsFloat(double value) override;
    TDateTime AsDateTime() const override;
    void SetAsDateTime(TDateTime value) override;
    TBcd AsBCD() const override;
    void SetAsBCD(const TBcd& value) override;

  protected:
    int DefaultWidth() const override { return Size(); }

  private:
    bool fixedChar_ = false;
};

}  // namespace contado
