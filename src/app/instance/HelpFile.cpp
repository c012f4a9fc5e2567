// Finding the user guide.
#include "app/instance/HelpFile.h"

#include <QCoreApplication>
#include <QDir>

namespace kradon {

QString HelpFilePath() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(HelpFileName);
}

} // namespace kradon
