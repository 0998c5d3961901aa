// Drawing the modules' icons (ARGB resources) into a DC.

#include "platform/ui/DC.h"

#include "platform/ui/GdiState.h"
#include "platform/ui/Raster.h"
#include "platform/ui/Resources.h"

using lumo::DeviceContext;

BOOL DestroyIcon(HICON hIcon) {
    return hIcon ? TRUE : FALSE;
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
