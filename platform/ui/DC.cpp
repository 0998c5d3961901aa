#include "platform/ui/DC.h"

#include "platform/ui/GdiState.h"
#include "platform/ui/Raster.h"
#include "platform/ui/WindowState.h"

#include <algorithm>
#include <memory>
#include <utility>

using lumo::DeviceContext;

IMPLEMENT_DYNAMIC(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)

CDC::~CDC() {
    DeviceContext* dc = lumo::deviceContext(m_hDC);
    if (!dc)
        return;
    if (dc->temporary.get() == this)
        return;
    if (dc->owner == this)
        dc->owner = nullptr;
    if (m_owned)
        ::DeleteDC(m_hDC);
    m_hDC = nullptr;
}

CDC* CDC::FromHandle(HDC hDC) {
    DeviceContext* dc = lumo::deviceContext(hDC);
    if (!dc)
        return nullptr;
    if (dc->owner)
        return dc->owner;
    if (!dc->temporary) {
        dc->temporary = std::make_unique<CDC>();
        dc->temporary->m_hDC = hDC;
    }
    return dc->temporary.get();
}

BOOL CDC::Attach(HDC hDC) {
    DeviceContext* dc = lumo::deviceContext(hDC);
    if (m_hDC || !dc)
        return FALSE;
    m_hDC = hDC;
    if (!dc->owner)
        dc->owner = this;
    return TRUE;
}

HDC CDC::Detach() {
    if (DeviceContext* dc = lumo::deviceContext(m_hDC))
        if (dc->owner == this)
            dc->owner = nullptr;
    m_owned = false;
    return std::exchange(m_hDC, nullptr);
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
    if (!Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr)))
        return FALSE;
    m_owned = true;
    return TRUE;
}

BOOL CDC::DeleteDC() {
    if (!m_hDC)
        return FALSE;
    const HDC hdc = Detach();
    return ::DeleteDC(hdc);
}

lumo::DeviceContext* CDC::context() const {
    return lumo::deviceContext(m_hDC);
}

CFont* CDC::SelectObject(CFont* pFont) {
    return static_cast<CFont*>(
        CGdiObject::FromHandle(::SelectObject(m_hDC, pFont ? pFont->m_hObject : nullptr)));
}
CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
    return static_cast<CBitmap*>(
        CGdiObject::FromHandle(::SelectObject(m_hDC, pBitmap ? pBitmap->m_hObject : nullptr)));
}
CGdiObject* CDC::SelectStockObject(int nIndex) {
    return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(nIndex)));
}

COLORREF CDC::SetTextColor(COLORREF crColor) {
    return ::SetTextColor(m_hDC, crColor);
}
COLORREF CDC::GetTextColor() const {
    return context() ? context()->textColor : 0;
}
COLORREF CDC::SetBkColor(COLORREF crColor) {
    return ::SetBkColor(m_hDC, crColor);
}
COLORREF CDC::GetBkColor() const {
    return context() ? context()->bkColor : 0;
}
int CDC::SetBkMode(int nBkMode) {
    return ::SetBkMode(m_hDC, nBkMode);
}
int CDC::GetDeviceCaps(int nIndex) const {
    return ::GetDeviceCaps(m_hDC, nIndex);
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
    if (lpRect)
        FillSolidRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                      lpRect->bottom - lpRect->top, clr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
    if (DeviceContext* dc = context()) {
        lumo::fillLogical(dc, QRect(x, y, cx, cy), clr);
        // The original sets the background colour as a side effect.
        dc->bkColor = clr;
    }
}

CPoint CDC::MoveTo(int x, int y) {
    DeviceContext* dc = context();
    if (!dc)
        return CPoint();
    const CPoint previous(dc->current);
    dc->current = POINT{x, y};
    return previous;
}

BOOL CDC::LineTo(int x, int y) {
    DeviceContext* dc = context();
    if (!dc)
        return FALSE;
    const POINT from = dc->current;
    dc->current = POINT{x, y};
    if (!dc->pen || dc->pen->penStyle == PS_NULL || (from.x == x && from.y == y))
        return TRUE;
    const int w = dc->pen->penWidth;
    const COLORREF c = dc->pen->color;
    // The end point is not drawn, as on the original platform.
    if (from.y == y) {
        const int left = std::min(from.x, x == from.x ? x : (x > from.x ? x - 1 : x + 1));
        const int right = std::max(from.x, x > from.x ? x - 1 : x + 1);
        lumo::fillLogical(dc, QRect(left, y - (w - 1) / 2, right - left + 1, w), c);
    } else if (from.x == x) {
        const int top = std::min(from.y, y > from.y ? y - 1 : y + 1);
        const int bottom = std::max(from.y, y > from.y ? y - 1 : y + 1);
        lumo::fillLogical(dc, QRect(x - (w - 1) / 2, top, w, bottom - top + 1), c);
    } else {
        lumo::DrawTarget t = lumo::drawTarget(dc);
        if (!t.valid())
            return FALSE;
        lumo::TargetPainter p(t);
        p->setPen(QPen(lumo::qcolor(c), w <= 1 ? 0 : w));
        p->drawLine(QPoint(from.x, from.y), QPoint(x, y));
    }
    lumo::presentIfWindow(dc);
    return TRUE;
}

BOOL CDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop) {
    DeviceContext* dc = context();
    if (!dc)
        return FALSE;
    const QRect rect(x, y, nWidth, nHeight);
    switch (dwRop) {
    case BLACKNESS:
        lumo::fillLogical(dc, rect, RGB(0, 0, 0));
        return TRUE;
    case WHITENESS:
        lumo::fillLogical(dc, rect, RGB(255, 255, 255));
        return TRUE;
    case PATCOPY:
        if (dc->brush && !dc->brush->nullBrush)
            lumo::fillLogical(dc, rect, dc->brush->color);
        return TRUE;
    case DSTINVERT: {
        lumo::DrawTarget t = lumo::drawTarget(dc);
        if (!t.valid())
            return FALSE;
        const QRegion area =
            t.clip & rect.translated(t.origin) & QRect(0, 0, t.image->width(), t.image->height());
        const bool bgr = lumo::is24(*t.image);
        for (const QRect& r : area)
            for (int yy = r.top(); yy <= r.bottom(); ++yy) {
                unsigned char* row = lumo::rowOf(*t.image, t.bottomUp, yy);
                for (int xx = r.left(); xx <= r.right(); ++xx)
                    lumo::writePixel(row, bgr, xx, ~lumo::readPixel(row, bgr, xx));
            }
        return TRUE;
    }
    default:
        return FALSE;
    }
}

BOOL CDC::DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags) {
    DeviceContext* dc = context();
    if (!dc || !lpRect)
        return FALSE;
    CRect r(*lpRect);
    auto frame = [&](COLORREF topLeft, COLORREF bottomRight) {
        // Top and left first; bottom and right own the far corners.
        if (nFlags & BF_TOP)
            lumo::fillLogical(dc, QRect(r.left, r.top, r.Width(), 1), topLeft);
        if (nFlags & BF_LEFT)
            lumo::fillLogical(dc, QRect(r.left, r.top, 1, r.Height()), topLeft);
        if (nFlags & BF_BOTTOM)
            lumo::fillLogical(dc, QRect(r.left, r.bottom - 1, r.Width(), 1), bottomRight);
        if (nFlags & BF_RIGHT)
            lumo::fillLogical(dc, QRect(r.right - 1, r.top, 1, r.Height()), bottomRight);
        if (nFlags & BF_LEFT)
            ++r.left;
        if (nFlags & BF_TOP)
            ++r.top;
        if (nFlags & BF_RIGHT)
            --r.right;
        if (nFlags & BF_BOTTOM)
            --r.bottom;
    };
    if (nEdge & BDR_RAISEDOUTER)
        frame(GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
    else if (nEdge & BDR_SUNKENOUTER)
        frame(GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    if (nEdge & BDR_RAISEDINNER)
        frame(GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    else if (nEdge & BDR_SUNKENINNER)
        frame(GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
    if ((nFlags & BF_MIDDLE) && !r.IsRectEmpty())
        lumo::fillLogical(dc, QRect(r.left, r.top, r.Width(), r.Height()),
                          GetSysColor(COLOR_BTNFACE));
    if (nFlags & BF_ADJUST)
        *lpRect = r;
    lumo::presentIfWindow(dc);
    return TRUE;
}

COLORREF CDC::SetPixel(int x, int y, COLORREF crColor) {
    DeviceContext* dc = context();
    if (!dc)
        return static_cast<COLORREF>(-1);
    lumo::fillLogical(dc, QRect(x, y, 1, 1), crColor);
    return crColor;
}

COLORREF CDC::GetPixel(int x, int y) const {
    lumo::DrawTarget t = lumo::drawTarget(context());
    if (!t.valid())
        return static_cast<COLORREF>(-1);
    const QPoint p = QPoint(x, y) + t.origin;
    if (!QRect(0, 0, t.image->width(), t.image->height()).contains(p))
        return static_cast<COLORREF>(-1);
    return lumo::colorref(lumo::readPixel(lumo::constRowOf(*t.image, t.bottomUp, p.y()),
                                          lumo::is24(*t.image), p.x()));
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                 DWORD dwRop) {
    DeviceContext* dc = context();
    if (!dc)
        return FALSE;
    lumo::RasterOp op;
    if (!lumo::rasterOpOf(dwRop, op))
        return PatBlt(x, y, nWidth, nHeight, dwRop);
    DeviceContext* src = pSrcDC ? pSrcDC->context() : nullptr;
    lumo::DrawTarget from = lumo::drawTarget(src);
    lumo::DrawTarget to = lumo::drawTarget(dc);
    if (!from.valid() || !to.valid() || nWidth <= 0 || nHeight <= 0)
        return FALSE;
    const QRect srcRect(from.origin.x() + xSrc, from.origin.y() + ySrc, nWidth, nHeight);
    if (from.image == to.image) {
        // Overlapping copies within one image read from a snapshot.
        const QImage snapshot = from.image->copy();
        lumo::blitToTarget(to, x, y, snapshot, from.bottomUp, srcRect, op);
    } else {
        lumo::blitToTarget(to, x, y, *from.image, from.bottomUp, srcRect, op);
    }
    lumo::presentIfWindow(dc);
    return TRUE;
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
    const HDC hdc = ::BeginPaint(m_hWnd, &m_ps);
    if (hdc)
        Attach(hdc);
}

CPaintDC::~CPaintDC() {
    if (m_hDC) {
        Detach();
        ::EndPaint(m_hWnd, &m_ps);
    }
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
    const HDC hdc = ::GetDC(m_hWnd);
    if (hdc)
        Attach(hdc);
}

CClientDC::~CClientDC() {
    if (m_hDC) {
        const HDC hdc = Detach();
        ::ReleaseDC(m_hWnd, hdc);
    }
}
