#pragma once

#include <string>
#include <vector>

namespace contado {

// Named parameter markers in a statement text: outside quotes (a single quote, or the identifier
// quote character), a colon after a blank, "(", ")", "," or "=" starts a marker, which runs up to
// the next blank, ")", ",", line break or comparison sign.
class TParameterMarkers {
  public:
    // The names of the markers in text order (a name may come more than once).
    static std::vector<std::string> Names(const std::string& sql, char quote);
    // The text with every marker replaced by " ? ", so that values bind by position.
    static std::string ReplaceWithPlaceholders(const std::string& sql, char quote);

  private:
    struct TMarker {
        std::size_t Start;   // the colon
        std::size_t Length;  // colon and name
    };

    static std::vector<TMarker> Find(const std::string& sql, char quote);
    static std::size_t MarkerEnd(const std::string& sql, std::size_t nameStart);
};

}  // namespace contado
