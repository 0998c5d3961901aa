#pragma once

#include "PageState.h"

#include "platform/ui/View.h"

#include <memory>

class CDavaroDiroDocument;
struct LayoutMetrics;
namespace yomite {
class PagePainter;
class ViewProbe;
struct PictureSource;
} // namespace yomite

// The reader's view: keeps the page's state (fonts, buffers, geometry, the
// control bar) and turns pen taps, timers and the wheel into moves of the
// document's reading index; a painter draws the page from that state.
class CDavaroDiroView : public CView {
    DECLARE_DYNCREATE(CDavaroDiroView)
public:
    CDavaroDiroView();
    ~CDavaroDiroView() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* dc) override;

    CDavaroDiroDocument* GetDocument() const;

    // Rebuilt on creation, on every size change and after the settings
    // dialog's OK, in this order. The sizes are the client area's; the page
    // is that area turned when m_displayDirection turns it.
    void createFonts();
    void recalcLayout(int screenWidth, int screenHeight);
    void createBuffers(int screenWidth, int screenHeight);
    // Chooses a random ".bmp"/".jpg" of m_pathWallpaper; false for none.
    bool pickWallpaper();

    // Layout: the screen first, the rest of the book in idle slices.
    void startLayout(const LayoutMetrics& metrics);
    void layOutScreen();
    void layOutTarget(int t);
    LRESULT OnKickIdle(WPARAM, LPARAM);

    // Interaction, in page coordinates (the client area's unless turned).
    int clampTarget(int t);
    int hitTestButton(int x, int y);
    int hitTestLink(int x, int y);

    // Message handlers.
    void OnSize(UINT nType, int cx, int cy);
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnDestroy();
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnTimer(UINT_PTR nIDEvent);
    BOOL OnEraseBkgnd(CDC* dc);

    static constexpr int BAR_WIDTH = 48;
    static constexpr UINT_PTR TIMER_REPEAT = 100;
    static constexpr UINT_PTR TIMER_LONG_PRESS = 101;

protected:
    DECLARE_MESSAGE_MAP()

private:
    friend class yomite::ViewProbe;

    void deleteFonts();
    void deleteBuffers();
    // The painter, drawing for the view's document as it is now.
    yomite::PagePainter& painter();
    int linesPerPage() const;
    // The tag of a display line: its illustration or link.
    InlineTag linkTagOf(int displayLine) const;
    void applyTarget(int t);
    void redrawControlBar(bool full);
    void eraseNow();

    yomite::PageState m_page;
    std::unique_ptr<yomite::PagePainter> m_painter;
    int repeatDelay = 0;
    bool positionRestored = false;
    int pressedLinkLine = -1;
    int illustrationShown = 0;
    DWORD illustrationTick = 0;
};
