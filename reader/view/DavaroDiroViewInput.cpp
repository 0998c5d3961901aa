// The input side of the reader view: size changes with the one-time position
// restore, pen, double tap, wheel and the two timers.
#include "DavaroDiroView.h"

#include "PagePainter.h"
#include "YomiteResources.h"

#include "hostkit/ExtendToolManager.h"
#include "hostkit/LumoPluginManager.h"
#include "hostkit/MainFrameIds.h"
#include "imageplugins/ImagePlugin.h"
#include "reader/document/DavaroDiroDocument.h"
#include "reader/document/PictureLocation.h"
#include "reader/document/ReaderSettings.h"

#include "platform/core/Clock.h"
#include "platform/ui/WinApp.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int PAGES_PER_STEP = 5;

bool contains(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

} // namespace

int CDavaroDiroView::OnCreate(LPCREATESTRUCT lpcs) {
    if (CView::OnCreate(lpcs) == -1)
        return -1;
    yomite::ensureResources();
    createFonts();
    positionRestored = false;
    return 0;
}

void CDavaroDiroView::OnDestroy() {
    KillTimer(TIMER_REPEAT);
    KillTimer(TIMER_LONG_PRESS);
    deleteFonts();
    deleteBuffers();
    CView::OnDestroy();
}

void CDavaroDiroView::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    if (cx < 1 || cy < 1)
        return;
    recalcLayout(cx, cy);
    createBuffers(cx, cy);
    CDavaroDiroDocument* document = GetDocument();
    if (!positionRestored && m_autoSaveAtExit) {
        if (CWnd* main = AfxGetMainWnd())
            main->SendMessage(WM_COMMAND_BAR_OPERATION, 0, 0);
        if (document)
            document->restoreReadingPosition();
        positionRestored = true;
    }
    if (document)
        document->UpdateAllViews(nullptr);
}

int CDavaroDiroView::linesPerPage() const {
    CDavaroDiroDocument* document = GetDocument();
    return document ? document->getLayoutMetrics().linesPerPage : 0;
}

int CDavaroDiroView::clampTarget(int t) {
    CDavaroDiroDocument* document = GetDocument();
    if (!document)
        return t;
    layOutTarget(t);
    int upper = 0;
    if (m_scrollRange == 0)
        upper = document->getLineStartCount() - linesPerPage();
    else if (m_scrollRange == 1)
        upper = document->getPageCount();
    else
        return t;
    return std::max(std::min(t, upper), 1);
}

void CDavaroDiroView::applyTarget(int t) {
    CDavaroDiroDocument* document = GetDocument();
    if (!document)
        return;
    const int target = clampTarget(t);
    if (target == document->m_currentIndex + 1)
        return;
    document->m_currentIndex = target - 1;
    document->UpdateAllViews(nullptr);
}

int CDavaroDiroView::hitTestButton(int x, int y) {
    const std::vector<RECT>& buttons =
        m_page.bar.functionBarShown ? m_page.functionButtons : m_page.pageButtons;
    for (size_t i = 0; i < buttons.size(); ++i)
        if (contains(buttons[i], POINT{x, y}))
            return static_cast<int>(i);
    return -1;
}

int CDavaroDiroView::hitTestLink(int x, int y) {
    return painter().hitTestLink(POINT{x, y});
}

InlineTag CDavaroDiroView::linkTagOf(int displayLine) const {
    CDavaroDiroDocument* document = GetDocument();
    if (document->hasNotation())
        return document->getDisplayLineNotation(displayLine).tag;
    std::wstring visible;
    std::vector<RubySpan> spans;
    InlineTag tag;
    CDavaroDiroBook::parseLine(document->getDisplayLineText(displayLine), visible, spans, tag);
    return tag;
}

void CDavaroDiroView::OnLButtonDown(UINT, CPoint screenPoint) {
    const POINT point = m_page.rotation.toPage(screenPoint);
    pressedLinkLine = hitTestLink(point.x, point.y);
    if (pressedLinkLine >= 0) {
        SetCapture();
        Default();
        return;
    }
    m_page.bar.pressedButton = hitTestButton(point.x, point.y);
    CDavaroDiroDocument* document = GetDocument();
    if (m_page.bar.functionBarShown) {
        if (m_page.bar.pressedButton == 0)
            SetTimer(TIMER_LONG_PRESS, 500);
    } else if (document) {
        int t = document->m_currentIndex + 1;
        if (m_page.bar.pressedButton == 1)
            --t;
        else if (m_page.bar.pressedButton == 2)
            ++t;
        SetCapture();
        SetTimer(TIMER_REPEAT, 100);
        repeatDelay = (m_page.bar.pressedButton == 1 || m_page.bar.pressedButton == 2) ? 1 : 5;
        applyTarget(t);
    }
    if (document)
        document->UpdateAllViews(nullptr);
    Default();
}

void CDavaroDiroView::OnTimer(UINT_PTR nIDEvent) {
    CDavaroDiroDocument* document = GetDocument();
    if (nIDEvent == TIMER_REPEAT) {
        if (repeatDelay > 0) {
            --repeatDelay;
            return;
        }
        if (!document)
            return;
        const int lines = linesPerPage();
        int t = document->m_currentIndex + 1;
        switch (m_page.bar.pressedButton) {
        case 0:
            if (m_scrollRange == 0)
                t -= lines;
            else if (m_scrollRange == 1)
                t -= PAGES_PER_STEP;
            break;
        case 1:
            --t;
            break;
        case 2:
            ++t;
            break;
        case 3:
            if (m_scrollRange == 0)
                t += lines;
            else if (m_scrollRange == 1)
                t += PAGES_PER_STEP;
            break;
        default:
            break;
        }
        applyTarget(t);
        return;
    }
    if (nIDEvent == TIMER_LONG_PRESS) {
        KillTimer(TIMER_LONG_PRESS);
        m_page.bar.closeArmed = true;
        redrawControlBar(true);
        if (document)
            document->UpdateAllViews(nullptr);
        return;
    }
    CView::OnTimer(nIDEvent);
}

void CDavaroDiroView::OnLButtonUp(UINT, CPoint screenPoint) {
    const POINT point = m_page.rotation.toPage(screenPoint);
    CDavaroDiroDocument* document = GetDocument();
    if (illustrationShown == 1) {
        illustrationShown = 0;
        eraseNow();
    } else if (pressedLinkLine != -1) {
        if (document && hitTestLink(point.x, point.y) == pressedLinkLine) {
            InlineTag tag = linkTagOf(pressedLinkLine);
            if (tag.tagName == L"img") {
                const std::optional<yomite::PictureSource> picture = yomite::locatePicture(
                    document->GetPathName().str(), document->getArchiveBookName(),
                    tag.attributes[L"src"], MAX_PICTURE_PIXEL_BYTES);
                m_page.illustrationBitmap.reset();
                if (picture && painter().composeIllustration(*this, *picture)) {
                    illustrationShown = 1;
                    illustrationTick = GetTickCount();
                }
                document->UpdateAllViews(nullptr);
            }
        }
        pressedLinkLine = -1;
    } else if (m_page.bar.pressedButton != -1) {
        bool switched = false;
        if (hitTestButton(point.x, point.y) == m_page.bar.pressedButton) {
            CWnd* main = AfxGetMainWnd();
            if (!m_page.bar.functionBarShown) {
                if (m_page.bar.pressedButton == 4) {
                    m_page.bar.functionBarShown = true;
                    switched = true;
                }
            } else {
                switch (m_page.bar.pressedButton) {
                case 0:
                    KillTimer(TIMER_LONG_PRESS);
                    if (m_page.bar.closeArmed) {
                        ReleaseCapture();
                        KillTimer(TIMER_REPEAT);
                        // Closing the document takes this view (and the frame) down.
                        if (document)
                            document->OnCloseDocument();
                        return;
                    }
                    if (main)
                        main->ShowWindow(SW_MINIMIZE);
                    break;
                case 1:
                    if (main)
                        main->PostMessage(WM_COMMAND, ID_FILE_OPEN, 0);
                    break;
                case 2:
                    m_page.bar.altToolMode = !m_page.bar.altToolMode;
                    break;
                case 4:
                    if (CLumoPluginManager* plugins = CLumoPluginManager::getInstance();
                        !m_page.bar.altToolMode && plugins) {
                        const unsigned id =
                            plugins->getExtendToolManager()->getDynamicAllocateMenuId(
                                L"lumo.davarodiro.tool", yomite::ID_READER_SETTINGS);
                        if (main)
                            main->PostMessage(WM_COMMAND, id, 0);
                        Invalidate(FALSE);
                    }
                    break;
                case 5:
                    m_page.bar.functionBarShown = false;
                    switched = true;
                    break;
                default:
                    break;
                }
            }
            if (switched) {
                m_page.bar.closeArmed = false;
                m_page.bar.altToolMode = false;
            }
        }
        m_page.bar.closeArmed = false;
        m_page.bar.pressedButton = -1;
        redrawControlBar(switched || m_page.bar.functionBarShown);
        if (document)
            document->UpdateAllViews(nullptr);
    }
    ReleaseCapture();
    KillTimer(TIMER_REPEAT);
    Default();
}

void CDavaroDiroView::OnLButtonDblClk(UINT nFlags, CPoint point) {
    if (contains(m_page.textRect, m_page.rotation.toPage(point))) {
        POINT screen{point.x, point.y};
        ClientToScreen(&screen);
        if (CWnd* main = AfxGetMainWnd())
            main->PostMessage(WM_SHOW_MENU_AT_POINT, 0,
                              MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
    } else {
        OnLButtonDown(nFlags, point);
        return;
    }
    Default();
}

BOOL CDavaroDiroView::OnMouseWheel(UINT, short zDelta, CPoint) {
    CDavaroDiroDocument* document = GetDocument();
    if (illustrationShown == 0 && document)
        applyTarget(document->m_currentIndex + 1 - zDelta / 120);
    return TRUE;
}

BOOL CDavaroDiroView::PreTranslateMessage(MSG* pMsg) {
    if (illustrationShown == 1 && pMsg->message >= 0x200 && pMsg->message <= 0x20D &&
        static_cast<LONG>(pMsg->time - illustrationTick) < 0)
        return TRUE;
    return CView::PreTranslateMessage(pMsg);
}
