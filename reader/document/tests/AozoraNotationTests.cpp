#include "reader/document/AozoraNotation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Span {
    int start;
    int end;
    std::wstring text;
};

struct ParseCase {
    const char* name;
    std::wstring raw;
    std::wstring visible;
    std::vector<Span> spans;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<Span> spansOf(const std::vector<RubySpan>& spans) {
    std::vector<Span> out;
    for (const RubySpan& s : spans)
        out.push_back({s.baseStart, s.baseEnd, s.rubyText});
    return out;
}

bool operator==(const Span& a, const Span& b) {
    return a.start == b.start && a.end == b.end && a.text == b.text;
}

void PrintTo(const Span& s, std::ostream* os) {
    *os << "{" << s.start << "," << s.end << ",len " << s.text.size() << "}";
}

class ParseLineTable : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseLineTable, GivesVisibleTextAndRubySpans) {
    const ParseCase& c = GetParam();
    std::wstring visible;
    std::vector<RubySpan> spans;
    InlineTag tag;
    EXPECT_TRUE(yomite::parseLine(c.raw, visible, spans, tag));
    EXPECT_EQ(visible, c.visible);
    EXPECT_EQ(spansOf(spans), c.spans);
}

INSTANTIATE_TEST_SUITE_P(
    Notation, ParseLineTable,
    ::testing::Values(
        ParseCase{"kanji_base", L"漢字《かんじ》", L"漢字", {{0, 4, L"かんじ"}}},
        ParseCase{"explicit_base_has_no_width", L"この｜本《ほん》", L"この本", {{4, 6, L"ほん"}}},
        ParseCase{"kana_base_is_last_character", L"あいう《ルビ》", L"あいう", {{4, 6, L"ルビ"}}},
        ParseCase{"latin_run_base", L"Ruby《ルビ》", L"Ruby", {{0, 4, L"ルビ"}}},
        ParseCase{"comma_ends_latin_run", L"ab,cd《x》", L"ab,cd", {{3, 5, L"x"}}},
        ParseCase{"ruby_at_line_start", L"《かな》", L"", {{-2, 0, L"かな"}}},
        ParseCase{
            "kanji_run_after_kana", L"あの漢字《かんじ》だ", L"あの漢字だ", {{4, 8, L"かんじ"}}},
        ParseCase{"explicit_start_beats_kanji_run",
                  L"福沢諭吉｜記《しるす》",
                  L"福沢諭吉記",
                  {{8, 10, L"しるす"}}},
        ParseCase{"two_rubies",
                  L"頗《すこぶ》る増《まし》",
                  L"頗る増",
                  {{0, 2, L"すこぶ"}, {4, 6, L"まし"}}},
        ParseCase{"annotation_vanishes", L"一［＃ここから２字下げ］二", L"一二", {}},
        ParseCase{"kana_letters_keep_latin_run", L"abかな《x》", L"abかな", {{0, 6, L"x"}}},
        ParseCase{"digit_ends_latin_run", L"a1b《x》", L"a1b", {{2, 3, L"x"}}},
        // Malformed input degrades to plain text, never more.
        ParseCase{"unterminated_ruby_hides_rest", L"前《うしろ", L"前", {}},
        ParseCase{"unterminated_annotation_dropped", L"前［＃注記", L"前", {}},
        ParseCase{"stray_close_uses_line_start", L"あ》い", L"あい", {{-1, -1, L"あ"}}},
        ParseCase{"stray_close_after_ruby",
                  L"漢《かん》字》",
                  L"漢字",
                  {{0, 2, L"かん"}, {-1, -1, L"かん》字"}}},
        ParseCase{"stray_closes_do_not_repeat_text",
                  L"あ》い》う》",
                  L"あいう",
                  {{-1, -1, L"あ"}, {-1, -1, L"い"}, {-1, -1, L"う"}}},
        ParseCase{"ruby_marks_act_inside_annotation", L"［＃《注》］x", L"x", {{-2, 0, L"注"}}},
        ParseCase{"lone_open_angle_stays", L"a<b", L"a<b", {}},
        ParseCase{"unknown_tag_stays", L"<b>x</b>", L"<b>x</b>", {}},
        ParseCase{"empty_line", L"", L"", {}},
        ParseCase{"only_marks", L"｜《》［］", L"", {{0, 0, L""}}}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST(ParseLine, IllustrationAnnotationBecomesLabelWithColumns) {
    std::wstring visible;
    std::vector<RubySpan> spans;
    InlineTag tag;
    yomite::parseLine(L"図［＃挿絵（fig1.png）入る］", visible, spans, tag);
    EXPECT_EQ(visible, L"図[挿絵:fig1.png]");
    EXPECT_EQ(tag.startColumn, 2);
    EXPECT_EQ(tag.endColumn, 2 + 15);
    EXPECT_EQ(tag.tagName, L"img");
    ASSERT_EQ(tag.attributes.count(L"src"), 1u);
    EXPECT_EQ(tag.attributes.at(L"src"), L"fig1.png");
    EXPECT_TRUE(tag.hasDisplayText);
}

TEST(ParseLine, IllustrationAfterOrdinaryAnnotationIsStillRecognised) {
    std::wstring visible;
    std::vector<RubySpan> spans;
    InlineTag tag;
    yomite::parseLine(L"［＃改ページ］［＃挿絵（a.png）入る］", visible, spans, tag);
    EXPECT_EQ(visible, L"[挿絵:a.png]");
    EXPECT_EQ(tag.startColumn, 0);
}

TEST(ParseLine, LinkTagShowsItsTextAndConsumesUpToLastCloseAngle) {
    std::wstring visible;
    std::vector<RubySpan> spans;
    InlineTag tag;
    yomite::parseLine(L"見る<a href=\"x.html\">リンク</a>後", visible, spans, tag);
    EXPECT_EQ(visible, L"見るリンク後");
    EXPECT_EQ(tag.tagName, L"a");
    EXPECT_EQ(tag.innerText, L"リンク");
    EXPECT_EQ(tag.attributes.at(L"href"), L"x.html");
    EXPECT_EQ(tag.startColumn, 4);
    EXPECT_EQ(tag.endColumn, 10);
}

TEST(ParseLine, SecondTagOnLineIsSwallowedByTheFirst) {
    std::wstring visible;
    std::vector<RubySpan> spans;
    InlineTag tag;
    yomite::parseLine(L"<a>one</a>mid<a>two</a>", visible, spans, tag);
    EXPECT_EQ(visible, L"one");
    EXPECT_EQ(tag.endColumn, 3);
}

TEST(ParseLine, StrayClosingAnnotationMarkDoesNotRepeatTheIllustration) {
    std::wstring visible;
    std::vector<RubySpan> spans;
    InlineTag tag;
    yomite::parseLine(L"［＃挿絵（a.png）入る］］x］", visible, spans, tag);
    EXPECT_EQ(visible, L"[挿絵:a.png]x");
    EXPECT_EQ(tag.startColumn, 0);
}

TEST(ParseLine, LaterTagOverwritesNameButAttributesAccumulate) {
    std::wstring visible;
    std::vector<RubySpan> spans;
    InlineTag tag;
    yomite::parseLine(L"［＃挿絵（one.png）入る］x［＃挿絵（two.png）入る］", visible, spans, tag);
    // The second label still shows the first src: a name keeps its first value.
    EXPECT_EQ(visible, L"[挿絵:one.png]x[挿絵:one.png]");
    EXPECT_EQ(tag.startColumn, 15);
    EXPECT_EQ(tag.endColumn, 29);
}

struct TagCase {
    const char* name;
    std::wstring text;
    bool recognised;
    std::wstring tagName;
    std::vector<std::pair<std::wstring, std::wstring>> attributes;
    std::wstring innerText;
    std::wstring displayText;
};

void PrintTo(const TagCase& c, std::ostream* os) {
    *os << c.name;
}

class ParseInlineTagTable : public ::testing::TestWithParam<TagCase> {};

TEST_P(ParseInlineTagTable, RecognisesTagBlocks) {
    const TagCase& c = GetParam();
    std::wstring text = c.text;
    InlineTag tag;
    ASSERT_EQ(yomite::parseInlineTag(text, tag), c.recognised);
    if (!c.recognised) {
        EXPECT_TRUE(tag.tagName.empty());
        EXPECT_TRUE(tag.attributes.empty());
        EXPECT_FALSE(tag.hasDisplayText);
        return;
    }
    EXPECT_EQ(tag.tagName, c.tagName);
    using Attributes = std::vector<std::pair<std::wstring, std::wstring>>;
    EXPECT_EQ(Attributes(tag.attributes.begin(), tag.attributes.end()), c.attributes);
    EXPECT_EQ(tag.innerText, c.innerText);
    EXPECT_EQ(tag.displayText, c.displayText);
    EXPECT_EQ(tag.hasDisplayText, !c.displayText.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Tags, ParseInlineTagTable,
    ::testing::Values(
        TagCase{"img_two_quoted_attributes",
                L"<img src=\"a.png\" alt=\"A\">",
                true,
                L"img",
                {{L"alt", L"A"}, {L"src", L"a.png"}},
                L"",
                L"[挿絵:a.png]"},
        TagCase{
            "img_without_src_gets_empty", L"<img>", true, L"img", {{L"src", L""}}, L"", L"[挿絵:]"},
        TagCase{"space_in_file_name_cuts_value",
                L"<img src=\"my pic.png\">",
                true,
                L"img",
                {{L"src", L"\"my"}},
                L"",
                L"[挿絵:\"my]"},
        TagCase{"first_value_of_a_name_wins",
                L"<img src=a src=b>",
                true,
                L"img",
                {{L"src", L"a"}},
                L"",
                L"[挿絵:a]"},
        TagCase{"unquoted_and_single_quote_values",
                L"<a x=\" y=1>t</a>",
                true,
                L"a",
                {{L"x", L"\""}, {L"y", L"1"}},
                L"t",
                L"t"},
        TagCase{"link_inner_text", L"<a>本文</a>", true, L"a", {}, L"本文", L"本文"},
        TagCase{"closing_tag_alone", L"</a>", true, L"/a", {}, L"", L""},
        TagCase{"illustration_rewritten",
                L"［＃挿絵（fig.png）入る］",
                true,
                L"img",
                {{L"src", L"fig.png"}},
                L"",
                L"[挿絵:fig.png]"},
        TagCase{"illustration_needs_a_file_name", L"［＃挿絵（）入る］", false, L"", {}, L"", L""},
        TagCase{"not_at_start", L"x<a>t</a>", false, L"", {}, L"", L""},
        TagCase{"no_close_angle", L"<a href=x", false, L"", {}, L"", L""},
        TagCase{"unknown_name", L"<b>x</b>", false, L"", {}, L"", L""},
        TagCase{"prefix_of_known_name", L"<image>", false, L"", {}, L"", L""},
        TagCase{"second_open_without_close", L"<a>t</a", false, L"", {}, L"", L""},
        TagCase{"empty", L"", false, L"", {}, L"", L""}),
    [](const ::testing::TestParamInfo<TagCase>& info) { return std::string(info.param.name); });

TEST(ParseInlineTag, FailureLeavesAnEarlierTagUntouched) {
    InlineTag tag;
    std::wstring first = L"<a>x</a>";
    ASSERT_TRUE(yomite::parseInlineTag(first, tag));
    std::wstring broken = L"<a>y</a";
    EXPECT_FALSE(yomite::parseInlineTag(broken, tag));
    EXPECT_EQ(tag.innerText, L"x");
}

TEST(ParseInlineTag, IllustrationRewriteHappensInPlace) {
    InlineTag tag;
    std::wstring text = L"［＃挿絵（p.png）入る］";
    ASSERT_TRUE(yomite::parseInlineTag(text, tag));
    EXPECT_EQ(text, L"<img src=\"p.png\">");
}

TEST(ParseLine, LongRunOfStrayClosingMarksStaysLinear) {
    const std::wstring line(200'000, yomite::RUBY_CLOSE);
    std::wstring visible;
    std::vector<RubySpan> spans;
    InlineTag tag;
    yomite::parseLine(line, visible, spans, tag);
    ASSERT_EQ(spans.size(), line.size());
    size_t text = 0;
    for (const RubySpan& span : spans)
        text += span.rubyText.size();
    EXPECT_EQ(text, 0u);
}

TEST(ColumnWidth, CountsHalfWidthAsOneAndEverythingElseAsTwo) {
    EXPECT_EQ(yomite::columnWidth(L"aあ\u00FF\u0100"), 1 + 2 + 1 + 2);
    // Outside the BMP a character is still a single wchar_t of width 2.
    EXPECT_EQ(yomite::columnWidth(std::wstring(1, static_cast<wchar_t>(0x20B9F))), 2);
}

} // namespace
