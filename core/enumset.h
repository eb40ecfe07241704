#pragma once

#include <cstdint>
#include <initializer_list>

namespace contado {

// A set of values of a small enumeration (at most 64 values), as option and flag sets use.
template <typename Enum>
class TEnumSet {
  public:
    constexpr TEnumSet() = default;
    constexpr TEnumSet(std::initializer_list<Enum> values) {
        for (Enum value : values) {
            bits_ |= Bit(value);
        }
    }

    constexpr bool Contains(Enum value) const { return (bits_ & Bit(value)) != 0; }
    constexpr bool IsEmpty() const { return bits_ == 0; }
    constexpr void Include(Enum value) { bits_ |= Bit(value); }
    constexpr void Exclude(Enum value) { bits_ &= ~Bit(value); }
    constexpr std::uint64_t Bits() const { return bits_; }

    friend constexpr bool operator==(const TEnumSet&, const TEnumSet&) = default;

  private:
    static constexpr std::uint64_t Bit(Enum value) {
        return std::uint64_t{1} << static_cast<unsigned>(value);
    }
    std::uint64_t bits_ = 0;
};

}  // namespace contado
