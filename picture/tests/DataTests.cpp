#include "picture/PLData.h"
#include "picture/PLFileData.h"
#include "picture/PLMemory.h"
#include "picture/PLMemoryData.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::wstring widePath(const std::filesystem::path& path) {
    return path.wstring();
}

TEST(CPLMemoryData, AttachRecordsTypeAndSizeByOrigin) {
    CPLMemoryData* data = CPLMemoryData::create();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->get_type(), CPLMemoryData::MEMORY_KERNEL);
    EXPECT_EQ(data->get_ptr(), nullptr);
    EXPECT_FALSE(data->destroy()) << "nothing held";

    void* kernel = PL_Malloc(54, false);
    EXPECT_TRUE(data->attach(kernel, CPLMemoryData::MEMORY_KERNEL));
    EXPECT_EQ(data->get_size(), 54u);
    EXPECT_EQ(data->get_handle(), kernel);
    EXPECT_EQ(data->operator->(), kernel);
    EXPECT_TRUE(data->destroy());
    EXPECT_EQ(data->get_handle(), nullptr);

    void* crt = std::malloc(10);
    data->attach(crt, CPLMemoryData::MEMORY_CRT);
    EXPECT_EQ(data->get_size(), 0u) << "the C heap does not say";
    EXPECT_TRUE(data->destroy()) << "released with free";

    void* local = std::malloc(100);
    data->attach(local, CPLMemoryData::MEMORY_LOCAL);
    EXPECT_GE(data->get_size(), 100u);
    CPLMemoryData::destroy(data) /* releases the held block */;
}

TEST(CPLMemoryData, UnknownTypesAreRecordedButNeverReleased) {
    char stackBlock[8];
    CPLMemoryData* data = CPLMemoryData::create();
    data->attach(stackBlock, static_cast<CPLMemoryData::MEMORY_TYPE>(7));
    EXPECT_EQ(data->get_type(), 7);
    EXPECT_EQ(data->get_handle(), nullptr) << "other members left as they were";
    void* kernel = PL_Malloc(4, true);
    data->attach(kernel, CPLMemoryData::MEMORY_KERNEL);
    data->attach(stackBlock, static_cast<CPLMemoryData::MEMORY_TYPE>(9));
    EXPECT_EQ(data->get_handle(), kernel);
    EXPECT_TRUE(data->destroy()) << "a block is held, though of unknown origin";
    EXPECT_EQ(data->get_handle(), nullptr);
    PL_Free(kernel);
    CPLMemoryData::destroy(data);
}

TEST(CPLMemoryData, DetachPassesOwnershipWithoutReleasing) {
    void* kernel = PL_Malloc(16, true);
    CPLMemoryData* first = CPLMemoryData::create(kernel, CPLMemoryData::MEMORY_KERNEL);
    CPLMemoryData* second = CPLMemoryData::create();
    second->attach(first->get_handle(), first->get_type());
    EXPECT_TRUE(first->detach());
    EXPECT_TRUE(first->detach()) << "always true";
    CPLMemoryData::destroy(first);
    EXPECT_EQ(second->get_size(), 16u);
    static_cast<char*>(second->get_ptr())[15] = 1; // still alive
    CPLMemoryData::destroy(second);
    CPLMemoryData::destroy(nullptr);
}

TEST(CPLMemoryData, WritesItsBytesToAFile) {
    lumo::test::TempDir dir;
    void* block = PL_Malloc(5, false);
    std::memcpy(block, "abcde", 5);
    CPLMemoryData* data = CPLMemoryData::create(block, CPLMemoryData::MEMORY_KERNEL);
    std::wstring path = widePath(dir / "out.bin");
    CPLFileData* file = data->write_to_file(path.c_str());
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(dir.read("out.bin"), "abcde");
    wchar_t name[4096];
    EXPECT_TRUE(file->get_name(name, 4096));
    EXPECT_EQ(std::wstring(name), path);
    CPLFileData::destroy(file);
    EXPECT_EQ(data->write_to_file(widePath(dir / "missing" / "x").c_str()), nullptr);
    CPLMemoryData::destroy(data);

    CPLMemoryData* empty = CPLMemoryData::create();
    EXPECT_EQ(empty->write_to_file(path.c_str()), nullptr);
    CPLMemoryData::destroy(empty);
}

TEST(CPLFileData, ReadsWholeFilesAndPrefixesOfExactSize) {
    lumo::test::TempDir dir;
    dir.write("ten.bin", "0123456789");
    dir.write("empty.bin", "");
    CPLFileData* file = CPLFileData::create(widePath(dir / "ten.bin").c_str());

    CPLMemoryData* prefix = file->read_data(54);
    ASSERT_NE(prefix, nullptr);
    EXPECT_EQ(prefix->get_size(), 54u) << "the size asked for, though the file is shorter";
    EXPECT_EQ(prefix->get_type(), CPLMemoryData::MEMORY_KERNEL);
    EXPECT_EQ(std::memcmp(prefix->get_ptr(), "0123456789", 10), 0);
    EXPECT_EQ(static_cast<char*>(prefix->get_ptr())[53], 0) << "the unread tail is zero";
    CPLMemoryData::destroy(prefix);

    CPLMemoryData* whole = file->read_data();
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->get_size(), 10u);
    CPLMemoryData::destroy(whole);
    EXPECT_EQ(file->read_data(-1), nullptr);

    file->attach(widePath(dir / "empty.bin").c_str());
    CPLMemoryData* none = file->read_data();
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->get_size(), 0u);
    CPLMemoryData::destroy(none);

    file->attach(widePath(dir / "absent.bin").c_str());
    EXPECT_EQ(file->read_data(), nullptr);
    EXPECT_EQ(file->read_data(4), nullptr);
    CPLFileData::destroy(file);
}

TEST(CPLFileData, PathRecordLifecycle) {
    CPLFileData* file = CPLFileData::create(L"/tmp/picture.bmp");
    wchar_t name[64] = {L'x'};
    EXPECT_TRUE(file->get_name(name, 64));
    EXPECT_STREQ(name, L"/tmp/picture.bmp");
    EXPECT_FALSE(file->get_name(nullptr, 64));
    EXPECT_FALSE(file->get_name(name, 0));

    EXPECT_TRUE(file->detach());
    EXPECT_TRUE(file->get_name(name, 64));
    EXPECT_STREQ(name, L"") << "detached: empty path, record kept";
    EXPECT_TRUE(file->destroy());
    name[0] = L'x';
    EXPECT_FALSE(file->get_name(name, 64)) << "no record";
    EXPECT_EQ(name[0], 0);
    EXPECT_FALSE(file->detach());
    EXPECT_FALSE(file->attach(nullptr));
    EXPECT_TRUE(file->attach(L"again"));
    EXPECT_EQ(file->read_data(), nullptr);
    CPLFileData::destroy(file);
    CPLFileData::destroy(nullptr);
}

TEST(CPLData, OnlyTheOwningConstructorsReleaseAtTheEnd) {
    // An owning holder releases its block: the block is then freed exactly
    // once (a sanitizer build reports a double free or a leak otherwise).
    {
        CPLData owner(L"memory",
                      CPLMemoryData::create(PL_Malloc(8, true), CPLMemoryData::MEMORY_KERNEL));
        EXPECT_TRUE(owner.is_memory());
        EXPECT_FALSE(owner.is_file());
    }
    CPLMemoryData* kept = CPLMemoryData::create(PL_Malloc(8, true), CPLMemoryData::MEMORY_KERNEL);
    CPLFileData* keptFile = CPLFileData::create(L"/x");
    {
        CPLData holder(L"plain");
        EXPECT_TRUE(holder.set_memory(kept));
        EXPECT_EQ(holder.get_memory(), kept);
        EXPECT_TRUE(holder.set_file(keptFile));
        EXPECT_TRUE(holder.is_file());
        EXPECT_FALSE(holder.is_memory()) << "one or the other";
        CPLData copy(holder);
        EXPECT_EQ(copy.get_file(), keptFile);
    }
    EXPECT_EQ(kept->get_size(), 8u) << "still alive after a non-owning holder ended";
    wchar_t name[16];
    EXPECT_TRUE(keptFile->get_name(name, 16));
    CPLMemoryData::destroy(kept);
    CPLFileData::destroy(keptFile);

    CPLData named(std::wstring(300, L'a').c_str());
    wchar_t buffer[300];
    named.get_name(buffer, 300);
    EXPECT_EQ(std::wstring(buffer).size(), 255u);
    EXPECT_STREQ(CPLData::DEFAULT_OBJECT_NAME, "CPLDATA_OBJECT");
}

} // namespace
