#pragma once

#include "data/fields/numericfield.h"

namespace contado {

// A double-precision floating-point field.
class TFloatField : public TNumericField {
  public:
    explicit TFloatField(TComponent* owner = nullptr);

    // Significant digits of the general text.
    int Precision() const { return precision_; }
    void SetPrecision(int precision) { precision_ = precision; }

    std::string AsString() const override;
    void SetAsString(const std::string& value) override;
    std::int32_t AsInteger() const override;
    void SetAsInteger(std::int32_t value) override { SetAsFloat(value); }
    double AsFloat() const override;
    void SetAsFloat(double value) override;
    TBcd AsBCD() const override;
    void SetAsBCD(const TBcd& value) override { SetAsFloat(value.ToDouble()); }
    bool IsValidChar(char c) const override;
    std::string GetText(bool displayText) const override;

  protected:
    TFloatField(TComponent* owner, TFieldType type);

  private:
    int precision_ = 15;
};

}  // namespace contado
