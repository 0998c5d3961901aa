#include "platform/ui/Window.h"

#include "platform/ui/CommonDialogs.h"
#include "platform/ui/DC.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Resources.h"
#include "platform/ui/Surface.h"
#include "platform/ui/WinApp.h"
#include "platform/ui/WindowState.h"

#include <algorithm>
#include <unordered_set>

namespace lumo {
namespace {

std::unordered_set<const CWnd*>& liveWindows() {
    static std::unordered_set<const CWnd*> windows;
    return windows;
}

std::vector<CWnd*>& topLevels() {
    static std::vector<CWnd*> windows;
    return windows;
}

// The message being handled, for Default().
MSG g_currentMessage{};
CWnd* g_focus = nullptr;

constexpr int DEFAULT_WIDTH = 800;
constexpr int DEFAULT_HEIGHT = 480;

} // namespace

bool isLiveWindow(const CWnd* wnd) {
    return wnd && liveWindows().count(wnd);
}
const std::vector<CWnd*>& topLevelWindows() {
    return topLevels();
}

} // namespace lumo

using lumo::WindowState;

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (m_state && !m_state->destroying)
        DestroyWindow();
    delete m_state;
    m_state = nullptr;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    auto* wnd = reinterpret_cast<CWnd*>(hWnd);
    return lumo::isLiveWindow(wnd) ? wnd : nullptr;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT&) {
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, void* lpParam) {
    if (m_hWnd)
        return FALSE;
    CREATESTRUCT cs{};
    cs.lpCreateParams = lpParam;
    cs.hInstance = AfxGetInstanceHandle();
    cs.hwndParent = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.style = static_cast<LONG>(dwStyle);
    cs.dwExStyle = dwExStyle;
    cs.lpszName = lpszWindowName;
    cs.lpszClass = lpszClassName;
    cs.hMenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID));
    if (!PreCreateWindow(cs))
        return FALSE;

    CWnd* parent = FromHandle(cs.hwndParent);
    const bool child = parent && (static_cast<DWORD>(cs.style) & WS_CHILD);
    if (cs.x == CW_USEDEFAULT || cs.cx == CW_USEDEFAULT || cs.cx < 0 || cs.cy < 0 ||
        (!child && cs.cx == 0 && cs.cy == 0)) {
        cs.x = cs.y = 0;
        cs.cx = lumo::DEFAULT_WIDTH;
        cs.cy = lumo::DEFAULT_HEIGHT;
    }

    lumo::ensureGuiApplication();
    m_state = new WindowState;
    m_state->wnd = this;
    m_state->parent = child ? parent : nullptr;
    m_state->rect = CRect(cs.x, cs.y, cs.x + cs.cx, cs.y + cs.cy);
    m_state->style = static_cast<DWORD>(cs.style);
    m_state->exStyle = cs.dwExStyle;
    m_state->id = child ? nID : 0;
    m_state->text = cs.lpszName ? cs.lpszName : L"";
    m_state->className = (cs.lpszClass && !IS_INTRESOURCE(cs.lpszClass)) ? cs.lpszClass : L"";
    m_state->visible = (m_state->style & WS_VISIBLE) != 0;
    m_state->enabled = !(m_state->style & WS_DISABLED);
    m_hWnd = reinterpret_cast<HWND>(this);
    lumo::liveWindows().insert(this);
    if (child) {
        parent->m_state->children.push_back(this);
    } else {
        if (hasFrameBuffer()) {
            m_state->frame = QImage(std::max(cs.cx, 1), std::max(cs.cy, 1), QImage::Format_RGB32);
            m_state->frame.fill(Qt::white);
            lumo::topLevels().push_back(this);
            m_state->surface = new lumo::Surface(this);
        } else {
            m_state->visible = false;
        }
    }
    m_state->update = QRegion(0, 0, cs.cx, cs.cy);
    m_state->erase = true;

    if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow();
        return FALSE;
    }
    if (!m_hWnd)
        return FALSE;
    SendMessage(WM_SIZE, SIZE_RESTORED,
                MAKELPARAM(static_cast<WORD>(m_state->rect.Width()),
                           static_cast<WORD>(m_state->rect.Height())));
    if (m_state && m_state->visible && m_state->surface)
        m_state->surface->show();
    return m_hWnd != nullptr;
}

BOOL CWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | (pParentWnd ? WS_CHILD : 0), rect,
                    pParentWnd, nID, pContext);
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd || !m_state || m_state->destroying)
        return FALSE;
    const HWND hwnd = m_hWnd;
    m_state->destroying = true;
    CWinApp* app = AfxGetApp();
    const bool isMain = app && app->m_pMainWnd == this;

    SendMessage(WM_DESTROY);
    // Children go after their parent has seen WM_DESTROY, last first.
    while (!m_state->children.empty())
        m_state->children.back()->DestroyWindow();

    if (lumo::captureWindow() == this)
        lumo::setCaptureWindow(nullptr);
    if (lumo::g_focus == this)
        lumo::g_focus = nullptr;
    lumo::forgetWindowTimers(hwnd);
    lumo::forgetWindowMessages(hwnd);
    if (CWnd* parent = m_state->parent) {
        auto& siblings = parent->m_state->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        if (m_state->visible)
            parent->InvalidateRect(&m_state->rect, TRUE);
    } else {
        auto& tops = lumo::topLevels();
        tops.erase(std::remove(tops.begin(), tops.end(), this), tops.end());
        if (m_state->surface) {
            m_state->surface->detach();
            m_state->surface = nullptr;
        }
    }
    lumo::liveWindows().erase(this);
    m_hWnd = nullptr;
    delete m_state;
    m_state = nullptr;

    if (isMain) {
        app->m_pMainWnd = nullptr;
        PostQuitMessage(0);
    }
    PostNcDestroy();
    return TRUE;
}

void CWnd::PostNcDestroy() {}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_hWnd)
        return 0;
    const MSG previous = lumo::g_currentMessage;
    lumo::g_currentMessage = MSG{m_hWnd, message, wParam, lParam, previous.time, previous.pt};
    const LRESULT result = WindowProc(message, wParam, lParam);
    lumo::g_currentMessage = previous;
    return result;
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessage(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const MSG& msg = lumo::g_currentMessage;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        LRESULT result = 0;
        if (!OnNotify(wParam, lParam, &result))
            return FALSE;
        *pResult = result;
        return TRUE;
    }
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, 0, 0);
    if (!entry)
        return FALSE;
    *pResult = entry->pfn(this, wParam, lParam, nullptr);
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    // Menus and accelerators (no control window) send plain commands.
    const int code = lParam == 0 ? static_cast<int>(CN_COMMAND) : HIWORD(wParam);
    return OnCmdMsg(id, code, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (!header)
        return FALSE;
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(WM_NOTIFY, static_cast<UINT>(header->code),
                                                     static_cast<UINT>(header->idFrom));
    if (!entry)
        return FALSE;
    entry->pfn(this, 0, reinterpret_cast<LPARAM>(pResult), header);
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: {
        CDC* dc = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
        if (!dc || !m_state)
            return 0;
        CRect client;
        GetClientRect(&client);
        dc->FillSolidRect(&client, m_state->background);
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(m_hWnd, &ps);
        EndPaint(m_hWnd, &ps);
        return 0;
    }
    case WM_CLOSE:
        DestroyWindow();
        return 0;
    case WM_MOUSEWHEEL:
        // An unhandled wheel goes up to the parent.
        if (CWnd* parent = GetParent())
            return parent->SendMessage(WM_MOUSEWHEEL, wParam, lParam);
        return 0;
    default:
        return 0;
    }
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

CWnd* CWnd::GetParent() const {
    return m_state ? m_state->parent : nullptr;
}

CWnd* CWnd::GetTopLevelParent() const {
    return m_state ? m_state->topLevel() : nullptr;
}

CFrameWnd* CWnd::GetParentFrame() const {
    for (CWnd* wnd = GetParent(); wnd; wnd = wnd->GetParent())
        if (wnd->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
            return static_cast<CFrameWnd*>(wnd);
    return nullptr;
}

CWnd* CWnd::GetDlgItem(int nID) const {
    if (!m_state)
        return nullptr;
    for (CWnd* child : m_state->children)
        if (static_cast<int>(child->m_state->id) == nID)
            return child;
    return nullptr;
}

int CWnd::GetDlgCtrlID() const {
    return m_state ? static_cast<int>(m_state->id) : 0;
}

DWORD CWnd::GetStyle() const {
    return m_state ? m_state->style : 0;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT) {
    if (!m_state)
        return FALSE;
    const DWORD style = (m_state->style & ~dwRemove) | dwAdd;
    if (style == m_state->style)
        return FALSE;
    m_state->style = style;
    return TRUE;
}

void CWnd::SetWindowText(LPCWSTR lpszString) {
    if (!m_state)
        return;
    if (setTextHook(lpszString ? lpszString : L""))
        return;
    m_state->text = lpszString ? lpszString : L"";
    if (m_state->surface)
        m_state->surface->setTitle(m_state->text);
}

void CWnd::GetWindowText(CString& rString) const {
    std::wstring text;
    if (m_state && getTextHook(text)) {
        rString = text;
        return;
    }
    rString = m_state ? CString(m_state->text) : CString();
}

CWnd* CWnd::SetFocus() {
    CWnd* previous = lumo::g_focus;
    if (m_state)
        lumo::g_focus = this;
    return previous;
}

CWnd* CWnd::GetFocus() {
    return lumo::g_focus;
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, void (*)(HWND, UINT, UINT_PTR, DWORD)) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, nullptr);
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent) {
    return ::KillTimer(m_hWnd, nIDEvent);
}

CWnd* CWnd::SetCapture() {
    CWnd* previous = lumo::captureWindow();
    if (m_state)
        lumo::setCaptureWindow(this);
    return previous;
}

CWnd* CWnd::GetCapture() {
    return lumo::captureWindow();
}

int CWnd::OnCreate(LPCREATESTRUCT) {
    return static_cast<int>(Default());
}
void CWnd::OnDestroy() {
    Default();
}
void CWnd::OnSize(UINT, int, int) {
    Default();
}
void CWnd::OnPaint() {
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnTimer(UINT_PTR) {
    Default();
}
void CWnd::OnClose() {
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint) {
    Default();
}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnKeyDown(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) {
    Default();
}
