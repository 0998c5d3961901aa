// The resize filter's settings dialog (template 102): resampling method,
// and either a percentage or a bounding box.

#include "imageplugins/ImagePlugin.h"
#include "platform/core/Module.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Resources.h"

#include <cwchar>
#include <string>

HINSTANCE g_hModuleInstance = lumo::moduleHandleOf(&g_hModuleInstance);

namespace {

constexpr UINT IDD_RESIZE_OPTION = 102;
constexpr UINT IDC_NEAREST = 1001;
constexpr UINT IDC_SMOOTH = 1002;
constexpr UINT IDC_BY_PERCENT = 1003;
constexpr UINT IDC_INTO_BOX = 1004;
constexpr UINT IDC_PERCENT = 1005;
constexpr UINT IDC_BOX_WIDTH = 1006;
constexpr UINT IDC_BOX_HEIGHT = 1007;

lumo::DialogTemplate resizeTemplate() {
    using lumo::ControlKind;
    lumo::DialogTemplate t;
    t.caption = L"画像のリサイズ";
    t.cx = 160;
    t.cy = 136;
    t.controls = {
        {ControlKind::GroupBox, static_cast<UINT>(-1), L"補間方法", 6, 4, 148, 36},
        {ControlKind::RadioButton, IDC_NEAREST, L"ニアレストネイバー", 14, 14, 130, 10, WS_GROUP},
        {ControlKind::RadioButton, IDC_SMOOTH, L"スムーズ", 14, 26, 130, 10},
        {ControlKind::GroupBox, static_cast<UINT>(-1), L"サイズ", 6, 44, 148, 66},
        {ControlKind::RadioButton, IDC_BY_PERCENT, L"倍率 (%)", 14, 54, 70, 10, WS_GROUP},
        {ControlKind::Edit, IDC_PERCENT, L"", 90, 52, 56, 12},
        {ControlKind::RadioButton, IDC_INTO_BOX, L"枠に収める", 14, 70, 70, 10},
        {ControlKind::Label, static_cast<UINT>(-1), L"幅", 24, 84, 20, 10},
        {ControlKind::Edit, IDC_BOX_WIDTH, L"", 46, 82, 40, 12},
        {ControlKind::Label, static_cast<UINT>(-1), L"高さ", 90, 84, 20, 10},
        {ControlKind::Edit, IDC_BOX_HEIGHT, L"", 112, 82, 34, 12},
        {ControlKind::DefPushButton, IDOK, L"OK", 38, 116, 54, 14},
        {ControlKind::PushButton, IDCANCEL, L"キャンセル", 98, 116, 54, 14},
    };
    return t;
}

lumo::ResourceRegistration g_resources(g_hModuleInstance, [] {
    lumo::ResourceSet set;
    set.dialogs[IDD_RESIZE_OPTION] = resizeTemplate();
    return set;
}());

// Decimal text as the platform's _wtoi reads it: leading blanks, an optional
// sign, digits up to the first other character; 0 when there are none.
int decimal(const CString& text) {
    std::wstring value(text);
    return static_cast<int>(std::wcstol(value.c_str(), nullptr, 10));
}

class CResizeOptionDialog : public CDialog {
public:
    CResizeOptionDialog(CWnd* parent, RESIZE_OPTION* option)
        : CDialog(g_hModuleInstance, IDD_RESIZE_OPTION, parent), m_option(option) {}

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        button(m_option->smooth != 0 ? IDC_SMOOTH : IDC_NEAREST)->SetCheck(BST_CHECKED);
        if (m_option->mode == RESIZE_MODE_BOX) {
            setNumber(IDC_BOX_WIDTH, static_cast<int>(m_option->value & 0xFFFF));
            setNumber(IDC_BOX_HEIGHT, static_cast<int>(m_option->value >> 16));
            button(IDC_INTO_BOX)->SetCheck(BST_CHECKED);
            enableSizeFields(false);
        } else {
            setNumber(IDC_PERCENT, static_cast<int>(m_option->value));
            button(IDC_BY_PERCENT)->SetCheck(BST_CHECKED);
            enableSizeFields(true);
        }
        return TRUE;
    }

    // Only valid input ends the dialog; anything else keeps it open, silently.
    void OnOK() override {
        int percent = decimal(text(IDC_PERCENT));
        int width = decimal(text(IDC_BOX_WIDTH));
        int height = decimal(text(IDC_BOX_HEIGHT));
        RESIZE_OPTION chosen = *m_option;
        if (button(IDC_BY_PERCENT)->GetCheck() == BST_CHECKED && percent >= 1) {
            chosen.mode = RESIZE_MODE_PERCENT;
            chosen.value = static_cast<std::uint32_t>(percent);
        } else if (button(IDC_INTO_BOX)->GetCheck() == BST_CHECKED && width >= 1 && height >= 1) {
            chosen.mode = RESIZE_MODE_BOX;
            chosen.value = (static_cast<std::uint32_t>(width) & 0xFFFF) |
                           (static_cast<std::uint32_t>(height) << 16);
        } else {
            return;
        }
        chosen.smooth = button(IDC_NEAREST)->GetCheck() == BST_CHECKED ? 0 : 1;
        *m_option = chosen;
        EndDialog(IDOK);
    }

    void OnByPercent() { enableSizeFields(true); }
    void OnIntoBox() { enableSizeFields(false); }

protected:
    DECLARE_MESSAGE_MAP()

private:
    CButton* button(UINT id) const {
        return static_cast<CButton*>(GetDlgItem(static_cast<int>(id)));
    }
    CString text(UINT id) const {
        CString value;
        GetDlgItem(static_cast<int>(id))->GetWindowText(value);
        // The fields are read as text of up to 255 characters.
        return CString(std::wstring(value).substr(0, 255).c_str());
    }
    void setNumber(UINT id, int value) {
        GetDlgItem(static_cast<int>(id))->SetWindowText(std::to_wstring(value).c_str());
    }
    void enableSizeFields(bool byPercent) {
        GetDlgItem(IDC_PERCENT)->EnableWindow(byPercent);
        GetDlgItem(IDC_BOX_WIDTH)->EnableWindow(!byPercent);
        GetDlgItem(IDC_BOX_HEIGHT)->EnableWindow(!byPercent);
    }

    RESIZE_OPTION* m_option;
};

BEGIN_MESSAGE_MAP(CResizeOptionDialog, CDialog)
ON_BN_CLICKED(IDC_BY_PERCENT, &CResizeOptionDialog::OnByPercent)
ON_BN_CLICKED(IDC_INTO_BOX, &CResizeOptionDialog::OnIntoBox)
END_MESSAGE_MAP()

} // namespace

IMAGEPLUGIN_EXPORT int Configure(void* parent, void* option) {
    if (!option || !lumo::findDialogResource(g_hModuleInstance, IDD_RESIZE_OPTION))
        return 0;
    CResizeOptionDialog dialog(CWnd::FromHandle(static_cast<HWND>(parent)),
                               static_cast<RESIZE_OPTION*>(option));
    return dialog.DoModal() == IDOK ? 1 : 0;
}
