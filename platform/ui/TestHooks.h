#pragma once

// Hooks for headless tests (QT_QPA_PLATFORM=offscreen): answer pop-up menus,
// file dialogs, folder pickers, message boxes and dialogs through the
// platform; drive the clock; script pen input; read any window's frame buffer.
//
// Answers are queued and used once, in order. A modal interaction with no
// queued answer is cancelled under the offscreen platform and recorded.

#include "platform/ui/UiExport.h"
#include "platform/ui/UiTypes.h"

#include <QImage>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class CDialog;
class CWnd;

namespace lumo::test {

// ---- messages and clock ----------------------------------------------------

// Processes queued messages, then timers and painting, until idle.
PLATFORMUI_API void pumpMessages();
// Whether PostQuitMessage was called (and with which code); resetQuit forgets it.
PLATFORMUI_API bool quitRequested();
PLATFORMUI_API int quitCode();
PLATFORMUI_API void resetQuit();
// Installs a manual clock at `start` (for timers, message times and the tick
// count). The clock lives until uninstallManualClock.
PLATFORMUI_API void installManualClock(DWORD start = 0);
PLATFORMUI_API void uninstallManualClock();
// Moves the manual clock forward, stopping at every timer due on the way
// and processing messages there, so each timer fires exactly on time.
PLATFORMUI_API void advanceClock(DWORD milliseconds);

// ---- input (client coordinates of `wnd`; messages are queued, then pumped) --

PLATFORMUI_API void penDown(CWnd* wnd, POINT client);
PLATFORMUI_API void penUp(CWnd* wnd, POINT client);
PLATFORMUI_API void penMove(CWnd* wnd, POINT client);
PLATFORMUI_API void tap(CWnd* wnd, POINT client);
PLATFORMUI_API void wheel(CWnd* wnd, POINT client, int delta);
PLATFORMUI_API void key(CWnd* wnd, UINT virtualKey, BYTE modifiers = 0);

// ---- frame buffers ------------------------------------------------------------

// A copy of the window's part of its top-level frame buffer (RGB32).
PLATFORMUI_API QImage captureWindow(CWnd* wnd);

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
PLATFORMUI_API void answerNextPopupMenu(UINT command);
// The next pop-up menu is answered by the item with this text path, e.g.
// {L"環境設定", L"青空文庫リーダ"}.
PLATFORMUI_API void answerNextPopupMenuByText(std::vector<std::wstring> path);
PLATFORMUI_API const std::vector<PopupMenuRecord>& popupMenus();

// ---- file dialogs, folder pickers, message boxes ------------------------------

struct FileDialogRecord {
    std::wstring initialFile;
    std::wstring initialDirectory;
    DWORD flags = 0;
    bool open = true;
    // Where the real dialog opens: the initial file's or folder's existing
    // folder, else the user's home folder (never the root).
    std::wstring startFolder;
};
// nullopt: the user cancels.
PLATFORMUI_API void answerNextFileDialog(std::optional<std::wstring> path);
PLATFORMUI_API const std::vector<FileDialogRecord>& fileDialogs();

struct FolderPickerRecord {
    std::wstring title;
    UINT flags = 0;
};
PLATFORMUI_API void answerNextFolderPicker(std::optional<std::wstring> path);
PLATFORMUI_API const std::vector<FolderPickerRecord>& folderPickers();

struct MessageBoxRecord {
    std::wstring text;
    std::wstring caption;
    UINT type = 0;
    // The labels of its buttons, in their order, as Qt shows them (in the
    // language of the translations loaded).
    std::vector<std::wstring> buttons;
};
PLATFORMUI_API void answerNextMessageBox(int button);
PLATFORMUI_API const std::vector<MessageBoxRecord>& messageBoxes();

// ---- dialogs --------------------------------------------------------------------

// Drives a modal dialog's controls as a user would: each change sends the
// notification the control would (BN_CLICKED, CBN_SELCHANGE, EN_CHANGE).
class PLATFORMUI_API DialogDriver {
public:
    explicit DialogDriver(CDialog* dialog) : m_dialog(dialog) {}
    CDialog* dialog() const { return m_dialog; }
    std::wstring caption() const;
    bool hasControl(UINT id) const;
    std::wstring text(UINT id) const;
    void typeText(UINT id, const std::wstring& text);
    int check(UINT id) const;
    // Clicks a check box or radio button (check boxes toggle).
    void click(UINT id);
    std::vector<std::wstring> comboItems(UINT id) const;
    int comboIndex(UINT id) const;
    void chooseComboIndex(UINT id, int index);
    // Pixel geometry of a control inside the dialog.
    RECT controlRect(UINT id) const;
    SIZE dialogSize() const;
    // Presses a push button (IDOK / IDCANCEL included).
    void press(UINT id) { click(id); }
    bool ended() const;

private:
    CDialog* m_dialog;
};

// The next modal dialog runs `script` instead of waiting for a user. If the
// script does not end the dialog, it is cancelled.
PLATFORMUI_API void driveNextDialog(std::function<void(DialogDriver&)> script);
struct DialogRecord {
    std::wstring caption;
    int result = 0;
};
PLATFORMUI_API const std::vector<DialogRecord>& dialogs();

// Forgets queued answers and records.
PLATFORMUI_API void resetHooks();

} // namespace lumo::test
