// The objects behind GDI handles: the handle table of objects and DCs, stock
// objects and system colours, and creating, reading and deleting objects.

#include "platform/ui/GdiObject.h"

#include "platform/ui/FontMapping.h"
#include "platform/ui/GdiState.h"

#include <cstring>
#include <unordered_set>

namespace lumo {
namespace {

std::unordered_set<GdiObject*>& liveObjects() {
    static std::unordered_set<GdiObject*> objects;
    return objects;
}

std::unordered_set<DeviceContext*>& liveContexts() {
    static std::unordered_set<DeviceContext*> contexts;
    return contexts;
}

} // namespace

GdiObject* newObject(GdiKind kind) {
    auto* object = new GdiObject;
    object->kind = kind;
    liveObjects().insert(object);
    return object;
}

GdiObject* stockObject(int index) {
    static GdiObject* objects[20] = {};
    if (index < 0 || index >= 20)
        return nullptr;
    if (objects[index])
        return objects[index];
    GdiObject* object = nullptr;
    switch (index) {
    case WHITE_BRUSH:
    case LTGRAY_BRUSH:
    case GRAY_BRUSH:
    case DKGRAY_BRUSH:
    case BLACK_BRUSH: {
        static const COLORREF colors[] = {RGB(255, 255, 255), RGB(192, 192, 192),
                                          RGB(128, 128, 128), RGB(64, 64, 64), RGB(0, 0, 0)};
        object = newObject(GdiKind::Brush);
        object->color = colors[index];
        break;
    }
    case NULL_BRUSH:
        object = newObject(GdiKind::Brush);
        object->nullBrush = true;
        break;
    case WHITE_PEN:
    case BLACK_PEN:
        object = newObject(GdiKind::Pen);
        object->color = index == WHITE_PEN ? RGB(255, 255, 255) : RGB(0, 0, 0);
        break;
    case NULL_PEN:
        object = newObject(GdiKind::Pen);
        object->penStyle = PS_NULL;
        break;
    case SYSTEM_FONT:
    case DEFAULT_GUI_FONT: {
        object = newObject(GdiKind::Font);
        object->logFont.lfHeight = -12;
        object->logFont.lfWeight = FW_NORMAL;
        std::wcscpy(object->logFont.lfFaceName, L"ＭＳ ゴシック");
        object->font = qtFontFor(object->logFont);
        setFontMetrics(object);
        break;
    }
    default:
        return nullptr;
    }
    object->stock = true;
    objects[index] = object;
    return object;
}

// A 1 x 1 bitmap every memory DC starts with.
GdiObject* defaultBitmap() {
    static GdiObject* object = [] {
        GdiObject* o = newObject(GdiKind::Bitmap);
        o->image = QImage(1, 1, QImage::Format_RGB32);
        o->image.fill(Qt::black);
        o->stock = true;
        return o;
    }();
    return object;
}

DeviceContext* newContext() {
    auto* dc = new DeviceContext;
    dc->font = stockObject(SYSTEM_FONT);
    dc->pen = stockObject(BLACK_PEN);
    dc->brush = stockObject(WHITE_BRUSH);
    liveContexts().insert(dc);
    return dc;
}

void deleteContext(DeviceContext* dc) {
    if (!liveContexts().erase(dc))
        return;
    if (dc->owner)
        dc->owner->m_hDC = nullptr;
    if (dc->temporary)
        dc->temporary->m_hDC = nullptr;
    delete dc;
}

GdiObject* gdiObject(HGDIOBJ handle) {
    auto* object = reinterpret_cast<GdiObject*>(handle);
    return object && liveObjects().count(object) ? object : nullptr;
}

DeviceContext* deviceContext(HDC handle) {
    auto* dc = reinterpret_cast<DeviceContext*>(handle);
    return dc && liveContexts().count(dc) ? dc : nullptr;
}

} // namespace lumo

using lumo::DeviceContext;
using lumo::GdiKind;
using lumo::GdiObject;

// ---- system colours and stock objects ---------------------------------------

COLORREF GetSysColor(int nIndex) {
    switch (nIndex & ~SYS_COLOR_INDEX_FLAG) {
    case COLOR_WINDOW:
        return RGB(255, 255, 255);
    case COLOR_WINDOWTEXT:
    case COLOR_MENUTEXT:
    case COLOR_BTNTEXT:
    case COLOR_WINDOWFRAME:
    case COLOR_3DDKSHADOW:
        return RGB(0, 0, 0);
    case COLOR_MENU:
    case COLOR_BTNFACE:
    case COLOR_SCROLLBAR:
        return RGB(192, 192, 192);
    case COLOR_BTNSHADOW:
    case COLOR_GRAYTEXT:
        return RGB(128, 128, 128);
    case COLOR_BTNHIGHLIGHT:
    case COLOR_HIGHLIGHTTEXT:
        return RGB(255, 255, 255);
    case COLOR_3DLIGHT:
        return RGB(223, 223, 223);
    case COLOR_HIGHLIGHT:
    case COLOR_ACTIVECAPTION:
        return RGB(0, 0, 128);
    case COLOR_BACKGROUND:
        return RGB(0, 128, 128);
    default:
        return RGB(0, 0, 0);
    }
}

HGDIOBJ GetStockObject(int fnObject) {
    return lumo::handleOf(lumo::stockObject(fnObject));
}

// ---- object creation ----------------------------------------------------------

HFONT CreateFontIndirect(const LOGFONT* lplf) {
    if (!lplf)
        return nullptr;
    GdiObject* object = lumo::newObject(GdiKind::Font);
    object->logFont = *lplf;
    object->font = lumo::qtFontFor(*lplf);
    lumo::setFontMetrics(object);
    return lumo::handleOf(object);
}

HBITMAP CreateCompatibleBitmap(HDC, int cx, int cy) {
    if (cx > lumo::MAX_BITMAP_SIDE || cy > lumo::MAX_BITMAP_SIDE)
        return nullptr;
    GdiObject* object = lumo::newObject(GdiKind::Bitmap);
    object->image = QImage(std::max(cx, 1), std::max(cy, 1), QImage::Format_RGB32);
    if (object->image.isNull()) {
        DeleteObject(lumo::handleOf(object));
        return nullptr;
    }
    object->image.fill(Qt::black);
    return lumo::handleOf(object);
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* pbmi, UINT, void** ppvBits, HANDLE, DWORD) {
    if (ppvBits)
        *ppvBits = nullptr;
    if (!pbmi)
        return nullptr;
    const BITMAPINFOHEADER& h = pbmi->bmiHeader;
    const int width = h.biWidth;
    const int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    if ((h.biBitCount != 24 && h.biBitCount != 32) || h.biCompression != BI_RGB || width <= 0 ||
        height <= 0 || width > lumo::MAX_BITMAP_SIDE || height > lumo::MAX_BITMAP_SIDE)
        return nullptr;
    const int stride = ((width * h.biBitCount / 8) + 3) & ~3;
    GdiObject* object = lumo::newObject(GdiKind::Bitmap);
    object->bits.reset(new (std::nothrow) unsigned char[static_cast<size_t>(stride) * height]());
    if (!object->bits) {
        DeleteObject(lumo::handleOf(object));
        return nullptr;
    }
    object->dib = true;
    object->bitCount = h.biBitCount;
    object->bottomUp = h.biHeight > 0;
    object->image = QImage(object->bits.get(), width, height, stride,
                           h.biBitCount == 24 ? QImage::Format_BGR888 : QImage::Format_RGB32);
    if (ppvBits)
        *ppvBits = object->bits.get();
    return lumo::handleOf(object);
}

BOOL DeleteObject(HGDIOBJ ho) {
    GdiObject* object = lumo::gdiObject(ho);
    if (!object || object->stock)
        return FALSE;
    // An object still selected into a DC stays, as on the original platform.
    for (DeviceContext* dc : lumo::liveContexts())
        if (dc->bitmap == object || dc->font == object || dc->pen == object || dc->brush == object)
            return FALSE;
    lumo::liveObjects().erase(object);
    if (object->owner)
        object->owner->m_hObject = nullptr;
    if (object->temporary)
        object->temporary->m_hObject = nullptr;
    delete object;
    return TRUE;
}

int GetObject(HGDIOBJ h, int c, void* pv) {
    GdiObject* object = lumo::gdiObject(h);
    if (!object)
        return 0;
    if (object->kind == GdiKind::Bitmap) {
        if (!pv)
            return sizeof(BITMAP);
        if (c < static_cast<int>(sizeof(BITMAP)))
            return 0;
        BITMAP bm{};
        bm.bmWidth = object->image.width();
        bm.bmHeight = object->image.height();
        bm.bmWidthBytes = static_cast<LONG>(object->image.bytesPerLine());
        bm.bmPlanes = 1;
        bm.bmBitsPixel = static_cast<WORD>(object->dib ? object->bitCount : 32);
        bm.bmBits = object->dib ? object->bits.get() : nullptr;
        std::memcpy(pv, &bm, sizeof bm);
        return sizeof(BITMAP);
    }
    if (object->kind == GdiKind::Font) {
        if (!pv)
            return sizeof(LOGFONT);
        if (c < static_cast<int>(sizeof(LOGFONT)))
            return 0;
        std::memcpy(pv, &object->logFont, sizeof(LOGFONT));
        return sizeof(LOGFONT);
    }
    return 0;
}
