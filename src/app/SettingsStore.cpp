// The per-user settings store.
#include "app/SettingsStore.h"

#include "settings/SettingsKeys.h"

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

QString SettingsStore::GetSetting(const QString& section, const QString& key,
                                  const QString& fallback) const {
    return settings_->value(address(section, key), fallback).toString();
}

void SettingsStore::SaveSetting(const QString& section, const QString& key, const QString& value) {
    settings_->setValue(address(section, key), value);
    settings_->sync();
}

bool SettingsStore::GetBoolean(const QString& section, const QString& key, bool fallback) const {
    const QString text = GetSetting(section, key);
    return SettingsKeys::ParseBooleanText(text.toStdString(), fallback);
}

void SettingsStore::SaveBoolean(const QString& section, const QString& key, bool value) {
    SaveSetting(section, key, QString::fromStdString(SettingsKeys::BooleanText(value)));
}

} // namespace kradon
