#pragma once

// Hooks for headless tests (QT_QPA_PLATFORM=offscreen), in the test-support
// library that tests link and the program does not: answer pop-up menus,
// file dialogs, folder pickers, message boxes and dialogs; drive the clock;
// script pen input; read any window's frame buffer.
//
// Answers are queued and used once, in order. Every modal interaction is
// recorded; one with no queued answer is cancelled under the offscreen
// platform.

#include "platform/testsupport/DialogDriver.h"
#include "platform/ui/ModalHook.h"
#include "platform/ui/UiTypes.h"

#include <QImage>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class CWnd;

namespace lumo::test {

// ---- messages and clock ----------------------------------------------------

// Processes queued messages, then timers and painting, until idle, and then
// windows' idle work (IdleWork.h) to its end unless it is held.
void pumpMessages();
// While held, windows' idle work does not run, so a test sees the state
// before it; releasing lets the next pumpMessages finish it.
void holdIdleWork(bool held);
// Whether PostQuitMessage was called (and with which code); resetQuit forgets it.
bool quitRequested();
int quitCode();
void resetQuit();
// Installs a manual clock at `start` (for timers, message times and the tick
// count). The clock lives until uninstallManualClock.
void installManualClock(DWORD start = 0);
void uninstallManualClock();
// Moves the manual clock forward, stopping at every timer due on the way
// and processing messages there, so each timer fires exactly on time.
void advanceClock(DWORD milliseconds);

// ---- input (client coordinates of `wnd`; messages are queued, then pumped) --

void penDown(CWnd* wnd, POINT client);
void penUp(CWnd* wnd, POINT client);
void penMove(CWnd* wnd, POINT client);
void tap(CWnd* wnd, POINT client);
void wheel(CWnd* wnd, POINT client, int delta);
void key(CWnd* wnd, UINT virtualKey, BYTE modifiers = 0);

// ---- frame buffers ------------------------------------------------------------

// A copy of the window's part of its top-level frame buffer (RGB32).
QImage captureWindow(CWnd* wnd);

// ---- pop-up menus ------------------------------------------------------------

struct MenuItemSnapshot {
    std::wstring text;
    UINT id = 0;
    UINT state = 0; // MF_GRAYED, MF_CHECKED, MF_POPUP, MF_SEPARATOR
    std::vector<MenuItemSnapshot> items;
};

struct PopupMenuRecord {
    std::vector<MenuItemSnapshot> items; // after WM_INITMENUPOPUP
    POINT at{0, 0};
    UINT flags = 0;
};

// The next pop-up menu returns `command` (0: dismissed). A command that is not
// an enabled item of the menu (or of its submenus) counts as dismissed.
void answerNextPopupMenu(UINT command);
// The next pop-up menu is answered by the item with this text path, e.g.
// {L"環境設定", L"青空文庫リーダ"}.
void answerNextPopupMenuByText(std::vector<std::wstring> path);
const std::vector<PopupMenuRecord>& popupMenus();

// ---- file dialogs, folder pickers, message boxes ------------------------------

using FileDialogRecord = FileDialogRequest;
// nullopt: the user cancels.
void answerNextFileDialog(std::optional<std::wstring> path);
const std::vector<FileDialogRecord>& fileDialogs();

struct FolderPickerRecord {
    std::wstring title;
    UINT flags = 0;
};
void answerNextFolderPicker(std::optional<std::wstring> path);
const std::vector<FolderPickerRecord>& folderPickers();

using MessageBoxRecord = MessageBoxRequest;
void answerNextMessageBox(int button);
const std::vector<MessageBoxRecord>& messageBoxes();

// ---- dialogs --------------------------------------------------------------------

// The next modal dialog runs `script` instead of waiting for a user. If the
// script does not end the dialog, it is cancelled.
void driveNextDialog(std::function<void(DialogDriver&)> script);
struct DialogRecord {
    std::wstring caption;
    int result = 0;
};
const std::vector<DialogRecord>& dialogs();

// ---- inside a modal loop ----------------------------------------------------

// Runs `action` inside the next modal interaction of any kind (pop-up menu,
// file dialog, folder picker, message box, dialog) while its loop runs, before
// its answer is taken: messages posted and pumped there arrive as they would
// while a user looks at the menu or dialog.
void duringNextModal(std::function<void()> action);

// Forgets queued answers and records.
void resetHooks();

} // namespace lumo::test
