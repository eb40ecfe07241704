#pragma once

#include <cstdint>

#include "data/fields/numericfield.h"

namespace contado {

// A 32-bit integer field.
class TIntegerField : public TNumericField {
  public:
    explicit TIntegerField(TComponent* owner = nullptr);

    // Both 0: any value of the field's type.
    std::int64_t MinValue() const { return minValue_; }
    void SetMinValue(std::int64_t value) { minValue_ = value; }
    std::int64_t MaxValue() const { return maxValue_; }
    void SetMaxValue(std::int64_t value) { maxValue_ = value; }

    std::string AsString() const override;
    void SetAsString(const std::string& value) override;
    std::int32_t AsInteger() const override { return static_cast<std::int32_t>(AsLargeInt()); }
    void SetAsInteger(std::int32_t value) override { SetAsLargeInt(value); }
    std::int64_t AsLargeInt() const override;
    void SetAsLargeInt(std::int64_t value) override;
    double AsFloat() const override { return static_cast<double>(AsLargeInt()); }
    void SetAsFloat(double value) override;
    TBcd AsBCD() const override { return TBcd::FromInt64(AsLargeInt()); }
    void SetAsBCD(const TBcd& value) override;
    TCurrency AsCurrency() const override { return TCurrency::FromInteger(AsLargeInt()); }
    void SetAsCurrency(TCurrency value) override { SetAsBCD(TBcd::FromCurrency(value)); }
    std::string GetText(bool displayText) const override;

  protected:
    TIntegerField(TComponent* owner, TFieldType type, std::int64_t lowest, std::int64_t highest);
    int DefaultWidth() const override { return 11; }

  private:
    void CheckRange(std::int64_t value) const;

    std::int64_t lowest_;
    std::int64_t highest_;
    std::int64_t minValue_ = 0;
    std::int64_t maxValue_ = 0;
};

}  // namespace contado
