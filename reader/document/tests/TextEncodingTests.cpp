#include "reader/document/TextEncoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using yomite::TextEncoding;

std::string fromHex(std::string_view hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    return bytes;
}

// Shift_JIS text whose bytes are well-formed UTF-8 as far as they go: kanji
// with trail bytes 0x80-0xBF followed by kana or kanji whose lead bytes
// complete the UTF-8 sequence. 雹キ茯れ鴛罧遡羮跡つ終缺犀蔑票 and
// 繝春辷観振謚洲箒浄梱者倫嘉Ｙ; ﾃｽﾂｱ in half-width katakana.
const std::string LOOKALIKE_KANA =
    fromHex("e8b9834ce4a882ea8995e3ac916be3bc90d582c28f49e39e8dd295cc955b");
const std::string LOOKALIKE_KANJI =
    fromHex("e3838f74e7888acf9055e68a8f46e2b48ff28dab8ed297cf89c38278");
const std::string LOOKALIKE_HALF_WIDTH = "\xC3\xBD\xC2\xB1";
// 。 and あ in Shift_JIS: their lead bytes can never start a UTF-8 character.
const std::string SJIS_FULL_STOP = "\x81\x42";
const std::string SJIS_A = "\x82\xA0";
const std::string BOM = "\xEF\xBB\xBF";

struct EncodingCase {
    const char* name;
    std::string bytes;
    TextEncoding expected;
    size_t markLength;
};

TEST(EncodingDetector, ChoosesUtf8OnlyForWellFormedMultiByteTextOrAMark) {
    const EncodingCase cases[] = {
        {"empty", "", TextEncoding::SystemCodePage, 0},
        {"ascii only", "title\r\nauthor\r\n", TextEncoding::SystemCodePage, 0},
        {"utf-8 japanese", "吾輩は猫である。\r\n", TextEncoding::Utf8, 0},
        {"utf-8 outside the BMP", "\xF0\x9F\x8C\xB8", TextEncoding::Utf8, 0},
        {"mark and ascii", BOM + "abc", TextEncoding::Utf8, 3},
        {"mark alone", BOM, TextEncoding::Utf8, 3},
        {"mark before malformed bytes", BOM + SJIS_A, TextEncoding::Utf8, 3},
        {"half a mark", "\xEF\xBB", TextEncoding::SystemCodePage, 0},
        {"mark not at the start", "a" + BOM, TextEncoding::Utf8, 0},
        // Shift_JIS and bytes that are not UTF-8.
        {"shift_jis hiragana", SJIS_A, TextEncoding::SystemCodePage, 0},
        {"shift_jis kanji", "\x8A\xBF\x8E\x9A", TextEncoding::SystemCodePage, 0},
        {"look-alike kana line, then a full stop",
         "t\r\na\r\n\r\n" + LOOKALIKE_KANA + "\r\n" + SJIS_FULL_STOP, TextEncoding::SystemCodePage,
         0},
        {"look-alike kanji cut inside a character", LOOKALIKE_KANJI + "\xE6\x97",
         TextEncoding::SystemCodePage, 0},
        {"half-width katakana pairs, then one alone", LOOKALIKE_HALF_WIDTH + "\xB1",
         TextEncoding::SystemCodePage, 0},
        {"look-alikes, then hiragana", LOOKALIKE_KANJI + LOOKALIKE_HALF_WIDTH + SJIS_A,
         TextEncoding::SystemCodePage, 0},
        {"overlong slash", "\xC0\xAF", TextEncoding::SystemCodePage, 0},
        {"overlong three bytes", "\xE0\x80\xAF", TextEncoding::SystemCodePage, 0},
        {"surrogate", "\xED\xA0\x80", TextEncoding::SystemCodePage, 0},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", TextEncoding::SystemCodePage, 0},
        {"continuation byte first", "\x80", TextEncoding::SystemCodePage, 0},
    };
    for (const EncodingCase& c : cases) {
        size_t mark = 99;
        EXPECT_EQ(yomite::detectEncoding(c.bytes, mark), c.expected) << c.name;
        EXPECT_EQ(mark, c.markLength) << c.name;

        // A book read in pieces, however small, is judged the same.
        yomite::EncodingDetector pieces;
        for (char b : c.bytes)
            if (!pieces.feed(std::string_view(&b, 1)))
                break;
        EXPECT_EQ(pieces.result(), c.expected) << c.name << " fed byte by byte";
        EXPECT_EQ(pieces.markLength(), c.markLength) << c.name << " fed byte by byte";
    }
}

TEST(EncodingDetector, StopsAsSoonAsTheAnswerIsKnown) {
    yomite::EncodingDetector shiftJis;
    EXPECT_TRUE(shiftJis.feed("t\r\na\r\n"));
    EXPECT_FALSE(shiftJis.feed(SJIS_A + "\r\n")) << "no UTF-8 can follow";
    yomite::EncodingDetector marked;
    EXPECT_FALSE(marked.feed(BOM)) << "the mark decides";
    yomite::EncodingDetector utf8;
    EXPECT_TRUE(utf8.feed("青空")) << "the rest of the book may still break it";
}

} // namespace
