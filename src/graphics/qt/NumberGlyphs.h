// Numbers laid out from glyphs looked up once. The mesh of a large model prints tens of
// thousands of node and element numbers; shaping each of them afresh through QPainter::drawText
// takes most of the drawing time, while the digits and signs of a number need no shaping: they
// have no kerning or ligatures, so each glyph simply follows the one before at its advance.
// Numbers printed one after another are queued and drawn together.
#pragma once

#include <QFont>
#include <QList>
#include <QPointF>
#include <QRawFont>
#include <array>
#include <string_view>

class QPainter;

namespace kradon {

class NumberGlyphs {
public:
    /// The glyphs of font at pixelSize pixels. If the font lacks any of the characters, covers()
    /// is false for all text.
    NumberGlyphs(const QFont& font, double pixelSize);

    /// Whether text is made only of the characters these glyphs cover (digits, '.', '-', '+',
    /// 'e' and the space) and so can be measured and drawn here.
    bool covers(std::string_view text) const;
    /// The advance of covered text in pixels.
    double width(std::string_view text) const;
    /// Queues covered text with its baseline starting at origin.
    void add(QPointF origin, std::string_view text);
    bool hasQueued() const { return !glyphs_.isEmpty(); }
    /// Draws the queued text as one glyph run with the painter's pen, and empties the queue.
    void drawQueued(QPainter& painter);

private:
    static constexpr std::string_view Characters = "0123456789.-+e ";
    static constexpr std::size_t TableSize = 128;

    QRawFont raw_;
    bool usable_ = false;
    std::array<bool, TableSize> covered_{};
    std::array<quint32, TableSize> glyph_{};
    std::array<double, TableSize> advance_{};

    // Drawing thousands of numbers as one run saves most of the painter's cost per call.
    QList<quint32> glyphs_;
    QList<QPointF> positions_;
};

} // namespace kradon
