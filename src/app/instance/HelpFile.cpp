// Finding the user guide and the other files the program reads beside itself.
#include "app/instance/HelpFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace kradon {

QString HelpFilePath() {
    return ProgramDataFile(HelpFileName);
}

QString ProgramDataFile(const QString& programFolder, const QString& name) {
    const QDir folder(programFolder);
    const QString beside = folder.filePath(name);
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed = QDir::cleanPath(folder.filePath("../share/kradon/" + name));
    if (QFileInfo::exists(installed))
        return installed;
    return beside;
}

QString ProgramDataFile(const QString& name) {
    return ProgramDataFile(QCoreApplication::applicationDirPath(), name);
}

} // namespace kradon
