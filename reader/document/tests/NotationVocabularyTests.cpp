// What one annotation's text means in full notation: every form of every
// family, with the near misses that must stay ignored beside them.
#include "reader/document/NotationVocabulary.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using yomite::Annotation;
using yomite::EmphasisKind;
using yomite::Side;
using yomite::SmallKind;
using yomite::SpanFeature;
using Type = Annotation::Type;

SpanFeature emphasis(EmphasisKind kind, Side side = Side::Over) {
    SpanFeature f;
    f.type = SpanFeature::Type::Emphasis;
    f.emphasis = kind;
    f.side = side;
    return f;
}
SpanFeature heading(int level) {
    SpanFeature f;
    f.type = SpanFeature::Type::Heading;
    f.heading = level;
    return f;
}
SpanFeature tcy() {
    SpanFeature f;
    f.type = SpanFeature::Type::Tcy;
    return f;
}
SpanFeature small(SmallKind kind) {
    SpanFeature f;
    f.type = SpanFeature::Type::Small;
    f.small = kind;
    return f;
}

struct VocabularyCase {
    const char* name;
    std::wstring text;
    Type type;
    int first = 0;
    int rest = 0;
    std::optional<SpanFeature> feature = std::nullopt;
    std::wstring target = {};
    std::wstring caption = {};
    std::wstring file = {};
};

void PrintTo(const VocabularyCase& c, std::ostream* os) {
    *os << c.name;
}

class VocabularyTable : public ::testing::TestWithParam<VocabularyCase> {};

TEST_P(VocabularyTable, RecognisesTheAnnotation) {
    const VocabularyCase& c = GetParam();
    const Annotation a = yomite::recognizeAnnotation(c.text);
    ASSERT_EQ(a.type, c.type);
    EXPECT_EQ(a.first, c.first);
    EXPECT_EQ(a.rest, c.rest);
    if (c.feature) {
        EXPECT_EQ(a.feature, *c.feature);
    }
    EXPECT_EQ(std::wstring(a.target), c.target);
    EXPECT_EQ(std::wstring(a.caption), c.caption);
    EXPECT_EQ(std::wstring(a.file), c.file);
}

INSTANTIATE_TEST_SUITE_P(PageBreaks, VocabularyTable,
                         ::testing::Values(VocabularyCase{"page", L"改ページ", Type::PageBreak},
                                           VocabularyCase{"leaf", L"改丁", Type::PageBreak},
                                           VocabularyCase{"spread", L"改見開き", Type::PageBreak},
                                           VocabularyCase{"column", L"改段", Type::PageBreak},
                                           VocabularyCase{"longer_word", L"改ページ前",
                                                          Type::Ignored}));

INSTANTIATE_TEST_SUITE_P(
    Indents, VocabularyTable,
    ::testing::Values(VocabularyCase{"one_line", L"３字下げ", Type::Indent, 6, 6},
                      VocabularyCase{"two_digits", L"１０字下げ", Type::Indent, 20, 20},
                      VocabularyCase{"half_width_digit", L"3字下げ", Type::Indent, 6, 6},
                      VocabularyCase{"from_top", L"天から２字下げ", Type::Indent, 4, 4},
                      VocabularyCase{"no_count", L"字下げ", Type::Ignored},
                      VocabularyCase{"block", L"ここから２字下げ", Type::IndentBlock, 4, 4},
                      VocabularyCase{"block_wrapped", L"ここから２字下げ、折り返して３字下げ",
                                     Type::IndentBlock, 4, 6},
                      VocabularyCase{"block_hanging", L"ここから改行天付き、折り返して１字下げ",
                                     Type::IndentBlock, 0, 2},
                      VocabularyCase{"block_wrap_without_count", L"ここから２字下げ、折り返して",
                                     Type::Ignored},
                      VocabularyCase{"block_end", L"ここで字下げ終わり", Type::IndentEnd},
                      VocabularyCase{"huge_count_is_kept_finite", L"９９９９９９字下げ",
                                     Type::Indent, 2000, 2000}));

INSTANTIATE_TEST_SUITE_P(
    EndAlignment, VocabularyTable,
    ::testing::Values(
        VocabularyCase{"flush", L"地付き", Type::AlignEnd, 0},
        VocabularyCase{"raised", L"地から２字上げ", Type::AlignEnd, 4},
        VocabularyCase{"block_flush", L"ここから地付き", Type::AlignEndBlock, 0},
        VocabularyCase{"block_raised", L"ここから地から１字上げ", Type::AlignEndBlock, 2},
        VocabularyCase{"block_flush_end", L"ここで地付き終わり", Type::AlignEndBlockEnd},
        VocabularyCase{"block_raised_end", L"ここで字上げ終わり", Type::AlignEndBlockEnd},
        VocabularyCase{"raise_without_count", L"地から字上げ", Type::Ignored}));

INSTANTIATE_TEST_SUITE_P(
    ForwardReferences, VocabularyTable,
    ::testing::Values(VocabularyCase{"sesame", L"「青空」に傍点", Type::Forward, 0, 0,
                                     emphasis(EmphasisKind::Sesame), L"青空"},
                      VocabularyCase{"bullseye", L"「青空」に蛇の目傍点", Type::Forward, 0, 0,
                                     emphasis(EmphasisKind::Bullseye), L"青空"},
                      VocabularyCase{"left_wavy_line", L"「青空」の左に波線", Type::Forward, 0, 0,
                                     emphasis(EmphasisKind::WavyLine, Side::Under), L"青空"},
                      VocabularyCase{"middle_heading", L"「一」は中見出し", Type::Forward, 0, 0,
                                     heading(2), L"一"},
                      VocabularyCase{"window_heading", L"「一」は窓大見出し", Type::Forward, 0, 0,
                                     heading(1), L"一"},
                      VocabularyCase{"same_row_heading", L"「一」は同行小見出し", Type::Forward, 0,
                                     0, heading(3), L"一"},
                      VocabularyCase{"tcy", L"「29」は縦中横", Type::Forward, 0, 0, tcy(), L"29"},
                      VocabularyCase{"subscript", L"「2」は下付き小文字", Type::Forward, 0, 0,
                                     small(SmallKind::Subscript), L"2"},
                      VocabularyCase{"steps_smaller", L"「注」は２段階小さな文字", Type::Forward, 0,
                                     0, small(SmallKind::Smaller), L"注"},
                      VocabularyCase{"quotes_inside", L"「「白」は犬」に傍点", Type::Forward, 0, 0,
                                     emphasis(EmphasisKind::Sesame), L"「白」は犬"},
                      VocabularyCase{"note", L"「大空」に「ママ」の注記", Type::Ignored},
                      VocabularyCase{"as_is", L"「広場へに」はママ", Type::Ignored},
                      VocabularyCase{"original_reading", L"「紋附」は底本では「絞附」",
                                     Type::Ignored},
                      VocabularyCase{"empty_target", L"「」に傍点", Type::Ignored},
                      VocabularyCase{"left_after_ni", L"「青空」に左に傍点", Type::Ignored},
                      VocabularyCase{"bigger_text", L"「青空」は２段階大きな文字", Type::Ignored},
                      VocabularyCase{"gaiji_description", L"「口＋世」、U+546D", Type::Ignored}));

INSTANTIATE_TEST_SUITE_P(
    Blocks, VocabularyTable,
    ::testing::Values(
        VocabularyCase{"sesame_open", L"傍点", Type::Open, 0, 0, emphasis(EmphasisKind::Sesame)},
        VocabularyCase{"left_white_circle_open", L"左に白丸傍点", Type::Open, 0, 0,
                       emphasis(EmphasisKind::WhiteCircle, Side::Under)},
        VocabularyCase{"sesame_close", L"傍点終わり", Type::Close, 0, 0,
                       emphasis(EmphasisKind::Sesame)},
        VocabularyCase{"left_chain_close", L"左に鎖線終わり", Type::Close, 0, 0,
                       emphasis(EmphasisKind::ChainLine, Side::Under)},
        VocabularyCase{"heading_block", L"ここから中見出し", Type::Open, 0, 0, heading(2)},
        VocabularyCase{"heading_block_end", L"ここで中見出し終わり", Type::Close, 0, 0, heading(2)},
        VocabularyCase{"window_heading", L"窓大見出し", Type::Open, 0, 0, heading(1)},
        VocabularyCase{"same_row_heading_end", L"同行小見出し終わり", Type::Close, 0, 0,
                       heading(3)},
        VocabularyCase{"tcy_open", L"縦中横", Type::Open, 0, 0, tcy()},
        VocabularyCase{"tcy_close", L"縦中横終わり", Type::Close, 0, 0, tcy()},
        VocabularyCase{"smaller_block", L"ここから２段階小さな文字", Type::Open, 0, 0,
                       small(SmallKind::Smaller)},
        VocabularyCase{"smaller_block_end", L"ここで小さな文字終わり", Type::Close, 0, 0,
                       small(SmallKind::Smaller)},
        VocabularyCase{"smaller_inline", L"１段階小さな文字", Type::Open, 0, 0,
                       small(SmallKind::Smaller)},
        VocabularyCase{"right_small", L"行右小書き", Type::Open, 0, 0,
                       small(SmallKind::RightSmall)},
        VocabularyCase{"superscript_end", L"上付き小文字終わり", Type::Close, 0, 0,
                       small(SmallKind::Superscript)},
        VocabularyCase{"smaller_without_steps", L"小さな文字", Type::Ignored},
        VocabularyCase{"bold", L"太字", Type::Ignored},
        VocabularyCase{"bold_block", L"ここから太字", Type::Ignored},
        VocabularyCase{"bold_block_end", L"ここで太字終わり", Type::Ignored},
        VocabularyCase{"bigger_end", L"大きな文字終わり", Type::Ignored}));

INSTANTIATE_TEST_SUITE_P(
    Illustrations, VocabularyTable,
    ::testing::Values(
        VocabularyCase{"plain", L"挿絵（fig1.png）入る", Type::Illustration, 0, 0, std::nullopt,
                       L"", L"挿絵", L"fig1.png"},
        VocabularyCase{"with_size", L"写真（a.jpg、横320×縦240）入る", Type::Illustration, 0, 0,
                       std::nullopt, L"", L"写真", L"a.jpg"},
        VocabularyCase{"full_width_size", L"図（b.png、横３２０×縦２４０）入る", Type::Illustration,
                       0, 0, std::nullopt, L"", L"図", L"b.png"},
        VocabularyCase{"described", L"コンドル博士の図（fig47728_06.png、横320×縦322）入る",
                       Type::Illustration, 0, 0, std::nullopt, L"", L"コンドル博士の図",
                       L"fig47728_06.png"},
        VocabularyCase{"quoted_caption",
                       L"「第一図（部分）」のキャプション付きの図（f.png、横12×縦34）入る",
                       Type::Illustration, 0, 0, std::nullopt, L"",
                       L"「第一図（部分）」のキャプション付きの図", L"f.png"},
        VocabularyCase{"no_caption", L"（x.png）入る", Type::Illustration, 0, 0, std::nullopt, L"",
                       L"", L"x.png"},
        VocabularyCase{"malformed_size_stays", L"図（a.png、横320×縦）入る", Type::Illustration, 0,
                       0, std::nullopt, L"", L"図", L"a.png、横320×縦"},
        VocabularyCase{"no_file", L"図（）入る", Type::Ignored},
        VocabularyCase{"only_size", L"図（、横1×縦2）入る", Type::Ignored},
        VocabularyCase{"not_entering", L"図（a.png）", Type::Ignored}));

TEST(NotationWords, NameEveryKindAndSideForTheTool) {
    EXPECT_EQ(yomite::emphasisWord(EmphasisKind::WhiteSesame, Side::Over), L"白ゴマ傍点");
    EXPECT_EQ(yomite::emphasisWord(EmphasisKind::DoubleLine, Side::Under), L"左に二重傍線");
    EXPECT_EQ(yomite::smallWord(SmallKind::LeftSmall), L"行左小書き");
    EXPECT_EQ(yomite::smallWord(SmallKind::Smaller), L"小さな文字");
    // Every word reads back as the kind it names.
    for (int k = 0; k < yomite::EMPHASIS_KIND_COUNT; ++k)
        for (Side side : {Side::Over, Side::Under}) {
            const auto kind = static_cast<EmphasisKind>(k);
            const Annotation a =
                yomite::recognizeAnnotation(std::wstring(yomite::emphasisWord(kind, side)));
            EXPECT_EQ(a.feature, emphasis(kind, side)) << k;
        }
}

} // namespace
