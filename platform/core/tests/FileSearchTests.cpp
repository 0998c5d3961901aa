#include "platform/core/FileSearch.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <vector>

namespace {

std::vector<std::wstring> namesFound(const std::wstring& pattern,
                                     std::vector<bool>* directories = nullptr) {
    std::vector<std::wstring> names;
    lumo::FileSearch search(pattern);
    while (auto found = search.next()) {
        names.push_back(found->name);
        if (directories)
            directories->push_back(found->isDirectory());
    }
    return names;
}

TEST(FileSearch, MatchesTheMaskInFileSystemOrderAndReportsDirectories) {
    lumo::test::TempDir dir;
    dir.write("b.lumo", "x");
    dir.write("a.lumo", "x");
    dir.write("c.txt", "x");
    dir.write("UPPER.LUMO", "x");
    dir.write("x.lumo/inner", "x");
    dir.write("a.lumo.bak", "x");

    // The order the file system returns, read independently.
    std::vector<std::wstring> expected;
    DIR* d = opendir(dir.path().c_str());
    while (dirent* e = readdir(d)) {
        std::string n = e->d_name;
        if (n == "a.lumo" || n == "b.lumo" || n == "UPPER.LUMO" || n == "x.lumo")
            expected.push_back(std::wstring(n.begin(), n.end()));
    }
    closedir(d);

    std::vector<bool> directories;
    auto names = namesFound(dir.path().wstring() + L"/*.lumo", &directories);
    EXPECT_EQ(names, expected);
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(directories[i], names[i] == L"x.lumo") << names[i];
}

TEST(FileSearch, MissingDirectoryOrEmptyMaskFindsNothing) {
    EXPECT_TRUE(namesFound(L"/nonexistent-lumo-dir/*.lumo").empty());
    lumo::test::TempDir dir;
    dir.write("a", "x");
    EXPECT_TRUE(namesFound(dir.path().wstring() + L"/").empty());
    EXPECT_EQ(namesFound(dir.path().wstring() + L"/?").size(), 1u);
}

TEST(FileSearch, NonAsciiNamesComeBackWide) {
    lumo::test::TempDir dir;
    dir.write("\xE5\xA3\x81\xE7\xB4\x99.bmp", "x"); // 壁紙.bmp
    EXPECT_EQ(namesFound(dir.path().wstring() + L"/*.bmp"),
              std::vector<std::wstring>{L"\u58C1\u7D19.bmp"});
}

} // namespace
