#pragma once

// Private: the objects behind GDI and DC handles.

#include "platform/ui/DC.h"

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
    QRegion paintClip; // client coordinates (paint DCs)
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

GdiObject* gdiObject(HGDIOBJ handle);
DeviceContext* deviceContext(HDC handle);

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

// Font metrics helpers shared with the command bar and dialogs.
QFont qtFontFor(const LOGFONT& logFont, int* emPixels = nullptr);

} // namespace lumo
