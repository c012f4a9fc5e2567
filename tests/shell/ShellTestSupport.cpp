// The window tests' shared pieces.
#include "ShellTestSupport.h"

#include "app/frmResGraph.h"
#include "app/modMDI.h"
#include "app/results/frmResultDisplay.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QTabBar>
#include <QTest>
#include <algorithm>

namespace kradon::test {

std::string ExamplePath(const char* name) {
    return std::string(KRADON_EXAMPLES) + "/" + name;
}

QImage OnScreen(QWidget& widget) {
    // A layout that settles posts the paints it needs; those run in the next round.
    for (int round = 0; round < 3; ++round)
        QCoreApplication::processEvents();
    QWidget* window = widget.window();
    const QPoint at = widget.mapTo(window, QPoint(0, 0));
    return window->screen()
        ->grabWindow(window->winId(), at.x(), at.y(), widget.width(), widget.height())
        .toImage();
}

MainWindowFixture::MainWindowFixture(const char* helpFileName) {
    ShellPaths paths = ShellPaths::InFolder(folder());
    if (*helpFileName != '\0')
        paths.helpFile = QPath(folder() / helpFileName);
    main = std::make_unique<frmMain>(messages, files, paths);
    main->setDesktop(desktop);
    main->show();
    if (!QTest::qWaitForWindowExposed(main.get()))
        qWarning("main window not exposed");
    main->activateWindow();
    if (!QTest::qWaitForWindowActive(main.get()))
        qWarning("main window not active");
}

std::vector<QString> MainWindowFixture::tabs() const {
    std::vector<QString> t;
    for (int i = 0; i < main->tabMain->count(); ++i)
        t.push_back(main->tabMain->tabText(i));
    return t;
}

std::vector<QString> MainWindowFixture::windows() const {
    std::vector<QString> w;
    for (QMdiSubWindow* sub : main->mdiArea->subWindowList())
        w.push_back(sub->windowTitle());
    std::sort(w.begin(), w.end());
    return w;
}

void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QWidget* ChildContent(frmMain& main, std::int16_t kind) {
    ChildWindow* child = main.mdi().childOfKind(kind);
    return child != nullptr ? child->widget() : nullptr;
}

QWidget* DiagramSurface(frmMain& main, std::int16_t kind) {
    auto* diagram = ChildContent<frmResGraph>(main, kind);
    return diagram != nullptr ? diagram->Disp : nullptr;
}

QStringList ShownTexts(QObject& root, const QStringList& expected) {
    QStringList shown;
    for (const QString& entry : expected) {
        const QString name = entry.section('=', 0, 0);
        QObject* control = root.findChild<QObject*>(name);
        QString text = "(no such control)";
        if (auto* menu = qobject_cast<QMenu*>(control))
            text = menu->title();
        else if (auto* frame = qobject_cast<QGroupBox*>(control))
            text = frame->title();
        else if (auto* item = qobject_cast<QAction*>(control))
            text = item->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(control))
            text = button->text();
        else if (auto* label = qobject_cast<QLabel*>(control))
            text = label->text();
        else if (auto* field = qobject_cast<QLineEdit*>(control))
            text = field->text();
        shown << name + "=" + text;
    }
    return shown;
}

bool OpenSample(MainWindowFixture& f, const char* name) {
    return f.main->OpenModel(QPath(ExamplePath(name)));
}

QString StoredSetting(const MainWindowFixture& f, const QString& key) {
    const QSettings file(QPath(f.folder() / "settings.conf"), QSettings::IniFormat);
    return file.value(key, "absent").toString();
}

frmResultDisplay* ShowResults(MainWindowFixture& f, const std::string& path) {
    EXPECT_TRUE(f.main->OpenModel(QPath(path)));
    f.main->AnalyseCommand();
    f.main->GraphBtn_Click(ResultsKind);
    return ChildContent<frmResultDisplay>(*f.main, ResultsKind);
}

} // namespace kradon::test
