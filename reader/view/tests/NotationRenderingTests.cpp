// Full notation on screen, checked on captured pixels: marks beside the
// characters they belong to and clear of the ruby, indented and end-aligned
// rows, headings, small text, a page break, published illustrations, and the
// one-line scroll step drawing what a full paint draws.
#include "ReaderFixture.h"

namespace {

using namespace readertest;
using lumo::test::captureWindow;
using lumo::test::pumpMessages;

// Body 16 px (12 pt), ruby 10 px (8 pt), "A" 8 px; the body font leaves
// the last two pixel rows of its band free of ink.
constexpr int TW = 8;
constexpr int RUBY_PX = 10;
constexpr int BODY_PX = 16;
constexpr int TEXT_RIGHT = 752;

class NotationRendering : public ReaderFixture {
protected:
    void SetUp() override {
        ReaderFixture::SetUp();
        loadReader();
        startProgram();
        m_aozoraNotation = 1;
    }
    void TearDown() override {
        m_aozoraNotation = 0;
        ReaderFixture::TearDown();
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
    static int rowTop(int row) { return row * (BODY_PX + RUBY_PX + 2); }
    // Ink in the ruby band of a row, and in the pixel rows under its text
    // (the two the font leaves free and the line gap).
    static int bandInk(const QImage& image, int row, int x0, int x1) {
        return inkCount(image, x0, rowTop(row), x1, rowTop(row) + RUBY_PX);
    }
    static int underInk(const QImage& image, int row, int x0, int x1) {
        const int bottom = rowTop(row) + RUBY_PX + BODY_PX;
        return inkCount(image, x0, bottom - 2, x1, bottom + 2);
    }
};

TEST_F(NotationRendering, MarksAndLinesSitBesideTheirCharactersOnly) {
    ASSERT_NE(openBody({L"あいうえお", L"あいうえお［＃「う」に丸傍点］",
                        L"あいうえお［＃「う」の左に丸傍点］", L"あいうえお［＃「いう」に傍線］",
                        L"あいうえお［＃「えお」の左に波線］"}),
              nullptr);
    const QImage image = showFrom(3);
    // Where a row differs from the plain row 0, in [x0, x1).
    auto differs = [&](int row, int x0, int x1) {
        return image.copy(x0, rowTop(row), x1 - x0, rowTop(1)) !=
               image.copy(x0, rowTop(0), x1 - x0, rowTop(1));
    };
    // う is the third character: x 32..48.
    EXPECT_GT(bandInk(image, 1, 32, 48), 0) << "the mark over う";
    EXPECT_FALSE(differs(1, 0, 32));
    EXPECT_FALSE(differs(1, 48, 200));
    EXPECT_EQ(image.copy(32, rowTop(1) + RUBY_PX, 16, rowTop(1) - RUBY_PX),
              image.copy(32, rowTop(0) + RUBY_PX, 16, rowTop(1) - RUBY_PX))
        << "nothing under it";

    EXPECT_EQ(bandInk(image, 2, 0, 200), 0) << "the left-side mark is under う";
    EXPECT_TRUE(differs(2, 32, 48));
    EXPECT_FALSE(differs(2, 0, 32));
    EXPECT_FALSE(differs(2, 48, 200));

    EXPECT_EQ(inkColumns(image, 0, rowTop(3), 200, rowTop(3) + RUBY_PX),
              (std::pair<int, int>{16, 47}))
        << "the line over いう, to each column's end";
    EXPECT_EQ(bandInk(image, 4, 0, 200), 0);
    EXPECT_FALSE(differs(4, 0, 48));
    EXPECT_FALSE(differs(4, 80, 200));
    EXPECT_EQ(inkColumns(image, 0, rowTop(4) + RUBY_PX + BODY_PX - 1, 200,
                         rowTop(4) + RUBY_PX + BODY_PX + 2),
              (std::pair<int, int>{48, 79}))
        << "the wavy line under えお";
}

TEST_F(NotationRendering, MarksOverRubyTextStepUnderTheirCharacters) {
    ASSERT_NE(openBody({L"漢字《かんじ》［＃「漢字」に丸傍点］あい", L"漢字《かんじ》あい"}),
              nullptr);
    const QImage image = showFrom(3);
    const int height = rowTop(1);
    EXPECT_EQ(image.copy(0, rowTop(0), 200, RUBY_PX), image.copy(0, rowTop(1), 200, RUBY_PX))
        << "the ruby band holds the ruby alone";
    EXPECT_NE(image.copy(0, rowTop(0), 32, height), image.copy(0, rowTop(1), 32, height))
        << "the marks under 漢字";
    EXPECT_EQ(image.copy(32, rowTop(0), 168, height), image.copy(32, rowTop(1), 168, height));
}

TEST_F(NotationRendering, AnIndentedRowStartsItsFullWidthColumnsIn) {
    ASSERT_NE(openBody({L"本文", L"［＃３字下げ］本文", L"あ",
                        L"［＃ここから２字下げ、折り返して４字下げ］" + std::wstring(100, L'あ'),
                        L"［＃ここで字下げ終わり］［＃地付き］終"}),
              nullptr);
    const QImage image = showFrom(3);
    auto firstInk = [&](int row) {
        return inkColumns(image, 0, rowTop(row) + RUBY_PX, TEXT_RIGHT,
                          rowTop(row) + RUBY_PX + BODY_PX)
            .first;
    };
    ASSERT_GE(firstInk(0), 0);
    EXPECT_EQ(firstInk(1), firstInk(0) + 3 * 2 * TW) << "three full-width columns in";
    EXPECT_EQ(firstInk(3), firstInk(2) + 2 * 2 * TW) << "the block's first row";
    EXPECT_EQ(firstInk(4), firstInk(2) + 4 * 2 * TW) << "its continuation rows";
    const int last =
        inkColumns(image, 0, rowTop(6) + RUBY_PX, TEXT_RIGHT, rowTop(6) + RUBY_PX + BODY_PX).second;
    const int columns = document()->getLayoutMetrics().columnsPerLine;
    EXPECT_LT(last, columns * TW) << "地付き ends at the row's last column";
    EXPECT_GE(last, (columns - 2) * TW);
}

TEST_F(NotationRendering, AHeadingRowIsBoldAndLargerWhereTheRowHasRoom) {
    ASSERT_NE(openBody({L"見出し", L"見出し［＃「見出し」は大見出し］",
                        L"見出し《みだし》［＃「見出し」は大見出し］"}),
              nullptr);
    const QImage image = showFrom(3);
    const auto plain = inkColumns(image, 0, rowTop(0), TEXT_RIGHT, rowTop(1));
    const auto large = inkColumns(image, 0, rowTop(1), TEXT_RIGHT, rowTop(2));
    EXPECT_GT(large.second - large.first, (plain.second - plain.first) * 5 / 4)
        << "wider by its larger size";
    EXPECT_GT(inkCount(image, 0, rowTop(1), TEXT_RIGHT, rowTop(1) + RUBY_PX - 2), 0)
        << "it rises into the free ruby band";
    EXPECT_GT(inkCount(image, 0, rowTop(1), TEXT_RIGHT, rowTop(2)),
              inkCount(image, 0, rowTop(0), TEXT_RIGHT, rowTop(1)) * 3 / 2);

    // With ruby over it the band is taken: the heading keeps the body size,
    // bold, so its text is where the plain row's is with more ink.
    const auto withRuby =
        inkColumns(image, 0, rowTop(2) + RUBY_PX, TEXT_RIGHT, rowTop(2) + RUBY_PX + BODY_PX);
    EXPECT_NEAR(withRuby.second, plain.second, 2);
    EXPECT_GT(inkCount(image, 0, rowTop(2) + RUBY_PX, TEXT_RIGHT, rowTop(3)),
              inkCount(image, 0, rowTop(0) + RUBY_PX, TEXT_RIGHT, rowTop(1)));
}

TEST_F(NotationRendering, SmallTextIsSmallerAndLoweredOrRaised) {
    ASSERT_NE(openBody({L"H2O", L"H2［＃「2」は下付き小文字］O", L"x2［＃「2」は上付き小文字］"}),
              nullptr);
    const QImage image = showFrom(3);
    auto inkRows = [&](int row) {
        int first = -1, last = -1;
        for (int y = rowTop(row); y < rowTop(row + 1); ++y)
            if (inkCount(image, TW, y, 2 * TW, y + 1) > 0) {
                if (first < 0)
                    first = y - rowTop(row);
                last = y - rowTop(row);
            }
        return std::pair<int, int>{first, last};
    };
    const auto plain = inkRows(0);
    const auto lowered = inkRows(1);
    const auto raised = inkRows(2);
    ASSERT_GE(plain.first, 0);
    EXPECT_LT(lowered.second - lowered.first, plain.second - plain.first) << "smaller";
    EXPECT_GT(lowered.second, plain.second) << "lowered";
    EXPECT_LT(raised.first, plain.first + 1) << "raised";
    EXPECT_LT(raised.second, plain.second - 2);
}

TEST_F(NotationRendering, APageBreakStartsTheNextPageInPageUnits) {
    m_scrollRange = 1;
    std::vector<std::wstring> body = {L"一", L"二", L"三", L"［＃改ページ］", L"後"};
    for (int i = 0; i < 40; ++i)
        body.push_back(L"続き");
    ASSERT_NE(openBody(body), nullptr);
    const QImage first = showFrom(1);
    for (int row = 0; row < 3; ++row)
        EXPECT_GT(inkCount(first, 0, rowTop(row), TEXT_RIGHT, rowTop(row + 1)), 0) << row;
    EXPECT_EQ(inkCount(first, 0, rowTop(3), TEXT_RIGHT, rowTop(linesPerPage())), 0)
        << "the rest of the page stays empty";
    const QImage second = showFrom(2);
    const QImage after = second.copy(0, rowTop(0), 100, rowTop(1));
    EXPECT_GT(inkCount(second, 0, rowTop(0), TEXT_RIGHT, rowTop(1)), 0);
    EXPECT_NE(after, second.copy(0, rowTop(1), 100, rowTop(1))) << "後, not 続き, heads the page";
}

TEST_F(NotationRendering, GaijiShowTheirCharacterInsteadOfTheMark) {
    ASSERT_NE(
        openBody({L"※［＃「口＋世」、U+546D］", L"※", L"※［＃「土へん＋竒」、ページ数-行数］"}),
        nullptr);
    const QImage image = showFrom(3);
    const QImage gaiji = image.copy(0, rowTop(0), 16, rowTop(1));
    EXPECT_NE(gaiji, image.copy(0, rowTop(1), 16, rowTop(1)));
    EXPECT_EQ(image.copy(0, rowTop(2), 16, rowTop(1)), image.copy(0, rowTop(1), 16, rowTop(1)))
        << "a note without a code keeps its mark";
}

TEST_F(NotationRendering, APublishedIllustrationShowsOnATapOnItsCaption) {
    writeBmp(m_dir, "fig.bmp", 40, 20, [](int, int) { return qRgb(255, 0, 0); });
    ASSERT_NE(openBody({L"［＃コンドル博士の図（fig.bmp、横40×縦20）入る］", L"本文"}), nullptr);
    const QImage page = showFrom(3);
    // "[コンドル博士の図]": two brackets and eight full-width characters, 18 columns.
    EXPECT_EQ(view()->hitTestLink(18 * TW - 2, RUBY_PX + 8), 3);
    EXPECT_EQ(view()->hitTestLink(18 * TW + 4, RUBY_PX + 8), -1);
    lumo::test::tap(view(), POINT{20, RUBY_PX + 8});
    ASSERT_EQ(probe().illustrationShown(), 1) << "fig.bmp, found without its size";
    EXPECT_EQ(captureWindow(view()).pixel(400, 227) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(NotationRendering, ScrollingOneLineRedrawsTheSameImageAsAFullPaint) {
    std::vector<std::wstring> body;
    for (int i = 0; i < 60; ++i)
        body.push_back(i % 3 == 0 ? L"見出し［＃「見出し」は中見出し］"
                       : i % 3 == 1 ? L"［＃２字下げ］本文［＃「本文」に傍点］《ほんぶん》です"
                                    : L"左［＃「左」の左に二重丸傍点］と線［＃「線」の左に波線］");
    ASSERT_NE(openBody(body), nullptr);
    const int height = linesPerPage() * rowTop(1);
    lumo::test::tap(view(), pageButton(2));
    lumo::test::tap(view(), pageButton(2));
    ASSERT_EQ(index(), 2);
    const QImage stepped = captureWindow(view()).copy(0, 0, TEXT_RIGHT, height);
    EXPECT_EQ(stepped, showFrom(2).copy(0, 0, TEXT_RIGHT, height));
    lumo::test::tap(view(), pageButton(1));
    const QImage back = captureWindow(view()).copy(0, 0, TEXT_RIGHT, height);
    EXPECT_EQ(back, showFrom(1).copy(0, 0, TEXT_RIGHT, height));
}

} // namespace
