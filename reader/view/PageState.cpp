#include "PageState.h"

#include "reader/document/DavaroDiroDocument.h"
#include "reader/document/ReaderSettings.h"

#include <algorithm>

namespace yomite {

bool ReaderBuffer::create(CDC* compatible, int cx, int cy) {
    release();
    dc = std::make_unique<CDC>();
    bitmap = std::make_unique<CBitmap>();
    if (!dc->CreateCompatibleDC(compatible) ||
        !bitmap->CreateCompatibleBitmap(compatible, cx, cy)) {
        dc.reset();
        bitmap.reset();
        return false;
    }
    initial = dc->SelectObject(bitmap.get());
    return true;
}

void ReaderBuffer::release() {
    if (dc && initial)
        dc->SelectObject(initial);
    initial = nullptr;
    bitmap.reset();
    dc.reset();
}

PageColours pageColours() {
    if (m_displayColor == 0)
        return {RGB(0, 0, 0), RGB(255, 255, 255), BLACK_PEN, SRCAND};
    return {RGB(255, 255, 255), RGB(0, 0, 0), WHITE_PEN, m_displayColor == 1 ? SRCPAINT : SRCAND};
}

int PageState::pitch() const {
    const int rubyPx = m_showRuby ? fonts.rubyPx : 0;
    return std::max(1, fonts.bodyPx + rubyPx + m_lineSpace);
}

int PageState::topLine() const {
    if (!document)
        return 0;
    if (m_scrollRange == 0)
        return document->m_currentIndex;
    if (m_scrollRange == 1)
        return document->getPageStart(document->m_currentIndex);
    return 0;
}

int PageState::linesPerPage() const {
    return document ? document->getLayoutMetrics().linesPerPage : 0;
}

} // namespace yomite
