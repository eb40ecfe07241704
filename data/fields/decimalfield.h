#pragma once

#include "data/fields/numericfield.h"

namespace contado {

// Base of the exact decimal fields: a value of Precision digits with Size() fraction digits.
// As text it uses the system decimal separator and drops trailing fraction zeros.
class TDecimalField : public TNumericField {
  public:
    // 0: the largest precision a decimal can have.
    int Precision() const { return precision_; }
    void SetPrecision(int precision) { precision_ = precision; }
    // Bounds written with a full stop as separator; empty: none.
    const std::string& MinValue() const { return minValue_; }
    void SetMinValue(const std::string& value) { minValue_ = value; }
    const std::string& MaxValue() const { return maxValue_; }
    void SetMaxValue(const std::string& value) { maxValue_ = value; }

    std::string AsString() const override;
    void SetAsString(const std::string& value) override;
    std::int32_t AsInteger() const override;
    void SetAsInteger(std::int32_t value) override { SetAsBCD(TBcd::FromInt64(value)); }
    std::int64_t AsLargeInt() const override;
    void SetAsLargeInt(std::int64_t value) override { SetAsBCD(TBcd::FromInt64(value)); }
    double AsFloat() const override { return AsBCD().ToDouble(); }
    void SetAsFloat(double value) override;
    TCurrency AsCurrency() const override { return AsBCD().ToCurrency(); }
    void SetAsCurrency(TCurrency value) override { SetAsBCD(TBcd::FromCurrency(value)); }
    TBcd AsBCD() const override;
    void SetAsBCD(const TBcd& value) override;
    bool IsValidChar(char c) const override;
    std::string GetText(bool displayText) const override;

  protected:
    TDecimalField(TComponent* owner, TFieldType type, int size, int precision);
    int DefaultWidth() const override { return EffectivePrecision() + 2; }

  private:
    int EffectivePrecision() const { return precision_ > 0 ? precision_ : TBcd::kMaxPrecision; }
    std::string GeneralText(const TBcd& value) const;
    void CheckRange(const TBcd& value) const;

    int precision_;
    std::string minValue_;
    std::string maxValue_;
};

}  // namespace contado
