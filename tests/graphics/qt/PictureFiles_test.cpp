// The picture files: a PNG, SVG or PDF file, or a printed page, of the right kind and size with
// the picture in it, and files that cannot be written, which keep what was there before. Where the
// lines and texts of each picture lie is pinned on the recording and SVG surfaces.
#include "../../core/FileSafetySupport.h"
#include "analysis/AnalyseCommand.h"
#include "graphics/SvgSurface.h"
#include "graphics/qt/PictureFiles.h"
#include "model/KradonError.h"
#include "model/modFileWrite.h"

#include <QImage>
#include <QPrinter>
#include <QTemporaryDir>
#include <filesystem>
#include <gtest/gtest.h>

namespace kradon {
namespace {

using modGraphics::PictureKind;
namespace fs = std::filesystem;

constexpr QSize PictureSize(1200, 800);

struct QuietSink : MessageSink {
    void show(const Message&) override {}
};

/// A sample model, read and analysed as the Analyse command does, in a scratch folder.
class PictureFiles : public ::testing::Test {
protected:
    PictureFiles() {
        EXPECT_TRUE(work_.isValid());
        const fs::path model = fs::path(KRADON_EXAMPLES) / "two-span-continuous-udl.kdn";
        state_.model = modFileWrite::OpenModelFile(model);
        state_.FileName = model.string();
        NullStatusSink status;
        EXPECT_EQ(AnalyseCore(state_, folder(), status, messages_).outcome,
                  AnalyseOutcome::Completed);
    }
    fs::path folder() const { return fs::path(work_.path().toStdString()); }
    void save(PictureKind kind, const fs::path& file) {
        SavePictureFile(kind, state_, file, PictureSize, messages_);
    }
    void expectFileIoError(const fs::path& file, const std::string& part) {
        try {
            save(PictureKind::Beam, file);
            ADD_FAILURE() << "no error for " << file;
        } catch (const KradonError& e) {
            EXPECT_EQ(e.number(), ErrorNumber::FileIo);
            EXPECT_EQ(e.source(), "SavePictureFile");
            EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
        }
    }

    QTemporaryDir work_;
    ProgramState state_;
    QuietSink messages_;
};

TEST_F(PictureFiles, PngFileOfAnyCaseOfExtensionHoldsThePictureAtItsSize) {
    const fs::path file = folder() / "BMD.PNG";
    save(PictureKind::BendingMoment, file);
    QImage read;
    ASSERT_TRUE(read.load(QString::fromStdString(file.string()), "PNG"));
    EXPECT_EQ(read.size(), PictureSize);
    int red = 0;
    for (int y = 0; y < read.height(); ++y)
        for (int x = 0; x < read.width(); ++x)
            red += read.pixel(x, y) == qRgb(255, 0, 0) ? 1 : 0;
    EXPECT_GT(red, 1000); // the diagram's outline
}

TEST_F(PictureFiles, SvgFileIsTheSvgSurfaceDocument) {
    const fs::path file = folder() / "sfd.svg";
    save(PictureKind::Shear, file);
    SvgSurface surface(PictureSize.width(), PictureSize.height());
    modGraphics::DrawPicture(PictureKind::Shear, state_, surface, messages_);
    EXPECT_EQ(test::fileBytes(file), surface.svg());
}

TEST_F(PictureFiles, PdfFileAndPrintedPageAreOnePdfDocumentEach) {
    const fs::path file = folder() / "dsd.pdf";
    save(PictureKind::Deflection, file);
    const fs::path printed = folder() / "printed.pdf";
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(printed.string()));
        printer.setPageOrientation(QPageLayout::Landscape);
        PrintPicture(printer, PictureKind::BendingMoment, state_, messages_);
    }
    for (const fs::path& pdf : {file, printed}) {
        const std::string text = test::fileBytes(pdf);
        EXPECT_EQ(text.rfind("%PDF-", 0), 0u) << pdf;
        EXPECT_NE(text.find("%%EOF"), std::string::npos) << pdf;
        EXPECT_GT(text.size(), 1000u) << pdf;
    }
}

TEST_F(PictureFiles, UnwritablePathsAndUnknownExtensionsAreFileErrors) {
    const fs::path missing = folder() / "no such folder";
    for (const char* name : {"x.png", "x.svg", "x.pdf"}) {
        expectFileIoError(missing / name, (missing / name).string());
        EXPECT_FALSE(fs::exists(missing / name));
    }
    expectFileIoError(folder() / "x.bmp", "'.bmp'");
    expectFileIoError(folder() / "noext", "unknown picture format");
    EXPECT_FALSE(fs::exists(folder() / "x.bmp"));
}

TEST_F(PictureFiles, AFailedWriteKeepsTheOldPicture) {
    for (const char* name : {"old.png", "old.svg", "old.pdf"}) {
        const fs::path file = folder() / name;
        test::writeBytes(file, "the old picture");
        const test::InjectedWriteFault fault(SafeFile::WriteStep::Sync, EIO);
        expectFileIoError(file, file.string() + ": Input/output error");
        EXPECT_EQ(test::fileBytes(file), "the old picture");
    }
}

} // namespace
} // namespace kradon
