// The help window: the user guide shown by the program itself, for a desktop that cannot open
// it (no browser installed).
#pragma once

#include <QString>
#include <QTextBrowser>
#include <cstdint>

namespace kradon {

inline constexpr const char* HelpCaption = "Kradon Help";
/// The largest guide the window reads; the guide itself is a few kilobytes.
inline constexpr std::uintmax_t HelpFileMaxBytes = 16 * 1024 * 1024;

/// A tool window owned by the main window; there is at most one, found by its object name
/// "frmHelp".
class frmHelp : public QTextBrowser {
    Q_OBJECT
public:
    explicit frmHelp(QWidget* owner);

    /// Shows the guide's HTML text, read from a file in folder (where its pictures are found),
    /// and brings the window forward.
    void showGuide(const QString& html, const QString& folder);
};

} // namespace kradon
