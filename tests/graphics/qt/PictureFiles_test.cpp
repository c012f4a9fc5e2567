// The pictures of the sample models rendered into images (where the red diagram lines, the navy
// grid and the white background land) and written as PNG, SVG and PDF files or printed.
#include "../../core/FileSafetySupport.h"
#include "analysis/AnalyseCommand.h"
#include "graphics/RecordingSurface.h"
#include "graphics/SvgSurface.h"
#include "graphics/qt/PictureFiles.h"
#include "model/KradonError.h"
#include "model/modFileWrite.h"

#include <QImage>
#include <QPrinter>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace kradon {
namespace {

using modGraphics::PictureKind;
namespace fs = std::filesystem;

constexpr PictureKind AllKinds[] = {
    PictureKind::Beam,       PictureKind::Mesh,   PictureKind::BendingMoment, PictureKind::Shear,
    PictureKind::Deflection, PictureKind::EValue, PictureKind::IValue};
constexpr QSize PictureSize(1200, 800);

struct QuietSink : MessageSink {
    void show(const Message&) override {}
};

/// Red, or the pink a thin antialiased red line leaves when it falls between two pixel rows.
bool reddish(QRgb p) {
    return qRed(p) > 180 && qRed(p) - qGreen(p) > 60 && qRed(p) - qBlue(p) > 60;
}
bool navy(QRgb p) {
    return qRed(p) < 40 && qGreen(p) < 40 && qBlue(p) > 90 && qBlue(p) < 160;
}
bool white(QRgb p) {
    return p == qRgb(255, 255, 255);
}

/// A reddish pixel within radius pixels of (x, y).
bool redNear(const QImage& image, double x, double y, int radius = 2) {
    const int cx = static_cast<int>(std::floor(x));
    const int cy = static_cast<int>(std::floor(y));
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            if (image.valid(cx + dx, cy + dy) && reddish(image.pixel(cx + dx, cy + dy)))
                return true;
    return false;
}

int countPixels(const QImage& image, bool (*test)(QRgb)) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += test(image.pixel(x, y)) ? 1 : 0;
    return n;
}

/// A picture rendered into an image, and the same picture on a recording surface of its size.
struct Rendered {
    Rendered(PictureKind kind, const ProgramState& s)
        : image(RenderPicture(kind, s, PictureSize, messages)),
          recording(PictureSize.width(), PictureSize.height()) {
        modGraphics::DrawPicture(kind, s, recording, messages);
    }
    QuietSink messages;
    QImage image;
    RecordingSurface recording;
};

std::string wholeFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// Every sample model, read and analysed as the Analyse command does, once for the whole test
/// program.
class SampleModels : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        work_ = new QTemporaryDir();
        ASSERT_TRUE(work_->isValid());
        for (const auto& entry : fs::directory_iterator(KRADON_EXAMPLES)) {
            if (entry.path().extension() != ".kdn")
                continue;
            ProgramState& s = states_[entry.path().stem().string()];
            s.model = modFileWrite::OpenModelFile(entry.path());
            s.FileName = entry.path().string();
            NullStatusSink status;
            QuietSink messages;
            ASSERT_EQ(AnalyseCore(s, folder(), status, messages).outcome, AnalyseOutcome::Completed)
                << entry.path();
        }
    }
    static void TearDownTestSuite() {
        delete work_;
        work_ = nullptr;
        states_.clear();
    }
    static fs::path folder() { return fs::path(work_->path().toStdString()); }
    static const ProgramState& state(const std::string& name) { return states_.at(name); }
    void expectFileIoError(const fs::path& file, const std::string& part) {
        try {
            SavePictureFile(PictureKind::Beam, state("cantilever"), file, PictureSize, messages_);
            ADD_FAILURE() << "no error for " << file;
        } catch (const KradonError& e) {
            EXPECT_EQ(e.number(), ErrorNumber::FileIo);
            EXPECT_EQ(e.source(), "SavePictureFile");
            EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
        }
    }

    static inline QTemporaryDir* work_ = nullptr;
    static inline std::map<std::string, ProgramState> states_;
    QuietSink messages_;
};

TEST_F(SampleModels, EveryPictureHasItsRedLinesWhereTheScalePutsThemOnAWhiteBackground) {
    ASSERT_GE(states_.size(), 5u);
    for (const auto& [name, s] : states_)
        for (const PictureKind kind : AllKinds) {
            SCOPED_TRACE(name + " " + std::string(modGraphics::PictureKindName(kind)));
            const Rendered r(kind, s);
            ASSERT_EQ(r.image.size(), PictureSize);
            const auto red = r.recording.linesIn(colours::Red);
            const bool diagram = kind != PictureKind::Beam && kind != PictureKind::Mesh;
            if (diagram) {
                ASSERT_FALSE(red.empty());
            }
            int found = 0;
            for (const RecordedCall& line : red)
                found += redNear(r.image, r.recording.pixelX((line.x1 + line.x2) / 2),
                                 r.recording.pixelY((line.y1 + line.y2) / 2));
            // Labels printed later may cover a few midpoints.
            EXPECT_GE(found, static_cast<int>(0.9 * static_cast<double>(red.size())));
            // Diagrams have a navy grid; the other pictures only antialiased blue edges.
            EXPECT_GT(countPixels(r.image, white), 1200 * 800 * 3 / 4);
            const int corners = white(r.image.pixel(0, 0)) + white(r.image.pixel(1199, 0)) +
                                white(r.image.pixel(0, 799)) + white(r.image.pixel(1199, 799));
            EXPECT_GE(corners, 2); // a grid line may run along one edge
            if (diagram)
                EXPECT_GT(countPixels(r.image, navy), 3000);
            else
                EXPECT_LT(countPixels(r.image, navy), 50);
        }
}

TEST_F(SampleModels, BendingMomentApexOfThePointLoadLiesAtItsPixel) {
    const ProgramState& s = state("simply-supported-point-load");
    const Rendered r(PictureKind::BendingMoment, s);
    // The node of the largest sagging moment (kNm) is the apex below the axis.
    const auto& M = s.results.NodeMoment;
    const auto apex = std::max_element(M.begin() + 1, M.begin() + s.mesh.NodeCount + 1) - M.begin();
    const double Mmax = M[static_cast<std::size_t>(apex)] / 1000;
    ASSERT_GT(Mmax, 0);
    const double px = r.recording.pixelX(s.mesh.NodeX[static_cast<std::size_t>(apex)]);
    const double py = r.recording.pixelY(Mmax);
    EXPECT_GT(py, r.recording.pixelY(0) + 100); // well below the axis
    EXPECT_TRUE(redNear(r.image, px, py));
    // Nothing red below the apex, and the axis at either end.
    for (int dy = 6; dy < 40; ++dy)
        EXPECT_FALSE(reddish(r.image.pixel(static_cast<int>(px), static_cast<int>(py) + dy))) << dy;
    EXPECT_TRUE(redNear(r.image, r.recording.pixelX(0), r.recording.pixelY(0)));
    EXPECT_TRUE(redNear(r.image, r.recording.pixelX(s.model.span), r.recording.pixelY(0)));
}

TEST_F(SampleModels, ShearJumpOfTheMiddleSupportIsAVerticalRedLine) {
    const ProgramState& s = state("two-span-continuous-udl");
    const Rendered r(PictureKind::Shear, s);
    const double px = r.recording.pixelX(s.model.span / 2);
    for (int dy : {-120, -60, 60, 120})
        EXPECT_TRUE(redNear(r.image, px, r.recording.pixelY(0) + dy, 1)) << dy;
}

TEST_F(SampleModels, PngFileIsThePictureWhateverTheCaseOfItsExtension) {
    const fs::path file = folder() / "BMD.PNG";
    const ProgramState& s = state("simply-supported-point-load");
    SavePictureFile(PictureKind::BendingMoment, s, file, PictureSize, messages_);
    QImage read;
    ASSERT_TRUE(read.load(QString::fromStdString(file.string()), "PNG"));
    EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32),
              RenderPicture(PictureKind::BendingMoment, s, PictureSize, messages_));
}

TEST_F(SampleModels, SvgFileIsTheSvgSurfaceDocument) {
    const fs::path file = folder() / "sfd.svg";
    const ProgramState& s = state("two-span-continuous-udl");
    SavePictureFile(PictureKind::Shear, s, file, PictureSize, messages_);
    SvgSurface surface(PictureSize.width(), PictureSize.height());
    modGraphics::DrawPicture(PictureKind::Shear, s, surface, messages_);
    EXPECT_EQ(wholeFile(file), surface.svg());
}

TEST_F(SampleModels, PdfFileAndPrintedPageAreOnePdfDocumentEach) {
    const fs::path file = folder() / "dsd.pdf";
    SavePictureFile(PictureKind::Deflection, state("propped-cantilever-spring"), file, PictureSize,
                    messages_);
    const fs::path printed = folder() / "printed.pdf";
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(printed.string()));
        printer.setPageOrientation(QPageLayout::Landscape);
        PrintPicture(printer, PictureKind::BendingMoment, state("two-span-continuous-udl"),
                     messages_);
    }
    for (const fs::path& pdf : {file, printed}) {
        const std::string text = wholeFile(pdf);
        EXPECT_EQ(text.rfind("%PDF-", 0), 0u) << pdf;
        EXPECT_NE(text.find("%%EOF"), std::string::npos) << pdf;
        EXPECT_GT(text.size(), 1000u) << pdf;
    }
}

TEST_F(SampleModels, UnwritablePathsAndUnknownExtensionsAreFileErrors) {
    const fs::path missing = folder() / "no such folder";
    for (const char* name : {"x.png", "x.svg", "x.pdf"}) {
        expectFileIoError(missing / name, (missing / name).string());
        EXPECT_FALSE(fs::exists(missing / name));
    }
    expectFileIoError(folder() / "x.bmp", "'.bmp'");
    expectFileIoError(folder() / "noext", "unknown picture format");
    EXPECT_FALSE(fs::exists(folder() / "x.bmp"));
}

TEST_F(SampleModels, AFailedWriteKeepsTheOldPicture) {
    for (const char* name : {"old.png", "old.svg", "old.pdf"}) {
        const fs::path file = folder() / name;
        test::writeBytes(file, "the old picture");
        const test::InjectedWriteFault fault(SafeFile::WriteStep::Sync, EIO);
        expectFileIoError(file, file.string() + ": Input/output error");
        EXPECT_EQ(test::fileBytes(file), "the old picture");
    }
}

TEST(PictureFiles, StateWithoutResultsStillGivesTheFrame) {
    ProgramState s;
    s.model.span = 10;
    QuietSink messages;
    for (const PictureKind kind : AllKinds) {
        const QImage image = RenderPicture(kind, s, QSize(240, 160), messages);
        EXPECT_EQ(image.size(), QSize(240, 160));
        EXPECT_TRUE(white(image.pixel(0, 159)));
    }
}

} // namespace
} // namespace kradon
