#pragma once

#include <string>
#include <vector>

namespace contado {

// The connection's settings as lines "name=value". Names are compared without regard to case.
class TConnectionParams {
  public:
    int Count() const { return static_cast<int>(lines_.size()); }
    const std::string& Line(int index) const { return lines_.at(index); }
    const std::vector<std::string>& Lines() const { return lines_; }
    void SetLines(std::vector<std::string> lines) { lines_ = std::move(lines); }
    void Add(const std::string& line) { lines_.push_back(line); }
    void Clear() { lines_.clear(); }

    // The line of that name, or -1.
    int IndexOfName(const std::string& name) const;
    bool HasName(const std::string& name) const { return IndexOfName(name) >= 0; }
    // The value of the named line; empty when there is none.
    std::string Value(const std::string& name) const;
    // Replaces the named line (spelt as given here), appends a new one, or removes the line when
    // the value is empty.
    void SetValue(const std::string& name, const std::string& value);

  private:
    static std::string NameOf(const std::string& line);

    std::vector<std::string> lines_;
};

}  // namespace contado
