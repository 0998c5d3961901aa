#pragma once

// Private: the objects behind GDI and DC handles.

#include "platform/ui/DC.h"
#include "platform/ui/FontMapping.h"

#include <QFont>
#include <QImage>
#include <QRegion>

#include <memory>

namespace lumo {

enum class GdiKind { Pen, Brush, Font, Bitmap };

struct GdiObject {
    GdiKind kind = GdiKind::Brush;
    bool stock = false;
    COLORREF color = 0;
    int penStyle = PS_SOLID;
    int penWidth = 1;
    bool nullBrush = false;
    // Fonts.
    LOGFONT logFont{};
    QFont font;
    int ascent = 0;
    int descent = 0;
    int averageWidth = 0;
    int maxWidth = 0;
    // Bitmaps: the pixel store. DIB sections keep theirs in `bits` in the
    // DIB layout and `image` views it (bottom-up: image row 0 is the bottom).
    QImage image;
    bool bottomUp = false;
    std::unique_ptr<unsigned char[]> bits;
    int bitCount = 32;
    bool dib = false;

    CGdiObject* owner = nullptr;           // the user's wrapper, if any
    std::unique_ptr<CGdiObject> temporary; // FromHandle wrapper
};

struct DeviceContext {
    HWND window = nullptr; // window DCs
    bool paint = false;
    bool reachedFrame = false; // a window DC that drew (or read) its window's pixels
    QRegion paintClip;         // client coordinates (paint DCs)
    GdiObject* bitmap = nullptr;
    GdiObject* font = nullptr;
    GdiObject* pen = nullptr;
    GdiObject* brush = nullptr;
    COLORREF textColor = 0;
    COLORREF bkColor = 0x00FFFFFF;
    int bkMode = OPAQUE;
    POINT current{0, 0};
    CDC* owner = nullptr;
    std::unique_ptr<CDC> temporary;
};

constexpr int LOGICAL_DPI = 96;
constexpr int SCREEN_WIDTH = 800;
constexpr int SCREEN_HEIGHT = 480;
constexpr int MAX_BITMAP_SIDE = 16384;

// The handle table: an object or DC is live from its creation to its
// deletion; a handle that is not live maps to null.
GdiObject* gdiObject(HGDIOBJ handle);
DeviceContext* deviceContext(HDC handle);
inline HGDIOBJ handleOf(GdiObject* object) {
    return reinterpret_cast<HGDIOBJ>(object);
}
inline HDC handleOf(DeviceContext* dc) {
    return reinterpret_cast<HDC>(dc);
}
GdiObject* newObject(GdiKind kind);
// A DC with the stock font, pen and brush selected.
DeviceContext* newContext();
void deleteContext(DeviceContext* dc);
// Stock objects are created on first use and never deleted.
GdiObject* stockObject(int index);
// A 1 x 1 bitmap every memory DC starts with.
GdiObject* defaultBitmap();

// Where a DC draws: the image, whether its rows are stored bottom-up, the
// DC's origin in the image and the region it may touch (image coordinates,
// before any bottom-up flip).
struct DrawTarget {
    QImage* image = nullptr;
    bool bottomUp = false;
    QPoint origin;
    QRegion clip;
    bool valid() const { return image && !image->isNull(); }
};
DrawTarget drawTarget(DeviceContext* dc);

} // namespace lumo
