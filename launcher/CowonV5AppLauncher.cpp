#include "CowonV5AppLauncher.h"

#include "AppDeckResources.h"

#include "platform/core/Clock.h"
#include "platform/core/Process.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/Window.h"

#include <vector>

namespace appdeck {
namespace {

// Built when the module is loaded, released when it is unloaded.
const std::array<std::wstring, SLOT_COUNT> g_windowClassNames = {
    L"5014689D-D9F6-4dd3-B6C0-200E9D9C5FB6", // video player
    L"B3F3866F-D7A5-4e93-8EB9-3FB22731D9B4", // audio player
    L"FLASHPLAYER",
    L"675F33B1-359A-4578-8D6E-C7F29BBDFEFC", // image viewer
    L"7707D7FD-41EB-4af0-873B-3A6E4EAA6D98", // text viewer
    L"84DF53DB-CFBE-4a82-B9DE-C3295830F920", // file browser
    L"5836AA0E-D0CD-408a-A533-DE950EF901F8", // device settings
    L"HHTaskBar",
};

constexpr int CLASS_NAME_BUFFER = 256;
constexpr int WINDOW_WAITS = 10;
constexpr DWORD WINDOW_WAIT_MS = 1000;
constexpr int NO_SLOT = -1;

std::wstring programPath(const wchar_t* fileName) {
    std::wstring path;
    for (const wchar_t* part : {L"Program Files", L"CowonApp", fileName}) {
        path += PATH_SEPARATOR;
        path += part;
    }
    return path;
}

struct LaunchCommand {
    const wchar_t* program;
    int ownSlot;
    // Media players close each other before the new one's window is awaited.
    int closes[2];
};

const LaunchCommand AUDIOPLAYER = {
    L"COWON_AUDIOPLAYER.exe", SLOT_AUDIOPLAYER, {SLOT_VIDEOPLAYER, SLOT_FLASHPLAYER}};
const LaunchCommand VIDEOPLAYER = {
    L"COWON_VIDEOPLAYER.exe", SLOT_VIDEOPLAYER, {SLOT_AUDIOPLAYER, SLOT_FLASHPLAYER}};
const LaunchCommand FLASHPLAYER = {
    L"COWON_FLASHPLAYER.exe", SLOT_FLASHPLAYER, {SLOT_VIDEOPLAYER, SLOT_AUDIOPLAYER}};
const LaunchCommand IMAGEVIEWER = {L"COWON_IMAGEVIEWER.exe", SLOT_IMAGEVIEWER, {NO_SLOT, NO_SLOT}};
const LaunchCommand TEXTVIEWER = {L"COWON_TEXTVIEWER.exe", SLOT_TEXTVIEWER, {NO_SLOT, NO_SLOT}};
const LaunchCommand FILEBROWSER = {L"COWON_FILEBROWSER.exe", SLOT_FILEBROWSER, {NO_SLOT, NO_SLOT}};
const LaunchCommand CONFIG = {L"COWON_CONFIG.exe", SLOT_CONFIG, {NO_SLOT, NO_SLOT}};

BOOL appendWindow(HWND hwnd, LPARAM lParam) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

void launch(const LaunchCommand& command) {
    WindowTable windows = findApplicationWindows();
    const int slot = command.ownSlot;
    if (!windows[slot]) {
        // The launcher reports nothing: a program that does not start simply
        // never shows its window.
        const std::wstring path = programPath(command.program);
        CreateProcess(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                      nullptr);
        for (int other : command.closes)
            if (other != NO_SLOT && windows[other])
                ::SendMessage(windows[other], WM_DESTROY, 0, 0);
        for (int wait = 0; wait < WINDOW_WAITS; ++wait) {
            Sleep(WINDOW_WAIT_MS);
            windows = findApplicationWindows();
            if (windows[slot])
                break;
        }
    }
    bringWindowForward(windows[slot], windows[SLOT_TASKBAR]);
}

} // namespace

const std::array<std::wstring, SLOT_COUNT>& windowClassNames() {
    return g_windowClassNames;
}

WindowTable findApplicationWindows() {
    WindowTable table{};
    std::vector<HWND> windows;
    EnumWindows(&appendWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND hwnd : windows) {
        wchar_t className[CLASS_NAME_BUFFER] = {};
        if (GetClassName(hwnd, className, CLASS_NAME_BUFFER) == 0)
            continue;
        for (int slot = 0; slot < SLOT_COUNT; ++slot) {
            if (g_windowClassNames[slot] == className) {
                table[slot] = hwnd;
                break;
            }
        }
    }
    return table;
}

void bringWindowForward(HWND window, HWND taskBar) {
    if (!window)
        return;
    ::ShowWindow(window, SW_SHOW);
    ::SetForegroundWindow(window);
    ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (taskBar)
        ::SetWindowPos(taskBar, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

} // namespace appdeck

BEGIN_MESSAGE_MAP(CCowonV5AppLauncher, CCmdTarget)
ON_COMMAND(appdeck::ID_LAUNCH_AUDIOPLAYER, &CCowonV5AppLauncher::OnAudioPlayer)
ON_COMMAND(appdeck::ID_LAUNCH_VIDEOPLAYER, &CCowonV5AppLauncher::OnVideoPlayer)
ON_COMMAND(appdeck::ID_LAUNCH_FLASHPLAYER, &CCowonV5AppLauncher::OnFlashPlayer)
ON_COMMAND(appdeck::ID_LAUNCH_IMAGEVIEWER, &CCowonV5AppLauncher::OnImageViewer)
ON_COMMAND(appdeck::ID_LAUNCH_TEXTVIEWER, &CCowonV5AppLauncher::OnTextViewer)
ON_COMMAND(appdeck::ID_LAUNCH_FILEBROWSER, &CCowonV5AppLauncher::OnFileBrowser)
ON_COMMAND(appdeck::ID_LAUNCH_CONFIG, &CCowonV5AppLauncher::OnDeviceConfig)
END_MESSAGE_MAP()

void CCowonV5AppLauncher::OnAudioPlayer() {
    appdeck::launch(appdeck::AUDIOPLAYER);
}
void CCowonV5AppLauncher::OnVideoPlayer() {
    appdeck::launch(appdeck::VIDEOPLAYER);
}
void CCowonV5AppLauncher::OnFlashPlayer() {
    appdeck::launch(appdeck::FLASHPLAYER);
}
void CCowonV5AppLauncher::OnImageViewer() {
    appdeck::launch(appdeck::IMAGEVIEWER);
}
void CCowonV5AppLauncher::OnTextViewer() {
    appdeck::launch(appdeck::TEXTVIEWER);
}
void CCowonV5AppLauncher::OnFileBrowser() {
    appdeck::launch(appdeck::FILEBROWSER);
}
void CCowonV5AppLauncher::OnDeviceConfig() {
    appdeck::launch(appdeck::CONFIG);
}
