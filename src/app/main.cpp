// kradon: the desktop program. One copy runs per user; a later copy hands the model files of its
// command line to it and ends without a window.
#include "app/FilePicker.h"
#include "app/ShellSinks.h"
#include "app/frmMain.h"
#include "app/instance/HelpFile.h"
#include "app/instance/SingleInstance.h"
#include "app/settings/Startup.h"
#include "app/settings/TimerSource.h"
#include "model/KradonError.h"
#include "model/modFileWrite.h"
#include "settings/FormSettings.h"
#include "settings/TipOfTheDay.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <filesystem>
#include <memory>
#include <utility>

namespace {

constexpr const char* FallbackFolderText =
    "This run keeps its files in a new private folder instead, and a second copy started now "
    "does not find it.";

/// The model files named on the command line, as absolute paths.
QStringList modelArguments(const QStringList& arguments) {
    QStringList paths;
    for (const QString& a : arguments.mid(1))
        if (!a.startsWith('-'))
            paths << QFileInfo(a).absoluteFilePath();
    return paths;
}

/// The user's private folder of the analysis copies and the single-copy socket. One that cannot
/// be used (another user made it first, or others may enter it) is refused with a message, and
/// fallback, made then as a new private folder removed at exit, serves this run instead.
std::filesystem::path privateFolder(std::unique_ptr<QTemporaryDir>& fallback) {
    try {
        return kradon::modFileWrite::DefaultAnalysisFolder();
    } catch (const kradon::KradonError& e) {
        kradon::MessageBoxSink().show({kradon::ProgramTitle,
                                       kradon::MessageLines(e.what(), FallbackFolderText),
                                       kradon::Icon::Exclamation});
        fallback = std::make_unique<QTemporaryDir>();
        return fallback->path().toStdString();
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
    std::unique_ptr<QTemporaryDir> fallbackFolder;
    const std::filesystem::path folder = privateFolder(fallbackFolder);
    const QString serverName =
        kradon::SingleInstance::ServerNameIn(QString::fromStdString(folder.string()));
    kradon::SingleInstance instance(serverName);
    if (!instance.tryBecomePrimary()) {
        if (!models.isEmpty())
            kradon::SingleInstance::sendToPrimary(models, serverName);
        return 0;
    }

    kradon::MessageBoxSink messages;
    kradon::DialogFilePicker files;
    const std::filesystem::path program = QApplication::applicationFilePath().toStdString();
    kradon::ShellPaths paths;
    paths.settingsFile = kradon::IniFilePath(program);
    paths.analysisFolder = folder;
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
