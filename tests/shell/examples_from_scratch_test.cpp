// Every sample model of examples/ built from an empty model by hand, through the Add commands,
// the dialogs' fields and buttons and the span field only: the idealised beam on screen changes
// with every OK, the saved file must equal the sample byte for byte, and its analysis must give
// the sample's report.
#include "../core/FileSafetySupport.h"
#include "DialogTestSupport.h"
#include "analysis/AnalyseCommand.h"
#include "model/modFileWrite.h"
#include "results/modResults.h"

#include <QCheckBox>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <functional>
#include <string>
#include <vector>

namespace kradon::test {
namespace {

/// What a user does in the dialogs, one record at a time.
class ByHand {
public:
    explicit ByHand(frmMain& main) : main_(main) {}

    ByHand& pinned(const char* at) { return rigid("SupTypeBtn_0", at); }
    ByHand& fixed(const char* at) { return rigid("SupTypeBtn_1", at); }
    ByHand& pointLoad(const char* kN, const char* at) {
        QDialog* d = ClickAdd(main_, AddPointLoad, "frmPln");
        Type(d, "LoadVal", kN);
        Type(d, "LoadLoc", at);
        return ok(d);
    }
    ByHand& udl(const char* kNm, const char* from, const char* to) {
        QDialog* d = ClickAdd(main_, AddUniformLoad, "frmUln");
        Type(d, "LoadVal", kNm);
        Type(d, "LoadLocA", from);
        Type(d, "LoadLocB", to);
        return ok(d);
    }
    ByHand& spring(const char* at, const char* kNmm) {
        QDialog* d = ClickAdd(main_, AddSpringSupport, "frmSsn");
        Type(d, "SsnDis", at);
        tick(d, "vssCheck", true);
        tick(d, "rssCheck", false);
        Type(d, "vssVal", kNmm);
        return ok(d);
    }
    ByHand& constantE(const char* value, const char* from, const char* to) {
        return segment(AddEValue, "Variation_0", "NoneTxt", value, from, to);
    }
    ByHand& constantI(const char* value, const char* from, const char* to) {
        return segment(AddIValue, "Variation_0", "NoneTxt", value, from, to);
    }
    ByHand& curveI(const char* expression, const char* from, const char* to) {
        return segment(AddIValue, "Variation_2", "CurveTxt", expression, from, to);
    }

private:
    ByHand& rigid(const char* typeButton, const char* at) {
        QDialog* d = ClickAdd(main_, AddRigidSupport, "frmSup");
        Type(d, "SupDis", at);
        Click(d, typeButton);
        return ok(d);
    }
    ByHand& segment(int button, const char* variation, const char* valueField, const char* value,
                    const char* from, const char* to) {
        QDialog* d = ClickAdd(main_, button, "frmVariation");
        Type(d, "SegStartTxt", from);
        Type(d, "SegEndTxt", to);
        Click(d, variation);
        Type(d, valueField, value);
        Click(d, "ApplyBtn");
        Click(d, "CloseBtn");
        return *this;
    }
    static void tick(QDialog* d, const char* box, bool ticked) {
        if (Find<QCheckBox>(d, box)->isChecked() != ticked)
            Click(d, box);
    }
    ByHand& ok(QDialog* d) {
        QWidget* beam = DiagramSurface(main_, 0);
        EXPECT_NE(beam, nullptr);
        const QImage before = OnScreen(*beam);
        Click(d, "OKButton");
        EXPECT_FALSE(d->isVisible());
        EXPECT_NE(OnScreen(*beam), before) << d->objectName().toStdString();
        return *this;
    }
    frmMain& main_;
};

struct Example {
    const char* file;
    const char* span;
    std::function<void(ByHand&)> enter;
};

/// The report of the sample as the program reads and analyses it; the times are left out.
std::string sampleReport(const char* file) {
    QTemporaryDir dir;
    ProgramState s;
    s.model = modFileWrite::OpenModelFile(ExamplePath(file));
    RecordingShellSink sink;
    NullStatusSink status;
    EXPECT_EQ(AnalyseCore(s, dir.path().toStdString(), status, sink).outcome,
              AnalyseOutcome::Completed);
    return DoResults(s, "", 0, 0);
}

TEST(ExamplesFromScratch, DialogsRebuildEverySampleByteForByte) {
    // The same models, in the same order of entry, as the samples were written with.
    const std::vector<Example> examples = {
        {"simply-supported-point-load.kdn", "10",
         [](ByHand& b) {
             b.pinned("0").pinned("10").pointLoad("50", "4");
             b.constantE("205", "0", "10").constantI("8000", "0", "10");
         }},
        {"cantilever.kdn", "3",
         [](ByHand& b) {
             b.fixed("0").pointLoad("20", "3").constantE("205", "0", "3");
             b.constantI("5000", "0", "3");
         }},
        {"two-span-continuous-udl.kdn", "12",
         [](ByHand& b) {
             b.pinned("0").pinned("6").pinned("12").udl("10", "0", "12");
             b.constantE("205", "0", "12").constantI("12000", "0", "12");
         }},
        {"propped-cantilever-spring.kdn", "8",
         [](ByHand& b) {
             b.fixed("0").spring("8", "5").udl("15", "0", "8");
             b.constantE("205", "0", "8").constantI("9000", "0", "8");
         }},
        {"tapered-beam-curve.kdn", "6",
         [](ByHand& b) {
             b.fixed("0").pointLoad("10", "6").constantE("205", "0", "6");
             b.curveI("20000 - 2000 * x", "0", "6");
         }},
    };
    for (const Example& example : examples) {
        SCOPED_TRACE(example.file);
        MainWindowFixture f;
        f.main->mnuFile_New->trigger();
        TypeSpan(*f.main, example.span);
        ByHand hand(*f.main);
        example.enter(hand);
        EXPECT_TRUE(f.messages.shown.empty());

        const std::string saved = (f.folder() / example.file).string();
        f.files.names = {QString::fromStdString(saved)};
        f.main->mnuSaveAs->trigger();
        EXPECT_EQ(fileBytes(saved), fileBytes(ExamplePath(example.file)));

        QTest::mouseClick(f.main->submit, Qt::LeftButton);
        EXPECT_TRUE(f.messages.shown.empty());
        EXPECT_EQ(DoResults(f.main->state(), "", 0, 0), sampleReport(example.file));
    }
}

} // namespace
} // namespace kradon::test
