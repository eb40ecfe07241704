#pragma once

#include <string>
#include <vector>

#include "data/dataset/param.h"

namespace contado {

// An ordered list of parameters; names compared without regard to case.
class TParams {
  public:
    int Count() const { return static_cast<int>(items_.size()); }
    bool IsEmpty() const { return items_.empty(); }
    TParam& operator[](int index) { return items_.at(index); }
    const TParam& operator[](int index) const { return items_.at(index); }
    TParam& Add(TParam param);
    void Clear() { items_.clear(); }
    TParam* FindParam(const std::string& name);
    // Throws EDatabaseError "Parameter '%s' not found".
    TParam& ParamByName(const std::string& name);
    // Keeps the values of same-named parameters of another list.
    void AssignValues(const TParams& other);

    std::vector<TParam>::const_iterator begin() const { return items_.begin(); }
    std::vector<TParam>::const_iterator end() const { return items_.end(); }
    friend bool operator==(const TParams&, const TParams&) = default;

  private:
    std::vector<TParam> items_;
};

}  // namespace contado
