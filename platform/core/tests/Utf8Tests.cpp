#include "platform/core/Utf8.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf8, RoundTripsEveryPlane) {
    std::wstring text = L"a\u00E9\u3042\U0001F600";
    EXPECT_EQ(lumo::toUtf8(text), "a\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80");
    EXPECT_EQ(lumo::fromUtf8(lumo::toUtf8(text)), text);
    EXPECT_TRUE(lumo::isValidUtf8(lumo::toUtf8(text)));
    EXPECT_TRUE(lumo::isValidUtf8(""));
}

TEST(Utf8, MalformedBytesBecomeReplacementCharacters) {
    struct {
        const char* bytes;
        std::wstring expected;
    } cases[] = {
        {"\xFF", L"\uFFFD"},
        {"a\xC3", L"a\uFFFD"},                   // truncated sequence
        {"\xC0\xAF", L"\uFFFD\uFFFD"},           // overlong
        {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"}, // encoded surrogate
        {"\xE3\x81"
         "b",
         L"\uFFFD\uFFFD"
         L"b"},                                            // sequence cut by ASCII
        {"\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"}, // above U+10FFFF
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lumo::fromUtf8(c.bytes), c.expected) << c.bytes;
        EXPECT_FALSE(lumo::isValidUtf8(c.bytes)) << c.bytes;
    }
}

TEST(Utf8, LoneSurrogateEncodesAsReplacement) {
    EXPECT_EQ(lumo::toUtf8(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xEF\xBF\xBD");
}

} // namespace
