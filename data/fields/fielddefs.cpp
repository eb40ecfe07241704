#include "data/fields/fielddefs.h"

#include "core/textutil.h"

namespace contado {

TFieldDef& TFieldDefs::Add(TFieldDef def) {
    def.SetFieldNo(Count() + 1);
    items_.push_back(std::move(def));
    return items_.back();
}

int TFieldDefs::IndexOf(const std::string& name) const {
    for (int i = 0; i < Count(); ++i) {
        if (SameText(items_[i].Name(), name)) {
            return i;
        }
    }
    return -1;
}

const TFieldDef* TFieldDefs::Find(const std::string& name) const {
    const int index = IndexOf(name);
    return index < 0 ? nullptr : &items_[index];
}

}  // namespace contado
