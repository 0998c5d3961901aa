#include "NotatedRowPainter.h"

#include "EmphasisMarks.h"
#include "NotationDrawing.h"
#include "RubyPainter.h"

#include <algorithm>
#include <cwchar>
#include <optional>
#include <utility>

namespace yomite {
namespace {

constexpr wchar_t ELLIPSIS = 0x2026;
constexpr UINT TEXT_FORMAT = DT_BOTTOM | DT_NOCLIP | DT_NOPREFIX;
constexpr UINT SMALL_FORMAT = DT_CENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX;
constexpr UINT MARK_FORMAT = DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX;
// Headings grow from the body size by these ratios (大, 中, 小) as far as the
// row's height allows.
constexpr std::array<std::pair<int, int>, HEADING_LEVELS> HEADING_SCALE = {
    {{3, 2}, {5, 4}, {9, 8}}};
constexpr int MIN_FONT_PX = 6;

int evenPx(int px) {
    return std::max(MIN_FONT_PX, px - px % 2);
}

int halfWidthOf(CDC* dc, CFont& font) {
    CFont* old = dc->SelectObject(&font);
    const int width = dc->GetTextExtent(L"A", 1).cx;
    if (old)
        dc->SelectObject(old);
    return std::max(1, width);
}

TEXTMETRIC metricsOf(CDC* dc, CFont& font) {
    CFont* old = dc->SelectObject(&font);
    TEXTMETRIC metrics{};
    dc->GetTextMetrics(&metrics);
    if (old)
        dc->SelectObject(old);
    return metrics;
}

// As the basic rows are cut: a row past its room keeps its characters up to
// two before the first that does not fit, then "…".
void cutToRoom(DisplayLineNotation& line, int room) {
    int sum = 0;
    for (size_t i = 0; i < line.visible.size(); ++i) {
        sum += columnWidth(line.visible[i]);
        if (sum <= room)
            continue;
        line.visible = line.visible.substr(0, i >= 2 ? i - 2 : 0);
        const int kept = columnWidth(line.visible);
        line.visible += ELLIPSIS;
        clipSpans(line.emphasis, kept);
        clipSpans(line.small, kept);
        clipSpans(line.tcy, kept);
        return;
    }
}

} // namespace

void createReaderFont(CFont& font, int height, const CString& face, LONG weight) {
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfPitchAndFamily = 0x31;
    std::wcsncpy(lf.lfFaceName, face.str().c_str(), 31);
    lf.lfFaceName[31] = L'\0';
    font.CreateFontIndirect(&lf);
}

void NotationFonts::create(CDC* dc, const CString& face, int bodyPx, int smallPx, int roomPx,
                           int belowPx) {
    release();
    smallPx = evenPx(smallPx);
    createReaderFont(small, smallPx, face);
    smallHalfWidth = halfWidthOf(dc, small);
    // A circle's ink is about four fifths of its font's size, a sesame's a
    // quarter.
    const int overPx = std::min(smallPx, bodyPx / 2);
    for (auto [mark, px] : {std::pair{&marks, overPx},
                            {&underMarks, std::min(overPx, belowPx * 5 / 4)},
                            {&sesame, bodyPx}}) {
        mark->px = evenPx(px);
        createReaderFont(mark->font, mark->px, face);
        mark->ascent = metricsOf(dc, mark->font).tmAscent;
    }
    createReaderFont(boldBody, bodyPx, face, FW_BOLD);
    for (int level = 0; level < HEADING_LEVELS; ++level) {
        const auto [num, den] = HEADING_SCALE[level];
        // The largest even size up to the ratio whose cell fits the row.
        for (int px = evenPx(bodyPx * num / den);; px -= 2) {
            headings[level].DeleteObject();
            createReaderFont(headings[level], px, face, FW_BOLD);
            headingPx[level] = px;
            if (px <= bodyPx || metricsOf(dc, headings[level]).tmHeight <= roomPx)
                break;
        }
        headingHalfWidth[level] = halfWidthOf(dc, headings[level]);
    }
}

NotationFonts::LineFont NotationFonts::lineFont(const DisplayLineNotation& line, bool rubyShown,
                                                const LineFont& body, int lengthPx) {
    if (line.heading <= 0 || line.heading > HEADING_LEVELS)
        return body;
    const int level = line.heading - 1;
    const bool bandFree = (line.ruby.empty() || !rubyShown) && !hasOverEmphasis(line);
    const int half = headingHalfWidth[level];
    if (bandFree && body.halfWidth * line.indent + half * columnWidth(line.visible) <= lengthPx)
        return {&headings[level], headingPx[level], half};
    return {&boldBody, body.px, body.halfWidth};
}

void NotationFonts::release() {
    small.DeleteObject();
    marks.font.DeleteObject();
    underMarks.font.DeleteObject();
    sesame.font.DeleteObject();
    boldBody.DeleteObject();
    for (CFont& font : headings)
        font.DeleteObject();
}

NotatedRowPainter::Setting NotatedRowPainter::settingFor(const DisplayLineNotation& line,
                                                         const RowFrame& frame) const {
    const NotationFonts::LineFont font =
        m_fonts.lineFont(line, m_ruby != nullptr, {&m_body, frame.bodyPx, frame.halfWidth},
                         frame.row.right - frame.row.left);
    return {font.font, font.px, font.halfWidth, frame.row.left + frame.halfWidth * line.indent};
}

void NotatedRowPainter::draw(CDC* dc, DisplayLineNotation line, const RowFrame& frame) const {
    cutToRoom(line, frame.columns + 2 - line.indent);
    const Setting setting = settingFor(line, frame);
    CFont* old = dc->SelectObject(setting.font);
    drawText(dc, line, frame, setting);

    if (line.tag.hasDisplayText) {
        const int width = setting.cellWidth * columnWidth(line.visible);
        dc->MoveTo(setting.origin, frame.row.bottom - 1);
        dc->LineTo(setting.origin + width, frame.row.bottom - 1);
    }
    if (m_ruby && !line.ruby.empty()) {
        dc->SelectObject(m_ruby);
        drawRubySpans(dc, line.ruby,
                      {setting.origin, frame.row.left, frame.row.right, frame.row.top, frame.rubyPx,
                       setting.cellWidth, frame.rubyHalfWidth},
                      TEXT_FORMAT);
    }
    drawEmphasis(dc, line, frame, setting);
    if (old)
        dc->SelectObject(old);
}

void NotatedRowPainter::drawText(CDC* dc, const DisplayLineNotation& line, const RowFrame& frame,
                                 const Setting& setting) const {
    const int bodyTop = frame.row.top + frame.rubyPx;
    const std::wstring& text = line.visible;
    size_t i = 0;
    int column = 0;
    while (i < text.size()) {
        // A run of characters that are all small text of one kind, or none.
        const std::optional<SmallKind> kind = smallKindAt(line, column);
        size_t end = i;
        int endColumn = column;
        while (end < text.size() && smallKindAt(line, endColumn) == kind)
            endColumn += columnWidth(text[end++]);
        const int x = setting.origin + setting.cellWidth * column;
        if (!kind) {
            dc->SelectObject(setting.font);
            // Drawn from the box's top, as the basic rows are: a heading's
            // larger cell still ends on the row's bottom.
            RECT box{x, frame.row.bottom - setting.fontPx, frame.row.right, frame.row.bottom};
            const int length = static_cast<int>(end - i);
            dc->DrawText(&text[i], length, &box, TEXT_FORMAT);
            if (m_bold) {
                dc->SetBkMode(TRANSPARENT);
                ++box.left;
                ++box.right;
                dc->DrawText(&text[i], length, &box, TEXT_FORMAT);
                dc->SetBkMode(OPAQUE);
            }
        } else {
            // In the ruby font's size, each character in its own cell: raised
            // (行右小書き, 上付き), lowered into the line gap (行左小書き, 下付き)
            // or on the body's foot (N段階小さな文字).
            dc->SelectObject(&m_fonts.small);
            dc->SetBkMode(TRANSPARENT);
            const bool raised = *kind == SmallKind::RightSmall || *kind == SmallKind::Superscript;
            const bool lowered = *kind == SmallKind::LeftSmall || *kind == SmallKind::Subscript;
            int cell = x;
            for (size_t k = i; k < end; ++k) {
                const int cellEnd = cell + setting.cellWidth * columnWidth(text[k]);
                RECT box{cell, bodyTop, cellEnd,
                         frame.row.bottom + (lowered ? frame.lineSpace : 0)};
                const UINT format = SMALL_FORMAT | (raised ? DT_TOP : DT_BOTTOM);
                for (int pass = 0; pass < (m_bold ? 2 : 1); ++pass) {
                    RECT shifted{box.left + pass, box.top, box.right + pass, box.bottom};
                    dc->DrawText(&text[k], 1, &shifted, format);
                }
                cell = cellEnd;
            }
            dc->SetBkMode(OPAQUE);
        }
        i = end;
        column = endColumn;
    }
}

void NotatedRowPainter::drawEmphasis(CDC* dc, const DisplayLineNotation& line,
                                     const RowFrame& frame, const Setting& setting) const {
    if (line.emphasis.empty())
        return;
    const COLORREF colour = dc->GetTextColor();
    const int bandBottom = frame.row.top + frame.rubyPx;
    // Over the text in the ruby band, unless there is none or ruby is drawn
    // over those characters: then under them, clear of the ruby.
    auto sideOf = [&](Side side, int start, int end) {
        return emphasisSide(line, side, start, end, m_ruby != nullptr, frame.rubyPx,
                            m_fonts.marks.px);
    };

    const std::vector<MarkPlacement> marks = placeMarks(line.visible, line.emphasis);
    if (!marks.empty()) {
        dc->SetBkMode(TRANSPARENT);
        for (const MarkPlacement& mark : marks) {
            // The ink's middle: clear above the text, or in the pixel rows
            // the text leaves free below it and the line gap.
            const bool over = sideOf(mark.side, mark.start, mark.end) == Side::Over;
            NotationFonts::MarkFont& font = isSesame(mark.kind) ? m_fonts.sesame
                                            : over              ? m_fonts.marks
                                                                : m_fonts.underMarks;
            const int centre = over ? bandBottom - MARK_CLEARANCE - m_fonts.marks.px * 2 / 5
                                    : frame.row.bottom + (frame.lineSpace - FREE_BELOW_TEXT) / 2;
            const int top = centre - font.ascent / 2;
            RECT box{setting.origin + setting.cellWidth * mark.start, top,
                     setting.origin + setting.cellWidth * mark.end, top + font.px};
            dc->SelectObject(&font.font);
            dc->DrawText(&mark.glyph, 1, &box, MARK_FORMAT);
        }
        dc->SetBkMode(OPAQUE);
    }

    for (const EmphasisSpan& span : line.emphasis) {
        if (!isEmphasisLine(span.kind))
            continue;
        const bool over = sideOf(span.side, span.start, span.end) == Side::Over;
        const POINT from{setting.origin + setting.cellWidth * span.start,
                         over ? bandBottom - MARK_CLEARANCE : frame.row.bottom - 1};
        strokeEmphasisLine(dc, from, setting.cellWidth * (span.end - span.start), Axis::Horizontal,
                           over ? -1 : 1, span.kind, colour);
    }
}

} // namespace yomite
