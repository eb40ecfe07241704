#include "app/run/runoptions.h"

#include <cmath>
#include <cstdio>

#include "core/exceptions.h"

namespace contado {

namespace {

constexpr const char* kCatchUp = "--desde";
constexpr const char* kDryRun = "--ensayo";

bool IsDigits(const std::string& text, std::size_t from, std::size_t count) {
    for (std::size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
    }
    return true;
}

// Exactly "YYYY-MM-DD" naming a real day.
bool TryParseIsoDate(const std::string& text, TDateTime& day) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !IsDigits(text, 0, 4) ||
        !IsDigits(text, 5, 2) || !IsDigits(text, 8, 2)) {
        return false;
    }
    const int year = std::stoi(text.substr(0, 4));
    const int month = std::stoi(text.substr(5, 2));
    const int dayOfMonth = std::stoi(text.substr(8, 2));
    if (!IsValidDate(year, month, dayOfMonth)) {
        return false;
    }
    day = EncodeDate(year, month, dayOfMonth);
    return true;
}

}  // namespace

std::string IsoDateText(TDateTime day) {
    const TDateParts parts = DecodeDate(day);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", parts.year, parts.month, parts.day);
    return text;
}

TRunOptions TRunOptions::Parse(const std::vector<std::string>& arguments, TDateTime today) {
    TRunOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == kDryRun) {
            options.DryRun = true;
        } else if (argument == kCatchUp) {
            if (i + 1 >= arguments.size()) {
                throw EDatabaseError("Falta la fecha después de --desde (AAAA-MM-DD)");
            }
            options.CatchUpFrom = CatchUpDay(arguments[++i], today);
        } else if (argument.rfind("--", 0) == 0) {
            throw EDatabaseError("Opción desconocida: " + argument);
        }
    }
    return options;
}

TDateTime TRunOptions::CatchUpDay(const std::string& text, TDateTime today) {
    TDateTime day = 0;
    if (!TryParseIsoDate(text, day)) {
        throw EDatabaseError("La fecha de --desde no es válida: '" + text + "' (se espera AAAA-MM-DD)");
    }
    if (day > std::floor(today)) {
        throw EDatabaseError("La fecha de --desde (" + text + ") es posterior a hoy");
    }
    if (std::floor(today) - day > kMaxCatchUpDays) {
        throw EDatabaseError("La fecha de --desde (" + text + ") es de hace más de " +
                             std::to_string(kMaxCatchUpDays) + " días");
    }
    return day;
}

std::vector<TDateTime> TRunOptions::Days(TDateTime today) const {
    const TDateTime last = std::floor(today);
    std::vector<TDateTime> days;
    for (TDateTime day = CatchUpFrom.value_or(last); day <= last; day += 1) {
        days.push_back(day);
    }
    return days;
}

}  // namespace contado
