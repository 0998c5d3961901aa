#include "ControlBar.h"

#include "PageState.h"
#include "YomiteResources.h"

#include "reader/document/DavaroDiroDocument.h"
#include "reader/document/ReaderSettings.h"

#include "platform/ui/Resources.h"

#include <string>

namespace yomite {
namespace {

constexpr COLORREF CLOSE_ARMED_FILL = RGB(255, 216, 216);
constexpr int ICON_HALF = 16;

void drawButtonIcon(CDC* dc, HINSTANCE module, UINT iconId, const RECT& r) {
    HICON icon = ::LoadIcon(module, MAKEINTRESOURCE(iconId));
    if (!icon)
        return;
    dc->DrawIcon((r.left + r.right) / 2 - ICON_HALF, (r.top + r.bottom) / 2 - ICON_HALF, icon);
    ::DestroyIcon(icon);
}

UINT functionIcon(int index, const BarState& bar) {
    switch (index) {
    case 0:
        return bar.closeArmed ? 5014 : 5013;
    case 1:
        return 5019;
    case 2:
        return 5016;
    case 3:
        return bar.altToolMode ? 5017 : 5015;
    case 4:
        return bar.altToolMode ? 5018 : 5020;
    default:
        return 5009;
    }
}

} // namespace

void drawControlBar(CDC* dc, const PageState& page, bool functionSet, bool full) {
    if (!dc)
        return;
    ensureResources();
    const HINSTANCE module = moduleInstance();
    const UINT flags = full ? (BF_RECT | BF_MIDDLE) : BF_RECT;
    const BarState& bar = page.bar;
    if (!functionSet) {
        static constexpr UINT icons[5] = {5011, 5010, 5006, 5007, 5009};
        for (size_t i = 0; i < page.pageButtons.size(); ++i) {
            RECT r = page.pageButtons[i];
            dc->DrawEdge(
                &r, static_cast<int>(i) == bar.pressedButton ? BDR_SUNKENINNER : BDR_RAISEDINNER,
                flags);
            if (full && i < 5)
                drawButtonIcon(dc, module, icons[i], page.pageButtons[i]);
        }
        return;
    }
    for (size_t i = 0; i < page.functionButtons.size(); ++i) {
        const int index = static_cast<int>(i);
        const bool sunken =
            index == bar.pressedButton || index == 5 || (bar.altToolMode && index == 2);
        RECT r = page.functionButtons[i];
        dc->DrawEdge(&r, sunken ? BDR_SUNKENINNER : BDR_RAISEDINNER, flags);
        if (!full)
            continue;
        if (index == 0 && bar.closeArmed) {
            RECT inside{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
            dc->FillSolidRect(&inside, CLOSE_ARMED_FILL);
        }
        drawButtonIcon(dc, module, functionIcon(index, bar), page.functionButtons[i]);
    }
}

void drawPositionNumbers(PageState& page) {
    CDavaroDiroDocument* document = page.document;
    CDC* dc = page.pageBuffer.dc.get();
    if (!document || !dc)
        return;
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(RGB(0, 0, 0));
    CFont* old = dc->SelectObject(&page.fonts.small);
    const RECT& box = page.pageNumberRect;
    const int middle = box.top + (box.bottom - box.top) / 2;
    const UINT format = DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX;

    const int current = document->m_currentIndex + 1;
    int last = current;
    if (m_scrollRange == 0)
        last = document->getLineStartCount() - page.linesPerPage();
    else if (m_scrollRange == 1)
        last = document->getPageCount();
    // Until the rest of the book is laid out, the total is not known.
    const std::wstring total =
        document->isLayoutComplete() ? std::to_wstring(last) : std::wstring();

    RECT upper{box.left, box.top, box.right, middle};
    dc->DrawEdge(&upper, BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
    dc->DrawText(CString(std::to_wstring(current)), &upper, format);
    RECT lower{box.left, middle, box.right, box.bottom};
    dc->DrawEdge(&lower, BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
    dc->DrawText(CString(total), &lower, format);

    if (old)
        dc->SelectObject(old);
    dc->SetBkMode(OPAQUE);
    dc->SetTextColor(pageColours().text);
}

} // namespace yomite
