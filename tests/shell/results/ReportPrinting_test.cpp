// The report on paper: line splitting, pages, and the printer and PDF routes of the window.
#include "ResultsTestSupport.h"
#include "app/results/BackgroundJob.h"
#include "app/results/ReportPrinting.h"
#include "app/results/frmResultDisplay.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
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
#include <thread>
#include <utility>
#include <vector>

namespace kradon {
namespace {

using testing::AnalysedExample;
using testing::FileBytes;
using testing::RecordingSink;
using testing::ScriptedFilePicker;
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

/// A word of a line and the column it starts in, in character widths from the left margin.
struct Word {
    QString text;
    double column = 0;
};
using WordLine = std::vector<Word>;

/// The words of a line of the PDF's text, and the page it is on, from 0.
struct PaperLine {
    WordLine words;
    int page = 0;
};

std::ostream& operator<<(std::ostream& out, const WordLine& line) {
    for (const Word& w : line)
        out << '[' << w.column << ' ' << w.text.toStdString() << ']';
    return out;
}

/// Where the words of a line start: the first character after blanks and tabs. columnOf gives
/// the column of the character at an index.
template <typename ColumnOf> WordLine wordsOf(const QString& line, ColumnOf columnOf) {
    static const QRegularExpression word(QStringLiteral("[^ \\t]+"));
    WordLine words;
    for (const auto& match : word.globalMatch(line))
        words.push_back({match.captured(), columnOf(match.capturedStart())});
    return words;
}

/// The text of a line without its blanks.
QString letters(const WordLine& line) {
    QString text;
    for (const Word& w : line)
        text += w.text;
    return text;
}

/// The words of a line that are numbers, as the report writes them.
WordLine numbersOf(const WordLine& line) {
    static const QRegularExpression number(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?$"));
    WordLine numbers;
    for (const Word& w : line) {
        if (number.match(w.text).hasMatch())
            numbers.push_back(w);
    }
    return numbers;
}

/// The non-empty lines as the results window's editor lays them out on screen.
std::vector<WordLine> screenLines(const QPlainTextEdit& editor) {
    const double charWidth = QFontMetricsF(editor.font()).horizontalAdvance(QLatin1Char('x'));
    std::vector<WordLine> lines;
    for (QTextBlock block = editor.document()->begin(); block.isValid(); block = block.next()) {
        if (block.text().trimmed().isEmpty())
            continue;
        editor.document()->documentLayout()->blockBoundingRect(block); // lays the block out
        const QTextLine line = block.layout()->lineAt(0);
        const double left = line.cursorToX(0);
        lines.push_back(wordsOf(block.text(), [&](qsizetype at) {
            return (line.cursorToX(static_cast<int>(at)) - left) / charWidth;
        }));
    }
    return lines;
}

/// The width in points of one character of the report font on a PDF page.
double pdfCharWidth() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QFontMetricsF metrics(ReportFont(), &printer);
    return metrics.horizontalAdvance(QLatin1Char('x')) * 72.0 / printer.resolution();
}

/// The non-empty lines of the PDF's text as `pdftotext -layout` lays it out in columns of the
/// report font's character width, page after page.
std::vector<PaperLine> pdfLines(const QString& pdf) {
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"),
               {QStringLiteral("-layout"), QStringLiteral("-fixed"),
                QString::number(pdfCharWidth()), pdf, QStringLiteral("-")});
    EXPECT_TRUE(tool.waitForFinished(30000)) << "pdftotext (poppler-utils) is needed";
    EXPECT_EQ(tool.exitCode(), 0);
    std::vector<PaperLine> lines;
    const QStringList pages = QString::fromUtf8(tool.readAllStandardOutput()).split('\f');
    for (int page = 0; page < pages.size(); ++page) {
        for (const QString& line : pages[page].split('\n')) {
            if (!line.trimmed().isEmpty())
                lines.push_back({wordsOf(line, [](qsizetype at) { return double(at); }), page});
        }
    }
    return lines;
}

/// A report of about 170 lines, long enough for two pages.
ProgramState analysedFinely(const TempDir& dir) {
    ProgramState s;
    s.model = modFileWrite::OpenModelFile(std::filesystem::path(KRADON_EXAMPLES) /
                                          "two-span-continuous-udl.kdn");
    s.options.MeshDensFact = 4;
    RecordingSink sink;
    NullStatusSink status;
    EXPECT_EQ(AnalyseCore(s, dir.path(), status, sink).outcome, AnalyseOutcome::Completed);
    return s;
}

TEST(ReportRuns, TabsGoOnToTheNextHalfInchStop) {
    // Stops every 20/3 characters: 6.667, 13.333, 20, 26.667 ...
    EXPECT_TRUE(ReportRuns("").empty());
    EXPECT_TRUE(ReportRuns("\t\t").empty());
    EXPECT_EQ(
        ReportRuns("  1\t     000.000\t\t050.000"),
        (std::vector<ReportRun>{{"  1", 0}, {"     000.000", 20 / 3.0}, {"050.000", 80 / 3.0}}));
    // Text ending exactly on a stop goes on to the next one.
    EXPECT_EQ(ReportRuns("12345678901234567890\tx"),
              (std::vector<ReportRun>{{"12345678901234567890", 0}, {"x", 80 / 3.0}}));
    EXPECT_EQ(ReportRuns("\tFixed\t"), (std::vector<ReportRun>{{"Fixed", 20 / 3.0}}));
}

TEST(SaveReportPdf, ShowsTheColumnsOfTheResultsWindow) {
    const TempDir dir;
    ProgramState state = analysedFinely(dir);
    RecordingSink sink;
    ScriptedFilePicker files;
    frmResultDisplay window(state, sink, nullptr);
    window.setFilePicker(files);
    const QString pdf = dir.file("report.pdf");
    files.names = {pdf};
    window.FileSavePdf->trigger();
    ASSERT_TRUE(sink.shown.empty());
    if (const char* keep = std::getenv("KRADON_KEEP_REPORT_PDF"))
        QFile::copy(pdf, QString::fromLocal8Bit(keep)); // for a look at the page

    // Every line of the screen, in order, on as many pages as it takes; every number in the
    // column the screen shows it in, to the nearest whole character, counted from the left
    // margin. (Headings may lose a blank where the screen leaves a third of a character.)
    const std::vector<WordLine> screen = screenLines(*window.Editor);
    const std::vector<PaperLine> paper = pdfLines(pdf);
    ASSERT_GT(screen.size(), 150u);
    ASSERT_EQ(paper.size(), screen.size());
    EXPECT_GE(paper.back().page, 1);
    const double margin = paper[0].words[0].column;
    int numbers = 0;
    for (std::size_t i = 0; i < screen.size(); ++i) {
        EXPECT_EQ(letters(paper[i].words), letters(screen[i])) << i;
        const WordLine onPaper = numbersOf(paper[i].words);
        const WordLine onScreen = numbersOf(screen[i]);
        ASSERT_EQ(onPaper.size(), onScreen.size()) << i << ": " << screen[i] << paper[i].words;
        for (std::size_t w = 0; w < onScreen.size(); ++w) {
            EXPECT_EQ(onPaper[w].text, onScreen[w].text) << i;
            EXPECT_EQ(onPaper[w].column - margin, std::round(onScreen[w].column))
                << i << ": " << onScreen << onPaper;
            ++numbers;
        }
    }
    EXPECT_GT(numbers, 500);
}

TEST(ReportLines, LineEndsOfEveryKindEndALine) {
    EXPECT_EQ(ReportLines(""), QStringList());
    EXPECT_EQ(ReportLines("a\r\nb\r\n"), (QStringList{"a", "b"}));
    EXPECT_EQ(ReportLines("a\nb\rc"), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(ReportLines("a\r\n\r\n"), (QStringList{"a", ""}));
    EXPECT_EQ(ReportLines("\t x, \"y\""), (QStringList{"\t x, \"y\""}));
}

TEST(PaginateReport, FillsPagesInOrder) {
    const QStringList lines{"1", "2", "3", "4", "5"};
    const auto pages = PaginateReport(lines, 2);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0], (QStringList{"1", "2"}));
    EXPECT_EQ(pages[2], (QStringList{"5"}));
    EXPECT_TRUE(PaginateReport({}, 10).empty());
    EXPECT_EQ(PaginateReport(lines, 0).size(), 5u);
}

TEST(SaveReportPdf, LaysTheReportOutOnPages) {
    const TempDir dir;
    const QString one = dir.file("one.pdf");
    SaveReportPdf(one, numberedLines(10));
    EXPECT_EQ(pdfPages(FileBytes(one)), 1);
    // A 9 pt font gives between 50 and 99 lines on an A4 page with 20 mm margins.
    const QString three = dir.file("three.pdf");
    SaveReportPdf(three, numberedLines(200));
    const qsizetype pages = pdfPages(FileBytes(three));
    EXPECT_GE(pages, 3);
    EXPECT_LE(pages, 4);
    EXPECT_TRUE(FileBytes(three).contains("/FontFile"));
}

TEST(SaveReportPdf, StoppedByItsProgressItWritesNothing) {
    const TempDir dir;
    const QString path = dir.file("report.pdf");
    std::vector<std::pair<int, int>> heard;
    const auto stopAtSecondPage = [&](int page, int pages) {
        heard.emplace_back(page, pages);
        return page < 1;
    };
    EXPECT_FALSE(SaveReportPdf(path, numberedLines(200), stopAtSecondPage));
    EXPECT_FALSE(QFile::exists(path));
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[1].first, 1);
    EXPECT_GE(heard[1].second, 3);
    // The whole report heard of every page.
    heard.clear();
    EXPECT_TRUE(SaveReportPdf(path, numberedLines(200), [&](int page, int pages) {
        heard.emplace_back(page, pages);
        return true;
    }));
    EXPECT_EQ(static_cast<qsizetype>(heard.size()), pdfPages(FileBytes(path)));
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

TEST(SaveReportPdf, UnwritablePathThrows) {
    const TempDir dir;
    EXPECT_THROW(SaveReportPdf(dir.file("missing/report.pdf"), "text"), std::exception);
}

TEST(frmResultDisplay, PrintSendsTheReportToThePrinter) {
    const TempDir dir;
    ProgramState state = AnalysedExample("two-span-continuous-udl.kdn", dir);
    RecordingSink sink;
    frmResultDisplay window(state, sink, nullptr);
    PdfPrintSetup printer;
    printer.path = dir.file("printed.pdf");
    window.setPrintSetup(printer);
    window.FilePrint->trigger();
    EXPECT_EQ(printer.asked, 1);
    const QByteArray pdf = FileBytes(printer.path);
    EXPECT_GE(pdfPages(pdf), 1);
    EXPECT_TRUE(pdf.contains("/FontFile"));
    EXPECT_TRUE(sink.shown.empty());

    printer.cancel = true;
    printer.path = dir.file("cancelled.pdf");
    window.FilePrint->trigger();
    EXPECT_FALSE(QFile::exists(printer.path));
    EXPECT_TRUE(sink.shown.empty());
}

/// Where the first word of the PDF's first page starts, in points from the page's top-left
/// corner, as `pdftotext -bbox` finds it.
QPointF firstWordAt(const QString& pdf) {
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-l"),
                                             QStringLiteral("1"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(tool.waitForFinished(30000)) << "pdftotext (poppler-utils) is needed";
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\""));
    const QRegularExpressionMatch found =
        word.match(QString::fromUtf8(tool.readAllStandardOutput()));
    EXPECT_TRUE(found.hasMatch());
    return {found.captured(1).toDouble(), found.captured(2).toDouble()};
}

TEST(frmResultDisplay, PrintUsesTheMarginsOfTheSavedPdf) {
    const TempDir dir;
    ProgramState state = AnalysedExample("two-span-continuous-udl.kdn", dir);
    RecordingSink sink;
    ScriptedFilePicker files;
    frmResultDisplay window(state, sink, nullptr);
    window.setFilePicker(files);
    PdfPrintSetup printer;
    printer.path = dir.file("printed.pdf");
    window.setPrintSetup(printer);
    window.FilePrint->trigger();
    files.names = {dir.file("saved.pdf")};
    window.FileSavePdf->trigger();
    const QPointF printed = firstWordAt(printer.path);
    const QPointF saved = firstWordAt(dir.file("saved.pdf"));
    // 20 mm is 56.7 pt.
    EXPECT_NEAR(saved.x(), 56.7, 1);
    EXPECT_NEAR(printed.x(), saved.x(), 0.5);
    EXPECT_NEAR(printed.y(), saved.y(), 0.5);
}

TEST(frmResultDisplay, SaveAsPdfWritesTheReport) {
    const TempDir dir;
    ProgramState state = AnalysedExample("two-span-continuous-udl.kdn", dir);
    RecordingSink sink;
    ScriptedFilePicker files;
    files.unscriptedDialogFails = true;
    frmResultDisplay window(state, sink, nullptr);
    window.setFilePicker(files);
    const QString name = dir.file("report.pdf");
    files.names = {name};
    window.FileSavePdf->trigger();
    EXPECT_EQ(files.lastSuffix, "pdf");
    EXPECT_GE(pdfPages(FileBytes(name)), 1);
    EXPECT_TRUE(window.resultsPath().isEmpty());

    const QString bad = dir.file("missing/report.pdf");
    files.names = {bad};
    window.FileSavePdf->trigger();
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].text, "Unkown error while saving file " + bad.toStdString());
}

} // namespace
} // namespace kradon
