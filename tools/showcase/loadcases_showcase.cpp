// Shows the main window with the three-span sample analysed: the envelope of the bending moment
// and the results window beside it, and the explorer on the combinations, for screenshots:
// kradon_loadcases_showcase [seconds] [diagram] (10 s and the bending moment, diagram 2, by
// default; 3 the shear, 4 the deflection).
#include "app/CaseResults.h"
#include "app/FilePicker.h"
#include "app/LoadCasesEditor.h"
#include "app/ShellSinks.h"
#include "app/frmMain.h"
#include "app/frmProperties.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>

namespace {

/// Records nothing and answers nothing: the showcase asks no questions.
struct QuietSink : kradon::ShellSink {
    void show(const kradon::Message&) override {}
    kradon::Answer ask(const kradon::Message&, kradon::Buttons) override {
        return kradon::Answer::Cancel;
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    using namespace kradon;
    QTemporaryDir dir;
    QuietSink quiet;
    DialogFilePicker files;
    frmMain main(quiet, files, ShellPaths::InFolder(dir.path().toStdString()));
    main.setGeometry(0, 0, 1280, 800);
    main.show();
    main.OpenModel(QString::fromStdString(
        (std::filesystem::path(KRADON_EXAMPLES) / "three-span-patterned.kradon.json").string()));
    main.AnalyseCommand();
    const auto diagram = static_cast<std::int16_t>(argc > 2 ? std::atoi(argv[2]) : 2);
    main.GraphBtn_Click(7);
    main.GraphBtn_Click(diagram);
    // The envelope across the top, the report below it on the left.
    for (QMdiSubWindow* window : main.mdiArea->subWindowList()) {
        if (window->windowTitle().endsWith("Diagram"))
            window->setGeometry(0, 0, 1270, 400);
        else if (window->windowTitle().startsWith("Results"))
            window->setGeometry(0, 400, 700, 250);
        else
            window->showMinimized();
    }
    main.ShowProperties();
    if (frmProperties* explorer = main.properties()) {
        const auto found = explorer->tvw->findItems(CombinationsNodeText, Qt::MatchExactly);
        if (!found.isEmpty()) {
            explorer->tvw->setCurrentItem(found.first());
            explorer->tvw_NodeClick(found.first());
        }
        explorer->setGeometry(720, 545, 550, 220);
    }
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
    return app.exec();
}
