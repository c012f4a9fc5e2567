// The first run's file type registration: the program's own values for CAssociate, and the
// cache tools run after it.
#include "app/association/FileAssociation.h"

#include "app/instance/HelpFile.h"
#include "model/Sinks.h"
#include "settings/CAssociate.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace kradon {
namespace {

/// How long a cache tool may take before the start-up goes on without it, in ms.
constexpr int CacheToolTimeout = 10000;

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

void refreshCaches(const std::filesystem::path& dataFolder) {
    for (const CacheCommand& command : CacheCommands(dataFolder)) {
        const QString tool =
            QStandardPaths::findExecutable(QString::fromStdString(command.program));
        if (tool.isEmpty())
            continue;
        QStringList arguments;
        for (const std::string& a : command.arguments)
            arguments << QFile::decodeName(QByteArray::fromStdString(a));
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start(tool, arguments);
        process.waitForFinished(CacheToolTimeout);
    }
}

} // namespace

QString ProgramIconFile() {
    const QString beside = ProgramDataFile(ProgramIconName);
    if (QFileInfo::exists(beside))
        return beside;
    const QString themed =
        QDir::cleanPath(QCoreApplication::applicationDirPath() +
                        "/../share/icons/hicolor/scalable/apps/" + ProgramIconName);
    return QFileInfo::exists(themed) ? themed : QString();
}

void RegisterModelFileType() {
    const QFileInfo program(QCoreApplication::applicationFilePath());
    const std::filesystem::path dataFolder =
        UserDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));

    CAssociate associate(dataFolder);
    associate.Title = ProgramTitle;
    associate.Class = ModelFileClass;
    associate.Extension = ModelFileExtension;
    associate.MoreTypes = {JsonModelFileType};
    associate.AppCommand = localPath(program.absolutePath() + "/" + program.completeBaseName());
    associate.DefaultIcon = localPath(ProgramIconFile());
    // An installed package registers the type for everybody, and takes it away when removed.
    if (SystemRegistersType(std::getenv("XDG_DATA_DIRS"), associate.DesktopId()))
        return;
    associate.Associate();

    if (!dataFolder.empty())
        refreshCaches(dataFolder);
}

} // namespace kradon
