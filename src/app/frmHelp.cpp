// The help window.
#include "app/frmHelp.h"

namespace kradon {

frmHelp::frmHelp(QWidget* owner) : QTextBrowser(owner) {
    setObjectName("frmHelp");
    setWindowFlags(Qt::Window);
    setWindowTitle(HelpCaption);
    // Links to the web go to the desktop, which may have no browser; the guide's own links
    // stay here.
    setOpenExternalLinks(true);
    resize(760, 640);
}

void frmHelp::showGuide(const QString& html, const QString& folder) {
    setSearchPaths({folder});
    setHtml(html);
    show();
    raise();
    activateWindow();
}

} // namespace kradon
