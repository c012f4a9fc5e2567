// The platform's desktop services.
#include "app/DesktopLauncher.h"

#include <QDesktopServices>
#include <QUrl>

namespace kradon {

bool SystemDesktopLauncher::open(const QString& file) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

} // namespace kradon
