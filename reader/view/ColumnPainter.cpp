#include "ColumnPainter.h"

#include "EmphasisMarks.h"
#include "NotationDrawing.h"
#include "VerticalColumn.h"

#include "platform/ui/VerticalText.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace yomite {
namespace {

constexpr int ELLIPSIS_COLUMNS = 2;

using Pieces = std::vector<lumo::VerticalPiece>;

// 縦中横 spans, given in columns, as ranges of characters.
std::vector<CharacterSpan> acrossSpans(const DisplayLineNotation& line) {
    std::vector<CharacterSpan> spans;
    for (const ColumnSpan& span : line.tcy) {
        int column = 0;
        int first = -1;
        int last = -1;
        for (int i = 0; i < static_cast<int>(line.visible.size()); ++i) {
            if (column >= span.start && column < span.end) {
                if (first < 0)
                    first = i;
                last = i;
            }
            column += columnWidth(line.visible[i]);
        }
        if (first >= 0)
            spans.push_back({first, last - first + 1});
    }
    return spans;
}

// Draws the pieces, and once more a pixel to the right for bold.
void drawPieces(CDC* dc, Pieces& pieces, bool bold) {
    if (pieces.empty())
        return;
    const int count = static_cast<int>(pieces.size());
    dc->DrawVerticalText(pieces.data(), count);
    if (!bold)
        return;
    for (lumo::VerticalPiece& piece : pieces) {
        ++piece.cell.left;
        ++piece.cell.right;
    }
    dc->DrawVerticalText(pieces.data(), count);
}

// Where a layout column is drawn down the column, in pixels.
struct Placement {
    const ColumnLayout& layout;
    int top;
    int unit;
    int at(int column) const { return top + layout.drawnAt(column) * unit; }
};

// Ruby to the right of its base, placed along the column as it is placed
// along a row over its base: centred on a shorter base and kept within the
// column, spread along a longer one, each character two ruby units on.
void drawRuby(CDC* dc, const DisplayLineNotation& line, const ColumnFrame& frame,
              const Placement& place) {
    const int rubyUnit = frame.rubyHalfWidth;
    const int left = frame.column.right - frame.rubyPx;
    Pieces pieces;
    for (const RubySpan& span : line.ruby) {
        const int baseTop = place.at(span.baseStart);
        const int baseLength = place.at(span.baseEnd) - baseTop;
        const int rubyLength = rubyUnit * columnWidth(span.rubyText);
        if (rubyLength >= baseLength) {
            int y = std::max<int>(baseTop - (rubyLength - baseLength) / 2, frame.column.top);
            if (y + rubyLength > frame.column.bottom)
                y = frame.column.bottom - rubyLength;
            pieces.push_back({span.rubyText, RECT{left, y, left + frame.rubyPx, y + rubyLength},
                              lumo::Stance::Stacked});
            continue;
        }
        const int n = static_cast<int>(span.rubyText.size());
        const float gap = static_cast<float>(baseLength - rubyLength) / static_cast<float>(n + 1);
        float s = static_cast<float>(baseTop);
        for (int j = 0; j < n; ++j) {
            const int y = static_cast<int>(s + gap);
            pieces.push_back({std::wstring_view(span.rubyText).substr(j, 1),
                              RECT{left, y, left + frame.rubyPx, y + 2 * rubyUnit},
                              lumo::Stance::Stacked});
            s = s + 2 * rubyUnit + gap;
        }
    }
    dc->DrawVerticalText(pieces.data(), static_cast<int>(pieces.size()));
}

// The text's band across the column: [left, right).
struct Band {
    int left;
    int right;
};

// Marks and lines beside the characters: to the right in the ruby band, or
// to the left in the line gap (see emphasisSide).
void drawEmphasis(CDC* dc, const DisplayLineNotation& line, const ColumnFrame& frame,
                  NotationFonts& fonts, bool rubyShown, Band text, const Placement& place) {
    if (line.emphasis.empty())
        return;
    const COLORREF colour = dc->GetTextColor();
    auto sideOf = [&](Side side, int start, int end) {
        return emphasisSide(line, side, start, end, rubyShown, frame.rubyPx, fonts.marks.px);
    };
    const std::vector<MarkPlacement> marks = placeMarks(line.visible, line.emphasis);
    for (const MarkPlacement& mark : marks) {
        const bool over = sideOf(mark.side, mark.start, mark.end) == Side::Over;
        NotationFonts::MarkFont& font = isSesame(mark.kind) ? fonts.sesame
                                        : over              ? fonts.marks
                                                            : fonts.underMarks;
        // The mark's middle: clear of the text on the right, or in the middle
        // of the line gap on the left.
        const int centre = over ? text.right + MARK_CLEARANCE + fonts.marks.px * 2 / 5
                                : text.left - 1 - (frame.lineSpace - FREE_BELOW_TEXT) / 2;
        const int middle = (place.at(mark.start) + place.at(mark.end)) / 2;
        const int left = centre - font.px / 2;
        const int top = middle - font.px / 2;
        dc->SelectObject(&font.font);
        const lumo::VerticalPiece piece{std::wstring_view(&mark.glyph, 1),
                                        RECT{left, top, left + font.px, top + font.px},
                                        lumo::Stance::Stacked};
        dc->DrawVerticalText(&piece, 1);
    }
    for (const EmphasisSpan& span : line.emphasis) {
        if (!isEmphasisLine(span.kind))
            continue;
        const bool over = sideOf(span.side, span.start, span.end) == Side::Over;
        const int top = place.at(span.start);
        const POINT from{over ? text.right - 1 + MARK_CLEARANCE : text.left, top};
        strokeEmphasisLine(dc, from, place.at(span.end) - top, Axis::Vertical, over ? 1 : -1,
                           span.kind, colour);
    }
}

} // namespace

ColumnPainter::Setting ColumnPainter::settingFor(const DisplayLineNotation& line,
                                                 const ColumnFrame& frame) const {
    const NotationFonts::LineFont font =
        m_fonts.lineFont(line, m_ruby != nullptr, {&m_body, frame.bodyPx, frame.halfWidth},
                         frame.column.bottom - frame.column.top);
    return {font.font, font.px, font.halfWidth, frame.column.top + frame.halfWidth * line.indent,
            frame.column.left};
}

void ColumnPainter::draw(CDC* dc, DisplayLineNotation line, const ColumnFrame& frame) const {
    const Setting setting = settingFor(line, frame);
    const int room = (frame.column.bottom - setting.top) / std::max(1, setting.unit);
    const ColumnLayout layout(line.visible, room, acrossSpans(line));
    if (layout.text() != line.visible) {
        const int kept = columnWidth(layout.text()) - ELLIPSIS_COLUMNS;
        clipSpans(line.emphasis, kept);
        clipSpans(line.small, kept);
        line.visible = layout.text();
    }
    const Placement place{layout, setting.top, setting.unit};
    const std::wstring_view text(line.visible);

    // Small text stands in its cell in the small font: to the right when
    // raised (行右小書き, 上付き), to the left when lowered, else in the middle.
    const int smallPx = 2 * m_fonts.smallHalfWidth;
    Pieces body;
    Pieces small;
    for (const ColumnPiece& piece : layout.pieces()) {
        const int top = place.at(piece.unit);
        const int bottom = top + piece.height * setting.unit;
        const std::wstring_view part = text.substr(piece.first, piece.length);
        const std::optional<SmallKind> kind =
            piece.stance == lumo::Stance::Stacked ? smallKindAt(line, piece.unit) : std::nullopt;
        if (!kind) {
            body.push_back({part,
                            RECT{setting.bodyLeft, top, setting.bodyLeft + setting.fontPx, bottom},
                            piece.stance});
            continue;
        }
        int left = setting.bodyLeft + (setting.fontPx - smallPx) / 2;
        if (*kind == SmallKind::RightSmall || *kind == SmallKind::Superscript)
            left = setting.bodyLeft + setting.fontPx - smallPx;
        else if (*kind == SmallKind::LeftSmall || *kind == SmallKind::Subscript)
            left = setting.bodyLeft;
        const int y = top + (bottom - top - smallPx) / 2;
        small.push_back({part, RECT{left, y, left + smallPx, y + smallPx}, piece.stance});
    }
    CFont* old = dc->SelectObject(setting.font);
    drawPieces(dc, body, m_bold);
    if (!small.empty()) {
        dc->SelectObject(&m_fonts.small);
        drawPieces(dc, small, m_bold);
    }

    if (line.tag.hasDisplayText) {
        dc->MoveTo(setting.bodyLeft, setting.top);
        dc->LineTo(setting.bodyLeft, setting.top + layout.length() * setting.unit);
    }
    if (m_ruby && !line.ruby.empty()) {
        dc->SelectObject(m_ruby);
        drawRuby(dc, line, frame, place);
    }
    drawEmphasis(dc, line, frame, m_fonts, m_ruby != nullptr,
                 {setting.bodyLeft, setting.bodyLeft + setting.fontPx}, place);
    if (old)
        dc->SelectObject(old);
}

} // namespace yomite

namespace yomite {

std::pair<int, int> ColumnPainter::spanPixels(const DisplayLineNotation& line,
                                              const ColumnFrame& frame, int start, int end) {
    const int top = frame.column.top + frame.halfWidth * line.indent;
    const int room = (frame.column.bottom - top) / std::max(1, frame.halfWidth);
    const ColumnLayout layout(line.visible, room, acrossSpans(line));
    const Placement place{layout, top, frame.halfWidth};
    return {place.at(start), place.at(end)};
}

} // namespace yomite
