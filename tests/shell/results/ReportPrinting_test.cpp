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
#include <QTextLayout>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace kradon {
namespace {

using testing::AnalysedWindow;
using testing::FileBytes;
using testing::TempDir;

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
/// widths; and the page it is on, from 0.
struct Line {
    std::string letters;
    double first = 0;
    std::vector<std::pair<std::string, double>> numbers;
    int page = 0;
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

/// The non-empty lines as the results window's editor lays them out on screen.
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
            return (line.cursorToX(static_cast<int>(at)) - left) / charWidth;
        }));
    }
    return lines;
}

/// The non-empty lines of the PDF's text as `pdftotext -layout` lays it out in columns of the
/// report font's character width, page after page.
std::vector<Line> pdfLines(const QString& pdf) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const double charWidth =
        QFontMetricsF(ReportFont(), &printer).horizontalAdvance(QLatin1Char('x')) * 72.0 /
        printer.resolution();
    const QStringList pages =
        pdfToText({"-layout", "-fixed", QString::number(charWidth)}, pdf).split('\f');
    std::vector<Line> lines;
    for (int page = 0; page < pages.size(); ++page)
        for (const QString& text : pages[page].split('\n'))
            if (!text.trimmed().isEmpty()) {
                lines.push_back(lineOf(text, [](qsizetype at) { return double(at); }));
                lines.back().page = page;
            }
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

TEST(ReportPrinting, LinesTabStopsAndPages) {
    EXPECT_EQ(ReportLines(""), QStringList());
    EXPECT_EQ(ReportLines("a\r\nb\r\n"), (QStringList{"a", "b"}));
    EXPECT_EQ(ReportLines("a\nb\rc"), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(ReportLines("a\r\n\r\n"), (QStringList{"a", ""}));
    EXPECT_EQ(ReportLines("\t x, \"y\""), (QStringList{"\t x, \"y\""}));

    // Tabs go on to the next half-inch stop, every 20/3 characters: 6.667, 13.333, 20 ...
    EXPECT_TRUE(ReportRuns("").empty());
    EXPECT_TRUE(ReportRuns("\t\t").empty());
    EXPECT_EQ(
        ReportRuns("  1\t     000.000\t\t050.000"),
        (std::vector<ReportRun>{{"  1", 0}, {"     000.000", 20 / 3.0}, {"050.000", 80 / 3.0}}));
    // Text ending exactly on a stop goes on to the next one.
    EXPECT_EQ(ReportRuns("12345678901234567890\tx"),
              (std::vector<ReportRun>{{"12345678901234567890", 0}, {"x", 80 / 3.0}}));
    EXPECT_EQ(ReportRuns("\tFixed\t"), (std::vector<ReportRun>{{"Fixed", 20 / 3.0}}));

    const QStringList lines{"1", "2", "3", "4", "5"};
    const auto pages = PaginateReport(lines, 2);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0], (QStringList{"1", "2"}));
    EXPECT_EQ(pages[2], (QStringList{"5"}));
    EXPECT_TRUE(PaginateReport({}, 10).empty());
    EXPECT_EQ(PaginateReport(lines, 0).size(), 5u);
}

TEST(SaveReportPdf, ShowsTheColumnsOfTheResultsWindow) {
    AnalysedWindow w(4); // a report of about 170 lines, long enough for two pages
    const QString pdf = w.dir.file("report.pdf");
    w.files.names = {pdf};
    w.window.FileSavePdf->trigger();
    ASSERT_TRUE(w.sink.shown.empty());
    if (const char* keep = std::getenv("KRADON_KEEP_REPORT_PDF"))
        QFile::copy(pdf, QString::fromLocal8Bit(keep)); // for a look at the page

    // Every line of the screen, in order, on as many pages as it takes; every number in the
    // column the screen shows it in, to the nearest whole character, counted from the left
    // margin. (Headings may lose a blank where the screen leaves a third of a character.)
    const std::vector<Line> screen = screenLines(*w.window.Editor);
    const std::vector<Line> paper = pdfLines(pdf);
    ASSERT_GT(screen.size(), 150u);
    ASSERT_EQ(paper.size(), screen.size());
    EXPECT_GE(paper.back().page, 1);
    const double margin = paper[0].first;
    int numbers = 0;
    for (std::size_t i = 0; i < screen.size(); ++i) {
        const auto& onScreen = screen[i].numbers;
        const auto& onPaper = paper[i].numbers;
        const std::string both =
            ::testing::PrintToString(onScreen) + ::testing::PrintToString(onPaper);
        EXPECT_EQ(paper[i].letters, screen[i].letters) << i;
        ASSERT_EQ(onPaper.size(), onScreen.size()) << i << ": " << both;
        for (std::size_t w = 0; w < onScreen.size(); ++w, ++numbers) {
            EXPECT_EQ(onPaper[w].first, onScreen[w].first) << i;
            EXPECT_EQ(onPaper[w].second - margin, std::round(onScreen[w].second))
                << i << ": " << both;
        }
    }
    EXPECT_GT(numbers, 500);
}

TEST(SaveReportPdf, LaysTheReportOutOnPagesAndWritesNothingWhenStopped) {
    const TempDir dir;
    const QString one = dir.file("one.pdf");
    SaveReportPdf(one, numberedLines(10));
    EXPECT_EQ(pdfPages(FileBytes(one)), 1);
    // A 9 pt font gives between 50 and 99 lines on an A4 page with 20 mm margins.
    const QString three = dir.file("three.pdf");
    std::vector<std::pair<int, int>> heard;
    const auto hear = [&](int page, int pages) {
        heard.emplace_back(page, pages);
        return true;
    };
    EXPECT_TRUE(SaveReportPdf(three, numberedLines(200), hear));
    const qsizetype pages = pdfPages(FileBytes(three));
    EXPECT_GE(pages, 3);
    EXPECT_LE(pages, 4);
    EXPECT_TRUE(FileBytes(three).contains("/FontFile"));
    EXPECT_EQ(static_cast<qsizetype>(heard.size()), pages) << "heard of every page";

    const QString stopped = dir.file("stopped.pdf");
    heard.clear();
    const auto stopAtSecondPage = [&](int page, int pages) {
        heard.emplace_back(page, pages);
        return page < 1;
    };
    EXPECT_FALSE(SaveReportPdf(stopped, numberedLines(200), stopAtSecondPage));
    EXPECT_FALSE(QFile::exists(stopped));
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[1].first, 1);
    EXPECT_GE(heard[1].second, 3);
    EXPECT_THROW(SaveReportPdf(dir.file("missing/report.pdf"), "text"), std::exception);
}

TEST(RunWithProgress, CancelStopsTheJobAndTheWindowsKeepAnswering) {
    QWidget owner;
    owner.show();
    int timerTicks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++timerTicks; });
    ticker.start(10);
    // Cancel, pressed once the progress window is up.
    QTimer::singleShot(600, [&] {
        auto* progress = owner.findChild<QProgressDialog*>();
        ASSERT_NE(progress, nullptr);
        progress->cancel();
    });
    int steps = 0;
    const bool completed = RunWithProgress(&owner, "Job", [&](const ProgressCheck& progress) {
        for (; steps < 100000 && progress(steps, 100000); ++steps)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    EXPECT_FALSE(completed);
    EXPECT_LT(steps, 100000);
    EXPECT_GT(timerTicks, 10) << "the event loop ran while the job did";
    EXPECT_TRUE(RunWithProgress(&owner, "Job", [](const ProgressCheck&) {}));
    EXPECT_THROW(RunWithProgress(&owner, "Job",
                                 [](const ProgressCheck&) { throw std::runtime_error("failed"); }),
                 std::runtime_error);
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

TEST(frmResultDisplay, PrintAndSaveAsPdfWriteTheReportWithTheSameMargins) {
    AnalysedWindow w;
    PdfPrintSetup printer;
    printer.path = w.dir.file("printed.pdf");
    w.window.setPrintSetup(printer);
    w.window.FilePrint->trigger();
    EXPECT_EQ(printer.asked, 1);
    const QByteArray printed = FileBytes(printer.path);
    EXPECT_GE(pdfPages(printed), 1);
    EXPECT_TRUE(printed.contains("/FontFile"));

    const QString saved = w.dir.file("saved.pdf");
    w.files.names = {saved};
    w.window.FileSavePdf->trigger();
    EXPECT_EQ(w.files.lastSuffix, "pdf");
    EXPECT_GE(pdfPages(FileBytes(saved)), 1);
    EXPECT_TRUE(w.window.resultsPath().isEmpty()) << "a PDF is no results file";
    // 20 mm is 56.7 pt.
    EXPECT_NEAR(firstWordAt(saved).x(), 56.7, 1);
    EXPECT_NEAR(firstWordAt(printer.path).x(), firstWordAt(saved).x(), 0.5);
    EXPECT_NEAR(firstWordAt(printer.path).y(), firstWordAt(saved).y(), 0.5);

    printer.cancel = true;
    printer.path = w.dir.file("cancelled.pdf");
    w.window.FilePrint->trigger();
    EXPECT_FALSE(QFile::exists(printer.path));
    EXPECT_TRUE(w.sink.shown.empty());
}

} // namespace
} // namespace kradon
