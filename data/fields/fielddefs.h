#pragma once

#include <string>
#include <vector>

#include "data/fields/fielddef.h"

namespace contado {

// The column descriptions of a dataset in column order; names compared without regard to case.
class TFieldDefs {
  public:
    int Count() const { return static_cast<int>(items_.size()); }
    bool IsEmpty() const { return items_.empty(); }
    const TFieldDef& operator[](int index) const { return items_.at(index); }
    TFieldDef& operator[](int index) { return items_.at(index); }
    // Appends a definition and numbers it after the existing ones.
    TFieldDef& Add(TFieldDef def);
    void Clear() { items_.clear(); }
    int IndexOf(const std::string& name) const;
    const TFieldDef* Find(const std::string& name) const;

    std::vector<TFieldDef>::const_iterator begin() const { return items_.begin(); }
    std::vector<TFieldDef>::const_iterator end() const { return items_.end(); }

  private:
    std::vector<TFieldDef> items_;
};

}  // namespace contado
