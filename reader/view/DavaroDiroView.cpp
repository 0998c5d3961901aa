#include "DavaroDiroView.h"

#include "ControlBar.h"
#include "HorizontalPainter.h"
#include "ImageClient.h"
#include "VerticalPainter.h"

#include "reader/document/DavaroDiroDocument.h"
#include "reader/document/ReaderSettings.h"

#include "platform/core/Clock.h"
#include "platform/ui/IdleWork.h"

#include <algorithm>
#include <cstdlib>
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
ON_MESSAGE(WM_KICKIDLE, &CDavaroDiroView::OnKickIdle)
END_MESSAGE_MAP()

namespace {

// A hand-edited size far beyond any screen would make the font engine
// render glyphs of hundreds of thousands of pixels; sizes stop here.
constexpr int MAX_POINTS = 1000;
constexpr int SMALL_FONT_PX = 16;
constexpr int POINTS_PER_INCH = 72;
// The position numbers above the buttons.
constexpr int NUMBERS_HEIGHT = 32;
constexpr int CLOSE_BUTTON_BOTTOM = 80;

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

int pointsToPixels(CDC* dc, int points) {
    return points * dc->GetDeviceCaps(LOGPIXELSY) / POINTS_PER_INCH;
}

int charWidth(CDC* dc, CFont* font) {
    CFont* old = font->GetSafeHandle() ? dc->SelectObject(font) : nullptr;
    int width = dc->GetTextExtent(L"A", 1).cx;
    if (old)
        dc->SelectObject(old);
    return width;
}

} // namespace

CDavaroDiroView::CDavaroDiroView()
    : m_painter(std::make_unique<yomite::HorizontalPainter>(m_page)) {
    pickWallpaper();
}

CDavaroDiroView::~CDavaroDiroView() {
    deleteBuffers();
    deleteFonts();
}

CDavaroDiroDocument* CDavaroDiroView::GetDocument() const {
    return dynamic_cast<CDavaroDiroDocument*>(CView::GetDocument());
}

yomite::PagePainter& CDavaroDiroView::painter() {
    m_page.document = GetDocument();
    return *m_painter;
}

void CDavaroDiroView::deleteFonts() {
    yomite::ReaderFonts& fonts = m_page.fonts;
    fonts.body.DeleteObject();
    fonts.ruby.DeleteObject();
    fonts.small.DeleteObject();
    fonts.notation.release();
}

void CDavaroDiroView::createFonts() {
    deleteFonts();
    CClientDC dc(this);
    yomite::ReaderFonts& fonts = m_page.fonts;
    fonts.bodyPx = pointsToPixels(&dc, leadingNumber(m_textFontSize));
    fonts.rubyPx = m_showRuby ? pointsToPixels(&dc, leadingNumber(m_rubyFontSize)) : 0;
    yomite::createReaderFont(fonts.body, fonts.bodyPx, m_textFont);
    if (m_showRuby)
        yomite::createReaderFont(fonts.ruby, fonts.rubyPx, m_rubyFont);
    yomite::createReaderFont(fonts.small, SMALL_FONT_PX, m_textFont);
    fonts.bodyCharWidth = charWidth(&dc, &fonts.body);
    fonts.rubyCharWidth = m_showRuby ? charWidth(&dc, &fonts.ruby) : 0;
    // Small text takes the ruby font's size, also when ruby is not shown.
    fonts.notation.create(&dc, m_textFont, fonts.bodyPx,
                          pointsToPixels(&dc, leadingNumber(m_rubyFontSize)),
                          fonts.bodyPx + fonts.rubyPx, yomite::FREE_BELOW_TEXT + m_lineSpace);
}

void CDavaroDiroView::recalcLayout(int screenWidth, int screenHeight) {
    CDavaroDiroDocument* document = GetDocument();
    m_page.document = document;

    if (m_textDirection == 1)
        m_painter = std::make_unique<yomite::VerticalPainter>(m_page);
    else
        m_painter = std::make_unique<yomite::HorizontalPainter>(m_page);
    // Everything below is in the page's coordinates, turned or not.
    m_page.rotation = yomite::DisplayRotation(m_displayDirection, screenWidth, screenHeight);
    m_page.pageSize = m_page.rotation.pageSize();
    const int cx = m_page.pageSize.cx;
    const int cy = m_page.pageSize.cy;
    RECT& text = m_page.textRect;
    text = {0, 0, cx, cy};
    const bool right = m_positionControlbar == 0;
    if (right)
        text.right = cx - BAR_WIDTH;
    else
        text.left = BAR_WIDTH;

    if (document)
        startLayout(m_painter->layoutFor(text));

    const int barLeft = right ? cx - BAR_WIDTH : 0;
    const int barRight = barLeft + BAR_WIDTH;
    m_page.pageNumberRect = {barLeft, 0, barRight, NUMBERS_HEIGHT};

    // Four page buttons share what is left above the "Fn" button's 44 pixels.
    std::vector<RECT>& pageButtons = m_page.pageButtons;
    pageButtons.clear();
    const int h5 = (cy - 76) / 4;
    for (int i = 0; i < 4; ++i)
        pageButtons.push_back(
            {barLeft, NUMBERS_HEIGHT + i * h5, barRight, NUMBERS_HEIGHT + (i + 1) * h5});
    pageButtons.push_back({barLeft, NUMBERS_HEIGHT + 4 * h5, barRight, cy});

    std::vector<RECT>& functionButtons = m_page.functionButtons;
    functionButtons.clear();
    functionButtons.push_back({barLeft, NUMBERS_HEIGHT, barRight, CLOSE_BUTTON_BOTTOM});
    const int h6 = (cy - 124) / 4;
    for (int j = 1; j <= 4; ++j)
        functionButtons.push_back(
            {barLeft, CLOSE_BUTTON_BOTTOM + (j - 1) * h6, barRight, CLOSE_BUTTON_BOTTOM + j * h6});
    functionButtons.push_back({barLeft, CLOSE_BUTTON_BOTTOM + 4 * h6, barRight, cy});

    m_page.lastDrawnTop = -2;
}

void CDavaroDiroView::deleteBuffers() {
    m_page.pageBuffer.release();
    m_page.wallpaperBuffer.release();
    m_page.composeBuffer.release();
    m_page.illustrationBitmap.reset();
}

void CDavaroDiroView::createBuffers(int screenWidth, int screenHeight) {
    deleteBuffers();
    const SIZE page =
        yomite::DisplayRotation(m_displayDirection, screenWidth, screenHeight).pageSize();
    const int cx = std::max<int>(page.cx, 1);
    const int cy = std::max<int>(page.cy, 1);
    CClientDC window(this);
    const yomite::PageColours c = yomite::pageColours();
    if (m_page.pageBuffer.create(&window, cx, cy)) {
        CDC* dc = m_page.pageBuffer.dc.get();
        dc->SetBkColor(c.background);
        dc->SetBkMode(OPAQUE);
        dc->SetTextColor(c.text);
        dc->FillSolidRect(0, 0, cx, cy, c.background);
        yomite::drawControlBar(dc, m_page, m_page.bar.functionBarShown, true);
    }
    if (!m_page.wallpaperFile.IsEmpty() && m_page.pageBuffer.exists()) {
        const RECT& text = m_page.textRect;
        const SIZE size{std::max<LONG>(1, text.right - text.left),
                        std::max<LONG>(1, text.bottom - text.top)};
        CDC* page = m_page.pageBuffer.dc.get();
        if (m_page.wallpaperBuffer.create(page, size.cx, size.cy))
            renderWallpaper(m_page.wallpaperFile, m_styleWallpaper, size, m_displayColor == 0,
                            m_alphaWallpaper * 16, m_page.wallpaperBuffer.dc.get());
        m_page.composeBuffer.create(page, cx, cy);
    }
    Invalidate(TRUE);
}

BOOL CDavaroDiroView::OnEraseBkgnd(CDC* dc) {
    if (!dc || !painter().erase(dc))
        return CWnd::OnEraseBkgnd(dc);
    return TRUE;
}

void CDavaroDiroView::OnUpdate(CView*, LPARAM, CObject*) {
    // Every move ends here; before the restore the index is not the reader's.
    if (CDavaroDiroDocument* document = GetDocument(); document && positionRestored)
        document->noteReadingPosition();
    Invalidate(FALSE);
}

void CDavaroDiroView::OnDraw(CDC* dc) {
    if (illustrationShown == 1 && m_page.illustrationBitmap) {
        painter().showIllustration(dc);
        return;
    }
    layOutScreen();
    painter().paint(dc);
}

void CDavaroDiroView::redrawControlBar(bool full) {
    yomite::drawControlBar(m_page.pageBuffer.dc.get(), m_page, m_page.bar.functionBarShown, full);
}

bool CDavaroDiroView::pickWallpaper() {
    m_page.wallpaperFile.Empty();
    if (m_pathWallpaper.IsEmpty())
        return false;
    const std::vector<std::wstring> files = yomite::listWallpapers(m_pathWallpaper.str());
    if (files.empty())
        return false;
    std::srand(GetTickCount());
    const unsigned r = static_cast<unsigned>(std::rand());
    m_page.wallpaperFile = CString(files[r % files.size()]);
    return true;
}

void CDavaroDiroView::eraseNow() {
    CClientDC window(this);
    SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(window.GetSafeHdc()), 0);
}
