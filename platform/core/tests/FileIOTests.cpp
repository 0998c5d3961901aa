#include "platform/core/FileIO.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>

namespace {

TEST(FileIO, AtomicWriteReplacesTheFileAndLeavesNoTemporaries) {
    lumo::test::TempDir dir;
    std::wstring path = (dir / "conf.ini").wstring();
    dir.write("conf.ini", "old");
    chmod((dir / "conf.ini").c_str(), 0640);
    ASSERT_TRUE(lumo::writeFileAtomically(path, "new contents"));
    EXPECT_EQ(dir.read("conf.ini"), "new contents");
    struct stat st;
    ASSERT_EQ(stat((dir / "conf.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "the replaced file keeps its mode";
    int entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(FileIO, FailedWriteKeepsTheOldFile) {
    lumo::test::TempDir dir;
    EXPECT_FALSE(lumo::writeFileAtomically((dir / "missing-dir/conf.ini").wstring(), "x"));
    EXPECT_EQ(errno, ENOENT) << "the reason is left for the caller to report";
    // A directory in the way of the rename: the write fails, nothing is lost.
    std::filesystem::create_directory(dir / "taken");
    dir.write("taken/keep", "kept");
    EXPECT_FALSE(lumo::writeFileAtomically((dir / "taken").wstring(), "x"));
    EXPECT_EQ(errno, EISDIR);
    EXPECT_EQ(dir.read("taken/keep"), "kept");
}

TEST(FileIO, ReadsWholeFilesAndReportsMissingOnes) {
    lumo::test::TempDir dir;
    std::string big(3 << 20, 'x');
    dir.write("big", big);
    auto bytes = lumo::readFileBytes((dir / "big").wstring());
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), big.size());
    EXPECT_FALSE(lumo::readFileBytes((dir / "none").wstring()));
    EXPECT_EQ(errno, ENOENT);
}

} // namespace
