// The per-user settings store.
#include "app/SettingsStore.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

namespace kradon {
namespace {

/// The program file's base name, the store's application name.
QString applicationName() {
    const QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    return name.isEmpty() ? QStringLiteral("kradon") : name;
}

QString address(const QString& section, const QString& key) {
    return section + '/' + key;
}

} // namespace

SettingsStore::SettingsStore(const std::filesystem::path& file)
    : settings_(file.empty()
                    ? std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                  applicationName(), applicationName())
                    : std::make_unique<QSettings>(QString::fromStdString(file.string()),
                                                  QSettings::IniFormat)) {}

SettingsStore::~SettingsStore() = default;

std::string SettingsStore::get(const std::string& section, const std::string& key,
                               const std::string& fallback) const {
    const QString name = address(QString::fromStdString(section), QString::fromStdString(key));
    if (!settings_->contains(name))
        return fallback;
    return settings_->value(name).toString().toStdString();
}

void SettingsStore::save(const std::string& section, const std::string& key,
                         const std::string& value) {
    settings_->setValue(address(QString::fromStdString(section), QString::fromStdString(key)),
                        QString::fromStdString(value));
    settings_->sync();
}

void SettingsStore::remove(const std::string& section, const std::string& key) {
    settings_->remove(address(QString::fromStdString(section), QString::fromStdString(key)));
    settings_->sync();
}

QString SettingsStore::GetSetting(const QString& section, const QString& key,
                                  const QString& fallback) const {
    return QString::fromStdString(
        get(section.toStdString(), key.toStdString(), fallback.toStdString()));
}

void SettingsStore::SaveSetting(const QString& section, const QString& key, const QString& value) {
    save(section.toStdString(), key.toStdString(), value.toStdString());
}

void SettingsStore::DeleteSetting(const QString& section, const QString& key) {
    remove(section.toStdString(), key.toStdString());
}

bool SettingsStore::GetBoolean(const QString& section, const QString& key, bool fallback) const {
    return kradon::GetBoolean(*this, section.toStdString(), key.toStdString(), fallback);
}

void SettingsStore::SaveBoolean(const QString& section, const QString& key, bool value) {
    kradon::SaveBoolean(*this, section.toStdString(), key.toStdString(), value);
}

} // namespace kradon
