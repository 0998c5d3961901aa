// PlgBlt for the parallelograms a turned screen needs: the source rectangle
// turned by a multiple of 90 degrees, at its own size.

#include "platform/ui/DC.h"

#include "platform/ui/GdiState.h"
#include "platform/ui/Raster.h"

#include <QTransform>

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
    QImage block(present.size(), QImage::Format_RGB32);
    lumo::blitBlock(block, false, 0, 0, *from.image, from.bottomUp, present.left(), present.top(),
                    present.width(), present.height(), lumo::RasterOp::Copy);
    const QImage turned = block.transformed(QTransform().rotate(90.0 * turns));
    const QRect part = turnedPart(present.translated(-wanted.topLeft()), nWidth, nHeight, turns)
                           .translated(dest.topLeft());
    lumo::blitToTarget(to, part.left(), part.top(), turned, false, turned.rect(),
                       lumo::RasterOp::Copy);
    lumo::presentIfWindow(dc);
    return TRUE;
}
