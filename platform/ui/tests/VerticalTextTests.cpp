// Vertical writing through a DC, checked on the ink of tiny bitmaps: which
// characters take their vertical forms, which lie on their side, and how
// pieces fill their cells; and PlgBlt turning pictures by right angles.
#include "platform/testsupport/TestHooks.h"
#include "platform/ui/DC.h"
#include "platform/ui/VerticalText.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF BLACK = RGB(0, 0, 0);
constexpr int EM = 32;

struct Canvas {
    CDC dc;
    CBitmap bitmap;
    CBitmap* previous = nullptr;
    CFont font;
    CFont* previousFont = nullptr;
    Canvas(int w, int h) {
        lumo::test::pumpMessages(); // creates the Qt application for fonts
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateCompatibleBitmap(&dc, w, h);
        previous = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, w, h, WHITE);
        LOGFONT lf{};
        lf.lfHeight = EM;
        lf.lfWeight = FW_NORMAL;
        std::wcsncpy(lf.lfFaceName, L"ＭＳ ゴシック", 31);
        font.CreateFontIndirect(&lf);
        previousFont = dc.SelectObject(&font);
        dc.SetTextColor(BLACK);
        dc.SetBkMode(TRANSPARENT);
    }
    ~Canvas() {
        dc.SelectObject(previousFont);
        dc.SelectObject(previous);
    }
    void draw(const std::wstring& text, RECT cell, lumo::Stance stance) {
        const lumo::VerticalPiece piece{text, cell, stance};
        ASSERT_TRUE(dc.DrawVerticalText(&piece, 1));
    }
};

// Where the ink of a region lies: its bounding box and centre of mass.
struct Ink {
    int count = 0;
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    double cx = 0, cy = 0;
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

Ink inkOf(CDC& dc, int x0, int y0, int x1, int y1) {
    Ink ink;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const COLORREF p = dc.GetPixel(x, y);
            if (GetRValue(p) + GetGValue(p) + GetBValue(p) > 3 * 128)
                continue;
            ++ink.count;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
            ink.cx += x;
            ink.cy += y;
        }
    if (ink.count) {
        ink.cx /= ink.count;
        ink.cy /= ink.count;
    }
    return ink;
}

// The character in horizontal writing at (0, 0) and stacked in a column at
// (EM, 0) of a 2 EM x EM canvas.
struct Pair {
    Ink horizontal;
    Ink vertical;
};

Pair drawBoth(wchar_t c) {
    Canvas canvas(2 * EM, EM);
    canvas.dc.TextOut(0, 0, &c, 1);
    canvas.draw(std::wstring(1, c), RECT{EM, 0, 2 * EM, EM}, lumo::Stance::Stacked);
    Pair pair{inkOf(canvas.dc, 0, 0, EM, EM), inkOf(canvas.dc, EM, 0, 2 * EM, EM)};
    pair.vertical.left -= EM;
    pair.vertical.right -= EM;
    pair.vertical.cx -= EM;
    return pair;
}

TEST(VerticalText, CharactersWithVerticalFormsTakeThemInAColumn) {
    struct Case {
        wchar_t c;
        const char* form;
        bool (*holds)(const Pair&);
    };
    const double middle = EM / 2.0;
    static const double m = middle;
    const std::vector<Case> cases = {
        {L'ー', "the long vowel mark runs down the column",
         [](const Pair& p) {
             return p.horizontal.width() > 2 * p.horizontal.height() &&
                    p.vertical.height() > 2 * p.vertical.width();
         }},
        {L'…', "the ellipsis runs down the column",
         [](const Pair& p) { return p.vertical.height() > 2 * p.vertical.width(); }},
        {L'―', "the dash runs down the column",
         [](const Pair& p) { return p.vertical.height() > 2 * p.vertical.width(); }},
        {L'。', "the full stop moves from lower left to upper right",
         [](const Pair& p) {
             return p.horizontal.cx < m && p.horizontal.cy > m && p.vertical.cx > m &&
                    p.vertical.cy < m;
         }},
        {L'、', "the comma moves from lower left to upper right",
         [](const Pair& p) {
             return p.horizontal.cx < m && p.horizontal.cy > m && p.vertical.cx > m &&
                    p.vertical.cy < m;
         }},
        {L'「', "the opening bracket turns to open downwards, in the lower half",
         [](const Pair& p) {
             return p.horizontal.height() > p.horizontal.width() &&
                    p.vertical.width() > p.vertical.height() && p.vertical.cy > m;
         }},
        {L'」', "the closing bracket turns to close upwards, in the upper half",
         [](const Pair& p) {
             return p.vertical.width() > p.vertical.height() && p.vertical.cy < m;
         }},
        {L'（', "the parenthesis turns to open downwards",
         [](const Pair& p) { return p.vertical.width() > p.vertical.height(); }},
        {L'ぁ', "the small kana moves up and to the right",
         [](const Pair& p) {
             return p.vertical.cx > p.horizontal.cx + 2 && p.vertical.cy < p.horizontal.cy - 2;
         }},
        {L'ッ', "the small katakana moves up and to the right",
         [](const Pair& p) {
             return p.vertical.cx > p.horizontal.cx + 2 && p.vertical.cy < p.horizontal.cy - 2;
         }},
    };
    for (const Case& c : cases) {
        const Pair pair = drawBoth(c.c);
        ASSERT_GT(pair.vertical.count, 4) << c.form;
        EXPECT_TRUE(c.holds(pair))
            << c.form << ": horizontal ink " << pair.horizontal.left << "," << pair.horizontal.top
            << " " << pair.horizontal.width() << "x" << pair.horizontal.height() << ", vertical "
            << pair.vertical.left << "," << pair.vertical.top << " " << pair.vertical.width() << "x"
            << pair.vertical.height();
    }
}

TEST(VerticalText, UprightCharactersStandAsInHorizontalWriting) {
    for (wchar_t c : {L'あ', L'漢', L'！', L'・'}) {
        const Pair pair = drawBoth(c);
        EXPECT_EQ(pair.vertical.count, pair.horizontal.count) << int(c);
        EXPECT_EQ(pair.vertical.left, pair.horizontal.left) << int(c);
        EXPECT_EQ(pair.vertical.top, pair.horizontal.top) << int(c);
    }
}

TEST(VerticalText, LatinLettersInAStackLieOnTheirSideTopToTheRight) {
    const Pair pair = drawBoth(L'L');
    // "L" is a tall stroke with a foot to the right; turned clockwise the
    // stroke runs across the top of its cell and the foot hangs on the left.
    EXPECT_GT(pair.horizontal.height(), pair.horizontal.width());
    EXPECT_GT(pair.vertical.width(), pair.vertical.height());
    EXPECT_LT(pair.vertical.bottom, EM / 2 + 1) << "half a cell tall: its horizontal advance";
    const Ink leftHalf = [] {
        Canvas canvas(EM, EM);
        canvas.draw(L"L", RECT{0, 0, EM, EM}, lumo::Stance::Stacked);
        return inkOf(canvas.dc, 0, 0, EM / 2, EM);
    }();
    EXPECT_GT(leftHalf.height(), 2 * EM / 8) << "the foot points down on the left";
}

TEST(VerticalText, StackedCharactersAdvanceByTheirWidth) {
    Canvas canvas(EM, 3 * EM);
    canvas.draw(L"あAい", RECT{0, 0, EM, 3 * EM}, lumo::Stance::Stacked);
    // あ fills the first em, the half-width A the next half em, い the next em.
    EXPECT_GT(inkOf(canvas.dc, 0, 0, EM, EM).count, 20);
    EXPECT_GT(inkOf(canvas.dc, 0, EM, EM, EM + EM / 2).count, 5);
    EXPECT_GT(inkOf(canvas.dc, 0, EM + EM / 2, EM, 2 * EM + EM / 2).count, 20);
    EXPECT_EQ(inkOf(canvas.dc, 0, 2 * EM + EM / 2, EM, 3 * EM).count, 0);
}

TEST(VerticalText, ATurnedRunIsTheHorizontalRunTurnedClockwise) {
    const std::wstring word = L"Aozora";
    const int length = static_cast<int>(word.size()) * EM / 2;
    Canvas canvas(length + EM, length);
    canvas.dc.TextOut(0, 0, word.c_str(), static_cast<int>(word.size()));
    canvas.draw(word, RECT{length, 0, length + EM, length}, lumo::Stance::Turned);
    const Ink flat = inkOf(canvas.dc, 0, 0, length, EM);
    const Ink turned = inkOf(canvas.dc, length, 0, length + EM, length);
    EXPECT_GT(turned.height(), 3 * turned.width()) << "the word lies along the column";
    EXPECT_NEAR(turned.height(), flat.width(), 1);
    EXPECT_NEAR(turned.width(), flat.height(), 1);
    // Turned clockwise, the horizontal run's bottom edge faces left.
    EXPECT_NEAR(turned.top, flat.left, 1);
    EXPECT_NEAR(length + EM - 1 - turned.right, flat.top, 1) << "the em box's top at the right";
    EXPECT_NEAR(turned.count, flat.count, flat.count / 8);
}

TEST(VerticalText, AcrossPutsDigitsSideBySideInOneCell) {
    Canvas canvas(3 * EM, EM);
    canvas.draw(L"12", RECT{0, 0, EM, EM}, lumo::Stance::Across);
    canvas.draw(L"2020", RECT{EM, 0, 2 * EM, EM}, lumo::Stance::Across);
    canvas.draw(L"7", RECT{2 * EM, 0, 3 * EM, EM}, lumo::Stance::Across);
    const Ink two = inkOf(canvas.dc, 0, 0, EM, EM);
    EXPECT_GT(two.width(), EM / 2) << "two digits side by side";
    EXPECT_NEAR(two.cx, EM / 2.0, 2.0) << "centred across the cell";
    const Ink four = inkOf(canvas.dc, EM, 0, 2 * EM, EM);
    EXPECT_GE(four.left, EM) << "squeezed into the cell";
    EXPECT_LT(four.right, 2 * EM);
    EXPECT_GT(four.width(), EM * 3 / 4);
    const Ink one = inkOf(canvas.dc, 2 * EM, 0, 3 * EM, EM);
    EXPECT_LT(one.width(), EM / 2);
    EXPECT_NEAR(one.cx, 2 * EM + EM / 2.0, 2.0) << "a single digit stands in the middle";
}

TEST(VerticalText, DrawsInTheTextColourAndRefusesBadArguments) {
    Canvas canvas(EM, EM);
    canvas.dc.SetTextColor(RGB(255, 0, 0));
    canvas.draw(L"漢", RECT{0, 0, EM, EM}, lumo::Stance::Stacked);
    int red = 0;
    for (int y = 0; y < EM; ++y)
        for (int x = 0; x < EM; ++x)
            red += canvas.dc.GetPixel(x, y) == RGB(255, 0, 0);
    EXPECT_GT(red, 20);
    EXPECT_FALSE(canvas.dc.DrawVerticalText(nullptr, 1));
    EXPECT_FALSE(canvas.dc.DrawVerticalText(nullptr, -1));
    EXPECT_TRUE(canvas.dc.DrawVerticalText(nullptr, 0));
    CDC unattached;
    const lumo::VerticalPiece piece{L"漢", RECT{0, 0, EM, EM}, lumo::Stance::Stacked};
    EXPECT_FALSE(unattached.DrawVerticalText(&piece, 1));
}

// A 3 x 2 picture of six colours, pixel (x, y) = RGB(10 + x, 20 + y, 0).
COLORREF tile(int x, int y) {
    return RGB(10 + x, 20 + y, 0);
}

TEST(PlgBlt, TurnsARectangleByRightAnglesPixelForPixel) {
    struct Case {
        const char* name;
        POINT corners[3]; // upper-left, upper-right, lower-left of the source
        // Where source pixel (x, y) lands.
        POINT (*lands)(int x, int y);
    };
    const std::vector<Case> cases = {
        {"unturned",
         {{1, 1}, {4, 1}, {1, 3}},
         [](int x, int y) {
             return POINT{1 + x, 1 + y};
         }},
        {"clockwise",
         {{4, 1}, {4, 4}, {2, 1}},
         [](int x, int y) {
             return POINT{3 - y, 1 + x};
         }},
        {"half turn",
         {{4, 3}, {1, 3}, {4, 1}},
         [](int x, int y) {
             return POINT{3 - x, 2 - y};
         }},
        {"anticlockwise",
         {{1, 4}, {1, 1}, {3, 4}},
         [](int x, int y) {
             return POINT{1 + y, 3 - x};
         }},
    };
    for (const Case& c : cases) {
        Canvas source(3, 2);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                source.dc.SetPixel(x, y, tile(x, y));
        Canvas target(6, 6);
        ASSERT_TRUE(target.dc.PlgBlt(c.corners, &source.dc, 0, 0, 3, 2)) << c.name;
        int moved = 0;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) {
                const POINT p = c.lands(x, y);
                EXPECT_EQ(target.dc.GetPixel(p.x, p.y), tile(x, y))
                    << c.name << " " << x << "," << y;
                ++moved;
            }
        int untouched = 0;
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x)
                untouched += target.dc.GetPixel(x, y) == WHITE;
        EXPECT_EQ(untouched, 36 - moved) << c.name << ": nothing outside the turned rectangle";
    }
}

TEST(PlgBlt, ReadsBottomUpSectionsTheRightWayUpAndRefusesOtherShapes) {
    lumo::test::pumpMessages();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 3;
    info.bmiHeader.biHeight = 2;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    const HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(dib, nullptr);
    CDC section;
    section.CreateCompatibleDC(nullptr);
    CBitmap* old = section.SelectObject(CBitmap::FromHandle(dib));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            section.SetPixel(x, y, tile(x, y));
    Canvas target(4, 4);
    const POINT clockwise[3] = {{2, 0}, {2, 3}, {0, 0}};
    ASSERT_TRUE(target.dc.PlgBlt(clockwise, &section, 0, 0, 3, 2));
    EXPECT_EQ(target.dc.GetPixel(1, 0), tile(0, 0));
    EXPECT_EQ(target.dc.GetPixel(0, 0), tile(0, 1));
    EXPECT_EQ(target.dc.GetPixel(0, 2), tile(2, 1));

    const POINT skewed[3] = {{0, 0}, {3, 1}, {0, 2}};
    const POINT scaled[3] = {{0, 0}, {0, 6}, {-2, 0}};
    EXPECT_FALSE(target.dc.PlgBlt(skewed, &section, 0, 0, 3, 2));
    EXPECT_FALSE(target.dc.PlgBlt(scaled, &section, 0, 0, 3, 2));
    EXPECT_FALSE(target.dc.PlgBlt(clockwise, nullptr, 0, 0, 3, 2));
    section.SelectObject(old);
    DeleteObject(dib);
}

TEST(PlgBlt, TurnsAPictureInPlaceFromItsOriginalPixels) {
    Canvas canvas(2, 2);
    canvas.dc.SetPixel(0, 0, tile(0, 0));
    canvas.dc.SetPixel(1, 0, tile(1, 0));
    canvas.dc.SetPixel(0, 1, tile(0, 1));
    canvas.dc.SetPixel(1, 1, tile(1, 1));
    const POINT clockwise[3] = {{2, 0}, {2, 2}, {0, 0}};
    ASSERT_TRUE(canvas.dc.PlgBlt(clockwise, &canvas.dc, 0, 0, 2, 2));
    EXPECT_EQ(canvas.dc.GetPixel(1, 0), tile(0, 0));
    EXPECT_EQ(canvas.dc.GetPixel(1, 1), tile(1, 0));
    EXPECT_EQ(canvas.dc.GetPixel(0, 0), tile(0, 1));
    EXPECT_EQ(canvas.dc.GetPixel(0, 1), tile(1, 1));
}

TEST(PlgBlt, OnlyThePartOfTheSourceInsideItsBitmapMoves) {
    Canvas source(2, 2);
    source.dc.FillSolidRect(0, 0, 2, 2, BLACK);
    Canvas target(6, 6);
    // A 4 x 2 rectangle from x = -2: its right half exists.
    const POINT clockwise[3] = {{3, 1}, {3, 5}, {1, 1}};
    ASSERT_TRUE(target.dc.PlgBlt(clockwise, &source.dc, -2, 0, 4, 2));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool black = x >= 1 && x < 3 && y >= 3 && y < 5;
            EXPECT_EQ(target.dc.GetPixel(x, y), black ? BLACK : WHITE) << x << "," << y;
        }
}

} // namespace
