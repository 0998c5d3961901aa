#include "platform/ui/Raster.h"

#include "platform/ui/WindowState.h"

#include <algorithm>
#include <cstring>

namespace lumo {
namespace {

inline std::uint32_t combine(RasterOp op, std::uint32_t d, std::uint32_t s) {
    switch (op) {
    case RasterOp::Copy:
        return s;
    case RasterOp::And:
        return d & s;
    case RasterOp::Paint:
        return d | s;
    case RasterOp::Invert:
        return (d ^ s) | 0xFF000000u;
    }
    return s;
}

} // namespace

bool rasterOpOf(DWORD rop, RasterOp& op) {
    switch (rop) {
    case SRCCOPY:
        op = RasterOp::Copy;
        return true;
    case SRCAND:
        op = RasterOp::And;
        return true;
    case SRCPAINT:
        op = RasterOp::Paint;
        return true;
    case SRCINVERT:
        op = RasterOp::Invert;
        return true;
    default:
        return false;
    }
}

void blitBlock(QImage& dst, bool dstBottomUp, int dx, int dy, const QImage& src, bool srcBottomUp,
               int sx, int sy, int w, int h, RasterOp op) {
    const bool dst24 = is24(dst);
    const bool src24 = is24(src);
    for (int row = 0; row < h; ++row) {
        unsigned char* d = rowOf(dst, dstBottomUp, dy + row);
        const unsigned char* s = constRowOf(src, srcBottomUp, sy + row);
        if (!dst24 && !src24) {
            auto* dp = reinterpret_cast<std::uint32_t*>(d) + dx;
            const auto* sp = reinterpret_cast<const std::uint32_t*>(s) + sx;
            switch (op) {
            case RasterOp::Copy:
                std::memcpy(dp, sp, static_cast<size_t>(w) * 4);
                break;
            case RasterOp::And:
                for (int i = 0; i < w; ++i)
                    dp[i] &= sp[i];
                break;
            case RasterOp::Paint:
                for (int i = 0; i < w; ++i)
                    dp[i] |= sp[i];
                break;
            case RasterOp::Invert:
                for (int i = 0; i < w; ++i)
                    dp[i] = (dp[i] ^ sp[i]) | 0xFF000000u;
                break;
            }
            continue;
        }
        if (dst24 && src24 && op == RasterOp::Copy) {
            std::memcpy(d + 3 * dx, s + 3 * sx, static_cast<size_t>(w) * 3);
            continue;
        }
        for (int i = 0; i < w; ++i) {
            const std::uint32_t sp = readPixel(s, src24, sx + i);
            const std::uint32_t dp = op == RasterOp::Copy ? 0 : readPixel(d, dst24, dx + i);
            writePixel(d, dst24, dx + i, combine(op, dp, sp));
        }
    }
}

void blitToTarget(DrawTarget& t, int x, int y, const QImage& src, bool srcBottomUp, QRect srcRect,
                  RasterOp op) {
    QRect dstRect(t.origin.x() + x, t.origin.y() + y, srcRect.width(), srcRect.height());
    // Keep the source inside its image, moving the destination with it.
    const QRect srcBounds(0, 0, src.width(), src.height());
    const QRect clippedSrc = srcRect & srcBounds;
    if (clippedSrc.isEmpty())
        return;
    dstRect.adjust(clippedSrc.left() - srcRect.left(), clippedSrc.top() - srcRect.top(),
                   clippedSrc.right() - srcRect.right(), clippedSrc.bottom() - srcRect.bottom());
    const QPoint shift = clippedSrc.topLeft() - dstRect.topLeft();
    const QRegion area = t.clip & dstRect & QRect(0, 0, t.image->width(), t.image->height());
    for (const QRect& r : area)
        blitBlock(*t.image, t.bottomUp, r.left(), r.top(), src, srcBottomUp, r.left() + shift.x(),
                  r.top() + shift.y(), r.width(), r.height(), op);
}

TargetPainter::TargetPainter(DrawTarget& t) : m_target(t) {
    if (!t.bottomUp) {
        m_painter.begin(t.image);
        // A clip covering the whole image costs time and changes nothing.
        const QRect whole(0, 0, t.image->width(), t.image->height());
        const bool coversAll = t.clip.rectCount() == 1 && t.clip.boundingRect().contains(whole);
        if (!coversAll && t.clip.rectCount() == 1)
            m_painter.setClipRect(t.clip.boundingRect());
        else if (!coversAll)
            m_painter.setClipRegion(t.clip);
        m_painter.translate(t.origin);
        return;
    }
    m_area = t.clip.boundingRect() & QRect(0, 0, t.image->width(), t.image->height());
    m_scratch =
        QImage(std::max(m_area.width(), 1), std::max(m_area.height(), 1), QImage::Format_RGB32);
    if (!m_area.isEmpty())
        blitBlock(m_scratch, false, 0, 0, *t.image, true, m_area.left(), m_area.top(),
                  m_area.width(), m_area.height(), RasterOp::Copy);
    m_painter.begin(&m_scratch);
    m_painter.setClipRegion(t.clip.translated(-m_area.topLeft()));
    m_painter.translate(t.origin - m_area.topLeft());
}

void TargetPainter::finish() {
    if (!m_painter.isActive())
        return;
    m_painter.end();
    if (!m_target.bottomUp || m_area.isEmpty())
        return;
    // Only the clip area may change.
    for (const QRect& r : m_target.clip& m_area)
        blitBlock(*m_target.image, true, r.left(), r.top(), m_scratch, false,
                  r.left() - m_area.left(), r.top() - m_area.top(), r.width(), r.height(),
                  RasterOp::Copy);
}

void fillLogical(DeviceContext* dc, const QRect& rect, COLORREF color) {
    DrawTarget t = drawTarget(dc);
    if (!t.valid() || rect.isEmpty())
        return;
    // Solid fills go straight to the pixels (exact and cheap).
    const QRect device = rect.translated(t.origin);
    const QRegion area = t.clip & device & QRect(0, 0, t.image->width(), t.image->height());
    const std::uint32_t px = rgb32(color);
    const bool bgr = is24(*t.image);
    for (const QRect& r : area)
        for (int y = r.top(); y <= r.bottom(); ++y) {
            unsigned char* row = rowOf(*t.image, t.bottomUp, y);
            if (!bgr) {
                std::fill_n(reinterpret_cast<std::uint32_t*>(row) + r.left(), r.width(), px);
                continue;
            }
            for (int x = r.left(); x <= r.right(); ++x)
                writePixel(row, true, x, px);
        }
}

void presentIfWindow(DeviceContext* dc) {
    if (CWnd* wnd = CWnd::FromHandle(dc->window))
        wnd->state()->presentFrame();
}

} // namespace lumo
