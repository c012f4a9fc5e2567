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

} // namespace
} // namespace kradon
