// The user guide is looked for beside the program, then in the installed layout's share/kradon.
#include "app/instance/HelpFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kradon {
namespace {

void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

TEST(HelpFile, GuideIsKradonHtmlInTheProgramFolder) {
    const QFileInfo guide(HelpFilePath());
    EXPECT_EQ(guide.fileName(), "Kradon.html");
    const QString folder = guide.absolutePath();
    const QString installed =
        QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/kradon");
    EXPECT_TRUE(QDir(folder) == QDir(QCoreApplication::applicationDirPath()) ||
                QDir(folder) == QDir(installed))
        << folder.toStdString();
}

TEST(HelpFile, DataFilesAreFoundBesideTheProgramFirstThenInShareKradon) {
    const QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString bin = root.filePath("bin");
    const QString shared = root.filePath("share/kradon/TOTD.INI");
    QDir().mkpath(bin);

    // Neither: the path beside the program, for the message that says it is missing.
    EXPECT_EQ(ProgramDataFile(bin, "TOTD.INI"), bin + "/TOTD.INI");
    touch(shared);
    EXPECT_EQ(ProgramDataFile(bin, "TOTD.INI"), shared);
    touch(bin + "/TOTD.INI");
    EXPECT_EQ(ProgramDataFile(bin, "TOTD.INI"), bin + "/TOTD.INI");
}

} // namespace
} // namespace kradon
