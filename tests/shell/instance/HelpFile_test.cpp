// The user guide is looked for beside the program.
#include "app/instance/HelpFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace kradon {
namespace {

TEST(HelpFile, GuideIsKradonHtmlInTheProgramFolder) {
    const QFileInfo guide(HelpFilePath());
    EXPECT_EQ(guide.fileName(), "Kradon.html");
    EXPECT_EQ(QDir(guide.absolutePath()), QDir(QCoreApplication::applicationDirPath()));
}

TEST(HelpFile, MissingGuideIsNotOpened) {
    if (QFileInfo(HelpFilePath()).exists())
        GTEST_SKIP() << "the guide has been copied beside the test program";
    EXPECT_FALSE(OpenHelpContents());
}

} // namespace
} // namespace kradon
