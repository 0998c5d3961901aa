#include "platform/core/CharClass.h"

#include <gtest/gtest.h>

namespace {

TEST(CharClass, KanaAndIdeographsAreLettersFullWidthDigitsAreDigits) {
    struct {
        wchar_t c;
        bool letter;
        bool digit;
    } cases[] = {
        {L'a', true, false},       {L'Z', true, false},  {L'5', false, true},
        {L'_', false, false},      {L' ', false, false}, {L'\u00E9', true, false},
        {L'\u3042', true, false},  // hiragana
        {L'\u30A2', true, false},  // katakana
        {L'\u6F22', true, false},  // ideograph
        {L'\u30FC', true, false},  // prolonged sound mark (Lm)
        {L'\uFF21', true, false},  // full-width A
        {L'\uFF10', false, true},  // full-width 0
        {L'\u2460', false, false}, // circled one (No)
        {L'\u00B2', false, false}, // superscript two (No)
        {L'\u3001', false, false}, // ideographic comma
        {L'\u300A', false, false}, // 《
        {L'\uFFFD', false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lumo::isLetter(c.c), c.letter) << std::hex << int(c.c);
        EXPECT_EQ(lumo::isDigit(c.c), c.digit) << std::hex << int(c.c);
        EXPECT_EQ(lumo::isLetterOrDigit(c.c), c.letter || c.digit) << std::hex << int(c.c);
    }
}

} // namespace
