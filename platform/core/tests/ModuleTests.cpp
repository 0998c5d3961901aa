#include "platform/core/Module.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

HINSTANCE g_programInstance = lumo::moduleHandleOf(&g_programInstance);

namespace {

std::wstring testModulePath() {
    return std::filesystem::path(TEST_MODULE_PATH).wstring();
}

TEST(Module, LoadsByFullPathAndFindsExportsByName) {
    HMODULE module = LoadLibrary(testModulePath().c_str());
    ASSERT_NE(module, nullptr);
    auto answer = reinterpret_cast<int (*)()>(GetProcAddress(module, "testModuleAnswer"));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(GetProcAddress(module, "noSuchExport"), nullptr);
}

TEST(Module, OwnInstanceHandleEqualsTheLoadersHandle) {
    HMODULE module = LoadLibrary(testModulePath().c_str());
    ASSERT_NE(module, nullptr);
    auto instance = reinterpret_cast<HINSTANCE (*)()>(GetProcAddress(module, "testModuleInstance"));
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(instance(), module);
    EXPECT_EQ(LoadLibrary(testModulePath().c_str()), module)
        << "a second load yields the same handle";
    EXPECT_EQ(lumo::moduleFileName(module), testModulePath());
}

TEST(Module, AFileNameInAnotherLetterCaseIsFoundAsOnTheDevice) {
    lumo::test::TempDir dir;
    std::filesystem::copy_file(TEST_MODULE_PATH, dir / "Image_Import.iplg");
    HMODULE module = LoadLibrary((dir / "image_import.IPLG").wstring().c_str());
    ASSERT_NE(module, nullptr);
    EXPECT_NE(GetProcAddress(module, "testModuleAnswer"), nullptr);
    EXPECT_EQ(LoadLibrary((dir / "image_import.iplgx").wstring().c_str()), nullptr);
    std::filesystem::create_directory(dir / "Sub");
    std::filesystem::copy_file(TEST_MODULE_PATH, dir / "Sub" / "m.iplg");
    EXPECT_EQ(LoadLibrary((dir / "sub" / "m.iplg").wstring().c_str()), nullptr)
        << "only the file name is matched, not its directory";
}

TEST(Module, ProgramHandleIsTheProgramsOwn) {
    EXPECT_EQ(g_programInstance, lumo::programModuleHandle());
    EXPECT_NE(g_programInstance, nullptr);
}

TEST(Module, FailedLoadsYieldNoHandleAndTheLoadersReason) {
    EXPECT_EQ(LoadLibrary(L"/nonexistent/dir/x.so"), nullptr);
    EXPECT_NE(lumo::moduleLoadError().find("/nonexistent/dir/x.so"), std::string::npos)
        << lumo::moduleLoadError();
    EXPECT_NE(lumo::moduleLoadError().find("No such file"), std::string::npos);
    lumo::test::TempDir dir;
    dir.write("text.so", "this is not a library");
    EXPECT_EQ(LoadLibrary((dir / "text.so").wstring().c_str()), nullptr);
    EXPECT_NE(lumo::moduleLoadError().find("text.so"), std::string::npos);
    EXPECT_EQ(lumo::moduleLoadError().find("No such file"), std::string::npos)
        << lumo::moduleLoadError();
    EXPECT_EQ(LoadLibrary(L""), nullptr);
    EXPECT_EQ(LoadLibrary(nullptr), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "LUMO_LoadPluginModule"), nullptr);
}

TEST(Module, ProgramPathCanBeRedirectedForTests) {
    std::wstring real = lumo::moduleFileName(nullptr);
    EXPECT_TRUE(real.ends_with(L"platformcore_tests")) << "the program, not a library";
    lumo::setProgramPathForTesting(L"/tmp/somewhere/LumoCore");
    wchar_t buffer[MAX_PATH];
    EXPECT_EQ(GetModuleFileName(nullptr, buffer, MAX_PATH), 23u);
    EXPECT_STREQ(buffer, L"/tmp/somewhere/LumoCore");
    wchar_t small[5];
    EXPECT_EQ(GetModuleFileName(nullptr, small, 5), 4u);
    EXPECT_STREQ(small, L"/tmp");
    lumo::setProgramPathForTesting(L"");
    EXPECT_EQ(lumo::moduleFileName(nullptr), real);
}

} // namespace
