#pragma once

#include "platform/ui/UiTypes.h"

#include <string>
#include <vector>

class CDialog;

namespace lumo::test {

// Drives a modal dialog's controls as a user would: each change sends the
// notification the control would (BN_CLICKED, CBN_SELCHANGE, EN_CHANGE).
class DialogDriver {
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
    // The texts (labels, captions, list items) that their control, as laid
    // out, cannot show whole; empty when everything shows.
    std::vector<std::wstring> clippedTexts() const;
    // Pairs of controls that overlap, group boxes aside, each named by its
    // text (a list by its first item).
    std::vector<std::pair<std::wstring, std::wstring>> overlappingControls() const;
    // Presses a push button (IDOK / IDCANCEL included).
    void press(UINT id) { click(id); }
    bool ended() const;

private:
    CDialog* m_dialog;
};

} // namespace lumo::test
