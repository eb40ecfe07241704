#include "data/sql/parametermarkers.h"

#include <string_view>

namespace contado {

namespace {

constexpr std::string_view kBeforeMarker = " (),=";
constexpr std::string_view kAfterMarker = " ),\r\n=<>";

}  // namespace

std::vector<TParameterMarkers::TMarker> TParameterMarkers::Find(const std::string& sql, char quote) {
    std::vector<TMarker> markers;
    char openQuote = '\0';
    for (std::size_t index = 0; index < sql.size(); ++index) {
        const char character = sql[index];
        if (openQuote != '\0') {
            openQuote = character == openQuote ? '\0' : openQuote;
        } else if (character == '\'' || (quote != '\0' && character == quote)) {
            openQuote = character;
        } else if (character == ':' && index > 0 &&
                   kBeforeMarker.find(sql[index - 1]) != std::string_view::npos) {
            const std::size_t end = MarkerEnd(sql, index + 1);
            if (end > index + 1) {
                markers.push_back(TMarker{index, end - index});
                index = end - 1;
            }
        }
    }
    return markers;
}

std::size_t TParameterMarkers::MarkerEnd(const std::string& sql, std::size_t nameStart) {
    std::size_t end = nameStart;
    while (end < sql.size() && kAfterMarker.find(sql[end]) == std::string_view::npos) {
        ++end;
    }
    return end;
}

std::vector<std::string> TParameterMarkers::Names(const std::string& sql, char quote) {
    std::vector<std::string> names;
    for (const TMarker& marker : Find(sql, quote)) {
        names.push_back(sql.substr(marker.Start + 1, marker.Length - 1));
    }
    return names;
}

std::string TParameterMarkers::ReplaceWithPlaceholders(const std::string& sql, char quote) {
    std::string result;
    std::size_t copied = 0;
    for (const TMarker& marker : Find(sql, quote)) {
        result.append(sql, copied, marker.Start - copied);
        result += " ? ";
        copied = marker.Start + marker.Length;
    }
    result.append(sql, copied, std::string::npos);
    return result;
}

}  // namespace contado
