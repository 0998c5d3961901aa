#include "platform/core/IniFile.h"

#include "platform/core/Log.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

TEST(IniFile, DecodesUtf8WithOrWithoutAMarkAndOtherFilesInTheSystemCodePage) {
    unsetenv("LUMO_CODEPAGE");
    struct Case {
        const char* name;
        std::string bytes;
        std::wstring text;
    } cases[] = {
        {"UTF-8", "[s]\nk=\xE7\xBE\x85\n", L"[s]\nk=\u7F85\n"},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF[s]\nk=v\n", L"[s]\nk=v\n"},
        {"a mark further on is text", "[s]\nk=\xEF\xBB\xBF\n", L"[s]\nk=\uFEFF\n"},
        {"Shift_JIS", "[s]\nk=/\x95\xC7\x8E\x86\n", L"[s]\nk=/\u58C1\u7D19\n"},
        {"Shift_JIS with a backslash-like trail byte", "k=\x95\x5C", L"k=\u8868"},
        {"a mark claims UTF-8 whatever follows", "\xEF\xBB\xBFk=\xFF", L"k=\uFFFD"},
        {"empty", "", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lumo::decodeIniBytes(c.bytes), c.text) << c.name;
}

TEST(IniFile, AFileThatCannotBeWrittenIsReported) {
    std::vector<std::string> said;
    lumo::log::setSink([&](lumo::log::Level, std::string_view text) { said.emplace_back(text); });
    lumo::test::TempDir dir;
    lumo::IniSections sections;
    sections[L"s"][L"k"] = L"v";
    const std::wstring path = (dir / "missing/lumoconf.ini").wstring();
    EXPECT_FALSE(lumo::writeIniFile(path, sections));
    lumo::IniSections read;
    EXPECT_FALSE(lumo::readIniFile(path, read)) << "a missing file is no news";
    lumo::log::setSink({});
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find("missing/lumoconf.ini"), std::string::npos) << said[0];
    EXPECT_NE(said[0].find("No such file or directory"), std::string::npos) << said[0];
}

TEST(IniFile, ABomFileIsWrittenBackWithItsFirstSection) {
    lumo::test::TempDir dir;
    dir.write("c.ini", "\xEF\xBB\xBF[first]\nk=v\n[second]\nx=y\n");
    lumo::IniSections sections;
    ASSERT_TRUE(lumo::readIniFile((dir / "c.ini").wstring(), sections));
    ASSERT_TRUE(lumo::writeIniFile((dir / "c.ini").wstring(), sections));
    EXPECT_EQ(dir.read("c.ini"), "[first]\nk=v\n[second]\nx=y\n");
}

} // namespace
