#include "platform/core/Process.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sys/wait.h>
#include <thread>

namespace {

using lumo::test::TempDir;

// Waits (real time, bounded) for a file the started program writes.
std::string waitForFile(const TempDir& dir, const char* name) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (std::filesystem::exists(dir / (std::string(name) + ".done")))
            return dir.read(name);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return "<timed out>";
}

void writeScript(const TempDir& dir, const char* name, const std::string& body) {
    dir.write(name, "#!/bin/sh\n" + body);
    std::filesystem::permissions(dir / name, std::filesystem::perms::owner_all);
}

// A program that writes its arguments, one a line, and its working directory.
void writeEcho(const TempDir& dir) {
    writeScript(dir, "echo.sh",
                "out=\"$(dirname \"$0\")/out\"\n"
                "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$out\"\n"
                "pwd >> \"$out\"\n"
                "touch \"$out.done\"\n");
}

TEST(CreateProcess, StartsTheProgramWithItsArgumentsAndNoShell) {
    TempDir dir;
    writeEcho(dir);
    const std::wstring program = (dir / "echo.sh").wstring();
    std::wstring commandLine = L"echo.sh plain \"two words\" $(touch hacked) ';' \\\"quoted\\\"";
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcess(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                              nullptr, dir.path().wstring().c_str(), nullptr, &info));
    EXPECT_NE(info.dwProcessId, 0u);
    EXPECT_EQ(info.hProcess, nullptr) << "no handle is held";
    EXPECT_EQ(waitForFile(dir, "out"),
              "plain\ntwo words\n$(touch\nhacked)\n';'\n\"quoted\"\n" + dir.path().string() + "\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "hacked")) << "nothing went through a shell";
}

TEST(CreateProcess, ProgramFromTheCommandLineWhenNoApplicationIsNamed) {
    TempDir dir;
    writeEcho(dir);
    std::wstring commandLine = L"\"" + (dir / "echo.sh").wstring() + L"\" a";
    ASSERT_TRUE(CreateProcess(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, nullptr, nullptr));
    EXPECT_EQ(waitForFile(dir, "out").substr(0, 2), "a\n");
}

// A started program is nobody's child to wait for: it is reaped elsewhere,
// so no zombies gather in a long-running host.
TEST(CreateProcess, LeavesNoChildProcessBehind) {
    TempDir dir;
    writeEcho(dir);
    ASSERT_TRUE(CreateProcess((dir / "echo.sh").wstring().c_str(), nullptr, nullptr, nullptr, FALSE,
                              0, nullptr, nullptr, nullptr, nullptr));
    waitForFile(dir, "out");
    errno = 0;
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

struct FailureCase {
    const char* name;
    const char* program; // relative to the temp dir; null: no application name
    const char* directory;
    bool environment;
    DWORD error;
};

TEST(CreateProcess, FailuresAreReportedWithTheirReason) {
    TempDir dir;
    dir.write("plain.txt", "not a program");
    dir.write("garbage", std::string("\x7f"
                                     "ELF\x01\x02 broken",
                                     12));
    std::filesystem::permissions(dir / "garbage", std::filesystem::perms::owner_all);
    std::filesystem::create_directory(dir / "folder");
    writeEcho(dir);
    const FailureCase cases[] = {
        {"missing file", "nothing.exe", nullptr, false, ERROR_FILE_NOT_FOUND},
        {"missing folder", "no/such/thing", nullptr, false, ERROR_FILE_NOT_FOUND},
        {"not executable", "plain.txt", nullptr, false, ERROR_ACCESS_DENIED},
        {"a folder", "folder", nullptr, false, ERROR_ACCESS_DENIED},
        {"not a program format", "garbage", nullptr, false, ERROR_BAD_FORMAT},
        {"bad working directory", "echo.sh", "no-such-dir", false, ERROR_FILE_NOT_FOUND},
        {"environment block", "echo.sh", nullptr, true, ERROR_NOT_SUPPORTED},
        {"no program at all", nullptr, nullptr, false, ERROR_INVALID_PARAMETER},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring program = c.program ? (dir / c.program).wstring() : std::wstring();
        const std::wstring directory = c.directory ? (dir / c.directory).wstring() : std::wstring();
        wchar_t environment[] = L"A=B\0";
        PROCESS_INFORMATION info{};
        info.dwProcessId = 77;
        SetLastError(0);
        EXPECT_FALSE(CreateProcess(c.program ? program.c_str() : nullptr, nullptr, nullptr, nullptr,
                                   FALSE, 0, c.environment ? environment : nullptr,
                                   c.directory ? directory.c_str() : nullptr, nullptr, &info));
        EXPECT_EQ(GetLastError(), c.error);
        EXPECT_EQ(info.dwProcessId, 0u);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "out")) << "the echo program never ran";
}

TEST(SplitCommandLine, FollowsTheQuotingRules) {
    struct Row {
        const wchar_t* line;
        std::vector<std::wstring> words;
    };
    const Row rows[] = {
        {L"", {}},
        {L"   \t ", {}},
        {L"a b\tc", {L"a", L"b", L"c"}},
        {L"  lead  trail  ", {L"lead", L"trail"}},
        {L"\"a b\" c", {L"a b", L"c"}},
        {L"x\"y z\"w", {L"xy zw"}},
        {L"\"\"", {L""}},
        {L"a \"\" b", {L"a", L"", L"b"}},
        {L"\"unclosed quote", {L"unclosed quote"}},
        {L"a\\\\b", {L"a\\\\b"}},       // backslashes without a quote stay
        {L"a\\\"b", {L"a\"b"}},         // odd: literal quote
        {L"a\\\\\"b c\"", {L"a\\b c"}}, // even: half of them, then quoting
        {L"a\\\\\\\"b", {L"a\\\"b"}},   // three then quote: one backslash, literal quote
        {L"/Program Files/x.exe", {L"/Program", L"Files/x.exe"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.line)));
        EXPECT_EQ(lumo::splitCommandLine(row.line), row.words);
    }
}

} // namespace
