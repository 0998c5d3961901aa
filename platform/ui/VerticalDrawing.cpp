// Vertical writing through a DC: upright glyphs are gathered into one glyph
// run and glyphs lying on their side into a second one drawn in a turned
// coordinate system, so a whole column costs two draws.

#include "platform/ui/DC.h"

#include "platform/ui/GdiState.h"
#include "platform/ui/Raster.h"
#include "platform/ui/VerticalFont.h"
#include "platform/ui/VerticalText.h"

#include <QGlyphRun>

#include <algorithm>

namespace lumo {
namespace {

QString qstring(std::wstring_view text) {
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(text.data()),
                             static_cast<qsizetype>(text.size()));
}

class ColumnDrawer {
public:
    ColumnDrawer(QPainter& painter, VerticalFont& font, int ascent)
        : m_painter(painter), m_font(font), m_em(font.font().pixelSize()), m_ascent(ascent) {}

    void stacked(const VerticalPiece& piece) {
        const int width = piece.cell.right - piece.cell.left;
        qreal y = piece.cell.top;
        for (wchar_t c : piece.text) {
            const VerticalFont::Glyph glyph = m_font.stacked(static_cast<char32_t>(c));
            if (glyph.id == 0) {
                y += missing(c, piece.cell.left, width, y);
                continue;
            }
            if (glyph.turned) {
                m_turned.ids.push_back(glyph.id);
                m_turned.positions.push_back(QPointF(y, turnedBaseline(piece.cell)));
            } else {
                m_upright.ids.push_back(glyph.id);
                m_upright.positions.push_back(
                    QPointF(piece.cell.left + (width - glyph.advance) / 2, y + m_ascent));
            }
            y += glyph.advance;
        }
    }

    void turned(const VerticalPiece& piece) {
        qreal u = piece.cell.top;
        for (wchar_t c : piece.text) {
            const VerticalFont::Glyph glyph = m_font.plain(static_cast<char32_t>(c));
            if (glyph.id == 0) {
                // A character the font lacks keeps its place in the run.
                const QString text = qstring(std::wstring_view(&c, 1));
                m_painter.save();
                m_painter.rotate(90);
                m_painter.setFont(m_font.font());
                m_painter.drawText(QPointF(u, turnedBaseline(piece.cell)), text);
                m_painter.restore();
                u += m_painter.fontMetrics().horizontalAdvance(text);
                continue;
            }
            m_turned.ids.push_back(glyph.id);
            m_turned.positions.push_back(QPointF(u, turnedBaseline(piece.cell)));
            u += glyph.advance;
        }
    }

    void across(const VerticalPiece& piece) {
        Run run;
        qreal x = 0;
        for (wchar_t c : piece.text) {
            const VerticalFont::Glyph glyph = m_font.plain(static_cast<char32_t>(c));
            run.ids.push_back(glyph.id);
            run.positions.push_back(QPointF(x, 0));
            x += glyph.advance;
        }
        const int width = piece.cell.right - piece.cell.left;
        const int height = piece.cell.bottom - piece.cell.top;
        const qreal scale = x > width && x > 0 ? width / x : 1.0;
        m_painter.save();
        m_painter.translate(piece.cell.left + (width - x * scale) / 2,
                            piece.cell.top + (height - m_em) / 2 + m_ascent);
        m_painter.scale(scale, 1.0);
        if (std::find(run.ids.begin(), run.ids.end(), 0u) != run.ids.end()) {
            m_painter.setFont(m_font.font());
            m_painter.drawText(QPointF(0, 0), qstring(piece.text));
        } else {
            draw(run);
        }
        m_painter.restore();
    }

    void finish() {
        draw(m_upright);
        m_painter.save();
        m_painter.rotate(90);
        draw(m_turned);
        m_painter.restore();
    }

private:
    struct Run {
        QList<quint32> ids;
        QList<QPointF> positions;
    };

    // In the turned system (u down the column, v towards the left), the
    // baseline of a glyph whose em box is centred across the cell: the em
    // box's top faces the cell's right.
    qreal turnedBaseline(const RECT& cell) const {
        const qreal right = cell.left + (cell.right - cell.left + m_em) / 2.0;
        return -right + m_ascent;
    }

    // A character the font lacks: Qt's fallback fonts draw it upright.
    qreal missing(wchar_t c, int left, int width, qreal y) {
        const QString text = qstring(std::wstring_view(&c, 1));
        m_painter.setFont(m_font.font());
        const qreal advance = m_painter.fontMetrics().horizontalAdvance(text);
        m_painter.drawText(QPointF(left + (width - advance) / 2, y + m_ascent), text);
        return advance > 0 ? advance : m_em;
    }

    void draw(const Run& run) {
        if (run.ids.isEmpty())
            return;
        QGlyphRun glyphs;
        glyphs.setRawFont(m_font.raw());
        glyphs.setGlyphIndexes(run.ids);
        glyphs.setPositions(run.positions);
        m_painter.drawGlyphRun(QPointF(0, 0), glyphs);
    }

    QPainter& m_painter;
    VerticalFont& m_font;
    int m_em;
    int m_ascent;
    Run m_upright;
    Run m_turned;
};

} // namespace
} // namespace lumo

BOOL CDC::DrawVerticalText(const lumo::VerticalPiece* pieces, int count) {
    lumo::DeviceContext* dc = context();
    if (!dc || count < 0 || (count > 0 && !pieces))
        return FALSE;
    lumo::DrawTarget t = lumo::drawTarget(dc);
    if (!t.valid())
        return FALSE;
    lumo::VerticalFont& font = lumo::VerticalFont::of(dc->font->font);
    lumo::TargetPainter p(t);
    p->setPen(lumo::qcolor(dc->textColor));
    lumo::ColumnDrawer drawer(p.painter(), font, dc->font->ascent);
    for (int i = 0; i < count; ++i) {
        switch (pieces[i].stance) {
        case lumo::Stance::Stacked:
            drawer.stacked(pieces[i]);
            break;
        case lumo::Stance::Turned:
            drawer.turned(pieces[i]);
            break;
        case lumo::Stance::Across:
            drawer.across(pieces[i]);
            break;
        }
    }
    drawer.finish();
    p.finish();
    lumo::presentIfWindow(dc);
    return TRUE;
}
