// The real program on a private X server, reading the sample book: where the
// reader got to survives an end that skips the exit path (the display going
// away, SIGKILL).
#include "tests/support/TempDir.h"
#include "tests/support/XServer.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

bool waitFor(const std::function<bool()>& done, std::chrono::seconds limit) {
    const auto deadline = Clock::now() + limit;
    while (!done()) {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

class ReaderEnding : public ::testing::Test {
protected:
    void SetUp() override {
        m_server = std::make_unique<lumo::test::XServer>("1024x768x24");
        if (m_server->name().empty())
            GTEST_SKIP() << "Xvfb is not installed";
        m_display = XOpenDisplay(m_server->name().c_str());
        ASSERT_NE(m_display, nullptr);
        int event, error, major, minor;
        ASSERT_TRUE(XTestQueryExtension(m_display, &event, &error, &major, &minor));
        fs::copy(LUMO_STAGE_DIR, m_dir / "stage",
                 fs::copy_options::recursive | fs::copy_options::copy_symlinks);
        fs::copy_file(fs::path(LUMO_SAMPLES_DIR) / "haru.txt", m_dir / "haru.txt");
        fs::create_directory(m_dir / "config");
    }
    void TearDown() override {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_display)
            XCloseDisplay(m_display);
    }

    void start() {
        const fs::path program = m_dir / "stage" / "LumoCore";
        const fs::path book = m_dir / "haru.txt";
        m_pid = fork();
        if (m_pid == 0) {
            setenv("DISPLAY", m_server->name().c_str(), 1);
            setenv("QT_QPA_PLATFORM", "xcb", 1);
            setenv("XDG_CONFIG_HOME", (m_dir / "config").c_str(), 1);
            unsetenv("LUMO_CODEPAGE");
            execl(program.c_str(), program.c_str(), book.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }

    // The program's mapped top-level window, once it is up.
    std::optional<::Window> programWindow() {
        ::Window root = DefaultRootWindow(m_display), parent, *children = nullptr;
        unsigned count = 0;
        std::optional<::Window> found;
        if (!XQueryTree(m_display, root, &root, &parent, &children, &count))
            return found;
        for (unsigned i = 0; i < count && !found; ++i) {
            XWindowAttributes a;
            if (XGetWindowAttributes(m_display, children[i], &a) && a.map_state == IsViewable &&
                a.width >= 800 && a.height >= 480)
                found = children[i];
        }
        XFree(children);
        return found;
    }

    // A mapped pop-up (override-redirect) window: a Qt menu that is open.
    bool popupShown() {
        ::Window root = DefaultRootWindow(m_display), parent, *children = nullptr;
        unsigned count = 0;
        bool shown = false;
        if (!XQueryTree(m_display, root, &root, &parent, &children, &count))
            return false;
        for (unsigned i = 0; i < count && !shown; ++i) {
            XWindowAttributes a;
            shown = XGetWindowAttributes(m_display, children[i], &a) && a.map_state == IsViewable &&
                    a.override_redirect;
        }
        XFree(children);
        return shown;
    }

    // Mapped top-level windows of the program (no window manager runs here).
    int topLevelWindows() {
        ::Window root = DefaultRootWindow(m_display), parent, *children = nullptr;
        unsigned count = 0;
        int shown = 0;
        if (!XQueryTree(m_display, root, &root, &parent, &children, &count))
            return 0;
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes a;
            shown += XGetWindowAttributes(m_display, children[i], &a) &&
                     a.map_state == IsViewable && !a.override_redirect;
        }
        XFree(children);
        return shown;
    }

    // A key pressed and released, to whichever window has the focus.
    void press(KeySym key) {
        const KeyCode code = XKeysymToKeycode(m_display, key);
        XTestFakeKeyEvent(m_display, code, True, CurrentTime);
        XTestFakeKeyEvent(m_display, code, False, CurrentTime);
        XFlush(m_display);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }

    // A click at a point of the window.
    void click(::Window window, int x, int y) {
        int rootX = 0, rootY = 0;
        ::Window child;
        XTranslateCoordinates(m_display, window, DefaultRootWindow(m_display), x, y, &rootX, &rootY,
                              &child);
        XTestFakeMotionEvent(m_display, -1, rootX, rootY, CurrentTime);
        XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
        XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
        XFlush(m_display);
    }

    // Turns the wheel towards the reader over the text: one line forward a notch.
    void turnWheel(::Window window, int notches) {
        int x = 0, y = 0;
        ::Window child;
        XTranslateCoordinates(m_display, window, DefaultRootWindow(m_display), 200, 200, &x, &y,
                              &child);
        XTestFakeMotionEvent(m_display, -1, x, y, CurrentTime);
        for (int i = 0; i < notches; ++i) {
            XTestFakeButtonEvent(m_display, 5, True, CurrentTime);
            XTestFakeButtonEvent(m_display, 5, False, CurrentTime);
            XFlush(m_display);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }

    // The book's stored position in the configuration file, "" when absent.
    std::string storedPosition() const {
        const std::string text = m_dir.read("stage/lumoconf.ini");
        const std::string key = "\nposition/" + (m_dir / "haru.txt").string() + "=";
        const size_t at = text.find(key);
        if (at == std::string::npos)
            return {};
        const size_t start = at + key.size();
        return text.substr(start, text.find('\n', start) - start);
    }

    // Starts the program, turns three lines, and waits for the file to hold
    // the new position (the program writes it once the reader stops moving).
    std::string readAndStop() {
        start();
        std::optional<::Window> window;
        if (!waitFor([&] { return (window = programWindow()).has_value(); },
                     std::chrono::seconds(30))) {
            ADD_FAILURE() << "the program's window did not appear";
            return {};
        }
        // The restore has happened once the first position is on file.
        if (!waitFor([&] { return !storedPosition().empty(); }, std::chrono::seconds(30))) {
            ADD_FAILURE() << "the opened book's position never reached the file";
            return {};
        }
        turnWheel(*window, 3);
        std::string moved;
        if (!waitFor(
                [&] {
                    moved = storedPosition();
                    return !moved.empty() && moved != "0,0";
                },
                std::chrono::seconds(30)))
            ADD_FAILURE() << "the moved position never reached the file: " << moved;
        return moved;
    }

    // True when the program ended (by itself or killed) within the limit.
    bool ended(int* status) {
        const bool done = waitFor([&] { return waitpid(m_pid, status, WNOHANG) == m_pid; },
                                  std::chrono::seconds(30));
        if (done)
            m_pid = -1;
        return done;
    }

    lumo::test::TempDir m_dir;
    std::unique_ptr<lumo::test::XServer> m_server;
    Display* m_display = nullptr;
    pid_t m_pid = -1;
};

// What is open when SIGTERM comes: the file drop-down, then keys in it.
struct OpenLoop {
    const char* name;
    std::vector<KeySym> keys;
    bool dialog; // the keys open a dialog window
};

const OpenLoop kOpenLoops[] = {
    {"DropDown", {}, false},
    {"OpenFileDialog", {XK_Down, XK_Return}, true},                    // 開く
    {"SettingsDialog", {XK_Down, XK_Down, XK_Right, XK_Return}, true}, // 環境設定 > 青空文庫リーダ
};

void PrintTo(const OpenLoop& loop, std::ostream* out) {
    *out << loop.name;
}

class SigtermInALoop : public ReaderEnding, public ::testing::WithParamInterface<OpenLoop> {};

TEST_P(SigtermInALoop, EndsTheLoopAndTakesTheExitPath) {
    const std::string moved = readAndStop();
    ASSERT_FALSE(moved.empty());
    const std::optional<::Window> window = programWindow();
    ASSERT_TRUE(window);
    click(*window, 20, 13); // the bar's first button, "ファイル"
    ASSERT_TRUE(waitFor([&] { return popupShown(); }, std::chrono::seconds(30)))
        << "the drop-down opened";
    for (KeySym key : GetParam().keys)
        press(key);
    if (GetParam().dialog) {
        ASSERT_TRUE(waitFor([&] { return topLevelWindows() >= 2; }, std::chrono::seconds(30)))
            << "the dialog opened";
    }
    kill(m_pid, SIGTERM);
    int status = 0;
    ASSERT_TRUE(ended(&status)) << "the loop ends and the program with it";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    const std::string config = m_dir.read("stage/lumoconf.ini");
    EXPECT_NE(config.find("\nm_autoSaveAtExit=1\n"), std::string::npos)
        << "the reader's settings are written at exit only: " << config;
    EXPECT_EQ(storedPosition(), moved);
}

INSTANTIATE_TEST_SUITE_P(Program, SigtermInALoop, ::testing::ValuesIn(kOpenLoops),
                         [](const ::testing::TestParamInfo<OpenLoop>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(ReaderEnding, ThePositionSurvivesTheDisplayGoingAway) {
    const std::string moved = readAndStop();
    ASSERT_FALSE(moved.empty());
    XCloseDisplay(m_display);
    m_display = nullptr;
    m_server->stop();
    int status = 0;
    ASSERT_TRUE(ended(&status)) << "the program ends with its display";
    EXPECT_TRUE(WIFEXITED(status)) << "no crash on the way out: " << status;
    EXPECT_EQ(storedPosition(), moved);
}

TEST_F(ReaderEnding, ThePositionSurvivesSigkill) {
    const std::string moved = readAndStop();
    ASSERT_FALSE(moved.empty());
    kill(m_pid, SIGKILL);
    int status = 0;
    ASSERT_TRUE(ended(&status));
    EXPECT_EQ(storedPosition(), moved);
}

} // namespace
