#include "platform/ui/Window.h"

#include "platform/ui/CommonDialogs.h"
#include "platform/ui/DC.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Resources.h"
#include "platform/ui/Surface.h"
#include "platform/ui/WinApp.h"
#include "platform/ui/WindowState.h"

#include <QPainter>

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

// The message being handled, for GetCurrentMessage and Default().
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

CWnd* WindowState::topLevel() const {
    const WindowState* s = this;
    while (s->parent)
        s = s->parent->state();
    return s->wnd;
}

QPoint WindowState::frameOffset() const {
    QPoint offset(0, 0);
    for (const WindowState* s = this; s->parent; s = s->parent->state())
        offset += QPoint(s->rect.left, s->rect.top);
    return offset;
}

bool WindowState::visibleInTree() const {
    for (const WindowState* s = this; s; s = s->parent ? s->parent->state() : nullptr)
        if (!s->visible)
            return false;
    return true;
}

QRegion WindowState::frameClip(bool clipChildren) const {
    const QPoint offset = frameOffset();
    QRegion region(QRect(offset.x(), offset.y(), rect.Width(), rect.Height()));
    // Every ancestor clips its descendants.
    for (const WindowState* s = this; s->parent; s = s->parent->state()) {
        const WindowState* p = s->parent->state();
        const QPoint po = p->frameOffset();
        region &= QRegion(QRect(po.x(), po.y(), p->rect.Width(), p->rect.Height()));
    }
    if (clipChildren) {
        for (CWnd* child : children) {
            const WindowState* c = child->state();
            if (c->visible)
                region -= QRegion(QRect(offset.x() + c->rect.left, offset.y() + c->rect.top,
                                        c->rect.Width(), c->rect.Height()));
        }
    }
    return region;
}

void WindowState::presentFrame() const {
    CWnd* top = topLevel();
    if (top && top->state()->surface)
        top->state()->surface->present();
}

void WindowState::presentFrameNow() const {
    CWnd* top = topLevel();
    if (top && top->state()->surface)
        top->state()->surface->presentNow();
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

const MSG* CWnd::GetCurrentMessage() {
    return &lumo::g_currentMessage;
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
void CWnd::SetDlgCtrlID(int nID) {
    if (m_state)
        m_state->id = static_cast<UINT>(nID);
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

int CWnd::GetWindowTextLength() const {
    CString text;
    GetWindowText(text);
    return text.GetLength();
}

CMenu* CWnd::GetMenu() const {
    return m_state ? CMenu::FromHandle(m_state->menu) : nullptr;
}

BOOL CWnd::SetMenu(CMenu* pMenu) {
    if (!m_state)
        return FALSE;
    m_state->menu = pMenu ? pMenu->m_hMenu : nullptr;
    return TRUE;
}

void CWnd::GetClientRect(LPRECT lpRect) const {
    if (!lpRect)
        return;
    *lpRect =
        m_state ? RECT{0, 0, m_state->rect.Width(), m_state->rect.Height()} : RECT{0, 0, 0, 0};
}

void CWnd::GetWindowRect(LPRECT lpRect) const {
    if (!lpRect)
        return;
    if (!m_state) {
        *lpRect = RECT{0, 0, 0, 0};
        return;
    }
    CRect r(0, 0, m_state->rect.Width(), m_state->rect.Height());
    ClientToScreen(&r);
    *lpRect = r;
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const {
    if (!lpPoint || !m_state)
        return;
    const QPoint offset = m_state->frameOffset();
    const CRect& top = m_state->topLevel()->m_state->rect;
    lpPoint->x += offset.x() + top.left;
    lpPoint->y += offset.y() + top.top;
}

void CWnd::ClientToScreen(LPRECT lpRect) const {
    if (!lpRect)
        return;
    POINT a{lpRect->left, lpRect->top}, b{lpRect->right, lpRect->bottom};
    ClientToScreen(&a);
    ClientToScreen(&b);
    *lpRect = RECT{a.x, a.y, b.x, b.y};
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const {
    if (!lpPoint || !m_state)
        return;
    POINT origin{0, 0};
    ClientToScreen(&origin);
    lpPoint->x -= origin.x;
    lpPoint->y -= origin.y;
}

void CWnd::ScreenToClient(LPRECT lpRect) const {
    if (!lpRect)
        return;
    POINT a{lpRect->left, lpRect->top}, b{lpRect->right, lpRect->bottom};
    ScreenToClient(&a);
    ScreenToClient(&b);
    *lpRect = RECT{a.x, a.y, b.x, b.y};
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
    if (!m_state)
        return;
    const CRect old = m_state->rect;
    const CRect next(x, y, x + std::max(nWidth, 0), y + std::max(nHeight, 0));
    if (old == next)
        return;
    m_state->rect = next;
    if (m_state->isTopLevel() && (old.Width() != next.Width() || old.Height() != next.Height())) {
        QImage frame(std::max(next.Width(), 1), std::max(next.Height(), 1), QImage::Format_RGB32);
        frame.fill(Qt::white);
        QPainter painter(&frame);
        painter.drawImage(0, 0, m_state->frame);
        painter.end();
        m_state->frame = std::move(frame);
        if (m_state->surface)
            m_state->surface->resizeToFrame();
    }
    if (bRepaint) {
        if (CWnd* parent = m_state->parent)
            parent->InvalidateRect(&old, TRUE);
        Invalidate(TRUE);
    }
    if (old.Width() != next.Width() || old.Height() != next.Height())
        SendMessage(WM_SIZE, SIZE_RESTORED,
                    MAKELPARAM(static_cast<WORD>(next.Width()), static_cast<WORD>(next.Height())));
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint) {
    if (lpRect)
        MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                   lpRect->bottom - lpRect->top, bRepaint);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    if (!m_state)
        return FALSE;
    const CRect r = m_state->rect;
    const int nx = (nFlags & SWP_NOMOVE) ? r.left : x;
    const int ny = (nFlags & SWP_NOMOVE) ? r.top : y;
    const int ncx = (nFlags & SWP_NOSIZE) ? r.Width() : cx;
    const int ncy = (nFlags & SWP_NOSIZE) ? r.Height() : cy;
    MoveWindow(nx, ny, ncx, ncy, TRUE);
    if (!(nFlags & SWP_NOZORDER) && m_state->parent && pWndInsertAfter == nullptr) {
        auto& siblings = m_state->parent->m_state->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        siblings.push_back(this);
    }
    if (nFlags & SWP_SHOWWINDOW)
        ShowWindow(SW_SHOW);
    if (nFlags & SWP_HIDEWINDOW)
        ShowWindow(SW_HIDE);
    return TRUE;
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    if (!m_state)
        return FALSE;
    const bool wasVisible = m_state->visible;
    switch (nCmdShow) {
    case SW_HIDE:
        m_state->visible = false;
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        m_state->visible = true;
        m_state->minimized = true;
        break;
    default:
        m_state->visible = true;
        m_state->minimized = false;
        break;
    }
    if (m_state->visible)
        m_state->style |= WS_VISIBLE;
    else
        m_state->style &= ~WS_VISIBLE;
    if (m_state->surface)
        m_state->surface->applyShowState(m_state->visible, m_state->minimized);
    showStateHook();
    if (m_state->visible != wasVisible) {
        if (m_state->visible) {
            Invalidate(TRUE);
            for (CWnd* child : m_state->children)
                if (child->m_state->visible)
                    child->Invalidate(TRUE);
            lumo::noteWindowShown();
        } else if (CWnd* parent = m_state->parent) {
            parent->InvalidateRect(&m_state->rect, TRUE);
        }
    }
    return wasVisible ? TRUE : FALSE;
}

BOOL CWnd::IsWindowVisible() const {
    return m_state && m_state->visibleInTree();
}
BOOL CWnd::IsIconic() const {
    return m_state && m_state->minimized;
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
    if (!m_state)
        return FALSE;
    const bool wasDisabled = !m_state->enabled;
    m_state->enabled = bEnable != FALSE;
    showStateHook();
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const {
    return m_state && m_state->enabled;
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

void CWnd::BringWindowToTop() {
    if (m_state && m_state->surface)
        m_state->surface->raiseWindow();
}

BOOL CWnd::SetForegroundWindow() {
    BringWindowToTop();
    return m_state != nullptr;
}

void CWnd::Invalidate(BOOL bErase) {
    InvalidateRect(nullptr, bErase);
}

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) {
    if (!m_state)
        return;
    const QRect client(0, 0, m_state->rect.Width(), m_state->rect.Height());
    const QRect area = lpRect ? QRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                                      lpRect->bottom - lpRect->top) &
                                    client
                              : client;
    if (area.isEmpty())
        return;
    m_state->update |= area;
    if (bErase)
        m_state->erase = true;
    lumo::wake();
}

void CWnd::ValidateRect(LPCRECT lpRect) {
    if (!m_state)
        return;
    if (!lpRect) {
        m_state->update = QRegion();
        m_state->erase = false;
        return;
    }
    m_state->update -= QRegion(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                               lpRect->bottom - lpRect->top);
    if (m_state->update.isEmpty())
        m_state->erase = false;
}

BOOL CWnd::GetUpdateRect(LPRECT lpRect, BOOL) {
    if (!m_state)
        return FALSE;
    const QRect r = m_state->update.boundingRect();
    if (lpRect)
        *lpRect = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    return !m_state->update.isEmpty();
}

void CWnd::UpdateWindow() {
    if (!m_state)
        return;
    if (!m_state->update.isEmpty() && m_state->visibleInTree()) {
        SendMessage(WM_PAINT);
        if (m_state) {
            // A handler that never called BeginPaint must not be asked forever.
            m_state->update = QRegion();
            m_state->erase = false;
        }
    }
    if (!m_state)
        return;
    const std::vector<CWnd*> children = m_state->children;
    for (CWnd* child : children)
        if (lumo::isLiveWindow(child))
            child->UpdateWindow();
    if (m_state && m_state->isTopLevel() && m_state->visible)
        m_state->painted = true;
}

CDC* CWnd::GetDC() {
    return CDC::FromHandle(::GetDC(m_hWnd));
}

int CWnd::ReleaseDC(CDC* pDC) {
    return pDC ? ::ReleaseDC(m_hWnd, pDC->m_hDC) : 0;
}

void CWnd::SetBackgroundColor(COLORREF color) {
    if (m_state)
        m_state->background = color;
}

COLORREF CWnd::GetBackgroundColor() const {
    return m_state ? m_state->background : RGB(255, 255, 255);
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

int CWnd::MessageBox(LPCWSTR lpszText, LPCWSTR lpszCaption, UINT nType) {
    return ::MessageBox(m_hWnd, lpszText, lpszCaption, nType);
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
void CWnd::OnMouseMove(UINT, CPoint) {
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

// ---- free functions --------------------------------------------------------

LRESULT SendMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = CWnd::FromHandle(hWnd);
    return wnd ? wnd->SendMessage(Msg, wParam, lParam)
               : lumo::foreignSendMessage(hWnd, Msg, wParam, lParam);
}

BOOL IsWindow(HWND hWnd) {
    return CWnd::FromHandle(hWnd) != nullptr || lumo::foreignIsWindow(hWnd);
}

BOOL DestroyWindow(HWND hWnd) {
    CWnd* wnd = CWnd::FromHandle(hWnd);
    return wnd ? wnd->DestroyWindow() : FALSE;
}

BOOL ShowWindow(HWND hWnd, int nCmdShow) {
    CWnd* wnd = CWnd::FromHandle(hWnd);
    return wnd ? wnd->ShowWindow(nCmdShow) : lumo::foreignShowWindow(hWnd, nCmdShow);
}

BOOL UpdateWindow(HWND hWnd) {
    CWnd* wnd = CWnd::FromHandle(hWnd);
    if (!wnd)
        return FALSE;
    wnd->UpdateWindow();
    return TRUE;
}

BOOL InvalidateRect(HWND hWnd, LPCRECT lpRect, BOOL bErase) {
    CWnd* wnd = CWnd::FromHandle(hWnd);
    if (!wnd)
        return FALSE;
    wnd->InvalidateRect(lpRect, bErase);
    return TRUE;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect) {
    CWnd* wnd = CWnd::FromHandle(hWnd);
    if (!wnd)
        return FALSE;
    wnd->GetClientRect(lpRect);
    return TRUE;
}

BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
    CWnd* wnd = CWnd::FromHandle(hWnd);
    if (!wnd)
        return FALSE;
    wnd->ClientToScreen(lpPoint);
    return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
    CWnd* wnd = CWnd::FromHandle(hWnd);
    if (!wnd)
        return FALSE;
    wnd->ScreenToClient(lpPoint);
    return TRUE;
}

HWND SetCapture(HWND hWnd) {
    CWnd* wnd = CWnd::FromHandle(hWnd);
    CWnd* previous = lumo::captureWindow();
    if (wnd)
        lumo::setCaptureWindow(wnd);
    return previous ? previous->m_hWnd : nullptr;
}

BOOL ReleaseCapture() {
    lumo::setCaptureWindow(nullptr);
    return TRUE;
}

HWND GetCapture() {
    CWnd* wnd = lumo::captureWindow();
    return wnd ? wnd->m_hWnd : nullptr;
}

BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
    CWnd* wnd = CWnd::FromHandle(hWnd);
    if (!wnd)
        return lumo::foreignSetWindowPos(hWnd, hWndInsertAfter, X, Y, cx, cy, uFlags);
    // Top-most ordering has no meaning for the single program window.
    const bool special = hWndInsertAfter == HWND_TOPMOST || hWndInsertAfter == HWND_NOTOPMOST;
    return wnd->SetWindowPos(special ? nullptr : CWnd::FromHandle(hWndInsertAfter), X, Y, cx, cy,
                             special ? (uFlags | SWP_NOZORDER) : uFlags);
}

BOOL SetForegroundWindow(HWND hWnd) {
    CWnd* wnd = CWnd::FromHandle(hWnd);
    return wnd ? wnd->SetForegroundWindow() : lumo::foreignSetForegroundWindow(hWnd);
}

UINT GetDoubleClickTime() {
    return 500;
}

int GetSystemMetrics(int nIndex) {
    switch (nIndex) {
    case SM_CXSCREEN:
        return 800;
    case SM_CYSCREEN:
        return 480;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
        return 4;
    default:
        return 0;
    }
}

SHORT GetKeyState(int nVirtKey) {
    const BYTE modifiers = lumo::currentKeyModifiers();
    const bool down = (nVirtKey == VK_SHIFT && (modifiers & 0x04)) ||
                      (nVirtKey == VK_CONTROL && (modifiers & 0x08)) ||
                      (nVirtKey == VK_MENU && (modifiers & 0x10));
    return down ? static_cast<SHORT>(0x8000) : 0;
}

HWND FindWindow(LPCWSTR lpClassName, LPCWSTR lpWindowName) {
    for (CWnd* wnd : lumo::topLevels()) {
        const WindowState* s = wnd->state();
        if (lpClassName && s->className != lpClassName)
            continue;
        if (lpWindowName && s->text != lpWindowName)
            continue;
        return wnd->m_hWnd;
    }
    // Other programs' windows are known by class name only.
    lumo::DesktopBackend* desktop = lumo::desktop();
    if (!desktop || !lpClassName || lpWindowName)
        return nullptr;
    for (HWND h : desktop->windows())
        if (lumo::isForeignHandle(h) && desktop->className(h) == std::wstring(lpClassName))
            return h;
    return nullptr;
}
