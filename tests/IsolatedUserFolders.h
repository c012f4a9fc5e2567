// Every Qt test process, and every program it starts, keeps its settings and data in folders of
// its own instead of the user's. The settings already hold user details, so the program never
// waits in its first-run form.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>

namespace kradon::test {

inline constexpr const char* TestUserName = "Test Engineer";
inline constexpr const char* TestUserOrganisation = "Kradon Test Bench";

class IsolatedUserFolders {
public:
    IsolatedUserFolders() {
        const QDir root(home_.path());
        root.mkpath("config/kradon");
        root.mkpath("data");
        qputenv("XDG_CONFIG_HOME", root.filePath("config").toLocal8Bit());
        qputenv("XDG_DATA_HOME", root.filePath("data").toLocal8Bit());
        // Where the program "kradon" keeps its per-user settings.
        QSettings store(root.filePath("config/kradon/kradon.conf"), QSettings::IniFormat);
        store.setValue("Config/name", TestUserName);
        store.setValue("Config/org", TestUserOrganisation);
    }

private:
    QTemporaryDir home_;
};

} // namespace kradon::test
