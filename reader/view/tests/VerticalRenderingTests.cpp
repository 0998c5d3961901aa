// Vertical writing (縦書き) on screen, checked on captured pixels: columns from
// the right, characters stacked downwards, ruby to the right, the vertical
// forms of punctuation and small kana, Latin words on their side, digits in
// one cell, headings set larger, taps on an illustration found by column,
// steps that draw what a full paint draws, and the dialog switching
// directions at once.
#include "ReaderFixture.h"

#include "reader/view/YomiteResources.h"

#include "hostkit/ExtendToolManager.h"

namespace {

using namespace readertest;
using lumo::test::captureWindow;
using lumo::test::pumpMessages;

// Body 16 px, ruby 10 px, line gap 2: columns 28 px apart from the text
// area's right edge (752), each with its ruby band at its right.
constexpr int BODY = 16;
constexpr int RUBY = 10;
constexpr int PITCH = BODY + RUBY + 2;
constexpr int TEXT_RIGHT = 752;
constexpr int CELL = 16;

int bodyLeft(int column) {
    return TEXT_RIGHT - PITCH * column - BODY - RUBY;
}
int rubyLeft(int column) {
    return TEXT_RIGHT - PITCH * column - RUBY;
}

// The ink of a region: its bounding box and centre, relative to the region.
struct Ink {
    int count = 0;
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    double cx = 0, cy = 0;
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

Ink inkOf(const QImage& image, int x0, int y0, int x1, int y1) {
    Ink ink;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            if (inkCount(image, x, y, x + 1, y + 1) == 0)
                continue;
            ++ink.count;
            ink.left = std::min(ink.left, x - x0);
            ink.right = std::max(ink.right, x - x0);
            ink.top = std::min(ink.top, y - y0);
            ink.bottom = std::max(ink.bottom, y - y0);
            ink.cx += x - x0;
            ink.cy += y - y0;
        }
    if (ink.count) {
        ink.cx /= ink.count;
        ink.cy /= ink.count;
    }
    return ink;
}

// Character k of column `column`, full-width.
Ink cellInk(const QImage& image, int column, int k) {
    return inkOf(image, bodyLeft(column), k * CELL, bodyLeft(column) + BODY, (k + 1) * CELL);
}

class VerticalRendering : public ReaderFixture {
protected:
    void SetUp() override {
        ReaderFixture::SetUp();
        loadReader();
        startProgram();
        // Each book opens at its start, however often it is opened.
        m_autoSaveAtExit = 0;
        m_textDirection = 1;
    }
    CDavaroDiroView* openBody(const std::vector<std::wstring>& body) {
        std::vector<std::wstring> lines = {L"題", L"者", L""};
        lines.insert(lines.end(), body.begin(), body.end());
        return open(writeBook("book.txt", lines));
    }
    QImage showFrom(int first) {
        document()->m_currentIndex = first;
        probe().forgetDrawnPage();
        view()->Invalidate(FALSE);
        pumpMessages();
        return captureWindow(view());
    }
    QImage textArea(const QImage& image) const { return image.copy(0, 0, TEXT_RIGHT, 454); }
};

TEST_F(VerticalRendering, TheFirstLineIsTheRightmostColumnReadDownwards) {
    ASSERT_NE(openBody({L"漢字四つ", L"一", L"三文字"}), nullptr);
    EXPECT_EQ(document()->getLayoutMetrics().columnsPerLine, 454 / 8 - 2)
        << "a column holds as many layout columns as the area is tall";
    EXPECT_EQ(linesPerPage(), TEXT_RIGHT / PITCH);
    const QImage page = showFrom(3);
    for (int k = 0; k < 4; ++k)
        EXPECT_GT(cellInk(page, 0, k).count, 10) << "character " << k << " of the first column";
    EXPECT_EQ(inkOf(page, bodyLeft(0), 4 * CELL, bodyLeft(0) + BODY, 454).count, 0)
        << "nothing below the fourth";
    EXPECT_GT(cellInk(page, 1, 0).count, 3) << "the second line to its left";
    EXPECT_EQ(inkOf(page, bodyLeft(1), CELL, bodyLeft(1) + BODY, 454).count, 0);
    EXPECT_GT(cellInk(page, 2, 2).count, 10);
    EXPECT_EQ(inkOf(page, 0, 0, bodyLeft(3) + PITCH - 2, 454).count, 0)
        << "the rest of the page, to the left, is empty";
}

TEST_F(VerticalRendering, RubyStandsToTheRightOfItsBaseSpreadOrCentred) {
    ASSERT_NE(openBody({L"漢字語《かな》", L"空《そらそらそら》", L"あああ空《そらそら》"}),
              nullptr);
    const QImage page = showFrom(3);
    auto ruby = [&](int column, int y0, int y1) {
        return inkOf(page, rubyLeft(column), y0, rubyLeft(column) + RUBY, y1).count;
    };
    // Spread: gap (48 - 20) / 3 down the base; the first kana at 9, the
    // next a ruby cell and a gap further, at 28.
    EXPECT_EQ(ruby(0, 0, 9), 0);
    EXPECT_GT(ruby(0, 9, 19), 0);
    EXPECT_EQ(ruby(0, 19, 28), 0) << "the gap between spread ruby characters";
    EXPECT_GT(ruby(0, 28, 38), 0);
    EXPECT_EQ(ruby(0, 38, 454), 0);
    EXPECT_GT(inkOf(page, bodyLeft(0), 0, bodyLeft(0) + BODY, 3 * CELL).count, 0);

    // Longer than its base at the column's top: kept inside, from the top.
    const Ink clamped = inkOf(page, rubyLeft(1), 0, rubyLeft(1) + RUBY, 454);
    EXPECT_LT(clamped.top, 3);
    EXPECT_LE(clamped.bottom, 6 * 2 * 5);

    // Centred on its base: y = 48 - (40 - 16) / 2 = 36.
    const Ink centred = inkOf(page, rubyLeft(2), 0, rubyLeft(2) + RUBY, 454);
    EXPECT_GE(centred.top, 36);
    EXPECT_LT(centred.top, 40);
    EXPECT_LT(centred.bottom, 36 + 4 * 2 * 5);
}

TEST_F(VerticalRendering, PunctuationLongVowelsAndSmallKanaTakeTheirVerticalForms) {
    const std::wstring line = L"ー「。ぁ";
    ASSERT_NE(openBody({line}), nullptr);
    const QImage vertical = showFrom(3);
    m_textDirection = 0;
    ASSERT_NE(openBody({line}), nullptr);
    const QImage horizontal = showFrom(3);
    auto flat = [&](int k) {
        return inkOf(horizontal, k * CELL, RUBY, (k + 1) * CELL, RUBY + BODY);
    };

    const Ink bar = cellInk(vertical, 0, 0);
    EXPECT_GT(flat(0).width(), 2 * flat(0).height());
    EXPECT_GT(bar.height(), 2 * bar.width()) << "ー runs down the column";

    const Ink bracket = cellInk(vertical, 0, 1);
    EXPECT_GT(flat(1).height(), flat(1).width());
    EXPECT_GT(bracket.width(), bracket.height()) << "「 turned to open downwards";
    EXPECT_GT(bracket.cy, CELL / 2.0) << "in the lower half of its cell";

    const Ink stop = cellInk(vertical, 0, 2);
    EXPECT_LT(flat(2).cx, CELL / 2.0);
    EXPECT_GT(flat(2).cy, CELL / 2.0);
    EXPECT_GT(stop.cx, CELL / 2.0) << "。 at the upper right";
    EXPECT_LT(stop.cy, CELL / 2.0);

    const Ink small = cellInk(vertical, 0, 3);
    EXPECT_GT(small.cx, flat(3).cx + 1) << "ぁ moves right";
    EXPECT_LT(small.cy, flat(3).cy - 1) << "and up";
}

TEST_F(VerticalRendering, ALatinWordLiesOnItsSideAndTwoDigitsShareACell) {
    ASSERT_NE(openBody({L"あEnglishい", L"第10段", L"第1段"}), nullptr);
    const QImage page = showFrom(3);
    // "English" takes 7 half cells below あ; い follows it.
    const Ink word = inkOf(page, bodyLeft(0), CELL, bodyLeft(0) + BODY, CELL + 7 * 8);
    EXPECT_GT(word.height(), 3 * word.width()) << "the word's ink runs down the column";
    EXPECT_GT(word.height(), 40);
    EXPECT_GT(inkOf(page, bodyLeft(0), CELL + 56, bodyLeft(0) + BODY, 2 * CELL + 56).count, 10);

    const Ink ten = cellInk(page, 1, 1);
    EXPECT_GT(ten.width(), 9) << "1 and 0 side by side";
    EXPECT_LE(ten.height(), CELL);
    EXPECT_GT(cellInk(page, 1, 2).count, 10) << "段 in the next cell";
    const Ink one = cellInk(page, 2, 1);
    EXPECT_LT(one.width(), 8) << "a single digit stands alone in its cell";
    EXPECT_GT(cellInk(page, 2, 2).count, 10) << "段 after the digit's whole cell";
}

TEST_F(VerticalRendering, AHeadingColumnIsBoldAndLargerWhereItsRubyBandIsFree) {
    m_aozoraNotation = 1;
    ASSERT_NE(openBody({L"見出し", L"見出し［＃「見出し」は大見出し］",
                        L"見出し《みだし》［＃「見出し」は大見出し］"}),
              nullptr);
    const QImage page = showFrom(3);
    auto column = [&](int k) {
        return inkOf(page, bodyLeft(k), 0, bodyLeft(k) + BODY + RUBY, 454);
    };
    const Ink plain = column(0);
    const Ink large = column(1);
    EXPECT_GT(large.height(), plain.height() * 5 / 4) << "longer by its larger size";
    EXPECT_GT(large.right, plain.right + 2) << "it widens into the free ruby band";
    EXPECT_GT(large.count, plain.count * 3 / 2);

    // With ruby beside it the band is taken: the heading keeps the body size,
    // bold, so it runs as far as the plain column with more ink.
    const Ink withRuby = inkOf(page, bodyLeft(2), 0, bodyLeft(2) + BODY, 454);
    EXPECT_NEAR(withRuby.bottom, plain.bottom, 2);
    EXPECT_GT(withRuby.count, inkOf(page, bodyLeft(0), 0, bodyLeft(0) + BODY, 454).count);
}

TEST_F(VerticalRendering, ACutColumnEndsWithAVerticalEllipsis) {
    std::vector<std::wstring> lines = {std::wstring(40, L'漢'), L"者", L""};
    ASSERT_NE(open(writeBook("long.txt", lines)), nullptr);
    const QImage page = showFrom(0);
    // 454 px hold 56 units: 27 characters, then "…" in the last whole cell.
    const Ink ellipsis = cellInk(page, 0, 27);
    EXPECT_GT(ellipsis.height(), 2 * ellipsis.width()) << "the ellipsis runs down";
    EXPECT_GT(cellInk(page, 0, 26).count, 20);
    EXPECT_EQ(inkOf(page, bodyLeft(0), 28 * CELL, bodyLeft(0) + BODY, 454).count, 0);
}

TEST_F(VerticalRendering, AnIllustrationIsTappedByItsColumn) {
    writeBmp(m_dir, "pic.bmp", 40, 20, [](int, int) { return qRgb(255, 0, 0); });
    ASSERT_NE(openBody({L"本文です。", L"［＃挿絵（pic.bmp）入る］", L"本文です。"}), nullptr);
    showFrom(3);
    EXPECT_EQ(view()->hitTestLink(bodyLeft(0) + 4, 8), -1) << "the text's column";
    EXPECT_EQ(view()->hitTestLink(bodyLeft(1) + 4, 400), -1) << "below the label";
    EXPECT_EQ(view()->hitTestLink(bodyLeft(1) + 4, 8), 4);
    lumo::test::tap(view(), POINT{bodyLeft(1) + 4, 8});
    ASSERT_EQ(probe().illustrationShown(), 1);
    EXPECT_EQ(captureWindow(view()).pixel(400, 227) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(VerticalRendering, TheStripLeftOfThePageIsNoColumn) {
    writeBmp(m_dir, "pic.bmp", 40, 20, [](int, int) { return qRgb(255, 0, 0); });
    // The illustration is the first line after a page shown from line 7.
    std::vector<std::wstring> body(30, L"本文です。");
    body.push_back(L"［＃挿絵（pic.bmp）入る］");
    ASSERT_NE(openBody(body), nullptr);
    ASSERT_EQ(linesPerPage(), 26);
    showFrom(7);
    ASSERT_LT(bodyLeft(25) - 2, PITCH) << "a strip narrower than a column is left";
    EXPECT_EQ(view()->hitTestLink(4, 8), -1) << "the next page's line is not shown";
    showFrom(8);
    EXPECT_EQ(view()->hitTestLink(bodyLeft(25) + 4, 8), 33) << "shown in the last column";
}

TEST_F(VerticalRendering, OneColumnStepsDrawWhatAFullPaintDraws) {
    writeBmp(m_dir, "walls/grey.bmp", 30, 30, [](int, int) { return qRgb(120, 160, 200); });
    for (bool wallpaper : {false, true}) {
        m_pathWallpaper = wallpaper ? CString((m_dir / "walls").wstring()) : CString();
        m_alphaWallpaper = 16;
        ASSERT_NE(open(writeBook("book.txt", numberedBook(100))), nullptr);
        lumo::test::tap(view(), pageButton(2));
        lumo::test::tap(view(), pageButton(2));
        ASSERT_EQ(index(), 2) << "forward moves on by one column";
        const QImage stepped = textArea(captureWindow(view()));
        EXPECT_EQ(stepped, textArea(showFrom(2))) << "wallpaper " << wallpaper;
        lumo::test::tap(view(), pageButton(1));
        EXPECT_EQ(textArea(captureWindow(view())), textArea(showFrom(1)))
            << "wallpaper " << wallpaper;
    }
}

TEST_F(VerticalRendering, TheTitlePageInPageUnitsShowsTwoColumns) {
    m_scrollRange = 1;
    ASSERT_NE(open(writeBook("book.txt", numberedBook(100))), nullptr);
    const QImage title = captureWindow(view());
    EXPECT_GT(inkOf(title, bodyLeft(0), 0, TEXT_RIGHT, 454).count, 0);
    EXPECT_GT(inkOf(title, bodyLeft(1), 0, bodyLeft(0), 454).count, 0);
    EXPECT_EQ(inkOf(title, 0, 0, TEXT_RIGHT - 2 * PITCH, 454).count, 0);
}

TEST_F(VerticalRendering, TheDialogSwitchesDirectionsAtOnceKeepingThePlace) {
    m_textDirection = 0;
    ASSERT_NE(open(writeBook("book.txt", numberedBook(300))), nullptr);
    document()->m_currentIndex = 120;
    const SourcePosition before = document()->positionOf(120);
    for (int direction : {1, 0}) {
        lumo::test::driveNextDialog([direction](lumo::test::DialogDriver& d) {
            d.chooseComboIndex(yomite::IDC_TEXT_DIRECTION, direction);
            d.press(IDOK);
        });
        frame()->SendMessage(
            WM_COMMAND,
            CLumoPluginManager::getInstance()->getExtendToolManager()->getDynamicAllocateMenuId(
                L"lumo.davarodiro.tool", yomite::ID_READER_SETTINGS),
            0);
        pumpMessages();
        EXPECT_EQ(m_textDirection, direction);
        EXPECT_EQ(document()->positionOf(index()), before) << direction;
        EXPECT_EQ(probe().lastDrawnTop(), index()) << "repainted at once";
        const QImage shown = captureWindow(view());
        // The short lines leave the right end of the rows empty, and the
        // foot of the columns.
        const bool columns = inkOf(shown, bodyLeft(0), 0, bodyLeft(0) + BODY, 100).count > 0;
        const bool rows = inkOf(shown, 0, 300, 100, 330).count > 0;
        EXPECT_EQ(columns, direction == 1);
        EXPECT_EQ(rows, direction == 0);
    }
}

} // namespace
