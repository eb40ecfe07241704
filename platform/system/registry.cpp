#include "platform/system/registry.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "core/exceptions.h"
#include "core/textutil.h"
#include "platform/system/settingsfile.h"

namespace contado {

namespace {

QStringList SystemConfigDirectories() {
    const QString variable = qEnvironmentVariable("XDG_CONFIG_DIRS");
    QStringList directories = variable.split(u':', Qt::SkipEmptyParts);
    if (directories.isEmpty()) {
        directories << QStringLiteral("/etc/xdg");
    }
    return directories;
}

// Only the start of a settings file is read, as of the server list: a settings file is a few lines.
constexpr qint64 kLargestSettingsFile = 1 << 20;

}  // namespace

TRegistry::TRegistry() = default;

TRegistry::~TRegistry() = default;

QString TRegistry::SettingsFileFor(const std::string& key) {
    const QStringList parts = QString::fromStdString(key).split(u'\\', Qt::SkipEmptyParts);
    if (parts.size() != 3 || parts[0].compare(u"Software", Qt::CaseInsensitive) != 0) {
        return {};
    }
    const QString relative = parts[1] + u'/' + parts[2] + QStringLiteral(".conf");
    const QStringList directories = SystemConfigDirectories();
    for (const QString& directory : directories) {
        if (QFileInfo::exists(directory + u'/' + relative)) {
            return directory + u'/' + relative;
        }
    }
    return directories.first() + u'/' + relative;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
    CloseKey();
    const QString file = SettingsFileFor(key);
    const QFileInfo info(file);
    if (file.isEmpty() || !info.isFile() || !info.isReadable()) {
        return false;
    }
    QFile settings(file);
    if (!settings.open(QIODevice::ReadOnly)) {
        return false;
    }
    settings_ = std::make_unique<TSettingsFile>(settings.read(kLargestSettingsFile).toStdString());
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
