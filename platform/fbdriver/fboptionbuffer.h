#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/sqldriver.h"

namespace contado {

// Writes an option's value into the caller's buffer: numbers as 32 bits, texts zero-terminated
// (cut to the buffer, with the full length answered).
inline SQLResult WriteOptionNumber(void* buffer, std::int32_t size, std::int32_t& length,
                                   std::int32_t value) {
    if (buffer == nullptr || size < static_cast<std::int32_t>(sizeof(value))) {
        return sqlstatus::kInvalidParameter;
    }
    std::memcpy(buffer, &value, sizeof(value));
    length = sizeof(value);
    return sqlstatus::kSuccess;
}

inline SQLResult WriteOptionText(void* buffer, std::int32_t size, std::int32_t& length,
                                 const std::string& text) {
    if (buffer == nullptr || size < 1) {
        return sqlstatus::kInvalidParameter;
    }
    const std::size_t copied = std::min(text.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, text.data(), copied);
    static_cast<char*>(buffer)[copied] = '\0';
    length = static_cast<std::int32_t>(text.size());
    return sqlstatus::kSuccess;
}

inline std::string OptionText(std::intptr_t value) {
    const auto* text = reinterpret_cast<const char*>(value);
    return text == nullptr ? std::string() : std::string(text);
}

}  // namespace contado
