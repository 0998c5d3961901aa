#include "reader/document/ArchiveNames.h"

#include <gtest/gtest.h>

namespace {

using yomite::normalizeEntryName;
using yomite::resolveReference;

TEST(ArchiveNames, EntryNamesThatWouldLeaveTheArchiveAreNoNames) {
    const struct {
        const wchar_t* name;
        std::optional<std::wstring> normalised;
    } cases[] = {
        {L"book.txt", L"book.txt"},
        {L"folder/book.txt", L"folder/book.txt"},
        {L"folder\\fig\\01.png", L"folder/fig/01.png"},
        {L"./a//b.txt", L"a/b.txt"},
        {L"folder/", std::nullopt},
        {L"", std::nullopt},
        {L"../book.txt", std::nullopt},
        {L"a/../../book.txt", std::nullopt},
        {L"a\\..\\b.txt", std::nullopt},
        {L"/etc/book.txt", std::nullopt},
        {L"\\book.txt", std::nullopt},
        {L"C:book.txt", std::nullopt},
        {L"c:/book.txt", std::nullopt},
        {L"..txt", L"..txt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(normalizeEntryName(c.name), c.normalised) << std::wstring(c.name);
}

TEST(ArchiveNames, ReferencesResolveFromTheBooksFolderAsOnDisk) {
    const struct {
        const wchar_t* folder;
        const wchar_t* reference;
        std::optional<std::wstring> resolved;
    } cases[] = {
        {L"", L"fig01.png", L"fig01.png"},
        {L"book/", L"fig01.png", L"book/fig01.png"},
        {L"book/", L"img\\fig01.png", L"book/img/fig01.png"},
        {L"book/", L"./img/fig01.png", L"book/img/fig01.png"},
        {L"book/text/", L"../img/fig01.png", L"book/img/fig01.png"},
        {L"book/", L"/fig01.png", L"book/fig01.png"},
        {L"", L"../fig01.png", std::nullopt},
        {L"book/", L"../../fig01.png", std::nullopt},
        {L"book/", L"", std::nullopt},
        {L"book/", L"img/", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(resolveReference(c.folder, c.reference), c.resolved)
            << std::wstring(c.folder) << " + " << std::wstring(c.reference);
}

TEST(ArchiveNames, CaseFoldingTouchesAsciiLettersOnly) {
    EXPECT_EQ(yomite::foldCase(L"Fig01.PNG"), L"fig01.png");
    EXPECT_EQ(yomite::foldCase(L"ＡＢ挿絵Ä"), L"ＡＢ挿絵Ä");
    EXPECT_EQ(yomite::entryFolder(L"a/b/c.txt"), L"a/b/");
    EXPECT_EQ(yomite::entryFolder(L"c.txt"), L"");
}

} // namespace
