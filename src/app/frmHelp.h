// The help window: the user guide shown by the program itself, with its contents beside it,
// links that stay inside it, Back and Forward, a find field, and a button that hands the guide
// to the desktop's browser.
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>

class QLabel;
class QLineEdit;
class QTextBrowser;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kradon {

inline constexpr const char* HelpCaption = "Kradon Help";
/// The largest guide the window reads; the guide itself is a few kilobytes.
inline constexpr std::uintmax_t HelpFileMaxBytes = 16 * 1024 * 1024;
inline constexpr const char* NotFoundText = "Not found";

/// A window owned by the main window; there is at most one, found by its object name "frmHelp".
class frmHelp : public QWidget {
    Q_OBJECT
signals:
    /// "Open in Browser": the guide shown is to go to the desktop's browser.
    void openInBrowserRequested(const QString& path);

public:
    explicit frmHelp(QWidget* owner);

    /// Shows the guide at path (an HTML file; its pictures are found beside it) from its start
    /// and brings the window forward.
    void showGuide(const QString& path);
    /// Selects the next place where text occurs after the cursor, going round to the start;
    /// false (and "Not found" beside the field) when the guide does not hold it.
    bool findNext(const QString& text);
    /// Scrolls the guide to the heading of a contents entry.
    void showHeading(QTreeWidgetItem* entry);

    QTreeWidget* helpContents; // the guide's headings, each leading to its place
    QTextBrowser* helpBrowser; // the guide
    QToolButton* helpBackBtn;
    QToolButton* helpForwardBtn;
    QToolButton* helpHomeBtn;
    QLineEdit* helpFindTxt;
    QToolButton* helpFindBtn;
    QLabel* helpFindLbl;
    QToolButton* helpBrowserBtn; // "Open in Browser"

private:
    QWidget* createToolRow();
    /// The contents: one entry per heading of the page shown, nested by level.
    void listHeadings();

    QString guide_;
};

} // namespace kradon
