#include "DavaroDiroView.h"

#include "ImageClient.h"
#include "NotatedRowPainter.h"
#include "RubyPainter.h"
#include "YomiteResources.h"

#include "reader/document/DavaroDiroDocument.h"
#include "reader/document/ReaderSettings.h"

#include "platform/core/Clock.h"
#include "platform/ui/Resources.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <vector>

IMPLEMENT_DYNCREATE(CDavaroDiroView, CView)

BEGIN_MESSAGE_MAP(CDavaroDiroView, CView)
ON_WM_SIZE()
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_MOUSEWHEEL()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_TIMER()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

constexpr wchar_t ELLIPSIS = 0x2026;
constexpr COLORREF CLOSE_ARMED_FILL = RGB(255, 216, 216);

struct Colours {
    COLORREF text;
    COLORREF background;
    int pen;
    DWORD wallpaperRop;
};

Colours colours() {
    if (m_displayColor == 0)
        return {RGB(0, 0, 0), RGB(255, 255, 255), BLACK_PEN, SRCAND};
    return {RGB(255, 255, 255), RGB(0, 0, 0), WHITE_PEN, m_displayColor == 1 ? SRCPAINT : SRCAND};
}

// A hand-edited size far beyond any screen would make the font engine
// render glyphs of hundreds of thousands of pixels; sizes stop here.
constexpr int MAX_POINTS = 1000;

// Leading decimal digits of a size setting; no digits give 0.
int leadingNumber(const CString& text) {
    int value = 0;
    for (wchar_t c : text.str()) {
        if (c < L'0' || c > L'9')
            break;
        value = std::min(value * 10 + (c - L'0'), MAX_POINTS);
    }
    return value;
}

int charWidth(CDC* dc, CFont* font) {
    CFont* old = font->GetSafeHandle() ? dc->SelectObject(font) : nullptr;
    int width = dc->GetTextExtent(L"A", 1).cx;
    if (old)
        dc->SelectObject(old);
    return width;
}

} // namespace

bool ReaderBuffer::create(CDC* compatible, int cx, int cy) {
    release();
    dc = std::make_unique<CDC>();
    bitmap = std::make_unique<CBitmap>();
    if (!dc->CreateCompatibleDC(compatible) ||
        !bitmap->CreateCompatibleBitmap(compatible, cx, cy)) {
        dc.reset();
        bitmap.reset();
        return false;
    }
    initial = dc->SelectObject(bitmap.get());
    return true;
}

void ReaderBuffer::release() {
    if (dc && initial)
        dc->SelectObject(initial);
    initial = nullptr;
    bitmap.reset();
    dc.reset();
}

CDavaroDiroView::CDavaroDiroView() {
    pickWallpaper();
}

CDavaroDiroView::~CDavaroDiroView() {
    deleteBuffers();
    deleteFonts();
}

CDavaroDiroDocument* CDavaroDiroView::GetDocument() const {
    return dynamic_cast<CDavaroDiroDocument*>(CView::GetDocument());
}

int CDavaroDiroView::pointsToPixels(CDC* dc, int points) {
    return points * dc->GetDeviceCaps(LOGPIXELSY) / 72;
}

void CDavaroDiroView::deleteFonts() {
    bodyFont.DeleteObject();
    rubyFont.DeleteObject();
    smallFont.DeleteObject();
    m_notationFonts.release();
}

void CDavaroDiroView::createFonts() {
    deleteFonts();
    CClientDC dc(this);
    auto make = [](CFont& font, int height, const CString& face) {
        yomite::createReaderFont(font, height, face);
    };
    m_bodyPx = pointsToPixels(&dc, leadingNumber(m_textFontSize));
    m_rubyPx = m_showRuby ? pointsToPixels(&dc, leadingNumber(m_rubyFontSize)) : 0;
    make(bodyFont, m_bodyPx, m_textFont);
    if (m_showRuby)
        make(rubyFont, m_rubyPx, m_rubyFont);
    make(smallFont, 16, m_textFont);
    m_bodyCharWidth = charWidth(&dc, &bodyFont);
    m_rubyCharWidth = m_showRuby ? charWidth(&dc, &rubyFont) : 0;
    // Small text takes the ruby font's size, also when ruby is not shown.
    m_notationFonts.create(&dc, m_textFont, m_bodyPx,
                           pointsToPixels(&dc, leadingNumber(m_rubyFontSize)), m_bodyPx + m_rubyPx,
                           yomite::FREE_BELOW_TEXT + m_lineSpace);
}

CDavaroDiroView::RowMetrics CDavaroDiroView::rowMetrics() const {
    RowMetrics m{};
    m.bodyPx = m_bodyPx;
    m.rubyPx = m_showRuby ? m_rubyPx : 0;
    m.pitch = std::max(1, m.bodyPx + m.rubyPx + m_lineSpace);
    return m;
}

int CDavaroDiroView::pageRows(int top, int lines) const {
    CDavaroDiroDocument* document = GetDocument();
    // In full notation a page break ends a page early; the rest stays blank.
    if (!document || !document->hasNotation() || m_scrollRange != 1)
        return lines;
    const int next = document->getPageStart(document->m_currentIndex + 1);
    return next < top ? lines : std::min(lines, next - top);
}

yomite::RowFrame CDavaroDiroView::rowFrame(const RECT& row) const {
    CDavaroDiroDocument* document = GetDocument();
    yomite::RowFrame frame;
    frame.row = row;
    frame.rubyPx = rowMetrics().rubyPx;
    frame.lineSpace = m_lineSpace;
    frame.halfWidth = std::max(1, m_bodyCharWidth);
    frame.rubyHalfWidth = std::max(1, m_rubyCharWidth);
    frame.columns = document ? document->getLayoutMetrics().columnsPerLine : 0;
    frame.bodyPx = m_bodyPx;
    return frame;
}

int CDavaroDiroView::linesPerPage() const {
    CDavaroDiroDocument* document = GetDocument();
    return document ? document->getLayoutMetrics().linesPerPage : 0;
}

int CDavaroDiroView::topLine() const {
    CDavaroDiroDocument* document = GetDocument();
    if (!document)
        return 0;
    if (m_scrollRange == 0)
        return document->m_currentIndex;
    if (m_scrollRange == 1)
        return document->getPageStart(document->m_currentIndex);
    return 0;
}

void CDavaroDiroView::recalcLayout(int cx, int cy) {
    CDavaroDiroDocument* document = GetDocument();
    SourcePosition pos;
    if (document)
        pos = document->positionOf(document->m_currentIndex);

    const int charW = std::max(1, m_bodyCharWidth);
    const RowMetrics m = rowMetrics();

    textRect = {0, 0, cx, cy};
    const bool right = m_positionControlbar == 0;
    if (right)
        textRect.right = cx - BAR_WIDTH;
    else
        textRect.left = BAR_WIDTH;

    const int lines = cy / m.pitch;
    const int columns = (cx - BAR_WIDTH) / charW - 2;
    if (document) {
        document->layout(columns, lines);
        document->m_currentIndex = document->indexOf(pos);
    }

    const int barLeft = right ? cx - BAR_WIDTH : 0;
    const int barRight = barLeft + BAR_WIDTH;
    pageNumberRect = {barLeft, 0, barRight, 32};

    pageButtons.clear();
    const int h5 = (cy - 76) / 4;
    for (int i = 0; i < 4; ++i)
        pageButtons.push_back({barLeft, 32 + i * h5, barRight, 32 + (i + 1) * h5});
    pageButtons.push_back({barLeft, 32 + 4 * h5, barRight, cy});

    functionButtons.clear();
    functionButtons.push_back({barLeft, 32, barRight, 80});
    const int h6 = (cy - 124) / 4;
    for (int j = 1; j <= 4; ++j)
        functionButtons.push_back({barLeft, 80 + (j - 1) * h6, barRight, 80 + j * h6});
    functionButtons.push_back({barLeft, 80 + 4 * h6, barRight, cy});

    lastDrawnTop = -2;
}

void CDavaroDiroView::deleteBuffers() {
    pageBuffer.release();
    wallpaperBuffer.release();
    composeBuffer.release();
    releaseIllustration();
}

void CDavaroDiroView::releaseIllustration() {
    delete illustrationBitmap;
    illustrationBitmap = nullptr;
}

void CDavaroDiroView::createBuffers(int cx, int cy) {
    deleteBuffers();
    cx = std::max(cx, 1);
    cy = std::max(cy, 1);
    CClientDC window(this);
    const Colours c = colours();
    if (pageBuffer.create(&window, cx, cy)) {
        CDC* dc = pageBuffer.dc.get();
        dc->SetBkColor(c.background);
        dc->SetBkMode(OPAQUE);
        dc->SetTextColor(c.text);
        dc->FillSolidRect(0, 0, cx, cy, c.background);
        drawControlBar(dc, functionBarShown, true);
    }
    if (!wallpaperFile.IsEmpty() && pageBuffer.exists()) {
        const SIZE size{std::max<LONG>(1, textRect.right - textRect.left),
                        std::max<LONG>(1, textRect.bottom - textRect.top)};
        if (wallpaperBuffer.create(pageBuffer.dc.get(), size.cx, size.cy))
            renderWallpaper(wallpaperFile, m_styleWallpaper, size, m_displayColor == 0,
                            m_alphaWallpaper * 16, wallpaperBuffer.dc.get());
        composeBuffer.create(pageBuffer.dc.get(), cx, cy);
    }
    Invalidate(TRUE);
}

BOOL CDavaroDiroView::OnEraseBkgnd(CDC* dc) {
    if (!dc || !pageBuffer.exists())
        return CWnd::OnEraseBkgnd(dc);
    CRect client;
    GetClientRect(&client);
    dc->BitBlt(0, 0, client.Width(), client.Height(), pageBuffer.dc.get(), 0, 0, SRCCOPY);
    if (!wallpaperFile.IsEmpty() && wallpaperBuffer.exists())
        dc->BitBlt(textRect.left, textRect.top, textRect.right - textRect.left,
                   textRect.bottom - textRect.top, wallpaperBuffer.dc.get(), 0, 0,
                   colours().wallpaperRop);
    return TRUE;
}

void CDavaroDiroView::OnUpdate(CView*, LPARAM, CObject*) {
    // Every move ends here; before the restore the index is not the reader's.
    if (CDavaroDiroDocument* document = GetDocument(); document && positionRestored)
        document->noteReadingPosition();
    Invalidate(FALSE);
}

void CDavaroDiroView::preparePaint(CDC* dc) {
    const Colours c = colours();
    dc->SelectStockObject(c.pen);
    dc->SetBkColor(c.background);
    dc->SetBkMode(OPAQUE);
    dc->SetTextColor(c.text);
}

void CDavaroDiroView::OnDraw(CDC* dc) {
    CRect client;
    GetClientRect(&client);
    if (illustrationShown == 1 && illustrationBitmap) {
        CDC temporary;
        temporary.CreateCompatibleDC(dc);
        CBitmap* old = temporary.SelectObject(illustrationBitmap);
        dc->BitBlt(0, 0, client.Width(), client.Height(), &temporary, 0, 0, SRCCOPY);
        temporary.SelectObject(old);
        return;
    }
    CDavaroDiroDocument* document = GetDocument();
    if (!pageBuffer.exists() || !document)
        return;
    CDC* page = pageBuffer.dc.get();
    const RowMetrics m = rowMetrics();
    const int lines = linesPerPage();
    const Colours c = colours();
    const bool withWallpaper =
        !wallpaperFile.IsEmpty() && wallpaperBuffer.exists() && composeBuffer.exists();
    preparePaint(page);
    preparePaint(dc);

    const int top = topLine();
    const int textWidth = textRect.right - textRect.left;
    if (top != lastDrawnTop) {
        const int previous = lastDrawnTop;
        if (m_scrollRange == 0 && previous != -2 && std::abs(top - previous) == 1) {
            CDC* shiftTarget = withWallpaper ? page : dc;
            shiftTarget->BitBlt(textRect.left, textRect.top, textWidth, lines * m.pitch, page,
                                textRect.left, (top - previous) * m.pitch, SRCCOPY);
            const bool forward = top > previous;
            const int row = forward ? lines - 1 : 0;
            const int line = forward ? top + lines - 1 : top;
            RECT rect{textRect.left, row * m.pitch, textRect.right, (row + 1) * m.pitch};
            page->FillSolidRect(&rect, c.background);
            rect.bottom -= m_lineSpace;
            drawLine(page, line, rect);
            if (!withWallpaper)
                dc->BitBlt(textRect.left, row * m.pitch, textWidth, m.pitch, page, textRect.left,
                           row * m.pitch, SRCCOPY);
        } else {
            const bool titlePage = m_scrollRange == 1 && top == 0;
            const int rows = titlePage ? std::min(2, lines) : pageRows(top, lines);
            CDC* target = withWallpaper ? page : dc;
            for (int i = 0; i < rows; ++i) {
                RECT rect{textRect.left, i * m.pitch, textRect.right, (i + 1) * m.pitch};
                target->FillSolidRect(&rect, c.background);
                rect.bottom -= m_lineSpace;
                drawLine(target, top + i, rect);
            }
            if (rows < lines) {
                RECT rest{textRect.left, rows * m.pitch, textRect.right, textRect.bottom};
                if (rest.bottom > rest.top)
                    target->FillSolidRect(&rest, c.background);
            }
        }
        if (withWallpaper) {
            mergeWithWallpaper(dc, top, m, lines);
        } else {
            page->BitBlt(textRect.left, textRect.top, textWidth, lines * m.pitch, dc, textRect.left,
                         textRect.top, SRCCOPY);
        }
        lastDrawnTop = top;
    }
    drawPositionNumbers();
    drawControlBar(page, functionBarShown, false);
    const int barX = m_positionControlbar == 0 ? client.Width() - BAR_WIDTH : 0;
    dc->BitBlt(barX, 0, BAR_WIDTH, client.Height(), page, barX, 0, SRCCOPY);
}

void CDavaroDiroView::mergeWithWallpaper(CDC* dc, int top, const RowMetrics& m, int lines) {
    CDC* page = pageBuffer.dc.get();
    CDC* compose = composeBuffer.dc.get();
    const int width = textRect.right - textRect.left;
    const int band = m.bodyPx + m.rubyPx;
    const DWORD rop = colours().wallpaperRop;
    const bool upward = lastDrawnTop == top - 1;
    for (int k = 0; k < lines; ++k) {
        const int r = upward ? lines - 1 - k : k;
        const int y = r * m.pitch;
        compose->BitBlt(textRect.left, y, width, band, page, textRect.left, y, SRCCOPY);
        compose->BitBlt(textRect.left, y, width, band, wallpaperBuffer.dc.get(), 0, y, rop);
        dc->BitBlt(textRect.left, y, width, band, compose, textRect.left, y, SRCCOPY);
    }
}

void CDavaroDiroView::drawPositionNumbers() {
    CDavaroDiroDocument* document = GetDocument();
    CDC* page = pageBuffer.dc.get();
    if (!document || !page)
        return;
    page->SetBkMode(TRANSPARENT);
    page->SetTextColor(RGB(0, 0, 0));
    CFont* old = page->SelectObject(&smallFont);
    const int middle = pageNumberRect.top + (pageNumberRect.bottom - pageNumberRect.top) / 2;
    const UINT format = DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX;

    const int current = document->m_currentIndex + 1;
    int last = current;
    if (m_scrollRange == 0)
        last = document->getLineStartCount() - linesPerPage();
    else if (m_scrollRange == 1)
        last = document->getPageCount();

    RECT upper{pageNumberRect.left, pageNumberRect.top, pageNumberRect.right, middle};
    page->DrawEdge(&upper, BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
    page->DrawText(CString(std::to_wstring(current)), &upper, format);
    RECT lower{pageNumberRect.left, middle, pageNumberRect.right, pageNumberRect.bottom};
    page->DrawEdge(&lower, BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
    page->DrawText(CString(std::to_wstring(last)), &lower, format);

    if (old)
        page->SelectObject(old);
    page->SetBkMode(OPAQUE);
    page->SetTextColor(colours().text);
}

void CDavaroDiroView::drawLine(CDC* dc, int displayLine, RECT& row) {
    CDavaroDiroDocument* document = GetDocument();
    if (displayLine < 0 || !document)
        return;
    if (document->hasNotation()) {
        yomite::NotatedRowPainter(bodyFont, rubyFont.GetSafeHandle() ? &rubyFont : nullptr,
                                  m_notationFonts, m_textIsBold != 0)
            .draw(dc, document->getDisplayLineNotation(displayLine), rowFrame(row));
        return;
    }
    std::wstring text;
    std::vector<RubySpan> spans;
    InlineTag tag;
    CDavaroDiroBook::parseLine(document->getDisplayLineText(displayLine), text, spans, tag);

    const int columns = document->getLayoutMetrics().columnsPerLine;
    int sum = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        sum += yomite::columnWidth(text[i]);
        if (sum > columns + 2) {
            // The cut keeps at least nothing: a row narrower than the ellipsis shows it alone.
            text = text.substr(0, i >= 2 ? i - 2 : 0) + ELLIPSIS;
            break;
        }
    }

    const int rubyPx = rowMetrics().rubyPx;
    CFont* old = dc->SelectObject(&bodyFont);
    row.top += rubyPx;
    const UINT format = DT_BOTTOM | DT_NOCLIP | DT_NOPREFIX;
    dc->DrawText(text.c_str(), -1, &row, format);
    if (m_textIsBold) {
        dc->SetBkMode(TRANSPARENT);
        ++row.left;
        ++row.right;
        dc->DrawText(text.c_str(), -1, &row, format);
        --row.left;
        --row.right;
        dc->SetBkMode(OPAQUE);
    }
    row.top -= rubyPx;

    if (tag.hasDisplayText) {
        const int w = dc->GetTextExtent(text.c_str(), static_cast<int>(text.size())).cx;
        dc->MoveTo(row.left, row.bottom - 1);
        dc->LineTo(row.left + w, row.bottom - 1);
    }

    if (m_showRuby && !spans.empty() && rubyFont.GetSafeHandle()) {
        dc->SelectObject(&rubyFont);
        yomite::drawRubySpans(
            dc, spans,
            {row.left, row.left, row.right, row.top, rubyPx, m_bodyCharWidth, m_rubyCharWidth},
            format);
    }
    if (old)
        dc->SelectObject(old);
}

void CDavaroDiroView::drawButtonIcon(CDC* dc, HINSTANCE module, UINT iconId, const RECT& r) {
    HICON icon = ::LoadIcon(module, MAKEINTRESOURCE(iconId));
    if (!icon)
        return;
    dc->DrawIcon((r.left + r.right) / 2 - 16, (r.top + r.bottom) / 2 - 16, icon);
    ::DestroyIcon(icon);
}

void CDavaroDiroView::drawControlBar(CDC* dc, bool functionSet, bool full) {
    if (!dc)
        return;
    yomite::ensureResources();
    const HINSTANCE module = yomite::moduleInstance();
    const UINT flags = full ? (BF_RECT | BF_MIDDLE) : BF_RECT;
    if (!functionSet) {
        static constexpr UINT icons[5] = {5011, 5010, 5006, 5007, 5009};
        for (size_t i = 0; i < pageButtons.size(); ++i) {
            RECT r = pageButtons[i];
            dc->DrawEdge(&r,
                         static_cast<int>(i) == pressedButton ? BDR_SUNKENINNER : BDR_RAISEDINNER,
                         flags);
            if (full && i < 5)
                drawButtonIcon(dc, module, icons[i], pageButtons[i]);
        }
        return;
    }
    for (size_t i = 0; i < functionButtons.size(); ++i) {
        const int index = static_cast<int>(i);
        const bool sunken = index == pressedButton || index == 5 || (altToolMode && index == 2);
        RECT r = functionButtons[i];
        dc->DrawEdge(&r, sunken ? BDR_SUNKENINNER : BDR_RAISEDINNER, flags);
        if (!full)
            continue;
        UINT icon = 0;
        switch (index) {
        case 0:
            if (closeArmed) {
                RECT inside{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
                dc->FillSolidRect(&inside, CLOSE_ARMED_FILL);
            }
            icon = closeArmed ? 5014 : 5013;
            break;
        case 1:
            icon = 5019;
            break;
        case 2:
            icon = 5016;
            break;
        case 3:
            icon = altToolMode ? 5017 : 5015;
            break;
        case 4:
            icon = altToolMode ? 5018 : 5020;
            break;
        default:
            icon = 5009;
            break;
        }
        drawButtonIcon(dc, module, icon, functionButtons[i]);
    }
}

bool CDavaroDiroView::pickWallpaper() {
    wallpaperFile.Empty();
    if (m_pathWallpaper.IsEmpty())
        return false;
    const std::vector<std::wstring> files = yomite::listWallpapers(m_pathWallpaper.str());
    if (files.empty())
        return false;
    std::srand(GetTickCount());
    const unsigned r = static_cast<unsigned>(std::rand());
    wallpaperFile = CString(files[r % files.size()]);
    return true;
}

bool CDavaroDiroView::showIllustration(const yomite::PictureSource& picture, CBitmap*& bitmap) {
    CRect client;
    GetClientRect(&client);
    const int W = client.Width();
    const int H = client.Height();
    std::vector<unsigned char> block(1064, 0);
    auto* info = reinterpret_cast<BITMAPINFO*>(block.data());
    info->bmiHeader.biSize = 40;
    info->bmiHeader.biWidth = W;
    info->bmiHeader.biHeight = H;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = 24;
    info->bmiHeader.biCompression = 0;

    CClientDC window(this);
    {
        CFont* old = window.SelectObject(&smallFont);
        const CSize extent = window.GetTextExtent(L"NOW LOADING...", 14);
        RECT box{(W - extent.cx) / 2 - 5, (H - extent.cy) / 2 - 5, (W + extent.cx) / 2 + 5,
                 (H + extent.cy) / 2 + 5};
        window.DrawEdge(&box, BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
        window.SetBkMode(TRANSPARENT);
        window.DrawText(L"NOW LOADING...", -1, &box,
                        DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
        if (old)
            window.SelectObject(old);
    }

    void* bits = nullptr;
    HBITMAP section =
        ::CreateDIBSection(window.GetSafeHdc(), info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (section && bits && pageBuffer.exists()) {
        bitmap = new CBitmap;
        bitmap->Attach(section);
        CDC temporary;
        temporary.CreateCompatibleDC(&window);
        CBitmap* initial = temporary.SelectObject(bitmap);
        temporary.BitBlt(0, 0, W, H, pageBuffer.dc.get(), 0, 0, SRCCOPY);
        if (!wallpaperFile.IsEmpty() && wallpaperBuffer.exists())
            temporary.BitBlt(textRect.left, textRect.top, textRect.right - textRect.left,
                             textRect.bottom - textRect.top, wallpaperBuffer.dc.get(), 0, 0,
                             colours().wallpaperRop);
        ok = composeIllustration(&info->bmiHeader, bits, picture, &temporary);
        temporary.SelectObject(initial);
    } else if (section) {
        ::DeleteObject(section);
    }
    if (!ok)
        SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(window.GetSafeHdc()), 0);
    return ok;
}

void CDavaroDiroView::eraseNow() {
    CClientDC window(this);
    SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(window.GetSafeHdc()), 0);
}
