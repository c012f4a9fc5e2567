// The report on paper: a fixed-width font, the report's tab stops, as many lines as fit on a
// page and a new page for the rest. The same layout goes to a printer and to a PDF file.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <vector>

class QPrinter;
class QWidget;

namespace kradon {

/// Courier New 9 pt, or the platform's fixed-width font of that size where it is missing.
QFont ReportFont();

/// The report's tab stop in multiples of the font's character width. The report pads its
/// columns for stops half an inch apart in a 9 pt fixed font, whose characters are 0.075 inch
/// wide.
inline constexpr double ReportTabStopChars = 20.0 / 3.0;

/// The lines of text: a CR LF, LF or lone CR ends a line, and a line end at the very end opens
/// no further line. An empty text has no lines.
QStringList ReportLines(const QString& text);

/// The lines cut into pages of linesPerPage lines (at least one per page); no lines, no pages.
std::vector<QStringList> PaginateReport(const QStringList& lines, int linesPerPage);

/// Prints text on printer in ReportFont, paginated, and ends the print document. Throws
/// KradonError when the printer cannot be started.
void PrintReport(QPrinter& printer, const QString& text);

/// Writes text as a PDF document of A4 pages with 20 mm margins. Throws KradonError when the
/// file cannot be written.
void SaveReportPdf(const QString& path, const QString& text);

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
