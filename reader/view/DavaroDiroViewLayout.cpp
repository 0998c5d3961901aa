// The view's share of laying the book out: what the screen shows first, the
// rest of the book in idle slices, so a book opens at once whatever its size.
#include "DavaroDiroView.h"

#include "reader/document/DavaroDiroDocument.h"
#include "reader/document/ReaderSettings.h"

#include "platform/ui/IdleWork.h"

#include <chrono>
#include <string>
#include <vector>

namespace {

// A slice of the background layout: input waits at most about this long.
constexpr auto LAYOUT_SLICE = std::chrono::milliseconds(8);
// Source lines laid out between looks at the clock.
constexpr int LAYOUT_STEP_LINES = 32;
// A book of up to this many characters is laid out whole before its first
// paint (a fraction of a millisecond), so it shows its total from the start.
constexpr size_t WHOLE_AT_ONCE_CHARACTERS = 32 * 1024;

bool isSmallBook(const std::vector<std::wstring>& lines) {
    size_t characters = 0;
    for (const std::wstring& line : lines)
        if ((characters += line.size()) > WHOLE_AT_ONCE_CHARACTERS)
            return false;
    return true;
}

} // namespace

void CDavaroDiroView::startLayout(const LayoutMetrics& metrics) {
    CDavaroDiroDocument* document = GetDocument();
    if (!document)
        return;
    // The place shown before stays in view, however far into the book it is.
    const SourcePosition kept = document->positionOf(document->m_currentIndex);
    document->beginLayout(metrics.columnsPerLine, metrics.linesPerPage);
    if (isSmallBook(document->getSourceLines()))
        document->completeLayout();
    document->layoutUntilPosition(kept);
    document->m_currentIndex = document->indexOf(kept);
    layOutScreen();
    if (!document->isLayoutComplete())
        RequestIdleWork(m_hWnd);
}

void CDavaroDiroView::layOutScreen() {
    CDavaroDiroDocument* document = GetDocument();
    if (!document)
        return;
    if (m_scrollRange == 1)
        document->layoutUntilPages(document->m_currentIndex + 1);
    // The rows drawn from the top line, and the end of the last of them.
    document->layoutUntilLineStarts(m_page.topLine() + linesPerPage() + 1);
}

void CDavaroDiroView::layOutTarget(int t) {
    CDavaroDiroDocument* document = GetDocument();
    if (!document)
        return;
    // Enough that the bounds of clampTarget admit t, or are the book's own.
    if (m_scrollRange == 0)
        document->layoutUntilLineStarts(t + linesPerPage());
    else if (m_scrollRange == 1)
        document->layoutUntilPages(t);
}

LRESULT CDavaroDiroView::OnKickIdle(WPARAM, LPARAM) {
    CDavaroDiroDocument* document = GetDocument();
    if (!document || document->isLayoutComplete())
        return FALSE;
    const auto until = std::chrono::steady_clock::now() + LAYOUT_SLICE;
    while (!document->continueLayout(LAYOUT_STEP_LINES))
        if (std::chrono::steady_clock::now() >= until)
            return TRUE;
    // The total is known: the position numbers show it.
    Invalidate(FALSE);
    return FALSE;
}
