// Finding and opening the user guide.
#include "app/instance/HelpFile.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace kradon {

QString HelpFilePath() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(HelpFileName);
}

bool OpenHelpContents() {
    const QString path = HelpFilePath();
    if (!QFileInfo(path).isFile())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace kradon
