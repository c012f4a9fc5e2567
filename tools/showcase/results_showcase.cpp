// Shows the results window and the element displacement view of a sample model analysed, for
// screenshots: kradon_results_showcase [seconds] (10 by default).
#include "analysis/AnalyseCommand.h"
#include "app/ShellSinks.h"
#include "app/results/frmElementDisp.h"
#include "app/results/frmResultDisplay.h"
#include "model/modFileWrite.h"

#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <filesystem>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    using namespace kradon;
    ProgramState state;
    state.model = modFileWrite::OpenModelFile(std::filesystem::path(KRADON_EXAMPLES) /
                                              "two-span-continuous-udl.kdn");
    NullMessageSink quiet;
    NullStatusSink status;
    AnalyseCore(state, std::filesystem::temp_directory_path(), status, quiet);
    QWidget mainWindow;
    frmResultDisplay results(state, quiet, &mainWindow);
    results.setGeometry(20, 20, 760, 620);
    results.show();
    results.ElementListCmb->setCurrentIndex(2);
    results.ElementListCmb_Click(2);
    if (auto* view = mainWindow.findChild<frmElementDisp*>())
        view->setGeometry(800, 20, 560, 520);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
    return app.exec();
}
