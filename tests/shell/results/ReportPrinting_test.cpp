// The report on paper: line splitting, pages, and the printer and PDF routes of the window.
#include "ResultsTestSupport.h"
#include "app/results/BackgroundJob.h"
#include "app/results/ReportPrinting.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace kradon {
namespace {

using namespace testing;

qsizetype pdfPages(const QByteArray& pdf) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return QString::fromLatin1(pdf).count(page);
}

QString numberedLines(int count) {
    QString text;
    for (int i = 1; i <= count; ++i)
        text += QStringLiteral("line %1\t%2\r\n").arg(i).arg(i * 0.5);
    return text;
}

/// The text of pdftotext with the arguments given, for the PDF at path.
QString pdfToText(QStringList arguments, const QString& path) {
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), arguments << path << QStringLiteral("-"));
    EXPECT_TRUE(tool.waitForFinished(30000)) << "pdftotext (poppler-utils) is needed";
    EXPECT_EQ(tool.exitCode(), 0);
    return QString::fromUtf8(tool.readAllStandardOutput());
}

/// A line of the report as the comparison sees it: its letters without the blanks, the column
/// its first word starts in, and its numbers with the columns they start in, in character
/// widths.
struct Line {
    std::string letters;
    double first = 0;
    std::vector<std::pair<std::string, double>> numbers;
};

/// The line of text; columnOf gives the column of the character at an index.
template <typename ColumnOf> Line lineOf(const QString& text, ColumnOf columnOf) {
    static const QRegularExpression word(QStringLiteral("[^ \\t]+"));
    static const QRegularExpression number(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?$"));
    Line line;
    for (const auto& match : word.globalMatch(text)) {
        if (line.letters.empty())
            line.first = columnOf(match.capturedStart());
        line.letters += match.captured().toStdString();
        if (number.match(match.captured()).hasMatch())
            line.numbers.emplace_back(match.captured().toStdString(),
                                      columnOf(match.capturedStart()));
    }
    return line;
}

/// The non-empty lines as the results window's editor lays them out on screen, the columns to
/// the nearest whole character.
std::vector<Line> screenLines(const QPlainTextEdit& editor) {
    const double charWidth = QFontMetricsF(editor.font()).horizontalAdvance(QLatin1Char('x'));
    std::vector<Line> lines;
    for (QTextBlock block = editor.document()->begin(); block.isValid(); block = block.next()) {
        if (block.text().trimmed().isEmpty())
            continue;
        editor.document()->documentLayout()->blockBoundingRect(block); // lays the block out
        const QTextLine line = block.layout()->lineAt(0);
        const double left = line.cursorToX(0);
        lines.push_back(lineOf(block.text(), [&](qsizetype at) {
            return std::round((line.cursorToX(static_cast<int>(at)) - left) / charWidth);
        }));
    }
    return lines;
}

/// The non-empty lines of the PDF's text as `pdftotext -layout` lays it out in columns of the
/// report font's character width, page after page, the columns counted from the left margin.
std::vector<Line> pdfLines(const QString& pdf) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const double charWidth =
        QFontMetricsF(ReportFont(), &printer).horizontalAdvance(QLatin1Char('x')) * 72.0 /
        printer.resolution();
    const QString text = pdfToText({"-layout", "-fixed", QString::number(charWidth)}, pdf);
    std::vector<Line> lines;
    for (const QString& line : text.split(QRegularExpression("[\f\n]")))
        if (!line.trimmed().isEmpty())
            lines.push_back(lineOf(line, [](qsizetype at) { return double(at); }));
    for (Line& line : lines)
        for (auto& number : line.numbers)
            number.second -= lines.front().first;
    return lines;
}

/// Where the first word of the PDF's first page starts, in points from the page's top-left
/// corner, as `pdftotext -bbox` finds it.
QPointF firstWordAt(const QString& pdf) {
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\""));
    const QRegularExpressionMatch found = word.match(pdfToText({"-bbox", "-l", "1"}, pdf));
    EXPECT_TRUE(found.hasMatch());
    return {found.captured(1).toDouble(), found.captured(2).toDouble()};
}

// Tabs go on to the next half-inch stop, every 20/3 characters: 6.667, 13.333, 20 ... (the
// pages are those of the PDF tests below).
TEST(ReportPrinting, LinesAndTabStops) {
    EXPECT_EQ(ReportLines("a\nb\rc\r\n\r\n"), (QStringList{"a", "b", "c", ""}));
    EXPECT_EQ(
        ReportRuns("  1\t     000.000\t\t050.000"),
        (std::vector<ReportRun>{{"  1", 0}, {"     000.000", 20 / 3.0}, {"050.000", 80 / 3.0}}));
    // Text ending exactly on a stop goes on to the next one.
    EXPECT_EQ(ReportRuns("12345678901234567890\tx"),
              (std::vector<ReportRun>{{"12345678901234567890", 0}, {"x", 80 / 3.0}}));
    EXPECT_EQ(ReportRuns("\tFixed\t"), (std::vector<ReportRun>{{"Fixed", 20 / 3.0}}));
}

/// Sends the print job to a PDF file instead of asking, or cancels.
struct PdfPrintSetup : PrintSetup {
    QString path;
    bool cancel = false;
    int asked = 0;
    bool choose(QPrinter& printer, QWidget*) override {
        ++asked;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return !cancel;
    }
};

// Save as PDF shows the columns of the results window; printing uses the same margins.
TEST(SaveReportPdf, ShowsTheColumnsOfTheResultsWindowAndPrintingTheSameMargins) {
    AnalysedWindow w(4); // a report of about 170 lines, long enough for two pages
    const QString pdf = w.dir.file("report.pdf");
    w.files.names = {pdf};
    w.window.FileSavePdf->trigger();
    ASSERT_TRUE(w.sink.shown.empty());

    // Every line of the screen, in order, on as many pages as it takes; every number in the
    // column the screen shows it in, to the nearest whole character, counted from the left
    // margin. (Headings may lose a blank where the screen leaves a third of a character.)
    const std::vector<Line> screen = screenLines(*w.window.Editor);
    const std::vector<Line> paper = pdfLines(pdf);
    ASSERT_GT(screen.size(), 150u);
    ASSERT_EQ(paper.size(), screen.size());
    EXPECT_GE(pdfPages(FileBytes(pdf)), 2);
    std::size_t numbers = 0;
    for (std::size_t i = 0; i < screen.size(); ++i) {
        EXPECT_EQ(paper[i].letters, screen[i].letters) << i;
        EXPECT_EQ(paper[i].numbers, screen[i].numbers) << i;
        numbers += screen[i].numbers.size();
    }
    EXPECT_GT(numbers, 500u);
    EXPECT_EQ(w.files.lastSuffix, "pdf");
    EXPECT_NEAR(firstWordAt(pdf).x(), 56.7, 1) << "20 mm";

    PdfPrintSetup printer;
    printer.path = w.dir.file("printed.pdf");
    w.window.setPrintSetup(printer);
    w.window.FilePrint->trigger();
    EXPECT_EQ(printer.asked, 1);
    EXPECT_NEAR(firstWordAt(printer.path).x(), firstWordAt(pdf).x(), 0.5);
    EXPECT_NEAR(firstWordAt(printer.path).y(), firstWordAt(pdf).y(), 0.5);
    printer.cancel = true;
    printer.path = w.dir.file("cancelled.pdf");
    w.window.FilePrint->trigger();
    EXPECT_FALSE(QFile::exists(printer.path));
    EXPECT_TRUE(w.sink.shown.empty());
}

TEST(SaveReportPdf, LaysTheReportOutOnPagesAndWritesNothingWhenStopped) {
    const TempDir dir;
    // A 9 pt font gives between 50 and 99 lines on an A4 page with 20 mm margins.
    const QString three = dir.file("three.pdf");
    std::vector<std::pair<int, int>> heard;
    const auto hear = [&](int page, int pages) {
        heard.emplace_back(page, pages);
        return true;
    };
    EXPECT_TRUE(SaveReportPdf(three, numberedLines(200), hear));
    const qsizetype pages = pdfPages(FileBytes(three));
    EXPECT_TRUE(pages == 3 || pages == 4) << pages;
    EXPECT_TRUE(FileBytes(three).contains("/FontFile")) << "the font goes with the file";
    EXPECT_EQ(static_cast<qsizetype>(heard.size()), pages) << "heard of every page";

    const QString stopped = dir.file("stopped.pdf");
    const auto everyPage = std::exchange(heard, {});
    const auto stopAtSecondPage = [&](int page, int pages) {
        return hear(page, pages) && page < 1;
    };
    EXPECT_FALSE(SaveReportPdf(stopped, numberedLines(200), stopAtSecondPage));
    EXPECT_FALSE(QFile::exists(stopped));
    EXPECT_EQ(heard, decltype(heard)(everyPage.begin(), everyPage.begin() + 2));
    EXPECT_THROW(SaveReportPdf(dir.file("missing/report.pdf"), "text"), std::exception);
}

// Cancel, pressed once the progress window is up, reaches the job: the event loop runs meanwhile.
TEST(RunWithProgress, CancelStopsTheJobAndTheWindowsKeepAnswering) {
    QWidget owner;
    owner.show();
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        if (auto* progress = owner.findChild<QProgressDialog*>(); progress && progress->isVisible())
            progress->cancel();
    });
    cancel.start(10);
    int steps = 0;
    const bool completed = RunWithProgress(&owner, "Job", [&](const ProgressCheck& progress) {
        for (; steps < 100000 && progress(steps, 100000); ++steps)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    cancel.stop();
    EXPECT_FALSE(completed);
    EXPECT_LT(steps, 100000);
    EXPECT_TRUE(RunWithProgress(&owner, "Job", [](const ProgressCheck&) {}));
    EXPECT_THROW(RunWithProgress(&owner, "Job",
                                 [](const ProgressCheck&) { throw std::runtime_error("failed"); }),
                 std::runtime_error);
}

} // namespace
} // namespace kradon
