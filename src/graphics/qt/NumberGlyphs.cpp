#include "graphics/qt/NumberGlyphs.h"

#include <QGlyphRun>
#include <QPainter>
#include <QString>

namespace kradon {

NumberGlyphs::NumberGlyphs(const QFont& font, double pixelSize) : raw_(QRawFont::fromFont(font)) {
    if (!raw_.isValid())
        return;
    raw_.setPixelSize(pixelSize);
    const QString characters = QString::fromLatin1(Characters.data(), Characters.size());
    const QList<quint32> glyphs = raw_.glyphIndexesForString(characters);
    const QList<QPointF> advances = raw_.advancesForGlyphIndexes(glyphs);
    if (glyphs.size() != characters.size() || advances.size() != characters.size())
        return;
    for (qsizetype i = 0; i < characters.size(); ++i) {
        if (glyphs[i] == 0)
            return; // the font has no glyph of its own for this character
        const auto c = static_cast<unsigned char>(Characters[static_cast<std::size_t>(i)]);
        covered_[c] = true;
        glyph_[c] = glyphs[i];
        advance_[c] = advances[i].x();
    }
    usable_ = true;
}

bool NumberGlyphs::covers(std::string_view text) const {
    if (!usable_)
        return false;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= TableSize || !covered_[c])
            return false;
    }
    return true;
}

double NumberGlyphs::width(std::string_view text) const {
    double w = 0;
    for (const char ch : text)
        w += advance_[static_cast<unsigned char>(ch)];
    return w;
}

void NumberGlyphs::add(QPointF origin, std::string_view text) {
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        glyphs_.append(glyph_[c]);
        positions_.append(origin);
        origin.rx() += advance_[c];
    }
}

void NumberGlyphs::drawQueued(QPainter& painter) {
    if (glyphs_.isEmpty())
        return;
    QGlyphRun run;
    run.setRawFont(raw_);
    run.setGlyphIndexes(glyphs_);
    run.setPositions(positions_);
    painter.drawGlyphRun(QPointF(0, 0), run);
    glyphs_.clear();
    positions_.clear();
}

} // namespace kradon
