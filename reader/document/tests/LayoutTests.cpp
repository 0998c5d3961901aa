#include "BookFixture.h"

#include "reader/document/AozoraNotation.h"

#include <random>

namespace {

struct BreakCase {
    const char* name;
    int columns;
    int lineBoundary;
    int wordWrap;
    std::wstring line;
    std::vector<std::wstring> displayLines;
};

void PrintTo(const BreakCase& c, std::ostream* os) {
    *os << c.name;
}

class LineBreakTable : public BookTest, public ::testing::WithParamInterface<BreakCase> {};

TEST_P(LineBreakTable, CutsTheLineWhereTheRulesSay) {
    const BreakCase& c = GetParam();
    m_lineBoundary = c.lineBoundary;
    m_wordWrap = c.wordWrap;
    CDavaroDiroBook book = bookWithBody({c.line});
    ASSERT_TRUE(book.layout(c.columns, 100));
    EXPECT_EQ(bodyDisplayLines(book), c.displayLines);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, LineBreakTable,
    ::testing::Values(
        BreakCase{"fits_exactly", 8, 1, 1, L"あいうえ", {L"あいうえ"}},
        BreakCase{"plain_overflow", 8, 1, 1, L"あいうえおか", {L"あいうえ", L"おか"}},
        BreakCase{
            "line_start_forbidden_hangs", 8, 1, 1, L"あいうえ。かき", {L"あいうえ。", L"かき"}},
        BreakCase{"small_kana_hangs", 8, 1, 1, L"あいうえっか", {L"あいうえっ", L"か"}},
        BreakCase{"line_end_forbidden_moves", 8, 1, 1, L"あいう「えお", {L"あいう", L"「えお"}},
        BreakCase{"explicit_ruby_group_moves",
                  8,
                  1,
                  1,
                  L"あいう｜漢字《かんじ》",
                  {L"あいう", L"｜漢字《かんじ》"}},
        BreakCase{"kanji_run_with_ruby_moves",
                  8,
                  1,
                  1,
                  L"あいう漢字《かんじ》",
                  {L"あいう", L"漢字《かんじ》"}},
        BreakCase{
            "kanji_run_without_ruby_splits", 8, 1, 1, L"あいう漢字です", {L"あいう漢", L"字です"}},
        BreakCase{"ruby_text_takes_no_columns",
                  8,
                  1,
                  1,
                  L"漢《かんかんかんかん》字あいう",
                  {L"漢《かんかんかんかん》字あい", L"う"}},
        BreakCase{"annotation_takes_no_columns",
                  8,
                  1,
                  1,
                  L"あ［＃ここから２字下げ］いうえお",
                  {L"あ［＃ここから２字下げ］いうえ", L"お"}},
        BreakCase{"word_moves", 6, 1, 1, L"abc defgh", {L"abc ", L"defgh"}},
        BreakCase{"number_moves", 6, 1, 1, L"abc 12345", {L"abc ", L"12345"}},
        BreakCase{"word_end_hangs", 5, 1, 1, L"x abcd ef", {L"x abcd", L" ef"}},
        BreakCase{"decimal_point_keeps_number", 4, 1, 1, L"ab 12.5", {L"ab ", L"12.5"}},
        BreakCase{"word_at_line_start_is_cut", 4, 1, 1, L"abcdefg", {L"abcd", L"efg"}},
        BreakCase{"number_last_digit_hangs", 4, 1, 1, L"ab 12x", {L"ab 12", L"x"}},
        BreakCase{"number_at_line_end_hangs", 4, 1, 1, L"ab 12", {L"ab 12"}},
        BreakCase{"latin_word_end_hangs_past_wide_text",
                  8,
                  1,
                  1,
                  L"あab漢字かな",
                  {L"あab漢字か", L"な"}},
        BreakCase{"no_rules_breaks_exactly", 6, 0, 0, L"abc defgh", {L"abc de", L"fgh"}},
        BreakCase{
            "no_rules_ignore_forbidden", 8, 0, 0, L"あいうえ。かき", {L"あいうえ", L"。かき"}},
        BreakCase{"boundary_only_keeps_word_split", 6, 1, 0, L"abc defgh", {L"abc de", L"fgh"}},
        BreakCase{
            "tag_counts_its_label", 8, 1, 1, L"あ<a>リンク</a>いう", {L"あ<a>リンク</a>", L"いう"}},
        BreakCase{"overflowing_tag_stays_on_line",
                  8,
                  1,
                  1,
                  L"あいう<a>長いリンク</a>え",
                  {L"あいう<a>長いリンク</a>", L"え"}},
        // Only "<" tags are measured while breaking; an annotation is notation.
        BreakCase{"illustration_annotation_is_not_measured",
                  8,
                  1,
                  0,
                  L"［＃挿絵（a.png）入る］あいうえお",
                  {L"［＃挿絵（a.png）入る］あいうえ", L"お"}},
        BreakCase{"stray_angle_is_one_column", 4, 0, 0, L"a<b>cd", {L"a<b>", L"cd"}},
        BreakCase{"unbalanced_marks_still_progress",
                  4,
                  1,
                  1,
                  L"》》［あ］《い｜う",
                  {L"》》［あ］《い｜う"}},
        BreakCase{"empty_line_is_one_display_line", 8, 1, 1, L"", {L""}}),
    [](const ::testing::TestParamInfo<BreakCase>& info) { return std::string(info.param.name); });

TEST_F(BookTest, FirstThreeLinesAreNeverBroken) {
    CDavaroDiroBook book;
    book.m_sourceLines = {std::wstring(20, L'あ'), L"b", L"c"};
    ASSERT_TRUE(book.layout(8, 14));
    EXPECT_EQ(book.getLineStartCount(), 4);
    EXPECT_EQ(book.getDisplayLineText(0), std::wstring(20, L'あ'));
    EXPECT_EQ(book.getPageCount(), 1);
    EXPECT_EQ(book.getPageStart(0), 0);
    EXPECT_EQ(book.getPageStart(1), 3);
}

TEST_F(BookTest, LayoutRefusesBadArgumentsAndShortBooks) {
    CDavaroDiroBook book = bookWithBody({L"abc"});
    ASSERT_TRUE(book.layout(8, 2));
    const auto starts = book.getLineStarts();
    book.setCurrentIndex(2);
    // Bad arguments change nothing at all.
    EXPECT_FALSE(book.layout(1, 2));
    EXPECT_FALSE(book.layout(8, 0));
    EXPECT_FALSE(book.layout(8, -3));
    EXPECT_EQ(book.getLineStarts(), starts);
    EXPECT_EQ(book.getCurrentIndex(), 2);
    EXPECT_EQ(book.getLayoutMetrics().columnsPerLine, 8);

    CDavaroDiroBook shortBook;
    shortBook.m_sourceLines = {L"a", L"b"};
    EXPECT_FALSE(shortBook.layout(8, 2));
    EXPECT_EQ(shortBook.getLineStartCount(), 0);
    EXPECT_EQ(shortBook.getPageCount(), -1);
    EXPECT_EQ(shortBook.getPageStart(0), -1);
    EXPECT_EQ(shortBook.getLayoutMetrics().linesPerPage, 0);
}

TEST_F(BookTest, PagesGroupDisplayLinesAndTheLastLineAfterFinalFeedHasNoPage) {
    // Body: five one-line paragraphs then the empty line a final LF leaves.
    CDavaroDiroBook book = bookWithBody({L"1", L"2", L"3", L"4", L"5", L""});
    ASSERT_TRUE(book.layout(8, 2));
    EXPECT_EQ(book.getLineStartCount(), 3 + 6 + 1);
    EXPECT_EQ(book.getLineStarts().back(), (SourcePosition{9, 0}));
    // Pages: header, {1,2}, {3,4}, {5,""}.
    EXPECT_EQ(book.getPageStarts(), (std::vector<int32_t>{0, 3, 5, 7, 9}));
    EXPECT_EQ(book.getPageCount(), 4);

    ASSERT_TRUE(book.layout(8, 3));
    // {1,2,3} complete, {4,5,""} complete: no closing value is added.
    EXPECT_EQ(book.getPageStarts(), (std::vector<int32_t>{0, 3, 6, 9}));

    ASSERT_TRUE(book.layout(8, 4));
    // {1,2,3,4} complete; the unfinished page closes one entry early, so the
    // empty line after the final feed belongs to no page.
    EXPECT_EQ(book.getPageStarts(), (std::vector<int32_t>{0, 3, 7, 8}));

    // A single display line left over: the final page is empty but counted.
    CDavaroDiroBook one = bookWithBody({L"1", L"2", L"3", L"4", L"5", L"6"});
    ASSERT_TRUE(one.layout(8, 5));
    EXPECT_EQ(one.getPageStarts(), (std::vector<int32_t>{0, 3, 8, 8}));
    EXPECT_EQ(one.getPageCount(), 3);
}

TEST_F(BookTest, ThreeLineBookIsOnePage) {
    CDavaroDiroBook book;
    book.m_sourceLines = {L"a", L"b", L"c"};
    ASSERT_TRUE(book.layout(8, 1));
    EXPECT_EQ(book.getPageStarts(), (std::vector<int32_t>{0, 3}));
    EXPECT_EQ(book.getLineStarts().back(), (SourcePosition{3, 0}));
}

TEST_F(BookTest, WithoutRulesEveryLineBreaksWhereTheNextCharacterWouldNotFit) {
    m_lineBoundary = 0;
    m_wordWrap = 0;
    std::mt19937 random(7);
    const std::wstring alphabet = L"aZ9 .,あ。「」漢字ー！1２";
    std::wstring text;
    for (int i = 0; i < 3000; ++i)
        text += alphabet[random() % alphabet.size()];
    for (int columns : {2, 3, 8, 17, 36}) {
        CDavaroDiroBook book = bookWithBody({text});
        ASSERT_TRUE(book.layout(columns, 14));
        std::vector<std::wstring> lines = bodyDisplayLines(book);
        for (size_t i = 0; i < lines.size(); ++i) {
            int width = yomite::columnWidth(lines[i]);
            EXPECT_LE(width, columns);
            if (i + 1 < lines.size()) {
                EXPECT_GT(width + yomite::columnWidth(lines[i + 1][0]), columns) << "line " << i;
            }
        }
    }
}

// Any text, any settings: display lines tile each source line in order, every
// display line but an empty line's has text, and the page table is ordered.
TEST_F(BookTest, LayoutOfArbitraryTextTilesTheSourceAndOrdersThePages) {
    const std::wstring alphabet =
        L"ab1.｜《》［］<>/ imgsrc=\"あ。、「」漢字々ーっ０＃挿絵（）入る\r\t\u00FF";
    std::mt19937 random(11);
    std::vector<std::wstring> body;
    for (int n = 0; n < 200; ++n) {
        std::wstring line;
        size_t length = random() % 120;
        for (size_t i = 0; i < length; ++i)
            line += alphabet[random() % alphabet.size()];
        body.push_back(line);
    }
    for (int boundary : {0, 1}) {
        for (int wrap : {0, 1}) {
            for (int columns : {2, 3, 5, 36}) {
                m_lineBoundary = boundary;
                m_wordWrap = wrap;
                CDavaroDiroBook book = bookWithBody(body);
                ASSERT_TRUE(book.layout(columns, 7));
                const auto& starts = book.getLineStarts();
                for (size_t k = 1; k < starts.size(); ++k)
                    ASSERT_LT(starts[k - 1], starts[k]) << "entry " << k;
                ASSERT_EQ(starts.back(),
                          (SourcePosition{static_cast<int>(book.m_sourceLines.size()), 0}));

                std::vector<std::wstring> rebuilt(book.m_sourceLines.size());
                for (int k = 0; k + 1 < book.getLineStartCount(); ++k) {
                    std::wstring text = book.getDisplayLineText(k);
                    const std::wstring& source = book.m_sourceLines[starts[k].line];
                    if (!source.empty()) {
                        EXPECT_FALSE(text.empty()) << "display line " << k;
                    }
                    rebuilt[starts[k].line] += text;
                }
                EXPECT_EQ(rebuilt, book.m_sourceLines);

                const auto& pages = book.getPageStarts();
                for (size_t p = 1; p < pages.size(); ++p)
                    ASSERT_LE(pages[p - 1], pages[p]);
                ASSERT_LE(pages.back(), book.getLineStartCount() - 1);
            }
        }
    }
}

TEST_F(BookTest, PathologicalLinesLayOutInLinearTime) {
    const size_t size = 2'000'000;
    std::vector<std::wstring> body = {
        std::wstring(size, L'a'),         // one endless word
        std::wstring(size, L'<') + L">",  // stray tag openers
        std::wstring(size, L'》'),        // stray closing marks, no width
        L"［" + std::wstring(size, L'x'), // annotation that never closes
        std::wstring(size / 2, L'。') + std::wstring(size / 2, L'「'),
    };
    CDavaroDiroBook book = bookWithBody(body);
    ASSERT_TRUE(book.layout(36, 14));
    // The word is cut every 36 columns, the others make at least some progress.
    EXPECT_EQ(book.getLineStarts()[3 + size / 36 + 1], (SourcePosition{4, 0}));
    EXPECT_EQ(book.getLineStarts().back(), (SourcePosition{8, 0}));
}

TEST_F(BookTest, FindLineBreakAdvancesEvenBelowTwoColumns) {
    CDavaroDiroBook book;
    const std::wstring line = L"あいう";
    for (int columns : {-1, 0, 1}) {
        const wchar_t* pos = line.data();
        ASSERT_TRUE(book.findLineBreak(columns, pos, line.data() + line.size(), pos));
        EXPECT_GT(pos, line.data());
    }
}

} // namespace
