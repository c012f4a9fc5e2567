// Printing and PDF output of the results report.
#include "app/results/ReportPrinting.h"

#include "model/KradonError.h"
#include "model/SafeFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPointF>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>
#include <filesystem>
#include <string_view>

namespace kradon {
namespace {

constexpr const char* PrintSource = "ReportPrinting";
constexpr std::int32_t PrinterNotStarted = 482; // the platform's number for a printer fault
/// Dots per inch of a saved PDF, as a high-resolution printer has.
constexpr int PdfResolution = 1200;

/// Draws one line with its top at y; a fixed-width font makes a column a multiple of the width
/// of one character. Tabs are placed here rather than left to the text engine, which scales a tab
/// stop by the font's resolution and so puts the columns of a 1200 dpi page 12.5 times too far
/// apart.
void printLine(QPainter& painter, const QFontMetricsF& metrics, double y, const QString& line) {
    const double charWidth = metrics.horizontalAdvance(QLatin1Char('x'));
    for (const ReportRun& run : ReportRuns(line))
        painter.drawText(QPointF(run.column * charWidth, y + metrics.ascent()), run.text);
}

/// Prints the lines on pages of device, at resolution dots per inch.
/// Portrait with 20 mm margins on every side, on paper of the given size.
QPageLayout reportLayout(const QPageSize& paper) {
    return QPageLayout(paper, QPageLayout::Portrait, QMarginsF(20, 20, 20, 20),
                       QPageLayout::Millimeter);
}

/// Returns false when progress stopped it before the last page.
bool printPages(QPainter& painter, QPagedPaintDevice& device, int resolution,
                const QStringList& lines,
                const std::function<bool(int page, int pages)>& progress = {}) {
    const QFontMetricsF metrics(painter.font(), &device);
    const QRectF page = device.pageLayout().paintRectPixels(resolution);
    const double lineHeight = metrics.lineSpacing();
    const int linesPerPage = std::max(1, static_cast<int>(page.height() / lineHeight));
    const auto pages = PaginateReport(lines, linesPerPage);
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (progress && !progress(static_cast<int>(p), static_cast<int>(pages.size())))
            return false;
        if (p > 0)
            device.newPage();
        double y = 0;
        for (const QString& line : pages[p]) {
            printLine(painter, metrics, y, line);
            y += lineHeight;
        }
    }
    return true;
}

} // namespace

QFont ReportFont() {
    QFont font(QStringLiteral("Courier New"), 9);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

QStringList ReportLines(const QString& text) {
    QString unified = text;
    unified.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    unified.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (unified.isEmpty())
        return {};
    if (unified.endsWith(QLatin1Char('\n')))
        unified.chop(1);
    return unified.split(QLatin1Char('\n'));
}

std::vector<ReportRun> ReportRuns(const QString& line) {
    std::vector<ReportRun> runs;
    int thirds = 0; // where the next character goes
    // Each piece but the last ends at a tab.
    for (const QString& piece : line.split(QLatin1Char('\t'))) {
        if (!piece.isEmpty())
            runs.push_back({piece, thirds / 3.0});
        thirds += 3 * static_cast<int>(piece.size());
        thirds = (thirds / ReportTabStopThirds + 1) * ReportTabStopThirds;
    }
    return runs;
}

std::vector<QStringList> PaginateReport(const QStringList& lines, int linesPerPage) {
    const qsizetype perPage = std::max(1, linesPerPage);
    std::vector<QStringList> pages;
    for (qsizetype first = 0; first < lines.size(); first += perPage)
        pages.push_back(lines.mid(first, perPage));
    return pages;
}

void PrintReport(QPrinter& printer, const QString& text) {
    QPainter painter;
    if (!painter.begin(&printer))
        throw KradonError(PrinterNotStarted, PrintSource, "The printer could not be started");
    painter.setFont(ReportFont());
    painter.setPen(Qt::black);
    printPages(painter, printer, printer.resolution(), ReportLines(text));
    painter.end();
}

void UseReportLayout(QPrinter& printer) {
    printer.setPageLayout(reportLayout(printer.pageLayout().pageSize()));
}

bool SaveReportPdf(const QString& path, const QString& text,
                   const std::function<bool(int page, int pages)>& progress) {
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(PdfResolution);
        writer.setCreator(QStringLiteral("Kradon"));
        writer.setPageLayout(reportLayout(QPageSize(QPageSize::A4)));
        QPainter painter;
        if (!painter.begin(&writer))
            throw KradonError(ErrorNumber::FileIo, PrintSource, "The PDF could not be started");
        painter.setFont(ReportFont());
        painter.setPen(Qt::black);
        const bool whole =
            printPages(painter, writer, writer.resolution(), ReportLines(text), progress);
        painter.end();
        if (!whole)
            return false;
    }
    SafeFile::WriteFileAtomically(std::filesystem::path(path.toStdU16String()),
                                  std::string_view(pdf.constData(), pdf.size()));
    return true;
}

bool DialogPrintSetup::choose(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace kradon
