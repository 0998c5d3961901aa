#pragma once

// Private: pixel access, raster operations, solid fills and painting on the
// target of a DC, shared by the drawing calls.

#include "platform/ui/GdiState.h"

#include <QColor>
#include <QPainter>

#include <cstdint>

namespace lumo {

inline QColor qcolor(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

inline std::uint32_t rgb32(COLORREF c) {
    return 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

inline COLORREF colorref(std::uint32_t px) {
    return RGB(static_cast<BYTE>(px >> 16), static_cast<BYTE>(px >> 8), static_cast<BYTE>(px));
}

// Row y (top-down logical row) of an image stored top-down or bottom-up.
inline unsigned char* rowOf(QImage& image, bool bottomUp, int y) {
    return image.scanLine(bottomUp ? image.height() - 1 - y : y);
}

inline const unsigned char* constRowOf(const QImage& image, bool bottomUp, int y) {
    return image.constScanLine(bottomUp ? image.height() - 1 - y : y);
}

inline bool is24(const QImage& image) {
    return image.format() == QImage::Format_BGR888;
}

inline std::uint32_t readPixel(const unsigned char* row, bool bgr24, int x) {
    if (bgr24) {
        const unsigned char* p = row + 3 * x;
        return 0xFF000000u | (static_cast<std::uint32_t>(p[2]) << 16) |
               (static_cast<std::uint32_t>(p[1]) << 8) | p[0];
    }
    return reinterpret_cast<const std::uint32_t*>(row)[x] | 0xFF000000u;
}

inline void writePixel(unsigned char* row, bool bgr24, int x, std::uint32_t px) {
    if (bgr24) {
        unsigned char* p = row + 3 * x;
        p[0] = static_cast<unsigned char>(px);
        p[1] = static_cast<unsigned char>(px >> 8);
        p[2] = static_cast<unsigned char>(px >> 16);
        return;
    }
    reinterpret_cast<std::uint32_t*>(row)[x] = px | 0xFF000000u;
}

enum class RasterOp { Copy, And, Paint, Invert };
// Maps a BitBlt raster operation; false for one without a source.
bool rasterOpOf(DWORD rop, RasterOp& op);

// Copies a w x h block between images with a raster operation. Source and
// destination points are top-down image coordinates; both blocks lie inside
// their images.
void blitBlock(QImage& dst, bool dstBottomUp, int dx, int dy, const QImage& src, bool srcBottomUp,
               int sx, int sy, int w, int h, RasterOp op);

// Blits src (whole image region srcRect, top-down coordinates) to the target at
// logical (x, y), clipped to the target's clip region.
void blitToTarget(DrawTarget& t, int x, int y, const QImage& src, bool srcBottomUp, QRect srcRect,
                  RasterOp op);

// A painter on the target with its clip and origin. Bottom-up pixel stores
// are painted through a top-down scratch copy of the clip area, written back
// row by row when the painter ends, so text is never drawn mirrored.
class TargetPainter {
public:
    explicit TargetPainter(DrawTarget& t);
    ~TargetPainter() { finish(); }
    void finish();
    QPainter* operator->() { return &m_painter; }
    QPainter& painter() { return m_painter; }

private:
    DrawTarget& m_target;
    QPainter m_painter;
    QRect m_area;
    QImage m_scratch;
};

// Fills a rectangle in the DC's logical coordinates, clipped.
void fillLogical(DeviceContext* dc, const QRect& rect, COLORREF color);

// Shows what a window DC drew.
void presentIfWindow(DeviceContext* dc);

} // namespace lumo
