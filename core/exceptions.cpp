#include "core/exceptions.h"

namespace contado {

std::string PrefixedMessage(const std::string& componentName, const std::string& message) {
    return componentName.empty() ? message : componentName + ": " + message;
}

}  // namespace contado
