// Gaiji notes to characters through the C library's EUC-JISX0213 converter.
#include "reader/document/GaijiCode.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct GaijiCase {
    const char* name;
    std::wstring note;
    std::optional<wchar_t> character;
};

void PrintTo(const GaijiCase& c, std::ostream* os) {
    *os << c.name;
}

class GaijiTable : public ::testing::TestWithParam<GaijiCase> {};

TEST_P(GaijiTable, NamesTheCharacterOrNothing) {
    const GaijiCase& c = GetParam();
    EXPECT_EQ(yomite::gaijiCharacter(c.note), c.character);
}

INSTANTIATE_TEST_SUITE_P(
    Notes, GaijiTable,
    ::testing::Values(
        GaijiCase{"plane1_level3", L"「てへん＋劣」、第3水準1-84-77", L'挘'},
        GaijiCase{"plane1_level3_other", L"「木＋靈」、第3水準1-86-29", L'欞'},
        GaijiCase{"plane2_level4", L"「言＋墟のつくり」、第4水準2-88-74", L'譃'},
        GaijiCase{"plane2_outside_the_bmp", L"「ノ＋一」、第4水準2-1-1", wchar_t(0x20089)},
        GaijiCase{"bare_code", L"二の字点、1-2-22", L'〻'},
        GaijiCase{"description_ending_in_a_digit", L"ローマ数字1、1-13-21", L'Ⅰ'},
        GaijiCase{"quotes_inside_the_description",
                  L"「彑／（「比」の間に「矢」）」、第3水準1-84-28", L'彘'},
        GaijiCase{"unicode", L"「口＋世」、U+546D、ページ数-行数", L'呭'},
        GaijiCase{"unicode_outside_the_bmp", L"「木＋乙」、U+2A6B2、12-3", wchar_t(0x2A6B2)},
        GaijiCase{"code_before_page_and_line", L"「山＋竒」、1-26-74、12-3", L'崎'},
        GaijiCase{"plane1_outside_the_bmp", L"「女＋咼」、第3水準1-47-67", wchar_t(0x216B4)},
        GaijiCase{"no_code", L"「土へん＋竒」、ページ数-行数", std::nullopt},
        GaijiCase{"description_only", L"「口＋世」", std::nullopt},
        GaijiCase{"page_and_line_only", L"「口＋世」、12-3", std::nullopt},
        GaijiCase{"row_the_converter_rejects", L"「？」、第4水準2-2-2", std::nullopt},
        GaijiCase{"cell_out_of_range", L"「？」、1-95-1", std::nullopt},
        GaijiCase{"plane_out_of_range", L"「？」、3-1-1", std::nullopt},
        GaijiCase{"two_characters", L"「か＋半濁点」、1-4-87", std::nullopt},
        GaijiCase{"control_character", L"「？」、U+0007", std::nullopt},
        GaijiCase{"surrogate", L"「？」、U+D800", std::nullopt},
        GaijiCase{"beyond_unicode", L"「？」、U+110000", std::nullopt},
        GaijiCase{"short_hex", L"「？」、U+41", std::nullopt},
        GaijiCase{"not_hex", L"「？」、U+54G6", std::nullopt}));

TEST(JisX0213, ConvertsEachPlaneAndRefusesWhatItCannot) {
    EXPECT_EQ(yomite::jisX0213Character(1, 85, 67), std::optional<wchar_t>(L'桲'));
    EXPECT_EQ(yomite::jisX0213Character(2, 13, 28), std::optional<wchar_t>(L'揷'));
    // A kana the converter holds back in case a mark combines with it.
    EXPECT_EQ(yomite::jisX0213Character(1, 4, 11), std::optional<wchar_t>(L'か'));
    EXPECT_EQ(yomite::jisX0213Character(0, 1, 1), std::nullopt);
    EXPECT_EQ(yomite::jisX0213Character(1, 0, 1), std::nullopt);
    EXPECT_EQ(yomite::jisX0213Character(2, 94, 94), std::nullopt);
}

} // namespace
