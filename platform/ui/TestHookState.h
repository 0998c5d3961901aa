#pragma once

// Private: queued answers of the test hooks, consumed by the modal services.

#include "platform/ui/TestHooks.h"

#include <deque>

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
};

HookState& hooks();
// True when no user can answer a modal interaction (offscreen platform).
bool headless();

} // namespace lumo::test
