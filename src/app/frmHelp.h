// The help window: the user guide shown by the program itself, for a desktop that cannot open
// it (no browser installed).
#pragma once

#include <QString>
#include <QTextBrowser>

namespace kradon {

inline constexpr const char* HelpCaption = "Kradon Help";

/// A tool window owned by the main window; there is at most one, found by its object name
/// "frmHelp".
class frmHelp : public QTextBrowser {
    Q_OBJECT
public:
    explicit frmHelp(QWidget* owner);

    /// Shows the guide at path (an HTML file; its pictures are found beside it) and brings the
    /// window forward.
    void showGuide(const QString& path);
};

} // namespace kradon
