// Drawing the modules' icons (ARGB resources) into a DC.

#include "platform/ui/DC.h"

#include "platform/ui/GdiState.h"
#include "platform/ui/Raster.h"
#include "platform/ui/Resources.h"

using lumo::DeviceContext;

BOOL DrawIcon(HDC hDC, int X, int Y, HICON hIcon) {
    CDC* dc = CDC::FromHandle(hDC);
    return dc ? dc->DrawIcon(X, Y, hIcon) : FALSE;
}

BOOL DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth, UINT, HBRUSH,
                UINT) {
    auto* icon = reinterpret_cast<const lumo::IconImage*>(hIcon);
    DeviceContext* dc = lumo::deviceContext(hdc);
    if (!dc || !icon)
        return FALSE;
    if ((cxWidth == 0 || cxWidth == icon->width) && (cyWidth == 0 || cyWidth == icon->height))
        return DrawIcon(hdc, xLeft, yTop, hIcon);
    if (icon->width <= 0 || icon->height <= 0 ||
        icon->pixels.size() < static_cast<size_t>(icon->width) * icon->height)
        return FALSE;
    const QImage image(reinterpret_cast<const uchar*>(icon->pixels.data()), icon->width,
                       icon->height, icon->width * 4, QImage::Format_ARGB32);
    lumo::DrawTarget t = lumo::drawTarget(dc);
    if (!t.valid())
        return FALSE;
    {
        lumo::TargetPainter p(t);
        p->drawImage(
            QRect(xLeft, yTop, cxWidth ? cxWidth : icon->width, cyWidth ? cyWidth : icon->height),
            image);
    }
    lumo::presentIfWindow(dc);
    return TRUE;
}

BOOL DestroyIcon(HICON hIcon) {
    return hIcon ? TRUE : FALSE;
}

HANDLE LoadImage(HINSTANCE hInst, LPCWSTR name, UINT type, int, int, UINT) {
    if (type != IMAGE_ICON)
        return nullptr;
    return reinterpret_cast<HANDLE>(LoadIcon(hInst, name));
}

BOOL CDC::DrawIcon(int x, int y, HICON hIcon) {
    DeviceContext* dc = context();
    auto* icon = reinterpret_cast<const lumo::IconImage*>(hIcon);
    if (!dc || !icon || icon->width <= 0 || icon->height <= 0 ||
        icon->pixels.size() < static_cast<size_t>(icon->width) * icon->height)
        return FALSE;
    const QImage image(reinterpret_cast<const uchar*>(icon->pixels.data()), icon->width,
                       icon->height, icon->width * 4, QImage::Format_ARGB32);
    lumo::DrawTarget t = lumo::drawTarget(dc);
    if (!t.valid())
        return FALSE;
    {
        lumo::TargetPainter p(t);
        p->drawImage(QPoint(x, y), image);
    }
    lumo::presentIfWindow(dc);
    return TRUE;
}
