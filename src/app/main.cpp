// kradon: the desktop program. One copy runs per user; a later copy hands the model files of its
// command line to it and ends without a window.
#include "app/FilePicker.h"
#include "app/ShellSinks.h"
#include "app/frmMain.h"
#include "app/instance/HelpFile.h"
#include "app/instance/SingleInstance.h"
#include "app/settings/Startup.h"
#include "app/settings/TimerSource.h"
#include "model/modFileWrite.h"
#include "settings/FormSettings.h"
#include "settings/TipOfTheDay.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <filesystem>
#include <system_error>
#include <utility>

namespace {

/// The model files named on the command line, as absolute paths.
QStringList modelArguments(const QStringList& arguments) {
    QStringList paths;
    for (const QString& a : arguments.mid(1))
        if (!a.startsWith('-'))
            paths << QFileInfo(a).absoluteFilePath();
    return paths;
}

/// The per-user folder of the analysis copies; the system's temporary folder when that folder
/// cannot be made.
std::filesystem::path analysisFolder() {
    try {
        return kradon::modFileWrite::DefaultAnalysisFolder();
    } catch (const std::filesystem::filesystem_error&) {
        std::error_code ignored;
        return std::filesystem::temp_directory_path(ignored);
    }
}

/// Where a model never saved is proposed to go: the user's documents folder when there is
/// one, otherwise the home folder.
std::filesystem::path saveFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString folder = QFileInfo(documents).isDir() ? documents : QDir::homePath();
    return std::filesystem::path(folder.toStdU16String());
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(kradon);
    QApplication::setApplicationName("Kradon");
    QApplication::setApplicationVersion(KRADON_VERSION);

    const QStringList models = modelArguments(QApplication::arguments());
    kradon::SingleInstance instance;
    if (!instance.tryBecomePrimary()) {
        if (!models.isEmpty())
            kradon::SingleInstance::sendToPrimary(models);
        return 0;
    }

    kradon::MessageBoxSink messages;
    kradon::DialogFilePicker files;
    const std::filesystem::path program = QApplication::applicationFilePath().toStdString();
    kradon::ShellPaths paths;
    paths.settingsFile = kradon::IniFilePath(program);
    paths.analysisFolder = analysisFolder();
    paths.saveFolder = saveFolder();
    paths.helpFile = kradon::HelpFilePath();
    paths.tipsFile =
        kradon::ProgramDataFile(QString::fromUtf8(kradon::TipOfTheDay::TipsFileName)).toStdString();

    // Models handed over before the main window exists (the user details form is up) wait for it.
    QStringList waiting;
    kradon::QtTimerSource timers;
    kradon::Startup startup(messages, files, paths, timers);
    QObject::connect(&startup, &kradon::Startup::quitRequested, &app, &QApplication::quit);
    QObject::connect(&instance, &kradon::SingleInstance::openRequested, &startup,
                     [&](const QString& path) {
                         if (kradon::frmMain* main = startup.mainWindow())
                             main->openHandedOver(path);
                         else
                             waiting << path;
                     });
    QObject::connect(&startup, &kradon::Startup::started, &startup, [&](kradon::frmMain& main) {
        messages.setParent(&main);
        if (!models.isEmpty())
            main.OpenModel(models.first());
        for (const QString& path : std::as_const(waiting))
            main.openHandedOver(path);
    });
    startup.Main();
    return QApplication::exec();
}
