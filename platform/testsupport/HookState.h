#pragma once

// Private: the queued answers and the records of the test hooks.

#include "platform/testsupport/TestHooks.h"

#include <deque>

namespace lumo {
class ModalHook;
}

namespace lumo::test {

struct HookState {
    std::deque<std::function<UINT(const PopupMenuRecord&)>> popupAnswers;
    std::vector<PopupMenuRecord> popupRecords;
    std::deque<std::optional<std::wstring>> fileAnswers;
    std::vector<FileDialogRecord> fileRecords;
    std::deque<std::optional<std::wstring>> folderAnswers;
    std::vector<FolderPickerRecord> folderRecords;
    std::deque<int> messageBoxAnswers;
    std::vector<MessageBoxRecord> messageBoxRecords;
    std::deque<std::function<void(DialogDriver&)>> dialogScripts;
    std::vector<DialogRecord> dialogRecords;
    std::deque<std::function<void()>> duringModal;
};

HookState& hooks();
// The stand-in for the user that answers from hooks().
ModalHook& modalStandIn();

} // namespace lumo::test
