#pragma once

// The host program in-process with the reader registered as the loader would
// do it, the staged image plug-ins copied beside the "program", a manual
// clock, and a book written in Shift_JIS with CRLF line ends.

#include "reader/view/DavaroDiroView.h"
#include "reader/view/ViewProbe.h"

#include "host/LumoCoreApp.h"
#include "hostkit/LumoPluginManager.h"
#include "hostkit/MainFrame.h"
#include "platform/core/CodePage.h"
#include "platform/core/Module.h"
#include "platform/testsupport/TestHooks.h"
#include "reader/document/DavaroDiroDocument.h"
#include "reader/document/ReaderSettings.h"
#include "tests/support/TempDir.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern "C" void LUMO_LoadPluginModule();
extern "C" void LUMO_UnloadPluginModule();

namespace readertest {

inline std::string shiftJis(const std::vector<std::wstring>& lines) {
    std::string bytes;
    for (const auto& line : lines)
        bytes += lumo::encodeMultiByte(932, line) + "\r\n";
    return bytes;
}

// Numbered rows, one display line each at the default settings.
inline std::vector<std::wstring> numberedBook(int count) {
    std::vector<std::wstring> lines = {L"題名", L"作者", L""};
    for (int i = 0; i < count; ++i)
        lines.push_back(L"第" + std::to_wstring(i) + L"行の本文です。");
    return lines;
}

// Ink (pixels far from the background colour) inside a rectangle.
inline int inkCount(const QImage& image, int x0, int y0, int x1, int y1,
                    QRgb background = qRgb(255, 255, 255)) {
    int count = 0;
    for (int y = std::max(0, y0); y < std::min(y1, image.height()); ++y)
        for (int x = std::max(0, x0); x < std::min(x1, image.width()); ++x) {
            QRgb p = image.pixel(x, y);
            if (std::abs(qGray(p) - qGray(background)) > 96)
                ++count;
        }
    return count;
}

// Leftmost and rightmost columns holding ink in a band; {-1, -1} for none.
inline std::pair<int, int> inkColumns(const QImage& image, int x0, int y0, int x1, int y1) {
    int first = -1, last = -1;
    for (int x = std::max(0, x0); x < std::min(x1, image.width()); ++x)
        if (inkCount(image, x, y0, x + 1, y1) > 0) {
            if (first < 0)
                first = x;
            last = x;
        }
    return {first, last};
}

// Writes a 24-bit BMP whose pixel colour is f(x, y).
template <typename F>
void writeBmp(lumo::test::TempDir& dir, const std::string& name, int width, int height, F f) {
    const int stride = (3 * width + 3) & ~3;
    std::string bytes(54 + stride * height, '\0');
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = char(v >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<uint32_t>(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    bytes[26] = 1;
    bytes[28] = 24;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const QRgb c = f(x, height - 1 - y);
            size_t at = 54 + y * stride + 3 * x;
            bytes[at] = char(qBlue(c));
            bytes[at + 1] = char(qGreen(c));
            bytes[at + 2] = char(qRed(c));
        }
    dir.write(name, bytes);
}

class ReaderFixture : public ::testing::Test {
protected:
    void SetUp() override {
        lumo::test::resetHooks();
        // The previous test's main window asked the loop to quit.
        lumo::test::resetQuit();
        lumo::test::pumpMessages(); // brings up the Qt application, for fonts
        lumo::test::installManualClock(1000);
        namespace fs = std::filesystem;
        fs::create_directory(m_dir / "plugins");
        fs::create_directory(m_dir / "config");
        for (const char* plugin : {"bmp_import_wince.iplg", "png_import_wince.iplg",
                                   "jpg_import_wince.iplg", "scaler.fplg", "mixer.fplg"})
            fs::copy_file(fs::path(LUMO_STAGE_DIR) / plugin, m_dir / plugin);
        setenv("XDG_CONFIG_HOME", (m_dir / "config").c_str(), 1);
        // A portable tree: its "lumoconf.ini" stays beside the program.
        m_dir.write("lumoconf.ini", "");
        lumo::setProgramPathForTesting((m_dir / "LumoCore").wstring());
        CWinApp::SetCommandLineArguments({});
    }
    void TearDown() override {
        if (m_app.m_pMainWnd)
            m_app.m_pMainWnd->DestroyWindow();
        lumo::test::pumpMessages();
        if (m_loaded)
            LUMO_UnloadPluginModule();
        CLumoPluginManager::destroy();
        CLumoPluginManager::resetForTesting();
        lumo::setProgramPathForTesting(L"");
        unsetenv("XDG_CONFIG_HOME");
        lumo::test::uninstallManualClock();
        lumo::test::resetHooks();
    }

    // Creates the manager (reading lumoconf.ini), registers the reader and
    // reads its settings, as the loader does for plugins/yomite.lumo.
    void loadReader() {
        CLumoPluginManager::create();
        LUMO_LoadPluginModule();
        m_loaded = true;
    }
    // Starts the program's frame (the reader must be loaded first).
    void startProgram() {
        if (!m_loaded)
            loadReader();
        ASSERT_TRUE(m_app.InitInstance());
        lumo::test::pumpMessages();
    }
    std::wstring writeBook(const char* name, const std::vector<std::wstring>& lines) {
        m_dir.write(name, shiftJis(lines));
        return (m_dir / name).wstring();
    }
    // Opens a book in the running program and returns the reader view.
    CDavaroDiroView* open(const std::wstring& path) {
        frame()->openFile(path);
        lumo::test::pumpMessages();
        return view();
    }
    CMainFrame* frame() const { return dynamic_cast<CMainFrame*>(m_app.m_pMainWnd); }
    CDavaroDiroView* view() const {
        return frame() ? dynamic_cast<CDavaroDiroView*>(frame()->GetActiveView()) : nullptr;
    }
    CDavaroDiroDocument* document() const { return view() ? view()->GetDocument() : nullptr; }
    yomite::ViewProbe probe() const { return yomite::ViewProbe(view()); }
    int index() const { return document()->m_currentIndex; }
    int linesPerPage() const { return document()->getLayoutMetrics().linesPerPage; }
    POINT centre(const RECT& r) const { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
    POINT pageButton(int i) const { return centre(probe().pageButton(i)); }
    POINT functionButton(int i) const { return centre(probe().functionButton(i)); }
    int rowPitch() const { return 16 + (m_showRuby ? 10 : 0) + m_lineSpace; }

    lumo::test::TempDir m_dir;
    CLumoCoreApp m_app;
    bool m_loaded = false;
};

} // namespace readertest
