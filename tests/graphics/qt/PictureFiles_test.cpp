// The picture files: a PNG, SVG or PDF file, or a printed page, of the right kind and size with
// the picture in it, and files that cannot be written, which keep what was there before. Where the
// lines and texts of each picture lie is pinned on the recording and SVG surfaces.
#include "../../core/FileSafetySupport.h"
#include "../AnalysedState.h"
#include "graphics/SvgSurface.h"
#include "graphics/qt/PictureFiles.h"
#include "model/KradonError.h"

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

/// Pictures of two analysed spans under a uniform load, saved into a scratch folder.
class PictureFiles : public ::testing::Test {
protected:
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

    const QTemporaryDir work_;
    const ProgramState state_ = test::analysed(test::ModelBuilder()
                                                   .span(10)
                                                   .uniformEI(200, 10000)
                                                   .pinned(0)
                                                   .pinned(5)
                                                   .pinned(10)
                                                   .udl(10, 0, 10)
                                                   .build());
    test::RecordingSink messages_;
};

TEST_F(PictureFiles, EachKindOfFileHoldsThePictureAtItsSize) {
    // PNG, whatever the case of its extension.
    save(PictureKind::BendingMoment, folder() / "BMD.PNG");
    QImage png;
    ASSERT_TRUE(png.load(QString::fromStdString((folder() / "BMD.PNG").string()), "PNG"));
    QImage blank(PictureSize, QImage::Format_RGB32);
    blank.fill(Qt::white);
    EXPECT_EQ(png.size(), PictureSize);
    EXPECT_NE(png.convertToFormat(QImage::Format_RGB32), blank);
    // SVG: the document of the SVG surface, byte for byte.
    save(PictureKind::Shear, folder() / "sfd.svg");
    SvgSurface svg(PictureSize.width(), PictureSize.height());
    modGraphics::DrawPicture(PictureKind::Shear, state_, svg, messages_);
    EXPECT_EQ(test::fileBytes(folder() / "sfd.svg"), svg.svg());
    // PDF, saved or printed: one whole document each.
    save(PictureKind::Deflection, folder() / "dsd.pdf");
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString((folder() / "printed.pdf").string()));
        printer.setPageOrientation(QPageLayout::Landscape);
        PrintPicture(printer, PictureKind::BendingMoment, state_, messages_);
    }
    for (const char* pdf : {"dsd.pdf", "printed.pdf"}) {
        const std::string text = test::fileBytes(folder() / pdf);
        EXPECT_EQ(text.rfind("%PDF-", 0), 0u) << pdf;
        EXPECT_NE(text.find("%%EOF"), std::string::npos) << pdf;
        EXPECT_GT(text.size(), 1000u) << pdf;
    }
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(PictureFiles, UnwritablePathsAndUnknownExtensionsAreFileErrorsAndKeepTheOldPicture) {
    for (const std::string ext : {".png", ".svg", ".pdf"}) {
        const fs::path missing = folder() / "no such folder" / ("x" + ext);
        expectFileIoError(missing, missing.string());
        EXPECT_FALSE(fs::exists(missing));
        // Written whole or not at all.
        const fs::path old = folder() / ("old" + ext);
        test::writeBytes(old, "the old picture");
        const test::InjectedWriteFault fault(SafeFile::WriteStep::Sync, EIO);
        expectFileIoError(old, old.string() + ": Input/output error");
        EXPECT_EQ(test::fileBytes(old), "the old picture");
    }
    expectFileIoError(folder() / "x.bmp", "'.bmp'");
    expectFileIoError(folder() / "noext", "unknown picture format");
    EXPECT_FALSE(fs::exists(folder() / "x.bmp"));
}

} // namespace
} // namespace kradon
