// The report on paper: line splitting, pages, and the printer and PDF routes of the window.
#include "ResultsTestSupport.h"
#include "app/results/ReportPrinting.h"
#include "app/results/frmResultDisplay.h"

#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <gtest/gtest.h>

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
