// The first run's registration names the running program and leaves the user's desktop files
// under XDG_DATA_HOME.
#include "app/association/FileAssociation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kradon {
namespace {

/// An environment variable set for the object's lifetime.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const QByteArray& value) : name_(name), old_(qgetenv(name)) {
        qputenv(name, value);
    }
    ~ScopedVariable() { qputenv(name_, old_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    QByteArray old_;
};

/// XDG_DATA_HOME pointed into a scratch folder; the test program stands in for kradon, and
/// the registration is named after it.
struct FileAssociationTest : ::testing::Test {
    QString read(const QString& name) const {
        QFile file(home.filePath(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    QTemporaryDir home;
    ScopedVariable dataHome{"XDG_DATA_HOME", home.path().toLocal8Bit()};
    const QString program = QCoreApplication::applicationFilePath();
    const QString id = QFileInfo(program).completeBaseName();
};

// What the files hold and the caches are the core's; the first run names the running program.
TEST_F(FileAssociationTest, FirstRunRegistersTheRunningProgramForModelFiles) {
    RegisterModelFileType();
    const QString entry = read("applications/" + id + ".desktop");
    EXPECT_TRUE(entry.contains("\nExec=" + program + " %f\n")) << entry.toStdString();
    EXPECT_TRUE(read("mime/packages/" + id + ".xml").contains("<glob pattern=\"*.kdn\"/>"));
}

TEST_F(FileAssociationTest, NothingIsRegisteredPerUserWhenTheSystemRegistersTheProgram) {
    // The files the installed package brings, in a system data folder of their own.
    QTemporaryDir system;
    for (const QString& name :
         {"applications/" + id + ".desktop", "mime/packages/" + id + ".xml"}) {
        QDir().mkpath(QFileInfo(system.filePath(name)).path());
        ASSERT_TRUE(QFile(system.filePath(name)).open(QIODevice::WriteOnly));
    }
    {
        const ScopedVariable dataDirs("XDG_DATA_DIRS",
                                      "/nonexistent:" + system.path().toLocal8Bit());
        RegisterModelFileType();
    }
    EXPECT_TRUE(QDir(home.path()).isEmpty()) << "no per-user file outlives the package";
}

} // namespace
} // namespace kradon
