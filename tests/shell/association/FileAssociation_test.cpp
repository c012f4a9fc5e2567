// The first run's registration names the running program and leaves the user's desktop files,
// and the desktop's caches when their tools are installed, under XDG_DATA_HOME.
#include "app/association/FileAssociation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kradon {
namespace {

QString readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

/// XDG_DATA_HOME pointed into a scratch folder for the test's lifetime.
class ScratchDataHome {
public:
    ScratchDataHome() : old_(qgetenv("XDG_DATA_HOME")) {
        qputenv("XDG_DATA_HOME", folder_.path().toLocal8Bit());
    }
    ~ScratchDataHome() { qputenv("XDG_DATA_HOME", old_); }
    ScratchDataHome(const ScratchDataHome&) = delete;
    ScratchDataHome& operator=(const ScratchDataHome&) = delete;
    QString filePath(const QString& name) const { return folder_.filePath(name); }

private:
    QTemporaryDir folder_;
    QByteArray old_;
};

TEST(FileAssociation, FirstRunRegistersTheRunningProgramForModelFiles) {
    const ScratchDataHome home;
    // The test program stands in for kradon: the registration is named after it.
    const QString program = QCoreApplication::applicationFilePath();
    const QString id = QFileInfo(program).completeBaseName();

    RegisterModelFileType();

    const QString entry = readText(home.filePath("applications/" + id + ".desktop"));
    EXPECT_TRUE(entry.contains("\nExec=" + program + " %f\n")) << entry.toStdString();
    EXPECT_TRUE(
        entry.contains("\nMimeType=application/x-kradon-file;application/x-kradon-model+json;\n"));
    const QString type = readText(home.filePath("mime/packages/" + id + ".xml"));
    EXPECT_TRUE(type.contains("<comment>Kradon by Tarel Vestrun</comment>"));
    EXPECT_TRUE(type.contains("<glob pattern=\"*.kdn\"/>"));
    EXPECT_TRUE(type.contains("<glob pattern=\"*.kradon.json\"/>"));

    if (!QStandardPaths::findExecutable("update-mime-database").isEmpty()) {
        EXPECT_TRUE(
            readText(home.filePath("mime/globs2")).contains(":application/x-kradon-file:*.kdn"));
        EXPECT_TRUE(readText(home.filePath("mime/globs2"))
                        .contains(":application/x-kradon-model+json:*.kradon.json"));
    }
    if (!QStandardPaths::findExecutable("update-desktop-database").isEmpty()) {
        EXPECT_TRUE(readText(home.filePath("applications/mimeinfo.cache"))
                        .contains("application/x-kradon-file=" + id + ".desktop;"));
    }
}

TEST(FileAssociation, NothingIsRegisteredPerUserWhenTheSystemRegistersTheProgram) {
    const ScratchDataHome home;
    const QString id = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    // The files the installed package brings, in a system data folder of their own.
    QTemporaryDir system;
    for (const QString& name :
         {"applications/" + id + ".desktop", "mime/packages/" + id + ".xml"}) {
        QDir().mkpath(QFileInfo(system.filePath(name)).path());
        QFile file(system.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QByteArray oldDirs = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", "/nonexistent:" + system.path().toLocal8Bit());
    RegisterModelFileType();
    qputenv("XDG_DATA_DIRS", oldDirs);
    EXPECT_TRUE(QDir(home.filePath(".")).isEmpty()) << "no per-user file outlives the package";
}

} // namespace
} // namespace kradon
