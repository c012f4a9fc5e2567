// The report on paper: a fixed-width font, each piece of a line at the column the results window
// shows it in, as many lines as fit on a page and a new page for the rest. The same layout goes
// to a printer and to a PDF file.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QPrinter;
class QWidget;

namespace kradon {

/// Courier New 9 pt, or the platform's fixed-width font of that size where it is missing.
QFont ReportFont();

/// The report's tab stop in thirds of the font's character width. The report pads its columns
/// for stops half an inch apart in a 9 pt fixed font, whose characters are 0.075 inch wide;
/// counting in thirds keeps every stop a whole number.
inline constexpr int ReportTabStopThirds = 20;
/// The same stop in character widths, as the results window's editor is given it.
inline constexpr double ReportTabStopChars = ReportTabStopThirds / 3.0;

/// One piece of a line between tabs, and the column it starts at, in character widths from the
/// left margin (a whole number of thirds).
struct ReportRun {
    QString text;
    double column = 0;
    bool operator==(const ReportRun&) const = default;
};

/// The line cut at its tabs, each piece starting where the results window shows it: a tab moves
/// on to the first tab stop beyond the text before it, so text ending on a stop goes on to
/// the next one. Empty pieces are left out; a line without text has no runs.
std::vector<ReportRun> ReportRuns(const QString& line);

/// The lines of text: a CR LF, LF or lone CR ends a line, and a line end at the very end opens
/// no further line. An empty text has no lines.
QStringList ReportLines(const QString& text);

/// The lines cut into pages of linesPerPage lines (at least one per page); no lines, no pages.
std::vector<QStringList> PaginateReport(const QStringList& lines, int linesPerPage);

/// Prints text on printer in ReportFont, paginated, and ends the print document. Throws
/// KradonError when the printer cannot be started.
void PrintReport(QPrinter& printer, const QString& text);

/// The report's page: portrait with 20 mm margins on every side; the paper stays the printer's.
void UseReportLayout(QPrinter& printer);

/// Writes text as a PDF document of A4 pages laid out as UseReportLayout does, replacing the file
/// in one step (SafeFile::WriteFileAtomically). Throws KradonError when the file cannot be
/// written. progress, when given, hears of each page before it is drawn (page, pages); once it
/// returns false nothing more is done and nothing is written, and the result is false. Uses no
/// widget, so it may run off the event thread.
bool SaveReportPdf(const QString& path, const QString& text,
                   const std::function<bool(int page, int pages)>& progress = {});

/// Chooses the printer and its settings for a print command.
class PrintSetup {
public:
    virtual ~PrintSetup() = default;
    /// false when the user cancelled.
    virtual bool choose(QPrinter& printer, QWidget* parent) = 0;
};

/// The platform's print dialog.
class DialogPrintSetup : public PrintSetup {
public:
    bool choose(QPrinter& printer, QWidget* parent) override;
};

} // namespace kradon
