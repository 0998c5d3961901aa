#include "HorizontalPainter.h"

#include "NotatedRowPainter.h"
#include "PageState.h"
#include "RubyPainter.h"

#include "reader/document/DavaroDiroDocument.h"
#include "reader/document/ReaderSettings.h"

#include <algorithm>

namespace yomite {
namespace {

constexpr wchar_t ELLIPSIS = 0x2026;
constexpr UINT TEXT_FORMAT = DT_BOTTOM | DT_NOCLIP | DT_NOPREFIX;
// Columns a row leaves for a character that hangs past its end.
constexpr int HANGING_COLUMNS = 2;

} // namespace

LayoutMetrics HorizontalPainter::layoutFor(const RECT& textRect) const {
    const int charW = std::max(1, m_page.fonts.bodyCharWidth);
    return {(textRect.bottom - textRect.top) / m_page.pitch(),
            (textRect.right - textRect.left) / charW - HANGING_COLUMNS};
}

RECT HorizontalPainter::slot(int i) const {
    const RECT& text = m_page.textRect;
    const int pitch = m_page.pitch();
    return {text.left, text.top + i * pitch, text.right, text.top + (i + 1) * pitch};
}

RECT HorizontalPainter::lineBand(const RECT& slot) const {
    return {slot.left, slot.top, slot.right, slot.bottom - m_lineSpace};
}

RECT HorizontalPainter::mergeBand(int i) const {
    const RECT row = slot(i);
    const int rubyPx = m_showRuby ? m_page.fonts.rubyPx : 0;
    return {row.left, row.top, row.right, row.top + m_page.fonts.bodyPx + rubyPx};
}

RECT HorizontalPainter::remainder(int rows) const {
    const RECT& text = m_page.textRect;
    return {text.left, text.top + rows * m_page.pitch(), text.right, text.bottom};
}

POINT HorizontalPainter::forwardShift() const {
    return {0, -m_page.pitch()};
}

RowFrame HorizontalPainter::rowFrame(const RECT& row) const {
    RowFrame frame;
    frame.row = row;
    frame.rubyPx = m_showRuby ? m_page.fonts.rubyPx : 0;
    frame.lineSpace = m_lineSpace;
    frame.halfWidth = std::max(1, m_page.fonts.bodyCharWidth);
    frame.rubyHalfWidth = std::max(1, m_page.fonts.rubyCharWidth);
    frame.columns = m_page.document ? m_page.document->getLayoutMetrics().columnsPerLine : 0;
    frame.bodyPx = m_page.fonts.bodyPx;
    return frame;
}

void HorizontalPainter::drawLine(CDC* dc, int displayLine, const RECT& band) const {
    CDavaroDiroDocument* document = m_page.document;
    if (displayLine < 0 || !document)
        return;
    ReaderFonts& fonts = m_page.fonts;
    if (document->hasNotation()) {
        NotatedRowPainter(fonts.body, fonts.ruby.GetSafeHandle() ? &fonts.ruby : nullptr,
                          fonts.notation, m_textIsBold != 0)
            .draw(dc, document->getDisplayLineNotation(displayLine), rowFrame(band));
        return;
    }
    drawBasicLine(dc, displayLine, band);
}

void HorizontalPainter::drawBasicLine(CDC* dc, int displayLine, RECT row) const {
    CDavaroDiroDocument* document = m_page.document;
    ReaderFonts& fonts = m_page.fonts;
    std::wstring text;
    std::vector<RubySpan> spans;
    InlineTag tag;
    CDavaroDiroBook::parseLine(document->getDisplayLineText(displayLine), text, spans, tag);

    const int columns = document->getLayoutMetrics().columnsPerLine;
    int sum = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        sum += columnWidth(text[i]);
        if (sum > columns + HANGING_COLUMNS) {
            // The cut keeps at least nothing: a row narrower than the ellipsis shows it alone.
            text = text.substr(0, i >= 2 ? i - 2 : 0) + ELLIPSIS;
            break;
        }
    }

    const int rubyPx = m_showRuby ? fonts.rubyPx : 0;
    CFont* old = dc->SelectObject(&fonts.body);
    row.top += rubyPx;
    dc->DrawText(text.c_str(), -1, &row, TEXT_FORMAT);
    if (m_textIsBold) {
        dc->SetBkMode(TRANSPARENT);
        ++row.left;
        ++row.right;
        dc->DrawText(text.c_str(), -1, &row, TEXT_FORMAT);
        --row.left;
        --row.right;
        dc->SetBkMode(OPAQUE);
    }
    row.top -= rubyPx;

    if (tag.hasDisplayText) {
        const int w = dc->GetTextExtent(text.c_str(), static_cast<int>(text.size())).cx;
        dc->MoveTo(row.left, row.bottom - 1);
        dc->LineTo(row.left + w, row.bottom - 1);
    }

    if (m_showRuby && !spans.empty() && fonts.ruby.GetSafeHandle()) {
        dc->SelectObject(&fonts.ruby);
        drawRubySpans(dc, spans,
                      {row.left, row.left, row.right, row.top, rubyPx, fonts.bodyCharWidth,
                       fonts.rubyCharWidth},
                      TEXT_FORMAT);
    }
    if (old)
        dc->SelectObject(old);
}

int HorizontalPainter::hitTestLink(POINT point) const {
    CDavaroDiroDocument* document = m_page.document;
    const RECT& text = m_page.textRect;
    if (!document || point.x < text.left || point.x >= text.right || point.y < text.top ||
        point.y >= text.bottom)
        return -1;
    const int n = m_page.topLine() + (point.y - text.top) / m_page.pitch();
    if (document->hasNotation()) {
        const DisplayLineNotation line = document->getDisplayLineNotation(n);
        if (!line.tag.hasDisplayText)
            return -1;
        const RowFrame frame = rowFrame(text);
        const bool inside =
            point.x >= NotatedRowPainter::columnX(line, frame, line.tag.startColumn) &&
            point.x <= NotatedRowPainter::columnX(line, frame, line.tag.endColumn);
        return inside ? n : -1;
    }
    std::wstring raw = document->getDisplayLineText(n);
    std::wstring visible;
    std::vector<RubySpan> spans;
    InlineTag tag;
    CDavaroDiroBook::parseLine(raw, visible, spans, tag);
    if (!CDavaroDiroBook::parseInlineTag(raw, tag))
        return -1;
    const int charW = m_page.fonts.bodyCharWidth;
    const int dx = point.x - text.left;
    if (dx >= tag.startColumn * charW && dx <= tag.endColumn * charW)
        return n;
    return -1;
}

} // namespace yomite
