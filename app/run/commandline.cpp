#include "app/run/commandline.h"

namespace contado {

namespace {

constexpr const char* kEndOfOptions = "--";
constexpr const char* kCatchUp = "--desde";
constexpr std::size_t kPasswordPosition = 3;

bool IsOption(const std::string& argument) {
    return argument.size() > 2 && argument.starts_with("--");
}

}  // namespace

TCommandLine::TCommandLine(const std::vector<std::string>& arguments) : argumentCount_(arguments.size()) {
    bool options = true;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (index > 0 && options && argument == kEndOfOptions) {
            options = false;
        } else if (index > 0 && options && IsOption(argument)) {
            TakeOption(arguments, index);
        } else if (!argument.empty()) {
            positions_.push_back(argument);
            positionIndexes_.push_back(index);
        }
    }
}

// The catch-up day is the word after the option, or what follows "=".
void TCommandLine::TakeOption(const std::vector<std::string>& arguments, std::size_t& index) {
    const std::string& argument = arguments[index];
    const std::size_t equals = argument.find('=');
    options_.push_back(argument.substr(0, equals));
    if (equals != std::string::npos) {
        options_.push_back(argument.substr(equals + 1));
    } else if (argument == kCatchUp && index + 1 < arguments.size()) {
        options_.push_back(arguments[++index]);
    }
}

std::string TCommandLine::Position(std::size_t index) const {
    return index < positions_.size() ? positions_[index] : std::string();
}

std::vector<std::size_t> TCommandLine::PasswordCandidates() const {
    std::vector<std::size_t> candidates;
    if (kPasswordPosition < positionIndexes_.size()) {
        candidates.push_back(positionIndexes_[kPasswordPosition]);
    }
    if (kPasswordPosition < argumentCount_ &&
        (candidates.empty() || candidates.front() != kPasswordPosition)) {
        candidates.push_back(kPasswordPosition);
    }
    return candidates;
}

}  // namespace contado
