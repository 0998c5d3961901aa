#include "reader/document/DavaroDiroBook.h"
#include "reader/document/SourceText.h"

#include "platform/core/Log.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::wstring>;

struct DecodeCase {
    const char* name;
    std::string bytes;
    Lines lines;
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << c.name;
}

class SourceLinesTable : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(SourceLinesTable, SplitsAndDecodesLikeTheDeviceStream) {
    const DecodeCase& c = GetParam();
    Lines lines;
    yomite::appendSourceLines(c.bytes, lines);
    EXPECT_EQ(lines, c.lines);
}

// Shift_JIS: 青空 = 90 C2 8B F3, ｱ (half-width katakana) = B1, ― = 81 5C.
INSTANTIATE_TEST_SUITE_P(
    Bytes, SourceLinesTable,
    ::testing::Values(
        DecodeCase{"empty_file_is_one_empty_line", "", {L""}},
        DecodeCase{"final_line_feed_leaves_empty_line", "a\n", {L"a", L""}},
        DecodeCase{"no_final_line_feed", "a\nb", {L"a", L"b"}},
        DecodeCase{"crlf_drops_the_cr", "a\r\nb\r\n", {L"a", L"b", L""}},
        DecodeCase{"lone_cr_stays", "a\rb\r", {L"a\rb\r"}},
        DecodeCase{"cr_cr_lf_keeps_one_cr", "a\r\r\n", {L"a\r", L""}},
        DecodeCase{"nul_ends_the_line_text", std::string("ab\0cd\nef", 8), {L"ab", L"ef"}},
        DecodeCase{"nul_bytes_only", std::string(3, '\0'), {L""}},
        DecodeCase{"shift_jis_double_byte", "\x90\xC2\x8B\xF3\r\n", {L"青空", L""}},
        DecodeCase{"trail_byte_0x5c_is_not_a_backslash", "\x81\x5C", {L"―"}},
        DecodeCase{"half_width_katakana", "\xB1", {L"ｱ"}},
        DecodeCase{"windows_single_byte_extras",
                   "\x80\xA0\xFD\xFE\xFF",
                   {L"\u0080\uF8F0\uF8F1\uF8F2\uF8F3"}},
        DecodeCase{"lone_lead_byte_at_end", "a\x90", {L"a\uFFFD"}},
        DecodeCase{"lead_byte_before_line_feed", "\x90\nb", {L"\uFFFD", L"b"}},
        DecodeCase{"invalid_pair_resumes_at_next_byte", "\x85\x40x", {L"\uFFFD@x"}},
        // UTF-8 books: the same splitting, another decoding.
        DecodeCase{"utf8_byte_order_mark_is_dropped",
                   "\xEF\xBB\xBF"
                   "a\r\nb",
                   {L"a", L"b"}},
        DecodeCase{"utf8_mark_alone_is_one_empty_line", "\xEF\xBB\xBF", {L""}},
        DecodeCase{"utf8_without_mark", "青空\r\n文庫", {L"青空", L"文庫"}},
        DecodeCase{"utf8_nul_ends_the_line_text", std::string("猫\0犬\n鳥", 11), {L"猫", L"鳥"}},
        DecodeCase{"utf8_lone_cr_stays", "猫\r犬\r\r\n", {L"猫\r犬\r", L""}},
        DecodeCase{"utf8_marked_book_with_bad_bytes",
                   "\xEF\xBB\xBF"
                   "a\x82\xA0",
                   {L"a\uFFFD\uFFFD"}},
        // 雹キ and ﾃｽ are Shift_JIS that is also well-formed UTF-8; the
        // full stop (81 42) is not.
        DecodeCase{"shift_jis_look_alike_stays_shift_jis",
                   "\xE8\xB9\x83L\xC3\xBD\r\n\x81\x42",
                   {L"雹キﾃｽ", L"。"}}),
    [](const ::testing::TestParamInfo<DecodeCase>& info) { return std::string(info.param.name); });

TEST(SourceText, LongLineIsReadWholeAcrossReadChunks) {
    lumo::test::TempDir dir;
    // Longer than one read chunk, with the CR of a CRLF at a chunk's very end.
    std::string line(256 * 1024 - 1, 'x');
    dir.write("book.txt", line + "\r\n" + "tail");
    Lines lines;
    ASSERT_EQ(yomite::readSourceLines((dir / "book.txt").wstring(), lines),
              yomite::ReadResult::Read);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), line.size());
    EXPECT_EQ(lines[1], L"tail");
}

TEST(SourceText, EncodingIsJudgedOnTheWholeFileAcrossReadChunks) {
    lumo::test::TempDir dir;
    const size_t chunk = 256 * 1024;
    // A UTF-8 character cut in two by the read chunk's end.
    dir.write("utf8.txt", std::string(chunk - 1, 'x') + "青\n空");
    // Shift_JIS that looks like UTF-8 (雹キ, E8 B9 83 4C) for more than a
    // chunk; only the final full stop (81 42) tells.
    std::string lookalike;
    while (lookalike.size() < chunk + 100)
        lookalike += "\xE8\xB9\x83L\r\n";
    dir.write("sjis.txt", lookalike + "\x81\x42");

    Lines utf8;
    ASSERT_EQ(yomite::readSourceLines((dir / "utf8.txt").wstring(), utf8),
              yomite::ReadResult::Read);
    ASSERT_EQ(utf8.size(), 2u);
    EXPECT_EQ(utf8[0], std::wstring(chunk - 1, L'x') + L"青");
    EXPECT_EQ(utf8[1], L"空");

    Lines sjis;
    ASSERT_EQ(yomite::readSourceLines((dir / "sjis.txt").wstring(), sjis),
              yomite::ReadResult::Read);
    ASSERT_GT(sjis.size(), 2u);
    EXPECT_EQ(sjis.front(), L"雹キ");
    EXPECT_EQ(sjis.back(), L"。");
}

TEST(SourceText, AMarkedUtf8FileDropsTheMarkOnly) {
    lumo::test::TempDir dir;
    dir.write("book.txt", "\xEF\xBB\xBF題名\r\n作者\r\n");
    Lines lines;
    ASSERT_EQ(yomite::readSourceLines((dir / "book.txt").wstring(), lines),
              yomite::ReadResult::Read);
    EXPECT_EQ(lines, (Lines{L"題名", L"作者", L""}));
}

TEST(SourceText, OnlyRegularFilesOpenAndEachRefusalSaysWhy) {
    std::vector<std::string> warnings;
    lumo::log::setSink(
        [&](lumo::log::Level, std::string_view text) { warnings.emplace_back(text); });
    lumo::test::TempDir dir;
    Lines lines{L"kept"};
    EXPECT_EQ(yomite::readSourceLines((dir / "missing.txt").wstring(), lines),
              yomite::ReadResult::CannotOpen);
    EXPECT_EQ(yomite::readSourceLines(dir.path().wstring(), lines), yomite::ReadResult::CannotOpen);
    EXPECT_EQ(yomite::readSourceLines(L"", lines), yomite::ReadResult::CannotOpen);
    // A device is no book: it would never end.
    EXPECT_EQ(yomite::readSourceLines(L"/dev/zero", lines), yomite::ReadResult::CannotOpen);
    EXPECT_EQ(lines, Lines{L"kept"});
    lumo::log::setSink({});
    const std::string folder = dir.path().string();
    EXPECT_EQ(warnings,
              (std::vector<std::string>{
                  "cannot open the book " + folder + "/missing.txt: No such file or directory",
                  "cannot open the book " + folder + ": not a regular file",
                  "cannot open the book : the name cannot be a file's",
                  "cannot open the book /dev/zero: not a regular file",
              }));
}

TEST(SourceText, ReadOnlyBookOpensAndIsNotTouched) {
    lumo::test::TempDir dir;
    dir.write("book.txt", "a\r\nb");
    const auto path = dir / "book.txt";
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    const auto before = std::filesystem::last_write_time(path);

    CDavaroDiroBook book;
    ASSERT_TRUE(book.loadFile(path.wstring().c_str()));
    EXPECT_EQ(book.m_sourceLines, (Lines{L"a", L"b"}));
    EXPECT_EQ(std::filesystem::last_write_time(path), before);
    EXPECT_EQ(dir.read("book.txt"), "a\r\nb");
}

TEST(SourceText, LoadingAppendsAndClearingEmpties) {
    lumo::test::TempDir dir;
    dir.write("book.txt", "x\ny");
    CDavaroDiroBook book;
    // A null path is accepted and loads nothing.
    EXPECT_TRUE(book.loadFile(nullptr));
    EXPECT_TRUE(book.m_sourceLines.empty());
    ASSERT_TRUE(book.loadFile((dir / "book.txt").wstring().c_str()));
    ASSERT_TRUE(book.loadFile((dir / "book.txt").wstring().c_str()));
    EXPECT_EQ(book.m_sourceLines, (Lines{L"x", L"y", L"x", L"y"}));
    EXPECT_FALSE(book.loadFile((dir / "nothing.txt").wstring().c_str()));
    EXPECT_EQ(book.m_sourceLines.size(), 4u);

    ASSERT_TRUE(book.layout(8, 2));
    book.setCurrentIndex(2);
    book.clearContents();
    EXPECT_TRUE(book.m_sourceLines.empty());
    EXPECT_EQ(book.getCurrentIndex(), 0);
    EXPECT_EQ(book.getPageCount(), -1);
    EXPECT_EQ(book.getLayoutMetrics().columnsPerLine, 0);
    // Stale line starts outlive the lines they point into; nothing may crash.
    EXPECT_GT(book.getLineStartCount(), 0);
    for (int k = -1; k <= book.getLineStartCount(); ++k)
        EXPECT_EQ(book.getDisplayLineText(k), L"");
}

TEST(SourceText, UnicodeFileNamesOpen) {
    lumo::test::TempDir dir;
    dir.write("吾輩は猫である.txt", "\x94\x4C");
    CDavaroDiroBook book;
    ASSERT_TRUE(book.loadFile((dir.path().wstring() + L"/吾輩は猫である.txt").c_str()));
    EXPECT_EQ(book.m_sourceLines, Lines{L"猫"});
}

} // namespace
