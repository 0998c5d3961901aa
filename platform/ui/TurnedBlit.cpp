// PlgBlt for the parallelograms a turned screen needs: the source rectangle
// turned by a multiple of 90 degrees, at its own size.

#include "platform/ui/DC.h"

#include "platform/ui/GdiState.h"
#include "platform/ui/Raster.h"

#include <algorithm>
#include <cstdint>

namespace {

// Where the source rectangle lands: how many quarter turns clockwise, and the
// destination rectangle; false for any other parallelogram.
bool quarterTurns(const POINT* p, int w, int h, int& turns, QRect& dest) {
    const QPoint a(p[1].x - p[0].x, p[1].y - p[0].y); // image of the source's x axis
    const QPoint b(p[2].x - p[0].x, p[2].y - p[0].y); // image of its y axis
    if (a == QPoint(w, 0) && b == QPoint(0, h)) {
        turns = 0;
        dest = QRect(p[0].x, p[0].y, w, h);
    } else if (a == QPoint(0, w) && b == QPoint(-h, 0)) {
        turns = 1;
        dest = QRect(p[0].x - h, p[0].y, h, w);
    } else if (a == QPoint(-w, 0) && b == QPoint(0, -h)) {
        turns = 2;
        dest = QRect(p[0].x - w, p[0].y - h, w, h);
    } else if (a == QPoint(0, -w) && b == QPoint(h, 0)) {
        turns = 3;
        dest = QRect(p[0].x, p[0].y - w, h, w);
    } else {
        return false;
    }
    return true;
}

// The destination of the part `part` of a w x h source turned `turns` times.
QRect turnedPart(const QRect& part, int w, int h, int turns) {
    switch (turns) {
    case 1:
        return QRect(h - part.bottom() - 1, part.left(), part.height(), part.width());
    case 2:
        return QRect(w - part.right() - 1, h - part.bottom() - 1, part.width(), part.height());
    case 3:
        return QRect(part.top(), w - part.right() - 1, part.height(), part.width());
    default:
        return part;
    }
}

// Where in the source (relative to the source rectangle) the destination
// pixel (u, v) of the turned rectangle comes from, as a start and the steps
// along u and v.
struct Walk {
    QPoint start;
    QPoint alongU;
    QPoint alongV;
};

Walk walkFor(int w, int h, int turns) {
    switch (turns) {
    case 1:
        return {QPoint(0, h - 1), QPoint(0, -1), QPoint(1, 0)};
    case 2:
        return {QPoint(w - 1, h - 1), QPoint(-1, 0), QPoint(0, -1)};
    default:
        return {QPoint(w - 1, 0), QPoint(0, 1), QPoint(-1, 0)};
    }
}

// Addresses of an image's pixels top-down, whatever its storage.
struct Pixels {
    const unsigned char* origin; // pixel (0, 0)
    qsizetype rowStep;           // bytes from a row to the one below
    int pixelBytes;
    Pixels(const QImage& image, bool bottomUp)
        : origin(lumo::constRowOf(image, bottomUp, 0)),
          rowStep(bottomUp ? -image.bytesPerLine() : image.bytesPerLine()),
          pixelBytes(lumo::is24(image) ? 3 : 4) {}
    qsizetype offset(QPoint p) const { return p.y() * rowStep + qsizetype(p.x()) * pixelBytes; }
};

// Copies the turned pixels of `area` (image coordinates of the target), in
// tiles so that the source's columns are read while they are in the cache.
void turnInto(lumo::DrawTarget& to, const QRect& area, QPoint turnedOrigin, const QImage& source,
              bool sourceBottomUp, QPoint sourceOrigin, const Walk& walk) {
    constexpr int TILE = 64;
    const bool dst24 = lumo::is24(*to.image);
    const bool src24 = lumo::is24(source);
    const Pixels from(source, sourceBottomUp);
    // The target's rows, written through one pointer (one detach).
    unsigned char* const top = lumo::rowOf(*to.image, to.bottomUp, 0);
    const qsizetype rowStep = to.bottomUp ? -to.image->bytesPerLine() : to.image->bytesPerLine();
    const qsizetype stepU = from.offset(walk.alongU);
    for (int ty = area.top(); ty <= area.bottom(); ty += TILE)
        for (int tx = area.left(); tx <= area.right(); tx += TILE) {
            const int yEnd = std::min(ty + TILE - 1, area.bottom());
            const int xEnd = std::min(tx + TILE - 1, area.right());
            for (int y = ty; y <= yEnd; ++y) {
                unsigned char* row = top + y * rowStep;
                const int u = tx - turnedOrigin.x();
                const int v = y - turnedOrigin.y();
                const QPoint first = sourceOrigin + walk.start + walk.alongU * u + walk.alongV * v;
                const unsigned char* in = from.origin + from.offset(first);
                if (!dst24 && !src24) {
                    auto* out = reinterpret_cast<std::uint32_t*>(row);
                    for (int x = tx; x <= xEnd; ++x, in += stepU)
                        out[x] = *reinterpret_cast<const std::uint32_t*>(in) | 0xFF000000u;
                    continue;
                }
                for (int x = tx; x <= xEnd; ++x, in += stepU)
                    lumo::writePixel(row, dst24, x, lumo::readPixel(in, src24, 0));
            }
        }
}

} // namespace

BOOL CDC::PlgBlt(const POINT* lpPoint, CDC* pSrcDC, int xSrc, int ySrc, int nWidth, int nHeight) {
    lumo::DeviceContext* dc = context();
    if (!dc || !lpPoint || !pSrcDC || nWidth <= 0 || nHeight <= 0)
        return FALSE;
    int turns = 0;
    QRect dest;
    if (!quarterTurns(lpPoint, nWidth, nHeight, turns, dest))
        return FALSE;
    if (turns == 0)
        return BitBlt(dest.left(), dest.top(), nWidth, nHeight, pSrcDC, xSrc, ySrc, SRCCOPY);
    lumo::DrawTarget from = lumo::drawTarget(pSrcDC->context());
    lumo::DrawTarget to = lumo::drawTarget(dc);
    if (!from.valid() || !to.valid())
        return FALSE;
    // Only the part of the source inside its image moves.
    const QRect wanted(from.origin.x() + xSrc, from.origin.y() + ySrc, nWidth, nHeight);
    const QRect present = wanted & QRect(0, 0, from.image->width(), from.image->height());
    if (present.isEmpty())
        return TRUE;
    // Copies within one image read from a snapshot of the source.
    const QImage snapshot = from.image == to.image ? from.image->copy() : QImage();
    const QImage& source = snapshot.isNull() ? *from.image : snapshot;
    const QRect part = turnedPart(present.translated(-wanted.topLeft()), nWidth, nHeight, turns)
                           .translated(dest.topLeft() + to.origin);
    const QRegion area = to.clip & part & QRect(0, 0, to.image->width(), to.image->height());
    for (const QRect& r : area)
        turnInto(to, r, dest.topLeft() + to.origin, source, from.bottomUp, wanted.topLeft(),
                 walkFor(nWidth, nHeight, turns));
    lumo::presentIfWindow(dc);
    return TRUE;
}
