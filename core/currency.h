#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace contado {

// 64-bit fixed-point number counting ten-thousandths: 0.8 is stored as 8000.
class TCurrency {
  public:
    static constexpr std::int64_t kScale = 10000;

    constexpr TCurrency() = default;
    static constexpr TCurrency FromRaw(std::int64_t raw) { return TCurrency(raw); }
    static TCurrency FromDouble(double value);
    static constexpr TCurrency FromInteger(std::int64_t value) { return TCurrency(value * kScale); }

    constexpr std::int64_t Raw() const { return raw_; }
    double ToDouble() const { return static_cast<double>(raw_) / kScale; }

    // Digits with the given decimal separator; trailing fraction zeros and a bare separator dropped.
    std::string ToString(char decimalSeparator) const;

    constexpr auto operator<=>(const TCurrency&) const = default;

  private:
    explicit constexpr TCurrency(std::int64_t raw) : raw_(raw) {}
    std::int64_t raw_ = 0;
};

}  // namespace contado
