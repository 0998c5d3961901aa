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

TEST(IniText, LongLinesSurviveARoundTrip) {
    lumo::IniSections sections;
    sections[L"s"][L"long"] = std::wstring(5000, L'\u3042');
    EXPECT_EQ(parse(lumo::formatIni(sections)), sections);
}

} // namespace
