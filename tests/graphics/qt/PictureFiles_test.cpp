// The pictures of the sample models rendered into images (where the red diagram lines, the navy
// grid and the white background land) and written as PNG, SVG and PDF files or printed.
#include "../../core/FileSafetySupport.h"
#include "SampleModels.h"
#include "graphics/RecordingSurface.h"
#include "graphics/SvgSurface.h"
#include "graphics/qt/PictureFiles.h"
#include "model/KradonError.h"

#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
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

bool isDiagram(PictureKind kind) {
    return kind != PictureKind::Beam && kind != PictureKind::Mesh;
}

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

/// Every sample model, read and analysed once for the whole test program.
class SampleModels : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        work_ = new QTemporaryDir();
        ASSERT_TRUE(work_->isValid());
        for (const auto& entry : fs::directory_iterator(KRADON_EXAMPLES))
            if (entry.path().extension() == ".kdn")
                states_[entry.path().stem().string()] =
                    samples::analysedModel(entry.path(), folder());
    }
    static void TearDownTestSuite() {
        delete work_;
        work_ = nullptr;
        states_.clear();
    }
    static fs::path folder() { return fs::path(work_->path().toStdString()); }
    static const ProgramState& state(const std::string& name) { return states_.at(name); }

    static inline QTemporaryDir* work_ = nullptr;
    static inline std::map<std::string, ProgramState> states_;
    samples::QuietSink messages_;
};

TEST_F(SampleModels, EveryExampleIsThere) {
    EXPECT_GE(states_.size(), 5u);
    EXPECT_TRUE(states_.count("simply-supported-point-load"));
    EXPECT_TRUE(states_.count("two-span-continuous-udl"));
}

TEST_F(SampleModels, EveryPictureHasItsRedLinesWhereTheScalePutsThem) {
    for (const auto& [name, s] : states_)
        for (const PictureKind kind : AllKinds) {
            SCOPED_TRACE(name + " " + std::string(modGraphics::PictureKindName(kind)));
            const QImage image = RenderPicture(kind, s, PictureSize, messages_);
            ASSERT_EQ(image.size(), PictureSize);
            RecordingSurface recording(PictureSize.width(), PictureSize.height());
            modGraphics::DrawPicture(kind, s, recording, messages_);
            const auto red = recording.linesIn(colours::Red);
            if (isDiagram(kind)) {
                ASSERT_FALSE(red.empty());
            }
            int found = 0;
            for (const RecordedCall& line : red) {
                const double mx = (line.x1 + line.x2) / 2;
                const double my = (line.y1 + line.y2) / 2;
                found += redNear(image, recording.pixelX(mx), recording.pixelY(my)) ? 1 : 0;
            }
            // Labels printed later may cover a few midpoints.
            EXPECT_GE(found, static_cast<int>(0.9 * static_cast<double>(red.size())));
        }
}

TEST_F(SampleModels, DiagramsHaveANavyGridOnAWhiteBackground) {
    for (const auto& [name, s] : states_)
        for (const PictureKind kind : AllKinds) {
            SCOPED_TRACE(name + " " + std::string(modGraphics::PictureKindName(kind)));
            const QImage image = RenderPicture(kind, s, PictureSize, messages_);
            const int whites = countPixels(image, white);
            EXPECT_GT(whites, image.width() * image.height() * 3 / 4);
            const int corners = white(image.pixel(0, 0)) + white(image.pixel(1199, 0)) +
                                white(image.pixel(0, 799)) + white(image.pixel(1199, 799));
            EXPECT_GE(corners, 2); // a grid line may run along one edge
            if (isDiagram(kind))
                EXPECT_GT(countPixels(image, navy), 3000);
            else
                EXPECT_LT(countPixels(image, navy), 50); // antialiased blue edges only
        }
}

TEST_F(SampleModels, BendingMomentApexOfThePointLoadLiesAtItsPixel) {
    const ProgramState& s = state("simply-supported-point-load");
    const QImage image = RenderPicture(PictureKind::BendingMoment, s, PictureSize, messages_);
    RecordingSurface recording(PictureSize.width(), PictureSize.height());
    modGraphics::DrawPicture(PictureKind::BendingMoment, s, recording, messages_);
    // The node of the largest sagging moment (kNm) is the apex below the axis.
    const auto& M = s.results.NodeMoment;
    const auto apex = std::max_element(M.begin() + 1, M.begin() + s.mesh.NodeCount + 1) - M.begin();
    const double Mmax = M[static_cast<std::size_t>(apex)] / 1000;
    ASSERT_GT(Mmax, 0);
    const double px = recording.pixelX(s.mesh.NodeX[static_cast<std::size_t>(apex)]);
    const double py = recording.pixelY(Mmax);
    EXPECT_GT(py, recording.pixelY(0) + 100); // well below the axis
    EXPECT_TRUE(redNear(image, px, py));
    // Nothing red below the apex, and the axis at either end.
    for (int dy = 6; dy < 40; ++dy)
        EXPECT_FALSE(reddish(image.pixel(static_cast<int>(px), static_cast<int>(py) + dy))) << dy;
    EXPECT_TRUE(redNear(image, recording.pixelX(0), recording.pixelY(0)));
    EXPECT_TRUE(redNear(image, recording.pixelX(s.model.span), recording.pixelY(0)));
}

TEST_F(SampleModels, ShearJumpOfTheMiddleSupportIsAVerticalRedLine) {
    const ProgramState& s = state("two-span-continuous-udl");
    const QImage image = RenderPicture(PictureKind::Shear, s, PictureSize, messages_);
    RecordingSurface recording(PictureSize.width(), PictureSize.height());
    modGraphics::DrawPicture(PictureKind::Shear, s, recording, messages_);
    const double px = recording.pixelX(s.model.span / 2);
    const double axis = recording.pixelY(0);
    for (int dy : {-120, -60, 60, 120})
        EXPECT_TRUE(redNear(image, px, axis + dy, 1)) << dy;
}

TEST_F(SampleModels, PngFileIsThePicture) {
    const fs::path file = folder() / "bmd.png";
    const ProgramState& s = state("simply-supported-point-load");
    SavePictureFile(PictureKind::BendingMoment, s, file, PictureSize, messages_);
    QImage read;
    ASSERT_TRUE(read.load(QString::fromStdString(file.string())));
    EXPECT_EQ(read.size(), PictureSize);
    const QImage rendered = RenderPicture(PictureKind::BendingMoment, s, PictureSize, messages_);
    EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), rendered);
}

TEST_F(SampleModels, ExtensionIsReadInAnyCase) {
    const fs::path file = folder() / "MESH.PNG";
    SavePictureFile(PictureKind::Mesh, state("cantilever"), file, QSize(300, 200), messages_);
    QImage read;
    ASSERT_TRUE(read.load(QString::fromStdString(file.string()), "PNG"));
    EXPECT_EQ(read.size(), QSize(300, 200));
}

std::string fileStart(const fs::path& file, std::size_t n) {
    std::ifstream in(file, std::ios::binary);
    std::string start(n, '\0');
    in.read(start.data(), static_cast<std::streamsize>(n));
    start.resize(static_cast<std::size_t>(in.gcount()));
    return start;
}

std::string wholeFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(SampleModels, SvgFileIsTheSvgSurfaceDocument) {
    const fs::path file = folder() / "sfd.svg";
    const ProgramState& s = state("two-span-continuous-udl");
    SavePictureFile(PictureKind::Shear, s, file, PictureSize, messages_);
    SvgSurface surface(PictureSize.width(), PictureSize.height());
    modGraphics::DrawPicture(PictureKind::Shear, s, surface, messages_);
    const std::string text = wholeFile(file);
    EXPECT_EQ(text, surface.svg());
    EXPECT_NE(text.find("<svg"), std::string::npos);
    EXPECT_NE(text.find("</svg>"), std::string::npos);
}

TEST_F(SampleModels, PdfFileIsOnePdfDocument) {
    const fs::path file = folder() / "dsd.pdf";
    SavePictureFile(PictureKind::Deflection, state("propped-cantilever-spring"), file, PictureSize,
                    messages_);
    EXPECT_EQ(fileStart(file, 5), "%PDF-");
    const std::string text = wholeFile(file);
    EXPECT_NE(text.find("%%EOF"), std::string::npos);
    EXPECT_GT(text.size(), 1000u);
}

TEST_F(SampleModels, PrintedPageIsWritten) {
    const fs::path file = folder() / "printed.pdf";
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(file.string()));
    printer.setPageOrientation(QPageLayout::Landscape);
    PrintPicture(printer, PictureKind::BendingMoment, state("two-span-continuous-udl"), messages_);
    EXPECT_EQ(fileStart(file, 5), "%PDF-");
}

void expectFileIoError(const std::function<void()>& save, const std::string& part) {
    try {
        save();
        ADD_FAILURE() << "no error";
    } catch (const KradonError& e) {
        EXPECT_EQ(e.number(), ErrorNumber::FileIo);
        EXPECT_EQ(e.source(), "SavePictureFile");
        EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
    }
}

TEST_F(SampleModels, UnwritablePathsAndUnknownExtensionsAreFileErrors) {
    const ProgramState& s = state("cantilever");
    const fs::path missing = folder() / "no such folder";
    for (const char* name : {"x.png", "x.svg", "x.pdf"}) {
        SCOPED_TRACE(name);
        expectFileIoError(
            [&] { SavePictureFile(PictureKind::Beam, s, missing / name, PictureSize, messages_); },
            (missing / name).string());
        EXPECT_FALSE(fs::exists(missing / name));
    }
    expectFileIoError(
        [&] { SavePictureFile(PictureKind::Beam, s, folder() / "x.bmp", PictureSize, messages_); },
        "'.bmp'");
    expectFileIoError(
        [&] { SavePictureFile(PictureKind::Beam, s, folder() / "noext", PictureSize, messages_); },
        "unknown picture format");
    EXPECT_FALSE(fs::exists(folder() / "x.bmp"));
}

TEST_F(SampleModels, AFailedWriteKeepsTheOldPicture) {
    const ProgramState& s = state("cantilever");
    for (const char* name : {"old.png", "old.svg", "old.pdf"}) {
        SCOPED_TRACE(name);
        const fs::path file = folder() / name;
        test::writeBytes(file, "the old picture");
        const test::InjectedWriteFault fault(SafeFile::WriteStep::Sync, EIO);
        expectFileIoError(
            [&] { SavePictureFile(PictureKind::Beam, s, file, PictureSize, messages_); },
            file.string() + ": Input/output error");
        EXPECT_EQ(test::fileBytes(file), "the old picture");
    }
}

TEST(PictureFiles, StateWithoutResultsStillGivesTheFrame) {
    ProgramState s;
    s.model.span = 10;
    samples::QuietSink messages;
    for (const PictureKind kind : AllKinds) {
        const QImage image = RenderPicture(kind, s, QSize(240, 160), messages);
        EXPECT_EQ(image.size(), QSize(240, 160));
        EXPECT_TRUE(white(image.pixel(0, 159)));
    }
}

} // namespace
} // namespace kradon
