#include "PagePainter.h"

#include "ControlBar.h"
#include "ImageClient.h"
#include "PageState.h"

#include "reader/document/DavaroDiroDocument.h"
#include "reader/document/ReaderSettings.h"

#include "platform/ui/Window.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace yomite {
namespace {

constexpr wchar_t LOADING[] = L"NOW LOADING...";
constexpr int LOADING_MARGIN = 5;
// A bitmap information block with room for 256 colour entries.
constexpr size_t BITMAP_INFO_BYTES = 1064;

int width(const RECT& r) {
    return r.right - r.left;
}

int height(const RECT& r) {
    return r.bottom - r.top;
}

void preparePaint(CDC* dc) {
    const PageColours c = pageColours();
    dc->SelectStockObject(c.pen);
    dc->SetBkColor(c.background);
    dc->SetBkMode(OPAQUE);
    dc->SetTextColor(c.text);
}

} // namespace

RECT PagePainter::linesArea(int lines) const {
    if (lines <= 0) {
        const RECT first = slot(0);
        return {first.left, first.top, first.left, first.top};
    }
    const RECT first = slot(0);
    const RECT last = slot(lines - 1);
    return {std::min(first.left, last.left), std::min(first.top, last.top),
            std::max(first.right, last.right), std::max(first.bottom, last.bottom)};
}

int PagePainter::pageRows(int top, int lines) const {
    CDavaroDiroDocument* document = m_page.document;
    // In full notation a page break ends a page early; the rest stays blank.
    if (!document || !document->hasNotation() || m_scrollRange != 1)
        return lines;
    const int next = document->getPageStart(document->m_currentIndex + 1);
    return next < top ? lines : std::min(lines, next - top);
}

void PagePainter::present(CDC* screen, CDC* source, const RECT& rect, POINT from) const {
    if (!m_page.rotation.turned()) {
        screen->BitBlt(rect.left, rect.top, width(rect), height(rect), source, from.x, from.y,
                       SRCCOPY);
        return;
    }
    const auto corners = m_page.rotation.screenCorners(rect);
    screen->PlgBlt(corners.data(), source, from.x, from.y, width(rect), height(rect));
}

void PagePainter::present(CDC* screen, CDC* source, const RECT& rect) const {
    present(screen, source, rect, POINT{rect.left, rect.top});
}

void PagePainter::paint(CDC* screen) {
    if (!m_page.pageBuffer.exists() || !m_page.document)
        return;
    CDC* page = m_page.pageBuffer.dc.get();
    const bool withWallpaper = m_page.hasWallpaper() && m_page.composeBuffer.exists();
    preparePaint(page);
    preparePaint(screen);

    const int top = m_page.topLine();
    if (top != m_page.lastDrawnTop) {
        // Without a wallpaper the lines go straight to the screen and are
        // copied back; with one they are merged on their way there; on a
        // turned screen they are drawn in the page and shown turned.
        drawLines(screen, top, !withWallpaper && !m_page.rotation.turned(), withWallpaper);
        m_page.lastDrawnTop = top;
    }
    drawPositionNumbers(m_page);
    drawControlBar(page, m_page, m_page.bar.functionBarShown, false);
    const RECT bar{m_page.pageNumberRect.left, 0, m_page.pageNumberRect.right, m_page.pageSize.cy};
    present(screen, page, bar);
}

void PagePainter::drawLines(CDC* screen, int top, bool direct, bool withWallpaper) {
    CDC* page = m_page.pageBuffer.dc.get();
    CDC* target = direct ? screen : page;
    const int lines = m_page.linesPerPage();
    const COLORREF background = pageColours().background;
    const RECT area = linesArea(lines);
    const int previous = m_page.lastDrawnTop;
    if (m_scrollRange == 0 && previous != -2 && std::abs(top - previous) == 1) {
        const int step = top - previous;
        const POINT shift = forwardShift();
        target->BitBlt(area.left, area.top, width(area), height(area), page,
                       area.left - step * shift.x, area.top - step * shift.y, SRCCOPY);
        const bool forward = step > 0;
        const RECT rect = slot(forward ? lines - 1 : 0);
        page->FillSolidRect(&rect, background);
        drawLine(page, forward ? top + lines - 1 : top, lineBand(rect));
        if (direct)
            present(screen, page, rect);
    } else {
        const bool titlePage = m_scrollRange == 1 && top == 0;
        const int rows = titlePage ? std::min(2, lines) : pageRows(top, lines);
        for (int i = 0; i < rows; ++i) {
            const RECT rect = slot(i);
            target->FillSolidRect(&rect, background);
            drawLine(target, top + i, lineBand(rect));
        }
        if (rows < lines) {
            const RECT rest = remainder(rows);
            if (rest.bottom > rest.top && rest.right > rest.left)
                target->FillSolidRect(&rest, background);
        }
    }
    if (withWallpaper)
        mergeWithWallpaper(screen, top, lines);
    else if (direct)
        page->BitBlt(area.left, area.top, width(area), height(area), screen, area.left, area.top,
                     SRCCOPY);
    else
        present(screen, page, area);
}

void PagePainter::mergeWithWallpaper(CDC* screen, int top, int lines) {
    CDC* page = m_page.pageBuffer.dc.get();
    CDC* compose = m_page.composeBuffer.dc.get();
    CDC* wallpaper = m_page.wallpaperBuffer.dc.get();
    const RECT& text = m_page.textRect;
    const DWORD rop = pageColours().wallpaperRop;
    const bool upward = m_page.lastDrawnTop == top - 1;
    for (int k = 0; k < lines; ++k) {
        const RECT band = mergeBand(upward ? lines - 1 - k : k);
        compose->BitBlt(band.left, band.top, width(band), height(band), page, band.left, band.top,
                        SRCCOPY);
        compose->BitBlt(band.left, band.top, width(band), height(band), wallpaper,
                        band.left - text.left, band.top - text.top, rop);
        present(screen, compose, band);
    }
}

bool PagePainter::erase(CDC* screen) {
    if (!m_page.pageBuffer.exists())
        return false;
    const RECT whole{0, 0, m_page.pageSize.cx, m_page.pageSize.cy};
    CDC* page = m_page.pageBuffer.dc.get();
    const RECT& text = m_page.textRect;
    const DWORD rop = pageColours().wallpaperRop;
    if (!m_page.rotation.turned()) {
        present(screen, page, whole);
        if (m_page.hasWallpaper())
            screen->BitBlt(text.left, text.top, width(text), height(text),
                           m_page.wallpaperBuffer.dc.get(), 0, 0, rop);
        return true;
    }
    // Merged in the page first: a turned copy only copies.
    if (!m_page.hasWallpaper() || !m_page.composeBuffer.exists()) {
        present(screen, page, whole);
        return true;
    }
    CDC* compose = m_page.composeBuffer.dc.get();
    compose->BitBlt(0, 0, whole.right, whole.bottom, page, 0, 0, SRCCOPY);
    compose->BitBlt(text.left, text.top, width(text), height(text), m_page.wallpaperBuffer.dc.get(),
                    0, 0, rop);
    present(screen, compose, whole);
    return true;
}

void PagePainter::showIllustration(CDC* screen) {
    if (!m_page.illustrationBitmap)
        return;
    CDC temporary;
    temporary.CreateCompatibleDC(screen);
    CBitmap* old = temporary.SelectObject(m_page.illustrationBitmap.get());
    present(screen, &temporary, RECT{0, 0, m_page.pageSize.cx, m_page.pageSize.cy});
    temporary.SelectObject(old);
}

void PagePainter::showLoadingNotice(CDC* screen) const {
    const int W = m_page.pageSize.cx;
    const int H = m_page.pageSize.cy;
    ReaderBuffer notice;
    CSize extent;
    {
        CDC* measure = m_page.pageBuffer.dc.get();
        if (!measure)
            return;
        CFont* old = measure->SelectObject(&m_page.fonts.small);
        extent = measure->GetTextExtent(LOADING, static_cast<int>(std::size(LOADING)) - 1);
        if (old)
            measure->SelectObject(old);
    }
    const RECT box{(W - extent.cx) / 2 - LOADING_MARGIN, (H - extent.cy) / 2 - LOADING_MARGIN,
                   (W + extent.cx) / 2 + LOADING_MARGIN, (H + extent.cy) / 2 + LOADING_MARGIN};
    // Drawn off screen and shown as the page is, turned or not.
    if (!notice.create(screen, width(box), height(box)))
        return;
    CDC* dc = notice.dc.get();
    RECT inside{0, 0, width(box), height(box)};
    CFont* old = dc->SelectObject(&m_page.fonts.small);
    dc->DrawEdge(&inside, BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
    dc->SetBkMode(TRANSPARENT);
    dc->DrawText(LOADING, -1, &inside,
                 DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
    if (old)
        dc->SelectObject(old);
    present(screen, dc, box, POINT{0, 0});
}

bool PagePainter::composeIllustration(CWnd& view, const PictureSource& picture) {
    const int W = m_page.pageSize.cx;
    const int H = m_page.pageSize.cy;
    std::vector<unsigned char> block(BITMAP_INFO_BYTES, 0);
    auto* info = reinterpret_cast<BITMAPINFO*>(block.data());
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = W;
    info->bmiHeader.biHeight = H;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = 24;
    info->bmiHeader.biCompression = BI_RGB;

    CClientDC window(&view);
    showLoadingNotice(&window);

    void* bits = nullptr;
    HBITMAP section =
        ::CreateDIBSection(window.GetSafeHdc(), info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (section && bits && m_page.pageBuffer.exists()) {
        m_page.illustrationBitmap = std::make_unique<CBitmap>();
        m_page.illustrationBitmap->Attach(section);
        CDC temporary;
        temporary.CreateCompatibleDC(&window);
        CBitmap* initial = temporary.SelectObject(m_page.illustrationBitmap.get());
        temporary.BitBlt(0, 0, W, H, m_page.pageBuffer.dc.get(), 0, 0, SRCCOPY);
        if (m_page.hasWallpaper()) {
            const RECT& text = m_page.textRect;
            temporary.BitBlt(text.left, text.top, width(text), height(text),
                             m_page.wallpaperBuffer.dc.get(), 0, 0, pageColours().wallpaperRop);
        }
        ok = ::composeIllustration(&info->bmiHeader, bits, picture, &temporary);
        temporary.SelectObject(initial);
    } else if (section) {
        ::DeleteObject(section);
    }
    if (!ok) {
        m_page.illustrationBitmap.reset();
        view.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(window.GetSafeHdc()), 0);
    }
    return ok;
}

} // namespace yomite
