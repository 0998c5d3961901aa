// The stand-in for the user that the test hooks install in the platform
// (ModalHook.h): every modal interaction is recorded and answered from the
// queued answers, or left to the platform, which cancels it headless.

#include "platform/testsupport/HookState.h"

#include "platform/ui/Menu.h"
#include "platform/ui/ModalHook.h"
#include "platform/ui/Window.h"

namespace lumo::test {
namespace {

std::vector<MenuItemSnapshot> snapshot(HMENU menu, HWND owner);

MenuItemSnapshot snapshotItem(HMENU menu, HWND owner, int index) {
    MenuItemSnapshot s;
    const UINT position = static_cast<UINT>(index);
    const UINT state = ::GetMenuState(menu, position, MF_BYPOSITION);
    const HMENU popup = ::GetSubMenu(menu, index);
    // A popup's state carries its item count in the high byte.
    s.state = popup ? (state & 0xFF) : state;
    s.id = ::GetMenuItemID(menu, index);
    const int length = ::GetMenuString(menu, position, nullptr, 0, MF_BYPOSITION);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    ::GetMenuString(menu, position, text.data(), length + 1, MF_BYPOSITION);
    text.resize(static_cast<size_t>(length));
    s.text = text;
    if (popup) {
        // As if the user opened the submenu.
        ::SendMessage(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup),
                      MAKELPARAM(static_cast<WORD>(index), FALSE));
        s.items = snapshot(popup, owner);
    }
    return s;
}

std::vector<MenuItemSnapshot> snapshot(HMENU menu, HWND owner) {
    std::vector<MenuItemSnapshot> items;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
        items.push_back(snapshotItem(menu, owner, i));
    return items;
}

bool enabledCommand(const std::vector<MenuItemSnapshot>& items, UINT command) {
    for (const auto& item : items) {
        if (item.state & MF_POPUP) {
            if (!(item.state & (MF_GRAYED | MF_DISABLED)) && enabledCommand(item.items, command))
                return true;
            continue;
        }
        if (!(item.state & MF_SEPARATOR) && item.id == command &&
            !(item.state & (MF_GRAYED | MF_DISABLED)))
            return true;
    }
    return false;
}

template <class Answer> std::optional<Answer> takeFirst(std::deque<Answer>& answers) {
    if (answers.empty())
        return std::nullopt;
    Answer answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

// What a test asked to happen while this interaction's loop runs.
void runDuringModal() {
    if (auto action = takeFirst(hooks().duringModal))
        (*action)();
}

class ModalStandIn : public ModalHook {
public:
    std::optional<UINT> popupMenu(HMENU menu, HWND owner, POINT at, UINT flags) override {
        HookState& h = hooks();
        PopupMenuRecord record;
        record.items = snapshot(menu, owner);
        record.at = at;
        record.flags = flags;
        h.popupRecords.push_back(record);
        runDuringModal();
        const auto answer = takeFirst(h.popupAnswers);
        if (!answer)
            return std::nullopt;
        const UINT command = (*answer)(record);
        // A command that is not an enabled item counts as dismissed.
        return command && enabledCommand(record.items, command) ? command : 0u;
    }

    std::optional<PathChoice> fileDialog(const FileDialogRequest& request) override {
        HookState& h = hooks();
        h.fileRecords.push_back(request);
        runDuringModal();
        return takeFirst(h.fileAnswers);
    }

    std::optional<PathChoice> folderPicker(const std::wstring& title, UINT flags) override {
        HookState& h = hooks();
        h.folderRecords.push_back({title, flags});
        runDuringModal();
        return takeFirst(h.folderAnswers);
    }

    std::optional<int> messageBox(const MessageBoxRequest& request) override {
        HookState& h = hooks();
        h.messageBoxRecords.push_back(request);
        runDuringModal();
        return takeFirst(h.messageBoxAnswers);
    }

    bool driveDialog(CDialog& dialog) override {
        runDuringModal();
        auto script = takeFirst(hooks().dialogScripts);
        if (!script)
            return false;
        DialogDriver driver(&dialog);
        (*script)(driver);
        return true;
    }

    void dialogEnded(const std::wstring& caption, int result) override {
        hooks().dialogRecords.push_back({caption, result});
    }
};

} // namespace

ModalHook& modalStandIn() {
    static ModalStandIn standIn;
    return standIn;
}

} // namespace lumo::test
