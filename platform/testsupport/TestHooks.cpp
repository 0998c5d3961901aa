#include "platform/testsupport/TestHooks.h"

#include "platform/core/Clock.h"
#include "platform/testsupport/HookState.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Menu.h"
#include "platform/ui/ModalHook.h"
#include "platform/ui/WindowState.h"

#include <QCoreApplication>

#include <memory>

namespace lumo::test {
namespace {

// Linking the hooks puts their stand-in in place of the user from the start,
// so that every modal interaction of a test is recorded.
[[maybe_unused]] const bool g_standInInstalled = (installModalHook(&modalStandIn()), true);

std::unique_ptr<ManualClock>& manualClock() {
    static std::unique_ptr<ManualClock> clock;
    return clock;
}

// A client point of `wnd` in its top-level window's frame buffer.
QPoint framePointOf(CWnd* wnd, POINT client) {
    POINT screen = client;
    wnd->ClientToScreen(&screen);
    RECT top;
    wnd->GetTopLevelParent()->GetWindowRect(&top);
    return QPoint(screen.x - top.left, screen.y - top.top);
}

bool findByText(const std::vector<MenuItemSnapshot>& items, const std::vector<std::wstring>& path,
                size_t depth, UINT& command) {
    if (depth >= path.size())
        return false;
    for (const MenuItemSnapshot& item : items) {
        if (item.text != path[depth])
            continue;
        if (depth + 1 == path.size() && !(item.state & MF_POPUP)) {
            command = item.id;
            return true;
        }
        if ((item.state & MF_POPUP) && findByText(item.items, path, depth + 1, command))
            return true;
    }
    return false;
}

} // namespace

HookState& hooks() {
    static HookState state;
    return state;
}

void pumpMessages() {
    ensureGuiApplication();
    QCoreApplication::processEvents();
    lumo::pumpMessages(lumo::IdleWork::Finish);
}

void holdIdleWork(bool held) {
    lumo::setIdleWorkHeld(held);
}

bool quitRequested() {
    return lumo::quitRequested();
}
int quitCode() {
    return lumo::quitCode();
}
void resetQuit() {
    lumo::resetQuit();
}

void installManualClock(DWORD start) {
    manualClock() = std::make_unique<ManualClock>(start);
    Clock::install(manualClock().get());
}

void uninstallManualClock() {
    Clock::install(nullptr);
    manualClock().reset();
}

void advanceClock(DWORD milliseconds) {
    ManualClock* clock = manualClock().get();
    if (!clock)
        return;
    const DWORD target = clock->now() + milliseconds;
    pumpMessages();
    for (;;) {
        DWORD due = 0;
        const bool pending = nextTimerDue(due);
        if (!pending || static_cast<std::int32_t>(target - due) < 0)
            break;
        if (static_cast<std::int32_t>(due - clock->now()) > 0)
            clock->set(due);
        pumpMessages();
    }
    clock->set(target);
    pumpMessages();
}

void penDown(CWnd* wnd, POINT client) {
    if (!wnd || !wnd->IsWindow())
        return;
    penInput(wnd->GetTopLevelParent(), framePointOf(wnd, client), PenAction::Down);
    pumpMessages();
}

void penUp(CWnd* wnd, POINT client) {
    if (!wnd || !wnd->IsWindow())
        return;
    penInput(wnd->GetTopLevelParent(), framePointOf(wnd, client), PenAction::Up);
    pumpMessages();
}

void penMove(CWnd* wnd, POINT client) {
    if (!wnd || !wnd->IsWindow())
        return;
    penInput(wnd->GetTopLevelParent(), framePointOf(wnd, client), PenAction::Move);
    pumpMessages();
}

void tap(CWnd* wnd, POINT client) {
    penDown(wnd, client);
    penUp(wnd, client);
}

void wheel(CWnd* wnd, POINT client, int delta) {
    if (!wnd || !wnd->IsWindow())
        return;
    wheelInput(wnd->GetTopLevelParent(), framePointOf(wnd, client), delta);
    pumpMessages();
}

void key(CWnd* wnd, UINT virtualKey, BYTE modifiers) {
    if (!wnd || !wnd->IsWindow())
        return;
    wnd->SetFocus();
    setKeyModifiers(modifiers);
    keyInput(wnd->GetTopLevelParent(), virtualKey, true);
    keyInput(wnd->GetTopLevelParent(), virtualKey, false);
    pumpMessages();
    setKeyModifiers(0);
}

QImage captureWindow(CWnd* wnd) {
    if (!wnd || !wnd->IsWindow())
        return {};
    const QImage& frame = wnd->GetTopLevelParent()->state()->frame;
    const QPoint offset = framePointOf(wnd, POINT{0, 0});
    CRect client;
    wnd->GetClientRect(&client);
    return frame.copy(offset.x(), offset.y(), client.Width(), client.Height());
}

void answerNextPopupMenu(UINT command) {
    hooks().popupAnswers.push_back([command](const PopupMenuRecord&) { return command; });
}

void answerNextPopupMenuByText(std::vector<std::wstring> path) {
    hooks().popupAnswers.push_back([path = std::move(path)](const PopupMenuRecord& record) {
        UINT command = 0;
        return findByText(record.items, path, 0, command) ? command : 0u;
    });
}

const std::vector<PopupMenuRecord>& popupMenus() {
    return hooks().popupRecords;
}

void answerNextFileDialog(std::optional<std::wstring> path) {
    hooks().fileAnswers.push_back(std::move(path));
}
const std::vector<FileDialogRecord>& fileDialogs() {
    return hooks().fileRecords;
}

void answerNextFolderPicker(std::optional<std::wstring> path) {
    hooks().folderAnswers.push_back(std::move(path));
}
const std::vector<FolderPickerRecord>& folderPickers() {
    return hooks().folderRecords;
}

void answerNextMessageBox(int button) {
    hooks().messageBoxAnswers.push_back(button);
}
const std::vector<MessageBoxRecord>& messageBoxes() {
    return hooks().messageBoxRecords;
}

void duringNextModal(std::function<void()> action) {
    hooks().duringModal.push_back(std::move(action));
}

void driveNextDialog(std::function<void(DialogDriver&)> script) {
    hooks().dialogScripts.push_back(std::move(script));
}
const std::vector<DialogRecord>& dialogs() {
    return hooks().dialogRecords;
}

void resetHooks() {
    hooks() = HookState{};
    lumo::setIdleWorkHeld(false);
}

} // namespace lumo::test
