// The real program from a copy of the staged tree, under the offscreen
// platform, as a user would start it.
#include "tests/support/TempDir.h"

#include <QImage>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Copies the staged tree (without its plug-ins) so the test owns its config:
// a portable copy whose "lumoconf.ini" starts empty.
void copyStage(const fs::path& to) {
    fs::copy(LUMO_STAGE_DIR, to, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    fs::remove_all(to / "plugins");
    fs::create_directory(to / "plugins");
    fs::copy_file(fs::path(TEST_PLUGIN_DIR) / "viewer.lumo", to / "plugins" / "viewer.lumo");
    std::ofstream(to / "lumoconf.ini", std::ios::trunc);
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct RunResult {
    bool exited = false;
    int status = -1;
};

// Runs the program with a timeout; never leaves it behind. Standard error
// goes to `errors` when one is given.
RunResult runProgram(const fs::path& program, const std::vector<std::string>& args,
                     const std::vector<std::string>& env, const fs::path& errors = {},
                     int timeoutSeconds = 60) {
    pid_t pid = fork();
    if (pid == 0) {
        if (!errors.empty())
            if (FILE* file = std::fopen(errors.c_str(), "w"))
                dup2(fileno(file), STDERR_FILENO);
        for (const auto& e : env)
            putenv(const_cast<char*>(e.c_str()));
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    RunResult result;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            result.exited = true;
            result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return result;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return result;
}

// Columns of the bar band that hold text: runs of columns with dark pixels.
int countLabelGroups(const QImage& image, int top, int bottom) {
    int groups = 0;
    int gap = 100;
    for (int x = 0; x < image.width(); ++x) {
        bool ink = false;
        for (int y = top; y < bottom && !ink; ++y)
            ink = qGray(image.pixel(x, y)) < 96;
        if (ink) {
            if (gap > 12)
                ++groups;
            gap = 0;
        } else {
            ++gap;
        }
    }
    return groups;
}

TEST(Program, StartsShowsTheCommandBarAndWritesTheConfigurationBackSorted) {
    lumo::test::TempDir dir;
    fs::path stage = dir / "LumoCore-tree";
    copyStage(stage);
    lumo::test::TempDir home;
    {
        std::ofstream(stage / "lumoconf.ini")
            << "[zz.uninstalled.plugin]\nkey=kept\n[lumo.main]\nhistory/file/0=\n";
    }
    fs::path shot = dir / "shot.png";
    RunResult run = runProgram(stage / "LumoCore", {},
                               {"QT_QPA_PLATFORM=offscreen", "LUMO_SCREENSHOT=" + shot.string(),
                                "XDG_CONFIG_HOME=" + home.path().string()});
    ASSERT_TRUE(run.exited) << "the program closes itself after the screenshot";
    EXPECT_EQ(run.status, 0);

    QImage image(QString::fromStdString(shot.string()));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 800);
    EXPECT_EQ(image.height(), 480);
    // The bar along the top: "ファイル", "編集", "テスト", "ヘルプ" and the bar's own
    // two buttons; below it the empty default view.
    EXPECT_GE(countLabelGroups(image, 0, 26), 4);
    EXPECT_EQ(countLabelGroups(image, 60, 470), 0);

    std::ifstream in(stage / "lumoconf.ini");
    std::string config((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(config, "[lumo.main]\nhistory/file/0=\n[zz.uninstalled.plugin]\nkey=kept\n");
}

TEST(Program, OpensTheFileNamedOnTheCommandLine) {
    lumo::test::TempDir dir;
    fs::path stage = dir / "tree";
    copyStage(stage);
    lumo::test::TempDir home;
    dir.write("book.tst", "text");
    RunResult run =
        runProgram(stage / "LumoCore", {(dir / "book.tst").string()},
                   {"QT_QPA_PLATFORM=offscreen", "LUMO_SCREENSHOT=" + (dir / "s.png").string(),
                    "XDG_CONFIG_HOME=" + home.path().string()});
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(run.status, 0);
    std::ifstream profile(home.path() / "lumoCoreComponent" / "LumoCore.ini");
    std::string text((std::istreambuf_iterator<char>(profile)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("lastDirectory=" + (dir / "book.tst").string()), std::string::npos) << text;
}

TEST(Program, QtOptionsOnTheCommandLineLeaveTheFileToOpen) {
    // Qt takes its own options out of the argument vector; what is left names
    // the file.
    const std::vector<std::vector<std::string>> optionSets = {
        {"-reverse"}, {"-platform", "offscreen"}, {"-reverse", "-platform", "offscreen"}};
    for (const auto& options : optionSets) {
        lumo::test::TempDir dir;
        fs::path stage = dir / "tree";
        copyStage(stage);
        lumo::test::TempDir home;
        dir.write("book.tst", "text");
        std::vector<std::string> args = options;
        args.push_back((dir / "book.tst").string());
        RunResult run =
            runProgram(stage / "LumoCore", args,
                       {"QT_QPA_PLATFORM=offscreen", "LUMO_SCREENSHOT=" + (dir / "s.png").string(),
                        "XDG_CONFIG_HOME=" + home.path().string()});
        ASSERT_TRUE(run.exited) << options[0];
        EXPECT_EQ(run.status, 0) << options[0];
        std::ifstream profile(home.path() / "lumoCoreComponent" / "LumoCore.ini");
        std::string text((std::istreambuf_iterator<char>(profile)),
                         std::istreambuf_iterator<char>());
        EXPECT_NE(text.find("lastDirectory=" + (dir / "book.tst").string()), std::string::npos)
            << options[0] << ": " << text;
    }
}

TEST(Program, APlugInThatDoesNotLoadIsNamedOnStandardError) {
    lumo::test::TempDir dir;
    fs::path stage = dir / "tree";
    copyStage(stage);
    dir.write("tree/plugins/broken.lumo", "not a library");
    lumo::test::TempDir home;
    RunResult run = runProgram(
        stage / "LumoCore", {},
        {"QT_QPA_PLATFORM=offscreen", "LUMO_SCREENSHOT=" + (dir / "s.png").string(),
         "XDG_CONFIG_HOME=" + home.path().string(), "XDG_RUNTIME_DIR=" + home.path().string()},
        dir / "stderr.txt");
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(run.status, 0) << "the other plug-ins still run";
    EXPECT_EQ(dir.read("stderr.txt"), "LumoCore: warning: plug-in not loaded: " +
                                          (stage / "plugins" / "broken.lumo").string() +
                                          ": file too short\n");
}

TEST(Program, TerminationSignalsEndThroughTheNormalExitPath) {
    for (int signal : {SIGTERM, SIGINT}) {
        lumo::test::TempDir dir;
        fs::path stage = dir / "tree";
        copyStage(stage);
        lumo::test::TempDir home;
        std::ofstream(stage / "lumoconf.ini") << "[b]\n[a]\n";
        pid_t pid = fork();
        if (pid == 0) {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            setenv("XDG_CONFIG_HOME", home.path().c_str(), 1);
            execl((stage / "LumoCore").c_str(), "LumoCore", nullptr);
            _exit(127);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        kill(pid, signal);
        int status = 0;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        bool exited = false;
        while (!exited && std::chrono::steady_clock::now() < deadline) {
            exited = waitpid(pid, &status, WNOHANG) == pid;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (!exited) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        ASSERT_TRUE(exited) << "signal " << signal;
        EXPECT_TRUE(WIFEXITED(status))
            << "signal " << signal << " ended the program by the exit path";
        EXPECT_EQ(readFile(stage / "lumoconf.ini"), "[a]\n[b]\n")
            << "signal " << signal << ": the configuration is written back at exit";
    }
}

} // namespace
