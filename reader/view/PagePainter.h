#pragma once

#include "platform/ui/DC.h"

class CWnd;
struct LayoutMetrics;

namespace yomite {

struct PageState;
struct PictureSource;

// Draws the reader's page from the view's PageState: the display lines of
// the page in slots (rows or columns, by the writing direction of the
// subclass), merged with the wallpaper, the position numbers and the bar.
//
// The page shown stays in the page buffer, so an unchanged page repaints
// only the bar, a one-line move shifts the image and draws one slot, and
// erasing or the illustration screen copy the buffer instead of drawing text.
class PagePainter {
public:
    explicit PagePainter(PageState& page) : m_page(page) {}
    virtual ~PagePainter() = default;
    PagePainter(const PagePainter&) = delete;
    PagePainter& operator=(const PagePainter&) = delete;

    // The layout the text area holds: columns per display line and display
    // lines per page, as the document lays the book out.
    virtual LayoutMetrics layoutFor(const RECT& textRect) const = 0;

    // Paints the page onto the view's DC.
    void paint(CDC* screen);
    // Copies the page buffer (and the wallpaper) onto the view's DC; false
    // when there is no page buffer.
    bool erase(CDC* screen);
    // The illustration screen over the whole view.
    void showIllustration(CDC* screen);
    // Shows "NOW LOADING...", then composes the illustration screen from the
    // page as shown and the picture into the page state's illustration
    // bitmap; false (and the page repainted) when it cannot be composed.
    bool composeIllustration(CWnd& view, const PictureSource& picture);

    // The display line whose illustration or link label lies under a point
    // of the page, or -1.
    virtual int hitTestLink(POINT point) const = 0;

protected:
    // Slot `i` of the page, line gap included.
    virtual RECT slot(int i) const = 0;
    // The part of a slot a display line is drawn in.
    virtual RECT lineBand(const RECT& slot) const = 0;
    // The part of slot `i` merged with the wallpaper.
    virtual RECT mergeBand(int i) const = 0;
    // The text area left after the first `rows` slots.
    virtual RECT remainder(int rows) const = 0;
    // Where the image of the page moves when the page moves one line on.
    virtual POINT forwardShift() const = 0;
    virtual void drawLine(CDC* dc, int displayLine, const RECT& band) const = 0;

    PageState& m_page;

private:
    // The slots of a page of `lines` display lines together.
    RECT linesArea(int lines) const;
    // How many slots the page that starts at `top` fills.
    int pageRows(int top, int lines) const;
    void drawLines(CDC* screen, int top, bool direct, bool withWallpaper);
    void mergeWithWallpaper(CDC* screen, int top, int lines);
    // Copies a page rectangle of `source` (from `from` in it) onto the
    // view's DC, turned as the screen is.
    void present(CDC* screen, CDC* source, const RECT& rect, POINT from) const;
    void present(CDC* screen, CDC* source, const RECT& rect) const;
    void showLoadingNotice(CDC* screen) const;
};

} // namespace yomite
