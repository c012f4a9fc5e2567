#include "graphics/qt/SheetPdf.h"

#include "graphics/SheetLayout.h"
#include "graphics/qt/PainterSurface.h"
#include "model/KradonError.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QString>
#include <map>
#include <utility>

namespace kradon {
namespace {

/// Dots per inch of the PDF's coordinates.
constexpr int Resolution = 1200;
constexpr double DotsPerMillimetre = Resolution / 25.4;

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// The sheet's fonts on the PDF device, measured as the painter will set them.
class PdfFonts : public sheet::TextMeasure {
public:
    explicit PdfFonts(QPaintDevice& device) : device_(device) {}

    const QFont& font(double points, bool bold) const {
        const auto key = std::pair{points, bold};
        auto found = fonts_.find(key);
        if (found == fonts_.end()) {
            QFont f(PainterSurface::FontFamily);
            f.setStyleHint(QFont::SansSerif);
            f.setPointSizeF(points);
            f.setBold(bold);
            // Without shaping "fl" stays two letters, so the text read back from the PDF is
            // the text written.
            f.setStyleStrategy(QFont::PreferNoShaping);
            found = fonts_.emplace(key, Entry{f, QFontMetricsF(f, &device_)}).first;
        }
        return found->second.font;
    }
    const QFontMetricsF& metrics(double points, bool bold) const {
        font(points, bold);
        return fonts_.at(std::pair{points, bold}).metrics;
    }
    double width(std::string_view text, double points, bool bold) const override {
        return metrics(points, bold).horizontalAdvance(toQString(text)) / DotsPerMillimetre;
    }

private:
    struct Entry {
        QFont font;
        QFontMetricsF metrics;
    };
    QPaintDevice& device_;
    mutable std::map<std::pair<double, bool>, Entry> fonts_;
};

void paintPage(QPainter& painter, const sheet::Page& page, const PdfFonts& fonts) {
    const double k = DotsPerMillimetre;
    for (const sheet::PageLine& l : page.lines) {
        QPen pen(Qt::black);
        pen.setWidthF(l.width * k);
        painter.setPen(pen);
        painter.drawLine(QPointF(l.x1 * k, l.y1 * k), QPointF(l.x2 * k, l.y2 * k));
    }
    painter.setPen(Qt::black);
    for (const sheet::PageText& t : page.texts) {
        painter.setFont(fonts.font(t.points, t.bold));
        const double ascent = fonts.metrics(t.points, t.bold).ascent();
        painter.drawText(QPointF(t.x * k, t.y * k + ascent), toQString(t.text));
    }
    for (const sheet::PageFigure& f : page.figures) {
        if (f.figure == nullptr || !f.figure->draw)
            continue;
        painter.save();
        painter.setClipRect(QRectF(f.x * k, f.y * k, f.w * k, f.h * k));
        painter.translate(f.x * k, f.y * k);
        painter.scale(f.w * k / f.figure->pixelWidth, f.h * k / f.figure->pixelHeight);
        {
            PainterSurface surface(painter, f.figure->pixelWidth, f.figure->pixelHeight);
            f.figure->draw(surface);
        }
        painter.restore();
    }
}

} // namespace

std::string SheetPdf(const sheet::SheetDocument& document) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(Resolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        writer.setTitle(
            toQString(document.titleBlock.title + " - " + document.titleBlock.modelFile));
        writer.setCreator(toQString(document.titleBlock.version));
        const PdfFonts fonts(writer);
        const std::vector<sheet::Page> pages = sheet::LayoutSheet(document, fonts);
        QPainter painter;
        if (!painter.begin(&writer))
            throw KradonError(ErrorNumber::FileIo, "SheetPdf", "The PDF could not be started");
        for (std::size_t p = 0; p < pages.size(); ++p) {
            if (p > 0)
                writer.newPage();
            paintPage(painter, pages[p], fonts);
        }
        painter.end();
    }
    const QByteArray bytes = buffer.data();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace kradon
