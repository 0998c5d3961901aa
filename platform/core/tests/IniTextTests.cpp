#include "platform/core/IniText.h"

#include <gtest/gtest.h>

namespace {

lumo::IniSections parse(std::wstring_view text) {
    lumo::IniSections sections;
    lumo::parseIni(text, sections);
    return sections;
}

TEST(IniText, ReadsLinesByTheFileRules) {
    struct Case {
        const char* name;
        std::wstring text;
        lumo::IniSections expected;
    } cases[] = {
        {"value keeps further equals signs", L"[s]\nkey=a=b\n", {{L"s", {{L"key", L"a=b"}}}}},
        {"spaces belong to key and value", L"[s]\nk = v \n", {{L"s", {{L"k ", L" v "}}}}},
        {"empty section name", L"[]\nk=v\n", {{L"", {{L"k", L"v"}}}}},
        {"bracket without close is ignored", L"[abc\n[s]\n", {{L"s", {}}}},
        {"key before any header is dropped", L"k=v\n[s]\n", {{L"s", {}}}},
        {"repeated header merges, last value wins",
         L"[s]\na=1\n[t]\n[s]\na=2\nb=3\n",
         {{L"s", {{L"a", L"2"}, {L"b", L"3"}}}, {L"t", {}}}},
        {"line without equals is ignored", L"[s]\ncomment\n", {{L"s", {}}}},
        {"empty key and value", L"[s]\n=\n", {{L"s", {{L"", L""}}}}},
        {"no final line feed", L"[s]\nk=v", {{L"s", {{L"k", L"v"}}}}},
        {"CR before LF is dropped", L"[s]\r\nk=v\r\n", {{L"s", {{L"k", L"v"}}}}},
        {"other CRs stay", L"[s]\nk=a\rb\n", {{L"s", {{L"k", L"a\rb"}}}}},
        {"bracketed key line with equals", L"[s]\n[x=y\n", {{L"s", {{L"[x", L"y"}}}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parse(c.text), c.expected) << c.name;
}

TEST(IniText, WritesSortedWithoutBlankLines) {
    lumo::IniSections sections;
    sections[L"lumo.main"][L"b"] = L"2";
    sections[L"lumo.main"][L"a"] = L"1";
    sections[L"empty"];
    sections[L"Zed"][L"k"] = L"";
    EXPECT_EQ(lumo::formatIni(sections), L"[Zed]\nk=\n[empty]\n[lumo.main]\na=1\nb=2\n");
}

TEST(IniText, EveryKeyAndValueReadsBackExactlyAndLeavesItsNeighboursAlone) {
    struct Case {
        const char* name;
        std::wstring section, key, value;
    } cases[] = {
        {"equals sign in the key", L"s", L"position//books/a=b.txt", L"40,0"},
        {"equals signs everywhere", L"s", L"==", L"=a=="},
        {"line feed in the key", L"s", L"a\nb", L"v"},
        {"line feed in the value", L"s", L"k", L"x\n[lumo.main]\nlastDirectory=/evil"},
        {"value that ends in CR", L"s", L"k", L"v\r"},
        {"CR LF inside the value", L"s", L"k", L"a\r\nb"},
        {"key that ends in CR", L"s", L"k\r", L"\r"},
        {"key line shaped like a header", L"s", L"[a", L"b]"},
        {"backslashes next to escaped text", L"s", L"C:\\new\\=", L"\\n\\t\\e\\"},
        {"tab next to escaped text", L"s", L"a\tb=", L"c\td"},
        {"empty key and a multi-line value", L"s", L"", L"\n\n"},
        {"key that is only the escape character", L"s", L"\\", L"\n"},
        {"line feed in a section name", L"a\n[lumo.main", L"k", L"v"},
        {"equals sign and bracket in a section name", L"x=]\n", L"\\", L"="},
    };
    for (const auto& c : cases) {
        lumo::IniSections sections;
        sections[L"lumo.main"][L"lastDirectory"] = L"/books/x.txt";
        sections[L"s"][L"neighbour"] = L"1";
        sections[c.section][c.key] = c.value;
        EXPECT_EQ(parse(lumo::formatIni(sections)), sections) << c.name;
    }
}

TEST(IniText, OrdinaryEntriesAreWrittenAsPlainLines) {
    // Backslashes and equals signs in values need nothing: these lines are
    // what earlier versions wrote and read.
    lumo::IniSections sections;
    sections[L"s"][L"position/C:\\new\\t.txt"] = L"1,2";
    sections[L"s"][L"\\n"] = L"a=b\\e";
    sections[L"s"][L"[x"] = L"y";
    sections[L"s"][L"k"] = L"a\rb";
    sections[L"s"][L"\\"] = L"";
    sections[L"x=]"][L"k\r"] = L"[v]";
    EXPECT_EQ(lumo::formatIni(sections), L"[s]\n[x=y\n\\=\n\\n=a=b\\e\nk=a\rb\n"
                                         L"position/C:\\new\\t.txt=1,2\n[x=]]\nk\r=[v]\n");
}

TEST(IniText, FilesOfEarlierVersionsReadAsBefore) {
    struct Case {
        const char* name;
        std::wstring text;
        lumo::IniSections expected;
    } cases[] = {
        {"backslash escapes in plain lines are literal",
         L"[s]\nC:\\new\\t.txt=\\n\\t\\e\\\\\n",
         {{L"s", {{L"C:\\new\\t.txt", L"\\n\\t\\e\\\\"}}}}},
        {"a key that begins with a backslash", L"[s]\n\\a\tb=c\n", {{L"s", {{L"\\a\tb", L"c"}}}}},
        {"a stray line beginning with a backslash", L"[s]\n\\comment\n", {{L"s", {}}}},
        {"a line with an unknown escape", L"[s]\n\\a\\x\tb\n", {{L"s", {}}}},
        {"a line with two separators", L"[s]\n\\a\tb\tc\n", {{L"s", {}}}},
        {"an escape cut off at the end", L"[s]\n\\a\tb\\\n", {{L"s", {}}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parse(c.text), c.expected) << c.name;
}

TEST(IniText, LongLinesSurviveARoundTrip) {
    lumo::IniSections sections;
    sections[L"s"][L"long"] = std::wstring(5000, L'\u3042');
    EXPECT_EQ(parse(lumo::formatIni(sections)), sections);
}

} // namespace
