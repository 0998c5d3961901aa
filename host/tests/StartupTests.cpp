// The real program's start: its command line (--help and --version answer and
// exit 0 without a display, an unknown option is refused with status 2, "--"
// lets a book's name begin with "-", none of these touch the settings) and
// Qt's translations for the user's language.
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1; // -1: did not end in time
    std::string out;
    std::string err;
};

class RealProgram : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy(LUMO_STAGE_DIR, m_dir / "tree",
                 fs::copy_options::recursive | fs::copy_options::copy_symlinks);
        fs::remove_all(m_dir / "tree" / "plugins");
        fs::create_directory(m_dir / "tree" / "plugins");
        fs::copy_file(fs::path(TEST_PLUGIN_DIR) / "viewer.lumo",
                      m_dir / "tree" / "plugins" / "viewer.lumo");
        m_dir.write("tree/lumoconf.ini", "");
        fs::create_directory(m_dir / "config");
        fs::create_directory(m_dir / "runtime");
        fs::permissions(m_dir / "runtime", fs::perms::owner_all);
    }

    // Runs the program in the test's folder with `args` and `env` (NAME=value
    // entries); `display` gives it the offscreen platform, otherwise it has no
    // display at all.
    Outcome run(const std::vector<std::string>& args, bool display,
                const std::vector<std::string>& env = {}) {
        const fs::path program = m_dir / "tree" / "LumoCore";
        const fs::path out = m_dir / "out.txt", err = m_dir / "err.txt";
        pid_t pid = fork();
        if (pid == 0) {
            if (chdir(m_dir.path().c_str()) != 0)
                _exit(127);
            dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
            dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            unsetenv("QT_QPA_PLATFORM");
            if (display) {
                setenv("QT_QPA_PLATFORM", "offscreen", 1);
                setenv("LUMO_SCREENSHOT", (m_dir / "shot.png").c_str(), 1);
            }
            setenv("XDG_CONFIG_HOME", (m_dir / "config").c_str(), 1);
            setenv("XDG_RUNTIME_DIR", (m_dir / "runtime").c_str(), 1);
            for (const std::string& entry : env)
                putenv(const_cast<char*>(entry.c_str()));
            std::vector<char*> argv{const_cast<char*>("LumoCore")};
            for (const auto& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        Outcome outcome;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        int status = 0;
        while (waitpid(pid, &status, WNOHANG) != pid) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
                return outcome;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        outcome.out = m_dir.read("out.txt");
        outcome.err = m_dir.read("err.txt");
        return outcome;
    }

    lumo::test::TempDir m_dir;
};

using CommandLine = RealProgram;
using UserLanguage = RealProgram;

TEST_F(CommandLine, HelpAndVersionAnswerWithoutADisplayAndTouchNothing) {
    const std::string version = "LumoCore " LUMO_VERSION "\n";
    struct Case {
        std::vector<std::string> args;
        bool help;
    };
    const Case cases[] = {
        {{"--help"}, true},
        {{"-h"}, true},
        {{"book.tst", "--help"}, true},
        {{"--version"}, false},
        {{"-platform", "offscreen", "--version"}, false},
    };
    for (const Case& c : cases) {
        const std::string label = c.args.front() + " ... " + c.args.back();
        const Outcome outcome = run(c.args, false);
        EXPECT_EQ(outcome.status, 0) << label << ": " << outcome.err;
        EXPECT_EQ(outcome.err, "") << label;
        if (c.help) {
            EXPECT_EQ(outcome.out.rfind("Usage: LumoCore [OPTION]... [BOOK]\n", 0), 0u) << label;
            EXPECT_NE(outcome.out.find("--version"), std::string::npos) << label;
        } else {
            EXPECT_EQ(outcome.out, version) << label;
        }
    }
    EXPECT_EQ(m_dir.read("tree/lumoconf.ini"), "") << "no settings written";
    EXPECT_TRUE(fs::is_empty(m_dir / "config"));
}

TEST_F(CommandLine, AnUnknownOptionIsRefusedWithStatusTwo) {
    for (const std::string option : {"-x", "--bogus", "--help=no"}) {
        const Outcome outcome = run({option, "book.tst"}, true);
        EXPECT_EQ(outcome.status, 2) << option;
        EXPECT_EQ(outcome.out, "") << option;
        EXPECT_EQ(outcome.err, "LumoCore: unknown option '" + option +
                                   "'\nTry 'LumoCore --help' for more information.\n")
            << option;
        EXPECT_FALSE(fs::exists(m_dir / "shot.png")) << option << ": no window was shown";
    }
    EXPECT_EQ(m_dir.read("tree/lumoconf.ini"), "") << "no settings written";
    EXPECT_TRUE(fs::is_empty(m_dir / "config"));
}

TEST_F(CommandLine, ABookIsOpenedByItsFullPathSoItsPositionIsFoundFromAnyFolder) {
    m_dir.write("-dash.tst", "text");
    m_dir.write("book.tst", "text");
    fs::create_directory(m_dir / "sub");
    struct Case {
        std::vector<std::string> args;
        fs::path expected;
    };
    const Case cases[] = {
        {{"--", "-dash.tst"}, m_dir / "-dash.tst"}, // after "--", even a name with a dash
        {{"book.tst"}, m_dir / "book.tst"},
        {{"./sub/../book.tst"}, m_dir / "book.tst"},
        {{(m_dir / "book.tst").string()}, m_dir / "book.tst"},
    };
    for (const Case& c : cases) {
        const Outcome outcome = run(c.args, true);
        EXPECT_EQ(outcome.status, 0) << c.args.back() << outcome.err;
        EXPECT_EQ(outcome.err, "") << c.args.back();
        EXPECT_NE(m_dir.read("config/lumoCoreComponent/LumoCore.ini")
                      .find("lastDirectory=" + c.expected.string() + "\n"),
                  std::string::npos)
            << c.args.back() << ": opened by its full path";
    }
}

TEST_F(UserLanguage, QtsOwnTranslationsFollowTheLocale) {
    struct Case {
        const char* lang;
        const char* catalogue; // nullptr: none loaded
    };
    const Case cases[] = {
        {"LANG=ja_JP.UTF-8", "qtbase_ja.qm"},
        {"LANG=de_DE.UTF-8", "qtbase_de.qm"},
        {"LANG=C", nullptr},
    };
    for (const Case& c : cases) {
        const Outcome outcome =
            run({}, true, {c.lang, "LC_ALL=", "LC_MESSAGES=", "LANGUAGE=", "LUMO_LOG=debug"});
        EXPECT_EQ(outcome.status, 0) << c.lang;
        const bool loaded = outcome.err.find("Qt translation: ") != std::string::npos;
        EXPECT_EQ(loaded, c.catalogue != nullptr) << c.lang << ": " << outcome.err;
        if (c.catalogue) {
            EXPECT_NE(outcome.err.find(c.catalogue), std::string::npos) << c.lang << outcome.err;
        }
    }
}

} // namespace
