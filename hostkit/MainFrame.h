#pragma once

#include "HostkitExport.h"

#include "platform/ui/CommandBar.h"
#include "platform/ui/FrameWnd.h"

#include <map>
#include <string>

struct SDocumentTypeInformation;

// The host's single top-level window. Instead of a window menu it carries a
// command bar with one drop-down button per top-level popup of a menu it
// assembles from the program's menu 128, the current document type's menu and
// the tools' menus. It holds one view at a time and replaces document and view
// when a file is opened (WM_USER+1 from the document-type registry), runs the
// open-file dialog and keeps the six-entry recent-file history in "lumo.main".
// While it exists it writes the option store to the configuration file
// SAVE_OPTIONS_DELAY ms after the options last changed (a reader's position
// as the pages turn), so the file is current even if the exit path never runs.
//
// Private messages (each handler returns 0):
//   WM_USER+1  switch document and view (type record, path)
//   WM_USER+2  open the drop-down of top-level popup wParam
//   WM_USER+3  command-bar operation (wParam, lParam)
//   WM_USER+4  rebuild menu and command bar
//   WM_USER+5  pop the whole menu up at the screen point packed in lParam
//   WM_USER+6  recompute the layout
class HOSTKIT_API CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    static constexpr UINT SAVE_OPTIONS_DELAY = 3000;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Shows `path` through the type that claims it, or tells the user that no
    // viewer is registered; on success the path goes to the top of the history.
    void openFile(const std::wstring& path);

    CToolBar commandBar;
    HMENU currentMenu;
    int droppedMenuIndex;
    std::map<std::wstring, int> barStringIndex;

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnPaint();
    void OnDestroy();
    void OnTimer(UINT_PTR nIDEvent);

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    LRESULT OnSwitchDocumentView(WPARAM wParam, LPARAM lParam);
    LRESULT OnDropDownMenu(WPARAM wParam, LPARAM lParam);
    LRESULT OnCommandBarOperation(WPARAM wParam, LPARAM lParam);
    LRESULT OnRebuildMenu(WPARAM wParam, LPARAM lParam);
    LRESULT OnShowMenuAtPoint(WPARAM wParam, LPARAM lParam);
    LRESULT OnRecalcLayout(WPARAM wParam, LPARAM lParam);
    void OnFileOpen();
    void OnUpdateBarButton(CCmdUI* pCmdUI);
    void OnRecentFile(UINT nID);
    void OnUpdateRecentFile(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()

private:
    HMENU assembleMenu();
    void rebuildCommandBar(HMENU menu);
    void dropDown(int index);
};
