#include "platform/ui/CommandBar.h"

#include "platform/ui/DC.h"

#include <algorithm>
#include <cwchar>
#include <utility>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)
IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

namespace {
constexpr int TEXT_PADDING = 6;
constexpr int SEPARATOR_WIDTH = 6;
constexpr int PLAIN_BUTTON_WIDTH = 24;
} // namespace

CToolBar::CToolBar() : m_ctrl(this) {}
CToolBar::~CToolBar() = default;

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    if (!pParentWnd)
        return FALSE;
    m_buttons.clear();
    m_strings.clear();
    Button minimise;
    minimise.idCommand = static_cast<int>(ID_MINIMIZE);
    minimise.text = L"_";
    Button close;
    close.idCommand = static_cast<int>(ID_CLOSE);
    close.text = L"×";
    m_buttons = {minimise, close};
    CRect client;
    pParentWnd->GetClientRect(&client);
    const RECT rect{0, 0, client.Width(), GetFixedHeight()};
    if (!CWnd::CreateEx(0, L"ToolbarWindow32", nullptr, dwStyle | WS_CHILD, rect, pParentWnd, nID))
        return FALSE;
    SetBackgroundColor(GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

CRect CToolBar::buttonRect(int index) const {
    if (index < 0 || index >= static_cast<int>(m_buttons.size()))
        return CRect();
    int x = 0;
    const int height = GetFixedHeight();
    HDC measure = ::CreateCompatibleDC(nullptr);
    CDC* dc = CDC::FromHandle(measure);
    CRect result;
    for (int i = 0; i <= index; ++i) {
        const Button& b = m_buttons[static_cast<size_t>(i)];
        int width = b.width;
        if (b.state & TBSTATE_HIDDEN)
            width = 0;
        else if (width == 0)
            width = (b.style & TBSTYLE_SEP) ? SEPARATOR_WIDTH
                    : b.text.empty()
                        ? PLAIN_BUTTON_WIDTH
                        : dc->GetTextExtent(b.text.c_str(), static_cast<int>(b.text.size())).cx +
                              2 * TEXT_PADDING;
        if (i == index)
            result = CRect(x, 0, x + width, height);
        x += width;
    }
    ::DeleteDC(measure);
    return result;
}

void CToolBar::changed() {
    Invalidate(TRUE);
}

void CToolBar::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    dc.SetBkMode(TRANSPARENT);
    for (int i = 0; i < static_cast<int>(m_buttons.size()); ++i) {
        const Button& b = m_buttons[static_cast<size_t>(i)];
        if ((b.state & TBSTATE_HIDDEN) || (b.style & TBSTYLE_SEP))
            continue;
        CRect r = buttonRect(i);
        if (b.state & (TBSTATE_PRESSED | TBSTATE_CHECKED)) {
            CRect edge = r;
            dc.DrawEdge(&edge, BDR_SUNKENINNER, BF_RECT);
            r.OffsetRect(1, 1);
        }
        dc.SetTextColor(GetSysColor((b.state & TBSTATE_ENABLED) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        dc.DrawText(b.text.c_str(), static_cast<int>(b.text.size()), &r,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

void CToolBar::OnLButtonDown(UINT, CPoint point) {
    m_downIndex = m_ctrl.HitTest(&point);
    NMHDR header{m_hWnd, static_cast<UINT_PTR>(GetDlgCtrlID()), NM_LDOWN};
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()),
                            reinterpret_cast<LPARAM>(&header));
}

void CToolBar::OnLButtonUp(UINT, CPoint point) {
    const int down = std::exchange(m_downIndex, -1);
    const int index = m_ctrl.HitTest(&point);
    if (index < 0 || index != down)
        return;
    const Button& b = m_buttons[static_cast<size_t>(index)];
    if (!(b.state & TBSTATE_ENABLED) || (b.style & TBSTYLE_SEP))
        return;
    CWnd* top = GetTopLevelParent();
    if (b.idCommand == static_cast<int>(ID_MINIMIZE)) {
        if (top)
            top->ShowWindow(SW_MINIMIZE);
        return;
    }
    if (b.idCommand == static_cast<int>(ID_CLOSE)) {
        if (top)
            top->PostMessage(WM_CLOSE);
        return;
    }
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(b.idCommand), BN_CLICKED),
                            reinterpret_cast<LPARAM>(m_hWnd));
}

// ---- CToolBarCtrl ----------------------------------------------------------

int CToolBarCtrl::AddString(LPCWSTR lpszString) {
    if (!lpszString)
        return -1;
    m_bar->strings().emplace_back(lpszString);
    return static_cast<int>(m_bar->strings().size()) - 1;
}

BOOL CToolBarCtrl::InsertButton(int nIndex, const TBBUTTON* lpButton) {
    if (!lpButton || nIndex < 0)
        return FALSE;
    CToolBar::Button button;
    button.idCommand = lpButton->idCommand;
    button.state = lpButton->fsState;
    button.style = lpButton->fsStyle;
    button.data = lpButton->dwData;
    const auto& strings = m_bar->strings();
    if (lpButton->iString >= 0 && lpButton->iString < static_cast<INT_PTR>(strings.size()))
        button.text = strings[static_cast<size_t>(lpButton->iString)];
    else if (lpButton->iString >= 0x10000)
        button.text = reinterpret_cast<LPCWSTR>(lpButton->iString);
    auto& buttons = m_bar->buttons();
    const size_t at = std::min<size_t>(static_cast<size_t>(nIndex), buttons.size());
    buttons.insert(buttons.begin() + static_cast<std::ptrdiff_t>(at), button);
    m_bar->changed();
    return TRUE;
}

BOOL CToolBarCtrl::DeleteButton(int nIndex) {
    auto& buttons = m_bar->buttons();
    if (nIndex < 0 || nIndex >= static_cast<int>(buttons.size()))
        return FALSE;
    buttons.erase(buttons.begin() + nIndex);
    m_bar->changed();
    return TRUE;
}

int CToolBarCtrl::GetButtonCount() const {
    return static_cast<int>(m_bar->buttons().size());
}

BOOL CToolBarCtrl::GetButton(int nIndex, TBBUTTON* lpButton) const {
    const auto& buttons = m_bar->buttons();
    if (!lpButton || nIndex < 0 || nIndex >= static_cast<int>(buttons.size()))
        return FALSE;
    const CToolBar::Button& b = buttons[static_cast<size_t>(nIndex)];
    *lpButton = TBBUTTON{I_IMAGENONE, b.idCommand, b.state, b.style, b.data, -1};
    const auto& strings = m_bar->strings();
    for (size_t i = 0; i < strings.size(); ++i)
        if (strings[i] == b.text)
            lpButton->iString = static_cast<INT_PTR>(i);
    return TRUE;
}

BOOL CToolBarCtrl::GetItemRect(int nIndex, LPRECT lpRect) const {
    if (!lpRect || nIndex < 0 || nIndex >= GetButtonCount())
        return FALSE;
    *lpRect = m_bar->buttonRect(nIndex);
    return TRUE;
}

int CToolBarCtrl::CommandToIndex(UINT nID) const {
    const auto& buttons = m_bar->buttons();
    for (size_t i = 0; i < buttons.size(); ++i)
        if (static_cast<UINT>(buttons[i].idCommand) == nID && !(buttons[i].style & TBSTYLE_SEP))
            return static_cast<int>(i);
    return -1;
}

int CToolBarCtrl::HitTest(LPPOINT ppt) const {
    if (!ppt)
        return -1;
    for (int i = 0; i < GetButtonCount(); ++i)
        if (m_bar->buttonRect(i).PtInRect(*ppt))
            return i;
    return -1;
}

BOOL CToolBarCtrl::SetState(int nID, UINT nState) {
    const int index = CommandToIndex(static_cast<UINT>(nID));
    if (index < 0)
        return FALSE;
    m_bar->buttons()[static_cast<size_t>(index)].state = static_cast<BYTE>(nState);
    m_bar->changed();
    return TRUE;
}

int CToolBarCtrl::GetState(int nID) const {
    const int index = CommandToIndex(static_cast<UINT>(nID));
    return index < 0 ? -1 : m_bar->buttons()[static_cast<size_t>(index)].state;
}

BOOL CToolBarCtrl::SetButtonInfo(int nID, const TBBUTTONINFO* ptbbi) {
    const int index = CommandToIndex(static_cast<UINT>(nID));
    if (index < 0 || !ptbbi)
        return FALSE;
    CToolBar::Button& b = m_bar->buttons()[static_cast<size_t>(index)];
    if (ptbbi->dwMask & TBIF_SIZE)
        b.width = ptbbi->cx;
    if (ptbbi->dwMask & TBIF_STATE)
        b.state = ptbbi->fsState;
    if (ptbbi->dwMask & TBIF_STYLE)
        b.style = ptbbi->fsStyle;
    if (ptbbi->dwMask & TBIF_COMMAND)
        b.idCommand = ptbbi->idCommand;
    if ((ptbbi->dwMask & TBIF_TEXT) && ptbbi->pszText)
        b.text = ptbbi->pszText;
    m_bar->changed();
    return TRUE;
}

BOOL CToolBarCtrl::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return m_bar->ModifyStyle(dwRemove, dwAdd, nFlags);
}
void CToolBarCtrl::ClientToScreen(LPRECT lpRect) const {
    m_bar->ClientToScreen(lpRect);
}
void CToolBarCtrl::ScreenToClient(LPPOINT lpPoint) const {
    m_bar->ScreenToClient(lpPoint);
}
