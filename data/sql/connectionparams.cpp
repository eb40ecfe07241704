#include "data/sql/connectionparams.h"

#include "core/textutil.h"

namespace contado {

std::string TConnectionParams::NameOf(const std::string& line) {
    const std::size_t equals = line.find('=');
    return equals == std::string::npos ? std::string() : line.substr(0, equals);
}

int TConnectionParams::IndexOfName(const std::string& name) const {
    for (int index = 0; index < Count(); ++index) {
        if (SameText(NameOf(lines_[index]), name)) {
            return index;
        }
    }
    return -1;
}

std::string TConnectionParams::Value(const std::string& name) const {
    const int index = IndexOfName(name);
    return index < 0 ? std::string() : lines_[index].substr(lines_[index].find('=') + 1);
}

void TConnectionParams::SetValue(const std::string& name, const std::string& value) {
    const int index = IndexOfName(name);
    if (value.empty()) {
        if (index >= 0) {
            lines_.erase(lines_.begin() + index);
        }
    } else if (index >= 0) {
        lines_[index] = name + "=" + value;
    } else {
        lines_.push_back(name + "=" + value);
    }
}

}  // namespace contado
