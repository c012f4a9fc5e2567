// kradon: the desktop program. One copy runs per user; a later copy hands the model files of its
// command line to it and ends without a window.
#include "app/FilePicker.h"
#include "app/ShellSinks.h"
#include "app/frmMain.h"
#include "app/instance/HelpFile.h"
#include "app/instance/SingleInstance.h"
#include "model/modFileWrite.h"
#include "settings/FormSettings.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <filesystem>
#include <system_error>

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

    kradon::frmMain main(messages, files, paths);
    messages.setParent(&main);
    QObject::connect(&instance, &kradon::SingleInstance::openRequested, &main,
                     &kradon::frmMain::openHandedOver);
    main.show();
    main.LoadIni();
    if (!models.isEmpty())
        main.OpenModel(models.first());
    return QApplication::exec();
}
