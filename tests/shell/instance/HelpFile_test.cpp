// The user guide and the other data files are looked for beside the program, then in the
// installed layout's share/kradon.
#include "app/instance/HelpFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kradon {
namespace {

TEST(HelpFile, DataFilesAreFoundBesideTheProgramFirstThenInShareKradon) {
    const QFileInfo guide(HelpFilePath());
    EXPECT_EQ(guide.fileName(), "Kradon.html");
    const QDir program(QCoreApplication::applicationDirPath());
    EXPECT_TRUE(QDir(guide.absolutePath()) == program ||
                QDir(guide.absolutePath()) ==
                    QDir(QDir::cleanPath(program.filePath("../share/kradon"))))
        << guide.absolutePath().toStdString();

    const QTemporaryDir root;
    const QString bin = root.filePath("bin"), shared = root.filePath("share/kradon/TOTD.INI");
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(root.filePath("share/kradon")));
    // Neither: the path beside the program, for the message that says it is missing.
    EXPECT_EQ(ProgramDataFile(bin, "TOTD.INI"), bin + "/TOTD.INI");
    ASSERT_TRUE(QFile(shared).open(QIODevice::WriteOnly));
    EXPECT_EQ(ProgramDataFile(bin, "TOTD.INI"), shared);
    ASSERT_TRUE(QFile(bin + "/TOTD.INI").open(QIODevice::WriteOnly));
    EXPECT_EQ(ProgramDataFile(bin, "TOTD.INI"), bin + "/TOTD.INI");
}

} // namespace
} // namespace kradon
