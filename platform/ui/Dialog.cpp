#include "platform/ui/Dialog.h"

#include "platform/ui/GdiState.h"
#include "platform/ui/TestHookState.h"
#include "platform/ui/WindowState.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cwchar>

namespace {

// The Qt side of a dialog: closing it is the user's cancel.
class ModalDialog : public QDialog {
public:
    explicit ModalDialog(CDialog* owner) : m_owner(owner) {}
    void reject() override {
        if (m_owner && !m_owner->ended())
            m_owner->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        if (m_owner && m_owner->ended())
            QDialog::done(m_owner->result());
    }

private:
    CDialog* m_owner;
};

bool startsWithIgnoringCase(const QString& text, const QString& prefix) {
    return text.startsWith(prefix, Qt::CaseInsensitive);
}

CDialogControl* controlOf(CWnd* dialog, int id, lumo::ControlKind kind) {
    CWnd* wnd = dialog ? dialog->GetDlgItem(id) : nullptr;
    if (!wnd || !wnd->IsKindOf(RUNTIME_CLASS(CDialogControl)))
        return nullptr;
    auto* control = static_cast<CDialogControl*>(wnd);
    return control->kind() == kind ? control : nullptr;
}

QComboBox* comboWidget(const CDialogControl* control) {
    return qobject_cast<QComboBox*>(control->widget());
}

} // namespace

IMPLEMENT_DYNAMIC(CDialogControl, CWnd)
IMPLEMENT_DYNAMIC(CButton, CDialogControl)
IMPLEMENT_DYNAMIC(CComboBox, CDialogControl)
IMPLEMENT_DYNAMIC(CEdit, CDialogControl)
IMPLEMENT_DYNAMIC(CStatic, CDialogControl)
IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

// ---- controls -----------------------------------------------------------------

bool CDialogControl::getTextHook(std::wstring& text) const {
    if (!m_widget)
        return false;
    if (auto* edit = qobject_cast<QLineEdit*>(m_widget))
        text = edit->text().toStdWString();
    else if (auto* label = qobject_cast<QLabel*>(m_widget))
        text = label->text().toStdWString();
    else if (auto* group = qobject_cast<QGroupBox*>(m_widget))
        text = group->title().toStdWString();
    else if (auto* button = qobject_cast<QAbstractButton*>(m_widget))
        text = button->text().toStdWString();
    else if (auto* combo = qobject_cast<QComboBox*>(m_widget))
        text = combo->currentIndex() < 0 ? std::wstring() : combo->currentText().toStdWString();
    else
        return false;
    return true;
}

bool CDialogControl::setTextHook(const std::wstring& text) {
    if (!m_widget)
        return false;
    const QString value = QString::fromStdWString(text);
    if (auto* edit = qobject_cast<QLineEdit*>(m_widget))
        edit->setText(value);
    else if (auto* label = qobject_cast<QLabel*>(m_widget))
        label->setText(value);
    else if (auto* group = qobject_cast<QGroupBox*>(m_widget))
        group->setTitle(value);
    else if (auto* button = qobject_cast<QAbstractButton*>(m_widget))
        button->setText(value);
    else
        return false; // a drop-down list has no text of its own
    return true;
}

void CDialogControl::showStateHook() {
    if (!m_widget || !IsWindow())
        return;
    m_widget->setEnabled(IsWindowEnabled());
    m_widget->setVisible((GetStyle() & WS_VISIBLE) != 0);
}

int CButton::GetCheck() const {
    if (auto* check = qobject_cast<QCheckBox*>(widget())) {
        switch (check->checkState()) {
        case Qt::Checked:
            return BST_CHECKED;
        case Qt::PartiallyChecked:
            return BST_INDETERMINATE;
        default:
            return BST_UNCHECKED;
        }
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget()))
        return button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
    return BST_UNCHECKED;
}

void CButton::SetCheck(int nCheck) {
    if (auto* check = qobject_cast<QCheckBox*>(widget())) {
        check->setTristate(nCheck == BST_INDETERMINATE);
        check->setCheckState(nCheck == BST_INDETERMINATE ? Qt::PartiallyChecked
                             : nCheck                    ? Qt::Checked
                                                         : Qt::Unchecked);
        return;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget())) {
        // An exclusive group would refuse to uncheck its last checked button.
        QButtonGroup* group = button->group();
        const bool exclusive = group && group->exclusive();
        if (exclusive && !nCheck)
            group->setExclusive(false);
        button->setChecked(nCheck != 0);
        if (exclusive && !nCheck)
            group->setExclusive(true);
    }
}

int CComboBox::GetCount() const {
    return comboWidget(this) ? comboWidget(this)->count() : 0;
}

int CComboBox::GetCurSel() const {
    QComboBox* combo = comboWidget(this);
    return combo && combo->currentIndex() >= 0 ? combo->currentIndex() : CB_ERR;
}

int CComboBox::SetCurSel(int nSelect) {
    QComboBox* combo = comboWidget(this);
    if (!combo)
        return CB_ERR;
    if (nSelect < 0 || nSelect >= combo->count()) {
        combo->setCurrentIndex(-1);
        return CB_ERR;
    }
    combo->setCurrentIndex(nSelect);
    return nSelect;
}

void CComboBox::GetLBText(int nIndex, CString& rString) const {
    QComboBox* combo = comboWidget(this);
    rString = combo && nIndex >= 0 && nIndex < combo->count()
                  ? CString(combo->itemText(nIndex).toStdWString())
                  : CString();
}

int CComboBox::GetLBTextLen(int nIndex) const {
    CString text;
    GetLBText(nIndex, text);
    QComboBox* combo = comboWidget(this);
    return combo && nIndex >= 0 && nIndex < combo->count() ? text.GetLength() : CB_ERR;
}

int CComboBox::AddString(LPCWSTR lpszString) {
    QComboBox* combo = comboWidget(this);
    if (!combo || !lpszString)
        return CB_ERR;
    const QString text = QString::fromWCharArray(lpszString);
    int at = combo->count();
    if (GetStyle() & CBS_SORT) {
        at = 0;
        while (at < combo->count() &&
               QString::compare(combo->itemText(at), text, Qt::CaseInsensitive) <= 0)
            ++at;
    }
    const int selected = combo->currentIndex();
    combo->insertItem(at, text);
    if (selected < 0)
        combo->setCurrentIndex(-1);
    return at;
}

int CComboBox::InsertString(int nIndex, LPCWSTR lpszString) {
    QComboBox* combo = comboWidget(this);
    if (!combo || !lpszString || nIndex > combo->count())
        return CB_ERR;
    const int at = nIndex < 0 ? combo->count() : nIndex;
    const int selected = combo->currentIndex();
    combo->insertItem(at, QString::fromWCharArray(lpszString));
    if (selected < 0)
        combo->setCurrentIndex(-1);
    return at;
}

int CComboBox::DeleteString(UINT nIndex) {
    QComboBox* combo = comboWidget(this);
    if (!combo || static_cast<int>(nIndex) >= combo->count())
        return CB_ERR;
    combo->removeItem(static_cast<int>(nIndex));
    return combo->count();
}

void CComboBox::ResetContent() {
    if (QComboBox* combo = comboWidget(this))
        combo->clear();
}

int CComboBox::FindString(int nStartAfter, LPCWSTR lpszString) const {
    QComboBox* combo = comboWidget(this);
    if (!combo || !lpszString || !*lpszString || combo->count() == 0)
        return CB_ERR;
    const QString prefix = QString::fromWCharArray(lpszString);
    const int count = combo->count();
    const int first = (nStartAfter < 0 || nStartAfter >= count) ? 0 : nStartAfter + 1;
    for (int i = 0; i < count; ++i) {
        const int index = (first + i) % count;
        if (startsWithIgnoringCase(combo->itemText(index), prefix))
            return index;
    }
    return CB_ERR;
}

int CComboBox::FindStringExact(int nIndexStart, LPCWSTR lpszFind) const {
    QComboBox* combo = comboWidget(this);
    if (!combo || !lpszFind || combo->count() == 0)
        return CB_ERR;
    const QString wanted = QString::fromWCharArray(lpszFind);
    const int count = combo->count();
    const int first = (nIndexStart < 0 || nIndexStart >= count) ? 0 : nIndexStart + 1;
    for (int i = 0; i < count; ++i) {
        const int index = (first + i) % count;
        if (QString::compare(combo->itemText(index), wanted, Qt::CaseInsensitive) == 0)
            return index;
    }
    return CB_ERR;
}

int CComboBox::SelectString(int nStartAfter, LPCWSTR lpszString) {
    const int index = FindString(nStartAfter, lpszString);
    if (index == CB_ERR)
        return CB_ERR;
    return SetCurSel(index);
}

// ---- data exchange -----------------------------------------------------------

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    auto* combo = static_cast<CComboBox*>(
        controlOf(pDX ? pDX->m_pDlgWnd : nullptr, nIDC, lumo::ControlKind::ComboBox));
    if (!combo)
        return;
    if (pDX->m_bSaveAndValidate)
        index = combo->GetCurSel();
    else
        combo->SetCurSel(index);
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
    auto* combo = static_cast<CComboBox*>(
        controlOf(pDX ? pDX->m_pDlgWnd : nullptr, nIDC, lumo::ControlKind::ComboBox));
    if (!combo)
        return;
    if (pDX->m_bSaveAndValidate) {
        const int selected = combo->GetCurSel();
        if (selected < 0)
            value.Empty();
        else
            combo->GetLBText(selected, value);
        return;
    }
    combo->SelectString(-1, value);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    CWnd* dialog = pDX ? pDX->m_pDlgWnd : nullptr;
    CDialogControl* control = controlOf(dialog, nIDC, lumo::ControlKind::CheckBox);
    if (!control)
        control = controlOf(dialog, nIDC, lumo::ControlKind::RadioButton);
    if (!control)
        return;
    auto* button = static_cast<CButton*>(control);
    if (pDX->m_bSaveAndValidate)
        value = button->GetCheck();
    else
        button->SetCheck(value == BST_INDETERMINATE ? BST_INDETERMINATE
                                                    : (value ? BST_CHECKED : BST_UNCHECKED));
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    CWnd* control = pDX && pDX->m_pDlgWnd ? pDX->m_pDlgWnd->GetDlgItem(nIDC) : nullptr;
    if (!control)
        return;
    if (pDX->m_bSaveAndValidate)
        control->GetWindowText(value);
    else
        control->SetWindowText(value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    CWnd* control = pDX && pDX->m_pDlgWnd ? pDX->m_pDlgWnd->GetDlgItem(nIDC) : nullptr;
    if (!control)
        return;
    if (pDX->m_bSaveAndValidate) {
        CString text;
        control->GetWindowText(text);
        // Text that is not a number keeps the member as it was.
        wchar_t* end = nullptr;
        const long parsed = std::wcstol(text.GetString(), &end, 10);
        if (end && end != text.GetString() && *end == L'\0')
            value = static_cast<int>(parsed);
        return;
    }
    control->SetWindowText(std::to_wstring(value).c_str());
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    CWnd* dialog = pDX ? pDX->m_pDlgWnd : nullptr;
    auto* first = static_cast<CButton*>(controlOf(dialog, nIDC, lumo::ControlKind::RadioButton));
    if (!first)
        return;
    auto* button = qobject_cast<QAbstractButton*>(first->widget());
    QButtonGroup* group = button ? button->group() : nullptr;
    if (!group)
        return;
    const QList<QAbstractButton*> buttons = group->buttons();
    if (pDX->m_bSaveAndValidate) {
        value = -1;
        for (int i = 0; i < buttons.size(); ++i)
            if (buttons[i]->isChecked())
                value = i;
        return;
    }
    group->setExclusive(false);
    for (int i = 0; i < buttons.size(); ++i)
        buttons[i]->setChecked(i == value);
    group->setExclusive(true);
}

// ---- CDialog -------------------------------------------------------------------

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::CDialog(HINSTANCE hModule, UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_hTemplateModule(hModule), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() {
    teardown();
}

bool CDialog::build(const lumo::DialogTemplate& t) {
    auto* dialog = new ModalDialog(this);
    m_qtDialog = dialog;
    dialog->setWindowTitle(QString::fromStdWString(t.caption));
    // Dialogs use 12-pixel text whatever point size the template names: at
    // 8 points (10 px) Japanese labels next to Qt's fixed-size check boxes and
    // combo arrows are cut off. Dialog units follow this font, so the layout
    // keeps its proportions.
    LOGFONT lf{};
    lf.lfHeight = -12;
    lf.lfWeight = FW_NORMAL;
    const QFont font = lumo::qtFontFor(lf);
    dialog->setFont(font);
    const QFontMetrics metrics(font);
    const int baseX = std::max(1, (metrics.horizontalAdvance(QStringLiteral(
                                       "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) +
                                   26) /
                                      52);
    const int baseY = std::max(1, metrics.height());
    auto px = [&](int x, int y, int cx, int cy) {
        return QRect(MulDiv(x, baseX, 4), MulDiv(y, baseY, 8), MulDiv(cx, baseX, 4),
                     MulDiv(cy, baseY, 8));
    };
    const QRect size = px(0, 0, t.cx, t.cy);
    dialog->setFixedSize(size.width(), size.height());
    const RECT rect{0, 0, size.width(), size.height()};
    if (!CreateEx(0, nullptr, t.caption.c_str(), WS_POPUP | t.style, rect, nullptr, 0))
        return false;

    QButtonGroup* radioGroup = nullptr;
    std::vector<QWidget*> groupBoxes;
    for (const lumo::DialogControlTemplate& c : t.controls) {
        const QString text = QString::fromStdWString(c.text);
        QRect geometry = px(c.x, c.y, c.cx, c.cy);
        QWidget* widget = nullptr;
        CDialogControl* control = nullptr;
        const UINT id = c.id;
        switch (c.kind) {
        case lumo::ControlKind::GroupBox:
            widget = new QGroupBox(text, dialog);
            groupBoxes.push_back(widget);
            control = new CStatic;
            break;
        case lumo::ControlKind::Label:
            widget = new QLabel(text, dialog);
            control = new CStatic;
            break;
        case lumo::ControlKind::ComboBox: {
            auto* combo = new QComboBox(dialog);
            QStringList items;
            for (const std::wstring& item : c.items)
                items << QString::fromStdWString(item);
            if (c.style & CBS_SORT)
                items.sort(Qt::CaseInsensitive);
            combo->addItems(items);
            combo->setCurrentIndex(-1);
            // The template height includes the dropped list.
            geometry.setHeight(std::min(geometry.height(), combo->sizeHint().height()));
            QObject::connect(combo, &QComboBox::activated, dialog, [this, id](int) {
                SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), CBN_SELCHANGE), 0);
            });
            widget = combo;
            control = new CComboBox;
            break;
        }
        case lumo::ControlKind::CheckBox:
            widget = new QCheckBox(text, dialog);
            control = new CButton;
            break;
        case lumo::ControlKind::RadioButton: {
            auto* radio = new QRadioButton(text, dialog);
            if (!radioGroup || (c.style & WS_GROUP)) {
                radioGroup = new QButtonGroup(dialog);
                radioGroup->setExclusive(true);
            }
            radioGroup->addButton(radio);
            widget = radio;
            control = new CButton;
            break;
        }
        case lumo::ControlKind::Edit: {
            auto* edit = new QLineEdit(text, dialog);
            QObject::connect(edit, &QLineEdit::textEdited, dialog, [this, id](const QString&) {
                SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), EN_CHANGE), 0);
            });
            widget = edit;
            control = new CEdit;
            break;
        }
        case lumo::ControlKind::PushButton:
        case lumo::ControlKind::DefPushButton: {
            auto* button = new QPushButton(text, dialog);
            button->setDefault(c.kind == lumo::ControlKind::DefPushButton);
            button->setAutoDefault(c.kind == lumo::ControlKind::DefPushButton);
            widget = button;
            control = new CButton;
            break;
        }
        }
        if (c.kind != lumo::ControlKind::RadioButton && (c.style & WS_GROUP))
            radioGroup = nullptr;
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            QObject::connect(button, &QAbstractButton::clicked, dialog, [this, id](bool) {
                SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), 0);
            });
        }
        widget->setGeometry(geometry);
        const RECT controlRect{geometry.left(), geometry.top(), geometry.left() + geometry.width(),
                               geometry.top() + geometry.height()};
        control->CreateEx(0, nullptr, c.text.c_str(), WS_CHILD | WS_VISIBLE | c.style, controlRect,
                          this, id);
        control->bind(widget, c.kind);
        m_controls.push_back(control);
    }
    for (QWidget* box : groupBoxes)
        box->lower();
    return true;
}

void CDialog::teardown() {
    if (m_hWnd)
        DestroyWindow();
    for (CDialogControl* control : m_controls)
        delete control;
    m_controls.clear();
    delete m_qtDialog;
    m_qtDialog = nullptr;
}

INT_PTR CDialog::DoModal() {
    const lumo::DialogTemplate* t = lumo::findDialogResource(m_hTemplateModule, m_nIDTemplate);
    if (!t)
        return -1;
    lumo::ensureGuiApplication();
    teardown();
    m_ended = false;
    m_nModalResult = IDCANCEL;
    if (!build(*t)) {
        teardown();
        return -1;
    }
    if (!OnInitDialog())
        EndDialog(IDCANCEL);
    auto& h = lumo::test::hooks();
    if (!m_ended) {
        if (!h.dialogScripts.empty()) {
            auto script = std::move(h.dialogScripts.front());
            h.dialogScripts.pop_front();
            lumo::test::DialogDriver driver(this);
            script(driver);
            if (!m_ended)
                EndDialog(IDCANCEL);
        } else if (lumo::test::headless()) {
            EndDialog(IDCANCEL);
        } else {
            m_qtDialog->exec();
            if (!m_ended)
                EndDialog(IDCANCEL);
        }
    }
    h.dialogRecords.push_back({t->caption, m_nModalResult});
    const int result = m_nModalResult;
    teardown();
    return result;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    m_ended = true;
    if (m_qtDialog && m_qtDialog->isVisible())
        m_qtDialog->done(nResult);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

// ---- the test driver ------------------------------------------------------------

namespace lumo::test {
namespace {
CDialogControl* driverControl(CDialog* dialog, UINT id) {
    CWnd* wnd = dialog ? dialog->GetDlgItem(static_cast<int>(id)) : nullptr;
    return wnd && wnd->IsKindOf(RUNTIME_CLASS(CDialogControl)) ? static_cast<CDialogControl*>(wnd)
                                                               : nullptr;
}
} // namespace

std::wstring DialogDriver::caption() const {
    return m_dialog && m_dialog->qtDialog() ? m_dialog->qtDialog()->windowTitle().toStdWString()
                                            : std::wstring();
}

bool DialogDriver::hasControl(UINT id) const {
    return driverControl(m_dialog, id) != nullptr;
}

std::wstring DialogDriver::text(UINT id) const {
    CDialogControl* control = driverControl(m_dialog, id);
    if (!control)
        return {};
    CString text;
    control->GetWindowText(text);
    return text.str();
}

void DialogDriver::typeText(UINT id, const std::wstring& text) {
    CDialogControl* control = driverControl(m_dialog, id);
    auto* edit = control ? qobject_cast<QLineEdit*>(control->widget()) : nullptr;
    if (!edit || !edit->isEnabled())
        return;
    edit->setText(QString::fromStdWString(text));
    emit edit->textEdited(edit->text());
}

int DialogDriver::check(UINT id) const {
    CDialogControl* control = driverControl(m_dialog, id);
    return control && control->IsKindOf(RUNTIME_CLASS(CButton))
               ? static_cast<CButton*>(control)->GetCheck()
               : -1;
}

void DialogDriver::click(UINT id) {
    CDialogControl* control = driverControl(m_dialog, id);
    if (auto* button = control ? qobject_cast<QAbstractButton*>(control->widget()) : nullptr)
        button->click();
}

std::vector<std::wstring> DialogDriver::comboItems(UINT id) const {
    std::vector<std::wstring> items;
    CDialogControl* control = driverControl(m_dialog, id);
    if (auto* combo = control ? qobject_cast<QComboBox*>(control->widget()) : nullptr)
        for (int i = 0; i < combo->count(); ++i)
            items.push_back(combo->itemText(i).toStdWString());
    return items;
}

int DialogDriver::comboIndex(UINT id) const {
    CDialogControl* control = driverControl(m_dialog, id);
    auto* combo = control ? qobject_cast<QComboBox*>(control->widget()) : nullptr;
    return combo ? combo->currentIndex() : -1;
}

void DialogDriver::chooseComboIndex(UINT id, int index) {
    CDialogControl* control = driverControl(m_dialog, id);
    auto* combo = control ? qobject_cast<QComboBox*>(control->widget()) : nullptr;
    if (!combo || !combo->isEnabled() || index < 0 || index >= combo->count())
        return;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

RECT DialogDriver::controlRect(UINT id) const {
    CDialogControl* control = driverControl(m_dialog, id);
    if (!control || !control->widget())
        return RECT{0, 0, 0, 0};
    const QRect g = control->widget()->geometry();
    return RECT{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

SIZE DialogDriver::dialogSize() const {
    if (!m_dialog || !m_dialog->qtDialog())
        return SIZE{0, 0};
    return SIZE{m_dialog->qtDialog()->width(), m_dialog->qtDialog()->height()};
}

bool DialogDriver::ended() const {
    return m_dialog && m_dialog->ended();
}

} // namespace lumo::test
