#include "platform/services/registry.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "core/exceptions.h"
#include "core/textutil.h"
#include "platform/services/settingsfile.h"

namespace contado {

namespace {

// The text's parts between separators, empty ones left out.
std::vector<std::string> NonEmptyParts(const std::string& text, char separator) {
    std::vector<std::string> parts = SplitText(text, separator);
    std::erase_if(parts, [](const std::string& part) { return part.empty(); });
    return parts;
}

std::vector<std::string> SystemConfigDirectories() {
    const char* variable = std::getenv("XDG_CONFIG_DIRS");
    std::vector<std::string> directories = NonEmptyParts(variable != nullptr ? variable : "", ':');
    if (directories.empty()) {
        directories.emplace_back("/etc/xdg");
    }
    return directories;
}

bool IsReadableFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && access(path.c_str(), R_OK) == 0;
}

// Only the start of a settings file is read, as of the server list: a settings file is a few lines.
constexpr std::streamsize kLargestSettingsFile = 1 << 20;

}  // namespace

TRegistry::TRegistry() = default;

TRegistry::~TRegistry() = default;

std::string TRegistry::SettingsFileFor(const std::string& key) {
    const std::vector<std::string> parts = NonEmptyParts(key, '\\');
    if (parts.size() != 3 || !SameText(parts[0], "Software")) {
        return {};
    }
    const std::string relative = parts[1] + '/' + parts[2] + ".conf";
    const std::vector<std::string> directories = SystemConfigDirectories();
    for (const std::string& directory : directories) {
        std::error_code error;
        if (std::filesystem::exists(directory + '/' + relative, error)) {
            return directory + '/' + relative;
        }
    }
    return directories.front() + '/' + relative;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
    CloseKey();
    const std::string file = SettingsFileFor(key);
    if (file.empty() || !IsReadableFile(file)) {
        return false;
    }
    std::ifstream settings(file, std::ios::binary);
    if (!settings) {
        return false;
    }
    std::string text(static_cast<std::size_t>(kLargestSettingsFile), '\0');
    settings.read(text.data(), kLargestSettingsFile);
    text.resize(static_cast<std::size_t>(settings.gcount()));
    settings_ = std::make_unique<TSettingsFile>(std::move(text));
    return true;
}

// A list or a value of another type than text (see TSettingsFile) is a value that is not a string.
std::string TRegistry::ReadString(const std::string& name) const {
    if (!settings_) {
        return {};
    }
    std::optional<TSettingsValue> value = settings_->Value(name);
    if (!value) {
        return {};
    }
    // A NUL would cut every path made of the value short.
    if (!value->IsText || value->Text.find('\0') != std::string::npos) {
        throw Exception(FormatMessage("Invalid data type for '%s'", name));
    }
    return std::move(value->Text);
}

void TRegistry::CloseKey() {
    settings_.reset();
}

}  // namespace contado
