#include "platform/core/CodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring decode932(const std::string& bytes) {
    return lumo::decodeMultiByte(932, bytes);
}

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::wstring expected;
};

TEST(CodePage932, DecodesAsWindowsDoes) {
    const DecodeCase cases[] = {
        {"ascii", "abc", L"abc"},
        {"backslash stays a backslash",
         "C:\x5C"
         "a",
         L"C:\\a"},
        {"tilde stays a tilde", "~", L"~"},
        {"hiragana", "\x82\xA0\x82\xA2", L"\u3042\u3044"},
        {"kanji", "\x8A\xBF\x8E\x9A", L"\u6F22\u5B57"},
        {"half-width katakana", "\xB1\xDF", L"\uFF71\uFF9F"},
        {"full-width digit", "\x82\x4F", L"\uFF10"},
        {"NEC row 13 circled one", "\x87\x40", L"\u2460"},
        {"IBM extension", "\xFA\x40", L"\u2170"},
        {"ruby brackets", "\x81\x73\x81\x74", L"\u300A\u300B"},
        {"vertical bar", "\x81\x62", L"\uFF5C"},
        {"single-byte extras", "\x80\xA0\xFD\xFE\xFF", L"\u0080\uF8F0\uF8F1\uF8F2\uF8F3"},
        {"NUL is a character", std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
        // Invalid input: one U+FFFD per bad byte, decoding resumes at the next byte.
        {"lone lead byte at the end", "a\x82", L"a\uFFFD"},
        {"lead byte before ASCII",
         "\x82"
         "A",
         L"\uFFFD"
         L"A"},
        {"lead byte before a control", "\x82\x0A", L"\uFFFD\n"},
        {"unmapped pair", "\x85\x40z", L"\uFFFD@z"},
        {"empty", "", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decode932(c.bytes), c.expected) << c.name;
}

TEST(CodePage932, EncodesBackAndMarksUnmappable) {
    EXPECT_EQ(lumo::encodeMultiByte(932, L"\u3042\u6F22A\uF8F0"), "\x82\xA0\x8A\xBF"
                                                                  "A\xA0");
    EXPECT_EQ(lumo::encodeMultiByte(932, L"a\U0001F600"), "a?");
}

TEST(CodePageUtf8, ExplicitUtf8DecodesWithReplacement) {
    EXPECT_EQ(lumo::decodeMultiByte(CP_UTF8, "\xE3\x81\x82\xFF"), L"\u3042\uFFFD");
}

} // namespace
