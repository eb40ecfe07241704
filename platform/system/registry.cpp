#include "platform/system/registry.h"

#include <QFileInfo>
#include <QSettings>
#include <QStringList>

#include "core/exceptions.h"
#include "core/textutil.h"

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
    settings_ = std::make_unique<QSettings>(file, QSettings::IniFormat);
    if (settings_->status() != QSettings::NoError) {
        settings_.reset();
        return false;
    }
    return true;
}

// INI values have no types of their own; QSettings reads an unquoted value holding a comma as a
// list and the forms @ByteArray(...), @Variant(...), @Rect(...) and the like as other types. Those
// are the values that are not plain strings. A number is text like any other value.
std::string TRegistry::ReadString(const std::string& name) const {
    if (!settings_) {
        return {};
    }
    const QVariant value = settings_->value(QString::fromStdString(name));
    if (!value.isValid()) {
        return {};
    }
    if (value.typeId() != QMetaType::QString) {
        throw Exception(FormatMessage("Invalid data type for '%s'", name));
    }
    return value.toString().toStdString();
}

void TRegistry::CloseKey() {
    settings_.reset();
}

}  // namespace contado
