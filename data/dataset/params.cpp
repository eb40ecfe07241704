#include "data/dataset/params.h"

#include "core/exceptions.h"
#include "core/textutil.h"

namespace contado {

TParam& TParams::Add(TParam param) {
    items_.push_back(std::move(param));
    return items_.back();
}

TParam* TParams::FindParam(const std::string& name) {
    for (TParam& param : items_) {
        if (SameText(param.Name(), name)) {
            return &param;
        }
    }
    return nullptr;
}

TParam& TParams::ParamByName(const std::string& name) {
    TParam* param = FindParam(name);
    if (param == nullptr) {
        throw EDatabaseError(FormatMessage("Parameter '%s' not found", name));
    }
    return *param;
}

void TParams::AssignValues(const TParams& other) {
    for (TParam& param : items_) {
        for (const TParam& source : other) {
            if (SameText(param.Name(), source.Name())) {
                param.SetValue(source.Value());
                param.SetDataType(source.DataType());
            }
        }
    }
}

}  // namespace contado
