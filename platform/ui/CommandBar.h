#pragma once

#include "platform/ui/Window.h"

#include <string>
#include <vector>

// A bar docked along the top of a frame (RecalcLayout stacks them).
class PLATFORMUI_API CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    virtual int GetFixedHeight() const { return 26; }
};

struct TBBUTTON {
    int iBitmap;
    int idCommand;
    BYTE fsState;
    BYTE fsStyle;
    UINT_PTR dwData;
    INT_PTR iString; // index in the bar's string list, or a string pointer
};

constexpr DWORD TBIF_TEXT = 0x00000002;
constexpr DWORD TBIF_STATE = 0x00000004;
constexpr DWORD TBIF_STYLE = 0x00000008;
constexpr DWORD TBIF_COMMAND = 0x00000020;
constexpr DWORD TBIF_SIZE = 0x00000040;

struct TBBUTTONINFO {
    UINT cbSize;
    DWORD dwMask;
    int idCommand;
    int iImage;
    BYTE fsState;
    BYTE fsStyle;
    WORD cx;
    UINT_PTR lParam;
    LPWSTR pszText;
    int cchText;
};

class CToolBar;

// The button interface of a command bar (the bar's own window).
class PLATFORMUI_API CToolBarCtrl {
public:
    explicit CToolBarCtrl(CToolBar* bar) : m_bar(bar) {}
    int AddString(LPCWSTR lpszString);
    // Inserts before nIndex (appends when nIndex is past the end).
    BOOL InsertButton(int nIndex, const TBBUTTON* lpButton);
    BOOL DeleteButton(int nIndex);
    int GetButtonCount() const;
    BOOL GetButton(int nIndex, TBBUTTON* lpButton) const;
    // The button's rectangle in the bar's client coordinates.
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const;
    int CommandToIndex(UINT nID) const;
    // The index of the button under a client point, -1 when none.
    int HitTest(LPPOINT ppt) const;
    BOOL SetState(int nID, UINT nState);
    int GetState(int nID) const;
    BOOL SetButtonInfo(int nID, const TBBUTTONINFO* ptbbi);

    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    CToolBar* bar() const { return m_bar; }

private:
    CToolBar* m_bar;
};

// The command bar: a toolbar of text buttons along the top of the frame.
// It starts with two buttons of its own at the end: command 16 (minimise the
// top-level window) and command 17 (close it). A pen-down on any button sends
// WM_NOTIFY NM_LDOWN to the parent (sender id = the bar's id); a pen-up on the
// same, enabled button sends WM_COMMAND with its command id, except for the
// bar's own two buttons, which act themselves. Buttons paint pressed while
// their state carries TBSTATE_PRESSED.
class PLATFORMUI_API CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    static constexpr UINT ID_MINIMIZE = 16;
    static constexpr UINT ID_CLOSE = 17;

    CToolBar();
    ~CToolBar() override;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                UINT nID = AFX_IDW_TOOLBAR);
    CToolBarCtrl& GetToolBarCtrl() { return m_ctrl; }
    int GetFixedHeight() const override { return 26; }

    struct Button {
        int idCommand = 0;
        BYTE state = TBSTATE_ENABLED;
        BYTE style = TBSTYLE_BUTTON;
        std::wstring text;
        int width = 0; // explicit width, 0 = from the text
        UINT_PTR data = 0;
    };
    const std::vector<Button>& buttons() const { return m_buttons; }
    std::vector<Button>& buttons() { return m_buttons; }
    std::vector<std::wstring>& strings() { return m_strings; }
    const std::vector<std::wstring>& strings() const { return m_strings; }
    CRect buttonRect(int index) const;
    void changed();

    void OnPaint();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);

protected:
    DECLARE_MESSAGE_MAP()

private:
    std::vector<Button> m_buttons;
    std::vector<std::wstring> m_strings;
    CToolBarCtrl m_ctrl;
    int m_downIndex = -1;
};
