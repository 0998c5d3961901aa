#pragma once

// The seam through which a stand-in answers modal interactions in place of a
// user. The test-support library (platform/testsupport) installs one; the
// program never does. Under the offscreen platform an interaction nobody
// answers is cancelled, because no user could ever answer it.

#include "platform/ui/UiExport.h"
#include "platform/ui/UiTypes.h"

#include <optional>
#include <string>
#include <vector>

class CDialog;

namespace lumo {

// A path chosen in a file dialog or folder picker; nullopt for a cancel.
using PathChoice = std::optional<std::wstring>;

struct FileDialogRequest {
    std::wstring initialFile;
    std::wstring initialDirectory;
    DWORD flags = 0;
    bool open = true;
    // Where the real dialog opens: the initial file's or folder's existing
    // folder, else the user's home folder (never the root).
    std::wstring startFolder;
};

struct MessageBoxRequest {
    std::wstring text;
    std::wstring caption;
    UINT type = 0;
    // The labels of its buttons, in their order, as Qt shows them (in the
    // language of the translations loaded).
    std::vector<std::wstring> buttons;
};

// Each query returns the stand-in's answer, or nullopt to leave the
// interaction to the user.
class PLATFORMUI_API ModalHook {
public:
    virtual ~ModalHook() = default;
    // A pop-up menu about to show (its owner has had WM_INITMENUPOPUP): the
    // command chosen, 0 for dismissed.
    virtual std::optional<UINT> popupMenu(HMENU menu, HWND owner, POINT at, UINT flags) = 0;
    virtual std::optional<PathChoice> fileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<PathChoice> folderPicker(const std::wstring& title, UINT flags) = 0;
    virtual std::optional<int> messageBox(const MessageBoxRequest& request) = 0;
    // Runs a built and initialised modal dialog instead of a user; false
    // leaves it to the user. A dialog the stand-in does not end is cancelled.
    virtual bool driveDialog(CDialog& dialog) = 0;
    // Every modal dialog's end, whoever answered it.
    virtual void dialogEnded(const std::wstring& caption, int result) = 0;
};

// Installs the stand-in (not owned); null removes it.
PLATFORMUI_API void installModalHook(ModalHook* hook);
// The installed stand-in, or null.
ModalHook* modalHook();
// True when no user can answer a modal interaction (offscreen platform).
bool headless();

} // namespace lumo
