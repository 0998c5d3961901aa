// Layout in full notation: narrower rows under every line-breaking rule,
// rows of their own, page breaks in the page table, and lines with nothing
// to show left out of the tables without losing any text.
#include "BookFixture.h"

#include "reader/document/NotationParser.h"

#include <random>

namespace {

class NotatedLayout : public BookTest {
protected:
    void SetUp() override {
        BookTest::SetUp();
        m_aozoraNotation = 1;
    }
};

struct NarrowCase {
    const char* name;
    int columns;
    std::wstring line;
    std::vector<std::wstring> displayLines;
};

void PrintTo(const NarrowCase& c, std::ostream* os) {
    *os << c.name;
}

class NarrowRows : public NotatedLayout, public ::testing::WithParamInterface<NarrowCase> {};

TEST_P(NarrowRows, KeepEveryRuleWithinTheRoomLeft) {
    const NarrowCase& c = GetParam();
    CDavaroDiroBook book = bookWithBody({c.line});
    ASSERT_TRUE(book.layout(c.columns, 100));
    EXPECT_EQ(bodyDisplayLines(book), c.displayLines);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, NarrowRows,
    ::testing::Values(
        NarrowCase{"indent_takes_room",
                   12,
                   L"［＃２字下げ］あいうえおか",
                   {L"［＃２字下げ］あいうえ", L"おか"}},
        NarrowCase{"forbidden_start_hangs",
                   12,
                   L"［＃２字下げ］あいうえ。かきく",
                   {L"［＃２字下げ］あいうえ。", L"かきく"}},
        NarrowCase{"forbidden_end_moves",
                   12,
                   L"［＃２字下げ］あいう「えお",
                   {L"［＃２字下げ］あいう", L"「えお"}},
        NarrowCase{"word_moves", 8, L"［＃１字下げ］abc defgh", {L"［＃１字下げ］abc ", L"defgh"}},
        NarrowCase{"number_moves", 6, L"［＃１字下げ］ab 12.5", {L"［＃１字下げ］ab ", L"12.5"}},
        NarrowCase{"kanji_run_with_ruby_moves",
                   12,
                   L"［＃２字下げ］あいう漢字《かんじ》",
                   {L"［＃２字下げ］あいう", L"漢字《かんじ》"}},
        NarrowCase{"run_with_gaiji_and_ruby_moves",
                   12,
                   L"［＃２字下げ］あいう漢※［＃「口＋世」、U+546D］《かん》",
                   {L"［＃２字下げ］あいう", L"漢※［＃「口＋世」、U+546D］《かん》"}},
        NarrowCase{"end_alignment_takes_room",
                   12,
                   L"［＃地から２字上げ］あいうえお",
                   {L"［＃地から２字上げ］あいうえ", L"お"}},
        NarrowCase{"continuation_rows_take_their_own_indent",
                   12,
                   L"［＃ここから改行天付き、折り返して２字下げ］一二三四五六七八九",
                   {L"［＃ここから改行天付き、折り返して２字下げ］一二三四五六", L"七八九"}},
        NarrowCase{"illustration_label_has_its_width",
                   10,
                   L"あいう［＃挿絵（a.png）入る］え",
                   {L"あいう［＃挿絵（a.png）入る］", L"え"}},
        NarrowCase{"heading_rows_stand_alone",
                   40,
                   L"序文［＃「序文」は同行中見出し］本文",
                   {L"序文［＃「序文」は同行中見出し］", L"本文"}},
        NarrowCase{
            "page_break_inside_a_line", 40, L"前［＃改ページ］後", {L"前［＃改ページ］", L"後"}}));

TEST_F(NotatedLayout, APageBreakStartsANewPageUnlessThePageIsNew) {
    CDavaroDiroBook book = bookWithBody(
        {L"一", L"二", L"［＃改ページ］", L"三", L"［＃改丁］", L"四", L"五", L"六", L"七", L""});
    ASSERT_TRUE(book.layout(20, 3));
    // Rows: 一 3, 二 4, 三 5, 四 6, 五 7, 六 8, 七 9, the empty last line 10.
    EXPECT_EQ(book.getPageStarts(), (std::vector<int32_t>{0, 3, 5, 6, 9, 10}));
    EXPECT_TRUE(book.getDisplayLineNotation(5).pageBreakBefore);
    EXPECT_TRUE(book.getDisplayLineNotation(6).pageBreakBefore);
    EXPECT_FALSE(book.getDisplayLineNotation(7).pageBreakBefore);

    m_scrollRange = 1;
    EXPECT_EQ(book.indexOf(book.positionOf(3)), 3) << "page 3 starts with 四";
    EXPECT_EQ(book.getDisplayLineNotation(book.getPageStart(3)).visible, L"四");
}

TEST_F(NotatedLayout, LinesWithOnlyAnnotationsHaveNoRowButLoseNothing) {
    const std::vector<std::wstring> body = {L"［＃ここから２字下げ］",   L"一", L"［＃改ページ］",
                                            L"［＃ここで字下げ終わり］", L"二", L""};
    CDavaroDiroBook book = bookWithBody(body);
    ASSERT_TRUE(book.layout(20, 10));
    EXPECT_EQ(book.getLineStarts(),
              (std::vector<SourcePosition>{{0, 0}, {1, 0}, {2, 0}, {4, 0}, {7, 0}, {8, 0}, {9, 0}}))
        << "the first body row starts at 一, the next at 二";
    EXPECT_EQ(bodyDisplayLines(book), (std::vector<std::wstring>{L"一", L"二", L""}));
    EXPECT_EQ(book.indexOf(5, 3), 3) << "a place in a line without a row shows the row before";
    EXPECT_EQ(book.indexOf(3, 0), 2);

    m_aozoraNotation = 0;
    ASSERT_TRUE(book.layout(20, 10));
    EXPECT_FALSE(book.hasNotation());
    EXPECT_EQ(bodyDisplayLines(book).size(), body.size()) << "the basic notation keeps them all";
    EXPECT_EQ(book.getDisplayLineNotation(3).visible, L"");
}

TEST_F(NotatedLayout, AForwardReferenceReachesTheRowBefore) {
    CDavaroDiroBook book = bookWithBody({L"ああああ青空［＃「青空」に傍点］"});
    ASSERT_TRUE(book.layout(10, 10));
    ASSERT_EQ(bodyDisplayLines(book),
              (std::vector<std::wstring>{L"ああああ青", L"空［＃「青空」に傍点］"}));
    const yomite::DisplayLineNotation first = book.getDisplayLineNotation(3);
    const yomite::DisplayLineNotation second = book.getDisplayLineNotation(4);
    ASSERT_EQ(first.emphasis.size(), 1u);
    EXPECT_EQ(first.emphasis[0].start, 8);
    EXPECT_EQ(first.emphasis[0].end, 10);
    ASSERT_EQ(second.emphasis.size(), 1u);
    EXPECT_EQ(second.emphasis[0].start, 0);
    EXPECT_EQ(second.emphasis[0].end, 2);
}

// Any mix of notation lays out: the rows tile the book in order, a line left
// out has nothing to show, and the pages ascend.
TEST_F(NotatedLayout, ArbitraryNotationTilesTheBook) {
    const std::vector<std::wstring> pieces = {L"あ",
                                              L"漢",
                                              L"。",
                                              L"「",
                                              L"abc ",
                                              L"12.5",
                                              L"《かな》",
                                              L"｜",
                                              L"［＃傍点］",
                                              L"［＃傍点終わり］",
                                              L"［＃改ページ］",
                                              L"［＃３字下げ］",
                                              L"［＃地付き］",
                                              L"［＃ここから２字下げ、折り返して３字下げ］",
                                              L"［＃ここで字下げ終わり］",
                                              L"［＃「あ」は中見出し］",
                                              L"［＃「漢」に傍線］",
                                              L"※［＃「口＋世」、U+546D］",
                                              L"［＃挿絵（a.png、横1×縦2）入る］",
                                              L"<img src=\"b.png\">",
                                              L"［＃大見出し］",
                                              L"［＃ここから地から２字上げ］",
                                              L"［",
                                              L"］",
                                              L"》",
                                              L"［＃２０字下げ］"};
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::wstring> body;
        const int lines = 1 + static_cast<int>(random() % 8);
        for (int j = 0; j < lines; ++j) {
            std::wstring line;
            const int count = static_cast<int>(random() % 12);
            for (int k = 0; k < count; ++k)
                line += pieces[random() % pieces.size()];
            body.push_back(line);
        }
        CDavaroDiroBook book = bookWithBody(body);
        const int columns = 2 + static_cast<int>(random() % 20);
        ASSERT_TRUE(book.layout(columns, 1 + static_cast<int>(random() % 5)));

        const auto& starts = book.getLineStarts();
        std::vector<std::wstring> rebuilt(book.m_sourceLines.size());
        for (size_t k = 0; k + 1 < starts.size(); ++k) {
            ASSERT_LT(starts[k], starts[k + 1]) << "round " << round;
            rebuilt[starts[k].line] += book.getDisplayLineText(static_cast<int>(k));
        }
        yomite::NotationState state;
        for (size_t j = 0; j < rebuilt.size(); ++j) {
            const yomite::NotatedSourceLine parsed =
                yomite::parseNotatedLine(book.m_sourceLines[j], state);
            if (rebuilt[j] != book.m_sourceLines[j]) {
                EXPECT_TRUE(rebuilt[j].empty() && parsed.annotationOnly)
                    << "round " << round << " line " << j;
            }
        }
        const auto& pages = book.getPageStarts();
        for (size_t p = 1; p < pages.size(); ++p)
            ASSERT_LE(pages[p - 1], pages[p]) << "round " << round;
    }
}

// Lines whose notation leaves the rows alone are laid out without the full
// parse; the state they leave and the rows they give must be the parser's.
TEST_F(NotatedLayout, TheQuickPathAgreesWithTheParser) {
    const std::vector<std::wstring> pieces = {L"あ",
                                              L"《かな》",
                                              L"｜",
                                              L"》",
                                              L"［＃傍点］",
                                              L"［＃傍点終わり］",
                                              L"［＃「あ」に傍線］",
                                              L"［＃縦中横］",
                                              L"［＃縦中横終わり］",
                                              L"［＃下付き小文字］",
                                              L"［＃ママ］",
                                              L"［＃改ページ］",
                                              L"［＃３字下げ］",
                                              L"［＃「あ」は中見出し］",
                                              L"※［＃「口＋世」、U+546D］",
                                              L"※",
                                              L"［＃「あ※［＃二の字点、1-2-22］」に傍点］",
                                              L"<a>x</a>",
                                              L"《［＃傍点］》",
                                              L"［"};
    std::mt19937 random(11);
    int quick = 0;
    for (int round = 0; round < 2000; ++round) {
        std::wstring line;
        const int count = static_cast<int>(random() % 6);
        for (int k = 0; k < count; ++k)
            line += pieces[random() % pieces.size()];
        yomite::NotationState before;
        before.emphasis = random() % 4;
        before.tcy = random() % 2;
        before.indentFirst = before.indentRest = 2 * static_cast<int>(random() % 3);
        before.pageBreakPending = random() % 2;
        yomite::NotationState quickState = before;
        yomite::NotationState parsedState = before;
        const yomite::NotatedSourceLine parsed = yomite::parseNotatedLine(line, parsedState);
        if (yomite::shapesRows(line, quickState)) {
            EXPECT_EQ(quickState, before) << "round " << round;
            continue;
        }
        ++quick;
        EXPECT_EQ(quickState, parsedState) << "round " << round;
        EXPECT_EQ(parsed.segments.size(), 1u) << "round " << round;
        EXPECT_FALSE(parsed.annotationOnly) << "round " << round;
        EXPECT_TRUE(parsed.items.empty()) << "round " << round;
        EXPECT_EQ(parsed.effective, line) << "round " << round;
        EXPECT_EQ(parsed.indentFirst, before.indentFirst) << "round " << round;
    }
    EXPECT_GT(quick, 200) << "the quick path is taken";
}

} // namespace
