#pragma once

#include "NotatedRowPainter.h"

#include "platform/core/CString.h"
#include "platform/ui/DC.h"
#include "platform/ui/View.h"

#include <memory>
#include <string>
#include <vector>

class CDavaroDiroDocument;
namespace yomite {
struct PictureSource;
}

// An off-screen drawing surface: a memory DC with its own bitmap selected.
// Releasing selects the DC's first bitmap back before deleting anything.
struct ReaderBuffer {
    std::unique_ptr<CDC> dc;
    std::unique_ptr<CBitmap> bitmap;
    CBitmap* initial = nullptr;

    bool exists() const { return dc != nullptr; }
    bool create(CDC* compatible, int cx, int cy);
    void release();
};

// The reader's view: draws the book's rows in horizontal writing with ruby
// above the base text and a 48-pixel control bar beside them, and turns pen
// taps, timers and the wheel into moves of the document's reading index.
//
// Painting keeps the shown page in `pageBuffer`, so an unchanged page repaints
// only the bar, a one-line move shifts the image and draws one row, and
// erasing or the illustration screen copy the buffer instead of drawing text.
class CDavaroDiroView : public CView {
    DECLARE_DYNCREATE(CDavaroDiroView)
public:
    CDavaroDiroView();
    ~CDavaroDiroView() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* dc) override;

    CDavaroDiroDocument* GetDocument() const;

    // Drawing (see the class comment).
    void createFonts();
    void deleteFonts();
    void createBuffers(int cx, int cy);
    void deleteBuffers();
    void recalcLayout(int cx, int cy);
    void drawControlBar(CDC* dc, bool functionSet, bool full);
    void drawButtonIcon(CDC* dc, HINSTANCE module, UINT iconId, const RECT& r);
    void drawLine(CDC* dc, int displayLine, RECT& row);
    int pointsToPixels(CDC* dc, int points);
    // Shows the picture over a blurred copy of the page in illustrationBitmap;
    // false (and the page repainted) when it cannot be composed.
    bool showIllustration(const yomite::PictureSource& picture, CBitmap*& bitmap);
    // Chooses a random ".bmp"/".jpg" of m_pathWallpaper; false for none.
    bool pickWallpaper();

    // Interaction.
    int clampTarget(int t);
    int hitTestButton(int x, int y);
    int hitTestLink(int x, int y);
    // The tag of a display line: its illustration or link.
    InlineTag linkTagOf(int displayLine) const;

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

    CString wallpaperFile;
    bool functionBarShown = false;
    bool closeArmed = false;
    bool altToolMode = false;
    int pressedButton = -1;
    int repeatDelay = 0;
    bool positionRestored = false;
    int lastDrawnTop = -2;
    int pressedLinkLine = -1;
    int illustrationShown = 0;
    DWORD illustrationTick = 0;
    RECT textRect{0, 0, 0, 0};
    RECT pageNumberRect{0, 0, 0, 0};
    std::vector<RECT> pageButtons;
    std::vector<RECT> functionButtons;
    ReaderBuffer pageBuffer;
    ReaderBuffer wallpaperBuffer;
    ReaderBuffer composeBuffer;
    CBitmap* illustrationBitmap = nullptr;
    CFont bodyFont;
    CFont rubyFont;
    CFont smallFont;

protected:
    DECLARE_MESSAGE_MAP()

private:
    struct RowMetrics {
        int bodyPx;
        int rubyPx;
        int pitch;
    };
    RowMetrics rowMetrics() const;
    // A row of the page as the full notation's painter takes it.
    yomite::RowFrame rowFrame(const RECT& row) const;
    int topLine() const;
    int linesPerPage() const;
    // The rows of the page that starts at display line `top`.
    int pageRows(int top, int lines) const;
    void applyTarget(int t);
    void preparePaint(CDC* dc);
    void drawPositionNumbers();
    void mergeWithWallpaper(CDC* dc, int top, const RowMetrics& m, int lines);
    void eraseNow();
    void releaseIllustration();

    // Measured once per font set (createFonts), not per row.
    int m_bodyPx = 0;
    int m_rubyPx = 0;
    int m_bodyCharWidth = 1;
    int m_rubyCharWidth = 1;
    yomite::NotationFonts m_notationFonts;
};
