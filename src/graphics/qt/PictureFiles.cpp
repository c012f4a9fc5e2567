#include "graphics/qt/PictureFiles.h"

#include "graphics/SvgPicture.h"
#include "graphics/qt/PainterSurface.h"
#include "model/KradonError.h"

#include <QBuffer>
#include <QByteArray>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QString>
#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

namespace kradon {

namespace {

constexpr const char* PrintSource = "PrintPicture";
/// Dots per inch of a PDF page; the picture is scaled up to it, so lines and text stay sharp.
constexpr int PdfResolution = 600;

std::string lowerExtension(const std::filesystem::path& file) {
    std::string ext = file.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

void checkSize(const std::filesystem::path& file, QSize pixels) {
    if (pixels.width() < 1 || pixels.height() < 1)
        CannotWritePicture(file, "the picture size must be at least 1 x 1 pixels");
}

/// Draws the picture into the rectangle (0, 0)-pixels of the painter's current coordinates.
void drawOnPainter(QPainter& painter, modGraphics::PictureKind kind, const ProgramState& state,
                   QSize pixels, MessageSink& messages) {
    painter.fillRect(QRectF(0, 0, pixels.width(), pixels.height()), Qt::white);
    PainterSurface surface(painter, pixels.width(), pixels.height());
    modGraphics::DrawPicture(kind, state, surface, messages);
}

/// Replaces the file with bytes in one step, so a failed write leaves the old picture whole.
void writeFile(const std::filesystem::path& file, const QByteArray& bytes) {
    WritePictureBytes(file, std::string_view(bytes.constData(), bytes.size()));
}

QByteArray pngBytes(modGraphics::PictureKind kind, const ProgramState& state, QSize pixels,
                    MessageSink& messages) {
    const QImage image = RenderPicture(kind, state, pixels, messages);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        throw KradonError(ErrorNumber::FileIo, SavePictureSource,
                          "The PNG image could not be made");
    return bytes;
}

QByteArray pdfBytes(modGraphics::PictureKind kind, const ProgramState& state, QSize pixels,
                    MessageSink& messages) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(PdfResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                     QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    writer.setTitle(QString::fromUtf8(modGraphics::PictureKindName(kind).data()));
    writer.setCreator(QStringLiteral("Kradon"));
    QPainter painter;
    if (!painter.begin(&writer))
        throw KradonError(ErrorNumber::FileIo, SavePictureSource,
                          "The PDF page could not be started");
    // Fit the picture into the printable area, keeping its aspect ratio, and centre it.
    const double scale = std::min(static_cast<double>(writer.width()) / pixels.width(),
                                  static_cast<double>(writer.height()) / pixels.height());
    painter.translate((writer.width() - scale * pixels.width()) / 2,
                      (writer.height() - scale * pixels.height()) / 2);
    painter.scale(scale, scale);
    drawOnPainter(painter, kind, state, pixels, messages);
    painter.end();
    return bytes;
}

} // namespace

QImage RenderPicture(modGraphics::PictureKind kind, const ProgramState& state, QSize pixels,
                     MessageSink& messages) {
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    drawOnPainter(painter, kind, state, pixels, messages);
    return image;
}

void SavePictureFile(modGraphics::PictureKind kind, const ProgramState& state,
                     const std::filesystem::path& file, QSize pixels, MessageSink& messages) {
    checkSize(file, pixels);
    const std::string ext = lowerExtension(file);
    if (ext == ".png")
        return writeFile(file, pngBytes(kind, state, pixels, messages));
    if (ext == ".svg")
        return WritePictureBytes(
            file, SvgPicture(kind, state, pixels.width(), pixels.height(), messages));
    if (ext == ".pdf")
        return writeFile(file, pdfBytes(kind, state, pixels, messages));
    CannotWritePicture(file, "unknown picture format '" + ext + "' (use .png, .svg or .pdf)");
}

void PrintPicture(QPrinter& printer, modGraphics::PictureKind kind, const ProgramState& state,
                  MessageSink& messages) {
    QPainter painter;
    if (!painter.begin(&printer))
        throw KradonError(ErrorNumber::FileIo, PrintSource, "The printer could not be started");
    // The picture fills the printable area; PainterSurface scales widths and text up to the
    // printer's resolution.
    drawOnPainter(painter, kind, state, QSize(printer.width(), printer.height()), messages);
    painter.end();
}

} // namespace kradon
