// DC handles: window, paint and memory DCs, selecting objects, attributes,
// and the handle forms of the drawing calls.

#include "platform/ui/DC.h"

#include "platform/ui/GdiState.h"
#include "platform/ui/Raster.h"
#include "platform/ui/WindowState.h"

#include <utility>

namespace lumo {

DrawTarget drawTarget(DeviceContext* dc) {
    DrawTarget t;
    if (!dc)
        return t;
    if (dc->window) {
        CWnd* wnd = CWnd::FromHandle(dc->window);
        if (!wnd)
            return t;
        WindowState* s = wnd->state();
        dc->reachedFrame = true;
        t.image = &s->topLevel()->state()->frame;
        t.origin = s->frameOffset();
        t.clip = s->frameClip();
        if (dc->paint)
            t.clip &= dc->paintClip.translated(t.origin);
        return t;
    }
    GdiObject* bitmap = dc->bitmap ? dc->bitmap : defaultBitmap();
    t.image = &bitmap->image;
    t.bottomUp = bitmap->bottomUp;
    t.clip = QRegion(0, 0, t.image->width(), t.image->height());
    return t;
}

} // namespace lumo

using lumo::DeviceContext;
using lumo::GdiKind;
using lumo::GdiObject;

// ---- DCs ------------------------------------------------------------------------

HDC GetDC(HWND hWnd) {
    if (!CWnd::FromHandle(hWnd))
        return nullptr;
    DeviceContext* dc = lumo::newContext();
    dc->window = hWnd;
    return lumo::handleOf(dc);
}

int ReleaseDC(HWND, HDC hDC) {
    DeviceContext* dc = lumo::deviceContext(hDC);
    if (!dc || !dc->window)
        return 0;
    // A DC only used to measure text or fonts leaves nothing to show; a
    // needless present repaints the whole window.
    if (CWnd* wnd = CWnd::FromHandle(dc->window); wnd && dc->reachedFrame)
        wnd->state()->presentFrameNow();
    lumo::deleteContext(dc);
    return 1;
}

HDC BeginPaint(HWND hWnd, PAINTSTRUCT* lpPaint) {
    CWnd* wnd = CWnd::FromHandle(hWnd);
    if (!wnd)
        return nullptr;
    lumo::WindowState* s = wnd->state();
    DeviceContext* dc = lumo::newContext();
    dc->window = hWnd;
    dc->paint = true;
    dc->paintClip = s->update;
    const bool erase = s->erase;
    s->update = QRegion();
    s->erase = false;
    BOOL erased = TRUE;
    if (erase)
        erased =
            wnd->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(lumo::handleOf(dc)), 0) != 0;
    if (lpPaint) {
        const QRect r = dc->paintClip.boundingRect();
        lpPaint->hdc = lumo::handleOf(dc);
        lpPaint->fErase = erased ? FALSE : TRUE;
        lpPaint->rcPaint = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    }
    return lumo::handleOf(dc);
}

BOOL EndPaint(HWND, const PAINTSTRUCT* lpPaint) {
    if (!lpPaint)
        return FALSE;
    DeviceContext* dc = lumo::deviceContext(lpPaint->hdc);
    if (!dc)
        return FALSE;
    lumo::presentIfWindow(dc);
    lumo::deleteContext(dc);
    return TRUE;
}

HDC CreateCompatibleDC(HDC) {
    DeviceContext* dc = lumo::newContext();
    dc->bitmap = lumo::defaultBitmap();
    return lumo::handleOf(dc);
}

BOOL DeleteDC(HDC hdc) {
    DeviceContext* dc = lumo::deviceContext(hdc);
    if (!dc)
        return FALSE;
    lumo::deleteContext(dc);
    return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
    DeviceContext* dc = lumo::deviceContext(hdc);
    GdiObject* object = lumo::gdiObject(h);
    if (!dc || !object)
        return nullptr;
    GdiObject** slot = nullptr;
    switch (object->kind) {
    case GdiKind::Pen:
        slot = &dc->pen;
        break;
    case GdiKind::Brush:
        slot = &dc->brush;
        break;
    case GdiKind::Font:
        slot = &dc->font;
        break;
    case GdiKind::Bitmap:
        if (dc->window)
            return nullptr; // only memory DCs hold bitmaps
        slot = &dc->bitmap;
        break;
    }
    GdiObject* previous = *slot;
    *slot = object;
    return lumo::handleOf(previous);
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
    DeviceContext* dc = lumo::deviceContext(hdc);
    if (!dc)
        return 0xFFFFFFFF;
    return std::exchange(dc->textColor, color);
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
    DeviceContext* dc = lumo::deviceContext(hdc);
    if (!dc)
        return 0xFFFFFFFF;
    return std::exchange(dc->bkColor, color);
}

int SetBkMode(HDC hdc, int mode) {
    DeviceContext* dc = lumo::deviceContext(hdc);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE))
        return 0;
    return std::exchange(dc->bkMode, mode);
}

int GetDeviceCaps(HDC, int index) {
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
        return lumo::LOGICAL_DPI;
    case HORZRES:
        return lumo::SCREEN_WIDTH;
    case VERTRES:
        return lumo::SCREEN_HEIGHT;
    case BITSPIXEL:
        return 24;
    case PLANES:
        return 1;
    default:
        return 0;
    }
}
