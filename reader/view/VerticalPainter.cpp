#include "VerticalPainter.h"

#include "ColumnPainter.h"
#include "PageState.h"

#include "reader/document/DavaroDiroDocument.h"
#include "reader/document/ReaderSettings.h"

#include <algorithm>

namespace yomite {
namespace {

// Layout columns a column leaves for a character that hangs past its end.
constexpr int HANGING_COLUMNS = 2;

} // namespace

LayoutMetrics VerticalPainter::layoutFor(const RECT& textRect) const {
    const int charW = std::max(1, m_page.fonts.bodyCharWidth);
    return {(textRect.right - textRect.left) / m_page.pitch(),
            (textRect.bottom - textRect.top) / charW - HANGING_COLUMNS};
}

RECT VerticalPainter::slot(int i) const {
    const RECT& text = m_page.textRect;
    const int pitch = m_page.pitch();
    return {text.right - (i + 1) * pitch, text.top, text.right - i * pitch, text.bottom};
}

RECT VerticalPainter::lineBand(const RECT& slot) const {
    const int rubyPx = m_showRuby ? m_page.fonts.rubyPx : 0;
    return {slot.right - m_page.fonts.bodyPx - rubyPx, slot.top, slot.right, slot.bottom};
}

RECT VerticalPainter::mergeBand(int i) const {
    return lineBand(slot(i));
}

RECT VerticalPainter::remainder(int rows) const {
    const RECT& text = m_page.textRect;
    return {text.left, text.top, text.right - rows * m_page.pitch(), text.bottom};
}

POINT VerticalPainter::forwardShift() const {
    return {m_page.pitch(), 0};
}

ColumnFrame VerticalPainter::columnFrame(const RECT& band) const {
    ColumnFrame frame;
    frame.column = band;
    frame.bodyPx = m_page.fonts.bodyPx;
    frame.rubyPx = m_showRuby ? m_page.fonts.rubyPx : 0;
    frame.lineSpace = m_lineSpace;
    frame.halfWidth = std::max(1, m_page.fonts.bodyCharWidth);
    frame.rubyHalfWidth = std::max(1, m_page.fonts.rubyCharWidth);
    return frame;
}

DisplayLineNotation VerticalPainter::lineAt(int n) const {
    CDavaroDiroDocument* document = m_page.document;
    if (document->hasNotation())
        return document->getDisplayLineNotation(n);
    DisplayLineNotation line;
    CDavaroDiroBook::parseLine(document->getDisplayLineText(n), line.visible, line.ruby, line.tag);
    return line;
}

void VerticalPainter::drawLine(CDC* dc, int displayLine, const RECT& band) const {
    if (displayLine < 0 || !m_page.document)
        return;
    ReaderFonts& fonts = m_page.fonts;
    ColumnPainter(fonts.body, fonts.ruby.GetSafeHandle() ? &fonts.ruby : nullptr, fonts.notation,
                  m_textIsBold != 0)
        .draw(dc, lineAt(displayLine), columnFrame(band));
}

int VerticalPainter::hitTestLink(POINT point) const {
    const RECT& text = m_page.textRect;
    if (!m_page.document || point.x < text.left || point.x >= text.right || point.y < text.top ||
        point.y >= text.bottom)
        return -1;
    const int column = (text.right - 1 - point.x) / m_page.pitch();
    // The strip left of the last whole column belongs to the next page.
    if (column >= m_page.linesPerPage())
        return -1;
    const int n = m_page.topLine() + column;
    const DisplayLineNotation line = lineAt(n);
    if (!line.tag.hasDisplayText)
        return -1;
    // In the basic notation, as in rows, only a line that begins with its tag.
    if (!m_page.document->hasNotation()) {
        std::wstring raw = m_page.document->getDisplayLineText(n);
        InlineTag scratch;
        if (!CDavaroDiroBook::parseInlineTag(raw, scratch))
            return -1;
    }
    const auto [top, bottom] = ColumnPainter::spanPixels(line, columnFrame(lineBand(slot(column))),
                                                         line.tag.startColumn, line.tag.endColumn);
    return point.y >= top && point.y <= bottom ? n : -1;
}

} // namespace yomite
