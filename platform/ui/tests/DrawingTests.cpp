#include "platform/testsupport/TestHooks.h"
#include "platform/ui/DC.h"
#include "platform/ui/Resources.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <vector>

namespace {

// A memory DC with its own bitmap.
struct MemoryCanvas {
    CDC dc;
    CBitmap bitmap;
    CBitmap* previous = nullptr;
    MemoryCanvas(int w, int h, COLORREF fill) {
        lumo::test::pumpMessages(); // creates the Qt application for fonts
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateCompatibleBitmap(&dc, w, h);
        previous = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, w, h, fill);
    }
    ~MemoryCanvas() { dc.SelectObject(previous); }
};

CFont* makeFont(CFont& font, const wchar_t* face, int height) {
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    std::wcsncpy(lf.lfFaceName, face, 31);
    font.CreateFontIndirect(&lf);
    return &font;
}

constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF BLACK = RGB(0, 0, 0);
constexpr COLORREF PICTURE = RGB(200, 100, 50);

TEST(RasterOps, SrcAndKeepsThePictureWhereThePageIsWhite) {
    MemoryCanvas picture(8, 4, PICTURE);
    MemoryCanvas page(8, 4, WHITE);
    page.dc.FillSolidRect(2, 1, 3, 2, BLACK); // "ink"
    ASSERT_TRUE(picture.dc.BitBlt(0, 0, 8, 4, &page.dc, 0, 0, SRCAND));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool ink = x >= 2 && x < 5 && y >= 1 && y < 3;
            EXPECT_EQ(picture.dc.GetPixel(x, y), ink ? BLACK : PICTURE) << x << "," << y;
        }
}

TEST(RasterOps, SrcPaintKeepsThePictureWhereThePageIsBlack) {
    MemoryCanvas picture(8, 4, PICTURE);
    MemoryCanvas page(8, 4, BLACK);
    page.dc.FillSolidRect(2, 1, 3, 2, WHITE);
    ASSERT_TRUE(picture.dc.BitBlt(0, 0, 8, 4, &page.dc, 0, 0, SRCPAINT));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool ink = x >= 2 && x < 5 && y >= 1 && y < 3;
            EXPECT_EQ(picture.dc.GetPixel(x, y), ink ? WHITE : PICTURE) << x << "," << y;
        }
}

TEST(RasterOps, CopiesAreClippedToBothBitmapsAndOffsetCorrectly) {
    MemoryCanvas target(6, 6, WHITE);
    MemoryCanvas source(4, 4, BLACK);
    source.dc.SetPixel(0, 0, RGB(1, 2, 3));
    // Partly outside the source and the target: only the overlap moves.
    ASSERT_TRUE(target.dc.BitBlt(4, 4, 10, 10, &source.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(target.dc.GetPixel(4, 4), RGB(1, 2, 3));
    EXPECT_EQ(target.dc.GetPixel(5, 5), BLACK);
    EXPECT_EQ(target.dc.GetPixel(3, 3), WHITE);
    ASSERT_TRUE(target.dc.BitBlt(-1, -1, 3, 3, &source.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(target.dc.GetPixel(0, 0), BLACK);
    EXPECT_EQ(target.dc.GetPixel(2, 2), WHITE);
    EXPECT_FALSE(target.dc.BitBlt(0, 0, 2, 2, nullptr, 0, 0, SRCCOPY));
}

TEST(RasterOps, OverlappingCopyWithinOneBitmapReadsTheOriginal) {
    MemoryCanvas canvas(6, 1, WHITE);
    for (int x = 0; x < 6; ++x)
        canvas.dc.SetPixel(x, 0, RGB(x * 10, 0, 0));
    ASSERT_TRUE(canvas.dc.BitBlt(1, 0, 5, 1, &canvas.dc, 0, 0, SRCCOPY));
    for (int x = 1; x < 6; ++x)
        EXPECT_EQ(canvas.dc.GetPixel(x, 0), RGB((x - 1) * 10, 0, 0));
}

BITMAPINFO dibInfo(int width, int height, int bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bits);
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

TEST(DibSection, BitsStayThePixelStoreInBottomUpLayout) {
    lumo::test::pumpMessages();
    const BITMAPINFO info = dibInfo(3, 2, 24);
    void* bits = nullptr;
    const HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(dib, nullptr);
    ASSERT_NE(bits, nullptr);
    auto* bytes = static_cast<unsigned char*>(bits);
    constexpr int stride = 12; // 9 bytes padded to 4
    // The first stored row is the bottom row; pixels are B, G, R.
    bytes[0] = 1;
    bytes[1] = 2;
    bytes[2] = 3;
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* old = dc.SelectObject(CBitmap::FromHandle(dib));
    EXPECT_EQ(dc.GetPixel(0, 1), RGB(3, 2, 1));
    dc.FillSolidRect(2, 0, 1, 1, RGB(10, 20, 30));
    EXPECT_EQ(bytes[stride + 6], 30);
    EXPECT_EQ(bytes[stride + 7], 20);
    EXPECT_EQ(bytes[stride + 8], 10);
    BITMAP bm{};
    ASSERT_EQ(GetObject(dib, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmBits, bits);
    EXPECT_EQ(bm.bmWidthBytes, stride);
    EXPECT_EQ(bm.bmBitsPixel, 24);
    dc.SelectObject(old);
    EXPECT_TRUE(DeleteObject(dib));
}

TEST(DibSection, TextDrawnIntoADibReadsTheRightWayUp) {
    lumo::test::pumpMessages();
    const BITMAPINFO info = dibInfo(40, 20, 24);
    void* bits = nullptr;
    const HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(dib, nullptr);
    MemoryCanvas plain(40, 20, WHITE);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* old = dc.SelectObject(CBitmap::FromHandle(dib));
    dc.FillSolidRect(0, 0, 40, 20, WHITE);
    CFont font;
    makeFont(font, L"ＭＳ ゴシック", -16);
    CFont* oldFont = dc.SelectObject(&font);
    CFont* plainFont = plain.dc.SelectObject(&font);
    CRect r(0, 0, 40, 20);
    dc.DrawText(L"上T", -1, &r, DT_SINGLELINE | DT_NOPREFIX);
    plain.dc.DrawText(L"上T", -1, &r, DT_SINGLELINE | DT_NOPREFIX);
    int differences = 0, ink = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) {
            differences += dc.GetPixel(x, y) != plain.dc.GetPixel(x, y);
            ink += plain.dc.GetPixel(x, y) != WHITE;
        }
    EXPECT_GT(ink, 10);
    EXPECT_LE(differences, ink / 5)
        << "the DIB shows the same text as a plain bitmap, not a mirror image";
    plain.dc.SelectObject(plainFont);
    dc.SelectObject(oldFont);
    dc.SelectObject(old);
    DeleteObject(dib);
}

TEST(DibSection, RejectsUnsupportedFormatsAndSizes) {
    struct Case {
        const char* name;
        int width, height, bits;
        DWORD compression;
        bool ok;
    };
    const std::vector<Case> cases = {
        {"24-bit bottom-up", 4, 4, 24, BI_RGB, true},
        {"24-bit top-down", 4, -4, 24, BI_RGB, true},
        {"32-bit", 4, 4, 32, BI_RGB, true},
        {"8-bit palette", 4, 4, 8, BI_RGB, false},
        {"16-bit", 4, 4, 16, BI_RGB, false},
        {"bit fields", 4, 4, 32, BI_BITFIELDS, false},
        {"zero width", 0, 4, 24, BI_RGB, false},
        {"zero height", 4, 0, 24, BI_RGB, false},
        {"negative width", -4, 4, 24, BI_RGB, false},
        {"oversized", 100000, 100000, 24, BI_RGB, false},
    };
    for (const Case& c : cases) {
        BITMAPINFO info = dibInfo(c.width, c.height, c.bits);
        info.bmiHeader.biCompression = c.compression;
        void* bits = reinterpret_cast<void*>(1);
        const HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        EXPECT_EQ(dib != nullptr, c.ok) << c.name;
        EXPECT_EQ(bits != nullptr, c.ok) << c.name;
        DeleteObject(dib);
    }
    EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
}

TEST(DibSection, SetDIBitsToDeviceCopiesRowsUpright) {
    MemoryCanvas canvas(2, 2, WHITE);
    BITMAPINFO info = dibInfo(2, 2, 24);
    // Bottom row first: bottom is red, top is blue.
    const unsigned char pixels[16] = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0};
    EXPECT_EQ(SetDIBitsToDevice(canvas.dc, 0, 0, 2, 2, 0, 0, 0, 2, pixels, &info, DIB_RGB_COLORS),
              2);
    EXPECT_EQ(canvas.dc.GetPixel(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(canvas.dc.GetPixel(1, 1), RGB(255, 0, 0));
    EXPECT_EQ(SetDIBitsToDevice(canvas.dc, 0, 0, 2, 2, 0, 0, 0, 2, nullptr, &info, DIB_RGB_COLORS),
              0);
    EXPECT_EQ(
        SetDIBitsToDevice(canvas.dc, 0, 0, 100, 100, -50, 70, 0, 2, pixels, &info, DIB_RGB_COLORS),
        2)
        << "source areas outside the bits are clipped";
    BITMAPINFO paletted = dibInfo(2, 2, 8);
    EXPECT_EQ(
        SetDIBitsToDevice(canvas.dc, 0, 0, 2, 2, 0, 0, 0, 2, pixels, &paletted, DIB_RGB_COLORS), 0);
}

TEST(Fonts, FullWidthIsTwiceHalfWidthAtEverySize) {
    MemoryCanvas canvas(10, 10, WHITE);
    for (const wchar_t* face : {L"ＭＳ ゴシック", L"ＭＳ 明朝"}) {
        for (int height = 8; height <= 40; ++height) {
            CFont font;
            makeFont(font, face, -height);
            CFont* old = canvas.dc.SelectObject(&font);
            const CSize half = canvas.dc.GetTextExtent(L"A");
            const CSize full = canvas.dc.GetTextExtent(L"漢");
            const CSize row = canvas.dc.GetTextExtent(L"AB漢字かな");
            EXPECT_GT(half.cx, 0);
            EXPECT_EQ(full.cx, 2 * half.cx) << height;
            EXPECT_EQ(full.cx, height - height % 2) << "em rounded down to even, " << height;
            EXPECT_EQ(row.cx, 2 * half.cx + 4 * full.cx) << "advances add up, " << height;
            canvas.dc.SelectObject(old);
        }
    }
}

TEST(Fonts, DrawingAgreesWithMeasuring) {
    MemoryCanvas whole(120, 24, WHITE);
    MemoryCanvas pieces(120, 24, WHITE);
    CFont font;
    makeFont(font, L"ＭＳ 明朝", -18);
    CFont* a = whole.dc.SelectObject(&font);
    CFont* b = pieces.dc.SelectObject(&font);
    whole.dc.TextOut(0, 0, CString(L"ルビAB漢字"));
    int x = 0;
    for (const wchar_t* piece : {L"ルビ", L"AB", L"漢字"}) {
        pieces.dc.TextOut(x, 0, CString(piece));
        x += pieces.dc.GetTextExtent(CString(piece)).cx;
    }
    int differences = 0;
    for (int yy = 0; yy < 24; ++yy)
        for (int xx = 0; xx < 120; ++xx)
            differences += whole.dc.GetPixel(xx, yy) != pieces.dc.GetPixel(xx, yy);
    EXPECT_EQ(differences, 0)
        << "text drawn in pieces at measured advances lands where the whole row does";
    whole.dc.SelectObject(a);
    pieces.dc.SelectObject(b);
}

// Books write characters the IPA fonts lack (呭, and others given as gaiji);
// Qt's font fallback must find them in IPAmj Mincho rather than draw the
// empty box it draws for a code point no font has.
TEST(Fonts, CharactersTheIpaFontsLackComeFromAFallbackFont) {
    for (const wchar_t* face : {L"ＭＳ 明朝", L"ＭＳ ゴシック"}) {
        MemoryCanvas lacking(24, 24, WHITE);
        MemoryCanvas unassigned(24, 24, WHITE);
        CFont font;
        makeFont(font, face, -20);
        CFont* a = lacking.dc.SelectObject(&font);
        CFont* b = unassigned.dc.SelectObject(&font);
        lacking.dc.TextOut(0, 0, CString(L"\x546D"));
        unassigned.dc.TextOut(0, 0, CString(L"\x0378"));
        int ink = 0, differences = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x) {
                ink += lacking.dc.GetPixel(x, y) != WHITE;
                differences += lacking.dc.GetPixel(x, y) != unassigned.dc.GetPixel(x, y);
            }
        EXPECT_GT(ink, 20) << "呭 is drawn";
        EXPECT_GT(differences, 20) << "呭 is not the missing-glyph box";
        lacking.dc.SelectObject(a);
        unassigned.dc.SelectObject(b);
    }
}

TEST(Fonts, CellAndCharacterHeightsGiveTheSameCell) {
    MemoryCanvas canvas(10, 10, WHITE);
    for (int height : {16, 20, 21, 32}) {
        CFont cell, character;
        makeFont(cell, L"ＭＳ ゴシック", height);
        makeFont(character, L"ＭＳ ゴシック", -height);
        LOGFONT lf{};
        EXPECT_EQ(GetObject(cell.m_hObject, sizeof lf, &lf), static_cast<int>(sizeof(LOGFONT)));
        EXPECT_EQ(lf.lfHeight, height) << "the record is kept as given";
        CFont* old = canvas.dc.SelectObject(&cell);
        TEXTMETRIC a{}, b{};
        ASSERT_TRUE(canvas.dc.GetTextMetrics(&a));
        const CSize kanji = canvas.dc.GetTextExtent(L"漢");
        canvas.dc.SelectObject(&character);
        ASSERT_TRUE(canvas.dc.GetTextMetrics(&b));
        const int even = height - height % 2;
        EXPECT_EQ(a.tmHeight, even) << height;
        EXPECT_EQ(b.tmHeight, even) << height;
        EXPECT_EQ(a.tmAscent + a.tmDescent, a.tmHeight);
        EXPECT_GT(a.tmAscent, a.tmDescent);
        EXPECT_EQ(kanji.cx, even);
        EXPECT_EQ(kanji.cy, even);
        canvas.dc.SelectObject(old);
    }
    EXPECT_EQ(canvas.dc.GetDeviceCaps(LOGPIXELSY), 96);
}

TEST(Text, DrawTextAlignsInItsRectangle) {
    MemoryCanvas canvas(100, 40, WHITE);
    CFont font;
    makeFont(font, L"ＭＳ ゴシック", -16);
    CFont* old = canvas.dc.SelectObject(&font);
    canvas.dc.SetBkMode(TRANSPARENT);
    auto inkBounds = [&] {
        CRect ink(1000, 1000, -1, -1);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 100; ++x)
                if (canvas.dc.GetPixel(x, y) != WHITE)
                    ink.SetRect(std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y),
                                std::max<LONG>(ink.right, x + 1),
                                std::max<LONG>(ink.bottom, y + 1));
        return ink;
    };
    CRect box(0, 0, 100, 40);
    canvas.dc.DrawText(L"漢", -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    CRect ink = inkBounds();
    EXPECT_GE(ink.left, 42);
    EXPECT_LE(ink.right, 58);
    EXPECT_GE(ink.top, 10);
    EXPECT_LE(ink.bottom, 30);
    canvas.dc.FillSolidRect(0, 0, 100, 40, WHITE);
    canvas.dc.DrawText(L"漢", -1, &box, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
    ink = inkBounds();
    EXPECT_GE(ink.left, 84);
    EXPECT_GE(ink.top, 40 - 20);
    CRect calc(5, 5, 5, 5);
    EXPECT_GT(canvas.dc.DrawText(L"A&&B", -1, &calc, DT_CALCRECT | DT_SINGLELINE), 0);
    EXPECT_EQ(calc.Width(), 3 * 8) << "'&&' is one '&' without DT_NOPREFIX";
    canvas.dc.SelectObject(old);
}

TEST(Text, OpaqueModeFillsBehindTheText) {
    MemoryCanvas canvas(40, 20, WHITE);
    canvas.dc.SetBkColor(RGB(0, 0, 255));
    canvas.dc.SetBkMode(OPAQUE);
    canvas.dc.TextOut(0, 0, CString(L"A"));
    const CSize size = canvas.dc.GetTextExtent(CString(L"A"));
    EXPECT_EQ(canvas.dc.GetPixel(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(canvas.dc.GetPixel(size.cx, 0), WHITE);
    canvas.dc.SetBkMode(TRANSPARENT);
    canvas.dc.FillSolidRect(0, 0, 40, 20, WHITE);
    canvas.dc.TextOut(0, 0, CString(L"A"));
    EXPECT_EQ(canvas.dc.GetPixel(0, 0), WHITE);
}

TEST(Edges, RaisedAndSunkenInnerEdgesWithMiddle) {
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF soft = GetSysColor(COLOR_3DLIGHT);
    struct Case {
        UINT edge;
        COLORREF topLeft, bottomRight;
    };
    for (const Case& c :
         {Case{BDR_RAISEDINNER, light, shadow}, Case{BDR_SUNKENINNER, dark, soft}}) {
        MemoryCanvas canvas(6, 5, RGB(1, 1, 1));
        CRect r(0, 0, 6, 5);
        ASSERT_TRUE(canvas.dc.DrawEdge(&r, c.edge, BF_RECT | BF_MIDDLE | BF_ADJUST));
        EXPECT_EQ(r, CRect(1, 1, 5, 4));
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x) {
                COLORREF expected = face;
                if (y == 4 || x == 5)
                    expected = c.bottomRight;
                else if (y == 0 || x == 0)
                    expected = c.topLeft;
                EXPECT_EQ(canvas.dc.GetPixel(x, y), expected) << c.edge << " at " << x << "," << y;
            }
    }
    // Without BF_MIDDLE the inside is left alone; without BF_ADJUST the rectangle too.
    MemoryCanvas canvas(4, 4, RGB(1, 1, 1));
    CRect r(0, 0, 4, 4);
    canvas.dc.DrawEdge(&r, BDR_RAISEDINNER, BF_RECT);
    EXPECT_EQ(canvas.dc.GetPixel(1, 1), RGB(1, 1, 1));
    EXPECT_EQ(r, CRect(0, 0, 4, 4));
}

TEST(GdiObjects, SelectionReturnsThePreviousObjectAndSelectedBitmapsStay) {
    MemoryCanvas canvas(4, 4, WHITE);
    CFont font;
    makeFont(font, L"ＭＳ 明朝", -16);
    CFont* old = canvas.dc.SelectObject(&font);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(canvas.dc.SelectObject(old), &font);
    EXPECT_FALSE(DeleteObject(canvas.bitmap.m_hObject)) << "a selected bitmap cannot be deleted";
    EXPECT_FALSE(DeleteObject(GetStockObject(BLACK_PEN)));
    EXPECT_FALSE(DeleteObject(nullptr));
}

TEST(Lines, LinesLeaveOutTheirEndPoint) {
    MemoryCanvas canvas(6, 6, WHITE);
    canvas.dc.SelectStockObject(BLACK_PEN);
    canvas.dc.MoveTo(1, 2);
    canvas.dc.LineTo(4, 2);
    EXPECT_EQ(canvas.dc.GetPixel(1, 2), BLACK);
    EXPECT_EQ(canvas.dc.GetPixel(3, 2), BLACK);
    EXPECT_EQ(canvas.dc.GetPixel(4, 2), WHITE);
    canvas.dc.MoveTo(5, 5);
    canvas.dc.LineTo(5, 3);
    EXPECT_EQ(canvas.dc.GetPixel(5, 5), BLACK);
    EXPECT_EQ(canvas.dc.GetPixel(5, 4), BLACK);
    EXPECT_EQ(canvas.dc.GetPixel(5, 3), WHITE);
}

TEST(Icons, DrawnFromModuleResourcesWithTransparency) {
    static int anchor;
    const HINSTANCE module = reinterpret_cast<HINSTANCE>(&anchor);
    lumo::IconImage icon;
    icon.width = 2;
    icon.height = 2;
    icon.pixels = {0xFFFF0000u, 0x00000000u, 0xFF00FF00u, 0xFF0000FFu};
    lumo::ResourceSet set;
    set.icons[128] = icon;
    lumo::registerResources(module, set);
    const HICON handle = LoadIcon(module, MAKEINTRESOURCE(128));
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(LoadIcon(module, MAKEINTRESOURCE(129)), nullptr);
    MemoryCanvas canvas(4, 4, WHITE);
    ASSERT_TRUE(canvas.dc.DrawIcon(1, 1, handle));
    EXPECT_EQ(canvas.dc.GetPixel(1, 1), RGB(255, 0, 0));
    EXPECT_EQ(canvas.dc.GetPixel(2, 1), WHITE) << "transparent pixels leave the background";
    EXPECT_EQ(canvas.dc.GetPixel(1, 2), RGB(0, 255, 0));
    EXPECT_EQ(canvas.dc.GetPixel(2, 2), RGB(0, 0, 255));
    EXPECT_FALSE(canvas.dc.DrawIcon(0, 0, nullptr));
    EXPECT_TRUE(DestroyIcon(handle));
    EXPECT_TRUE(canvas.dc.DrawIcon(1, 1, handle)) << "destroying a resource icon keeps it usable";
    lumo::unregisterResources(module);
}

TEST(Resources, StringsAreFoundByModuleOrAlongTheChain) {
    static int a, b;
    const HINSTANCE first = reinterpret_cast<HINSTANCE>(&a);
    const HINSTANCE second = reinterpret_cast<HINSTANCE>(&b);
    lumo::ResourceSet one, two;
    one.strings[5] = L"first";
    two.strings[5] = L"second";
    two.strings[6] = L"only second";
    lumo::registerResources(first, one);
    lumo::registerResources(second, two);
    EXPECT_EQ(lumo::loadString(5, second), L"second");
    EXPECT_EQ(lumo::loadString(5), L"first") << "the chain searches modules in registration order";
    EXPECT_EQ(lumo::loadString(6), L"only second");
    EXPECT_EQ(lumo::loadString(6, first), L"");
    lumo::unregisterResources(first);
    lumo::unregisterResources(second);
}

} // namespace
