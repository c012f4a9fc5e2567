// GoogleTest under a Qt application drawn off screen, also when the test list is read at build
// time where no display exists. Window tests build it with KRADON_TEST_WIDGETS for a
// QApplication and the program's resources; the others get a QGuiApplication, which fonts,
// sockets and the desktop services need. Each test process gets configuration and data folders
// of its own.
#include "IsolatedUserFolders.h"

#ifdef KRADON_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const kradon::test::IsolatedUserFolders folders;
    TestApplication app(argc, argv);
#ifdef KRADON_TEST_WIDGETS
    Q_INIT_RESOURCE(kradon);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
