#include "platform/testsupport/TestHooks.h"
#include "platform/ui/CommandBar.h"
#include "platform/ui/DC.h"
#include "platform/ui/DocTemplate.h"
#include "platform/ui/Document.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Resources.h"
#include "platform/ui/View.h"
#include "platform/ui/WinApp.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string>& trace() {
    static std::vector<std::string> log;
    return log;
}

constexpr UINT ID_ALL = 500;      // handled by everyone
constexpr UINT ID_DOC = 501;      // document and later
constexpr UINT ID_FRAME = 502;    // frame and application
constexpr UINT ID_APP_ONLY = 503; // application only

class CTraceDoc : public CDocument {
    DECLARE_DYNCREATE(CTraceDoc)
public:
    ~CTraceDoc() override { trace().push_back("doc deleted"); }
    BOOL OnNewDocument() override {
        trace().push_back("doc new");
        return CDocument::OnNewDocument();
    }
    void OnAll() { trace().push_back("doc all"); }
    void OnDoc() { trace().push_back("doc doc"); }

protected:
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTraceDoc, CDocument)
BEGIN_MESSAGE_MAP(CTraceDoc, CDocument)
ON_COMMAND(ID_ALL, &CTraceDoc::OnAll)
ON_COMMAND(ID_DOC, &CTraceDoc::OnDoc)
END_MESSAGE_MAP()

class CTraceView : public CView {
    DECLARE_DYNCREATE(CTraceView)
public:
    ~CTraceView() override { trace().push_back("view deleted"); }
    void OnDraw(CDC* pDC) override {
        trace().push_back("view draw");
        CRect r;
        GetClientRect(&r);
        pDC->FillSolidRect(&r, RGB(0, 128, 0));
    }
    void OnInitialUpdate() override {
        trace().push_back("view initial update");
        CView::OnInitialUpdate();
    }
    void OnAll() { trace().push_back("view all"); }

protected:
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTraceView, CView)
BEGIN_MESSAGE_MAP(CTraceView, CView)
ON_COMMAND(ID_ALL, &CTraceView::OnAll)
END_MESSAGE_MAP()

class CTraceFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CTraceFrame)
public:
    CToolBar bar;
    std::vector<int> notifications;
    std::vector<UINT> commands;
    int OnCreate(LPCREATESTRUCT lpcs) {
        if (CFrameWnd::OnCreate(lpcs) == -1)
            return -1;
        if (!bar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR))
            return -1;
        RecalcLayout();
        return 0;
    }
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        notifications.push_back(reinterpret_cast<NMHDR*>(lParam)->code);
        return CFrameWnd::OnNotify(wParam, lParam, pResult);
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        commands.push_back(LOWORD(wParam));
        return CFrameWnd::OnCommand(wParam, lParam);
    }
    void OnAll() { trace().push_back("frame all"); }
    void OnDoc() { trace().push_back("frame doc"); }
    void OnFrame() { trace().push_back("frame frame"); }

protected:
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTraceFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(CTraceFrame, CFrameWnd)
ON_WM_CREATE()
ON_COMMAND(ID_ALL, &CTraceFrame::OnAll)
ON_COMMAND(ID_DOC, &CTraceFrame::OnDoc)
ON_COMMAND(ID_FRAME, &CTraceFrame::OnFrame)
END_MESSAGE_MAP()

class CTraceApp : public CWinApp {
public:
    void OnAll() { trace().push_back("app all"); }
    void OnFrame() { trace().push_back("app frame"); }
    void OnAppOnly() { trace().push_back("app only"); }

protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTraceApp, CWinApp)
ON_COMMAND(ID_ALL, &CTraceApp::OnAll)
ON_COMMAND(ID_FRAME, &CTraceApp::OnFrame)
ON_COMMAND(ID_APP_ONLY, &CTraceApp::OnAppOnly)
END_MESSAGE_MAP()

constexpr UINT IDR_TRACE = 600;

class DocViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        trace().clear();
        lumo::test::resetHooks();
        lumo::test::resetQuit();
        lumo::ResourceSet set;
        set.strings[IDR_TRACE] = L"Trace\nTraceDoc\nTrace\n\n\nTrace.Document\nTrace.Document";
        set.accelerators[IDR_TRACE] = {{lumo::FVIRTKEY | lumo::FCONTROL, 'O', ID_FRAME},
                                       {lumo::FVIRTKEY, 0x75 /* F6 */, ID_DOC}};
        lumo::registerResources(nullptr, set);
        app.AddDocTemplate(new CSingleDocTemplate(IDR_TRACE, RUNTIME_CLASS(CTraceDoc),
                                                  RUNTIME_CLASS(CTraceFrame),
                                                  RUNTIME_CLASS(CTraceView)));
    }
    void TearDown() override {
        if (app.m_pMainWnd)
            app.m_pMainWnd->DestroyWindow();
        lumo::test::pumpMessages();
        lumo::test::resetQuit();
    }
    CTraceFrame* frame() { return static_cast<CTraceFrame*>(app.m_pMainWnd); }
    CTraceApp app;
};

TEST_F(DocViewTest, NewDocumentCommandCreatesFrameViewAndDocument) {
    CCommandLineInfo info;
    ASSERT_TRUE(app.ProcessShellCommand(info));
    ASSERT_NE(frame(), nullptr);
    EXPECT_TRUE(frame()->IsKindOf(RUNTIME_CLASS(CTraceFrame)));
    CView* view = frame()->GetActiveView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDlgCtrlID(), static_cast<int>(AFX_IDW_PANE_FIRST));
    CDocument* doc = view->GetDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(doc->IsKindOf(RUNTIME_CLASS(CTraceDoc)));
    EXPECT_EQ(doc->GetDocTemplate(), app.GetDocTemplates().front());
    EXPECT_EQ(frame()->GetActiveDocument(), doc);
    EXPECT_EQ(trace(), (std::vector<std::string>{"doc new", "view initial update"}));
    CString name;
    EXPECT_TRUE(app.GetDocTemplates().front()->GetDocString(name, CDocTemplate::regFileTypeId));
    EXPECT_EQ(name, L"Trace.Document");
    EXPECT_FALSE(app.GetDocTemplates().front()->GetDocString(name, CDocTemplate::filterExt));
    CString title;
    frame()->GetWindowText(title);
    EXPECT_EQ(title, L"Trace");
}

TEST_F(DocViewTest, TheBarSitsOnTopAndTheViewFillsTheRest) {
    CCommandLineInfo info;
    ASSERT_TRUE(app.ProcessShellCommand(info));
    frame()->ShowWindow(SW_SHOW);
    lumo::test::pumpMessages();
    CRect bar, view;
    frame()->bar.GetWindowRect(&bar);
    frame()->GetActiveView()->GetWindowRect(&view);
    EXPECT_EQ(bar, CRect(0, 0, 800, 26));
    EXPECT_EQ(view, CRect(0, 26, 800, 480));
    const QImage image = lumo::test::captureWindow(frame()->GetActiveView());
    EXPECT_EQ(image.pixel(10, 10), qRgb(0, 128, 0)) << "the view drew itself";
    frame()->MoveWindow(0, 0, 400, 300);
    frame()->GetActiveView()->GetWindowRect(&view);
    EXPECT_EQ(view, CRect(0, 26, 400, 300)) << "resizing the frame lays it out again";
}

TEST_F(DocViewTest, CommandsRouteViewDocumentFrameApplication) {
    CCommandLineInfo info;
    ASSERT_TRUE(app.ProcessShellCommand(info));
    trace().clear();
    for (UINT id : {ID_ALL, ID_DOC, ID_FRAME, ID_APP_ONLY})
        EXPECT_TRUE(frame()->SendMessage(WM_COMMAND, id, 0)) << id;
    EXPECT_EQ(trace(),
              (std::vector<std::string>{"view all", "doc doc", "frame frame", "app only"}));
    EXPECT_FALSE(frame()->OnCmdMsg(9999, CN_COMMAND, nullptr, nullptr));
    AFX_CMDHANDLERINFO info2{};
    EXPECT_TRUE(frame()->OnCmdMsg(ID_DOC, CN_COMMAND, nullptr, &info2));
    EXPECT_TRUE(info2.pTarget->IsKindOf(RUNTIME_CLASS(CTraceDoc))) << "only asks, does not run";
    EXPECT_EQ(trace().size(), 4u);
}

TEST_F(DocViewTest, OpeningAFileReusesTheFrameAndDocument) {
    CCommandLineInfo info;
    ASSERT_TRUE(app.ProcessShellCommand(info));
    CWnd* first = app.m_pMainWnd;
    lumo::test::TempDir dir;
    dir.write("book.txt", "x");
    CDocument* doc = app.OpenDocumentFile((dir / "book.txt").wstring().c_str());
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(app.m_pMainWnd, first);
    EXPECT_EQ(doc->GetTitle(), L"book.txt");
    EXPECT_EQ(app.OpenDocumentFile((dir / "missing.txt").wstring().c_str()), nullptr);
    EXPECT_EQ(app.m_pMainWnd, first) << "a failed open keeps the frame";
}

TEST_F(DocViewTest, ClosingTheMainWindowDeletesViewAndDocumentAndQuits) {
    CCommandLineInfo info;
    ASSERT_TRUE(app.ProcessShellCommand(info));
    trace().clear();
    frame()->PostMessage(WM_CLOSE);
    lumo::test::pumpMessages();
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(trace(), (std::vector<std::string>{"view deleted", "doc deleted"}));
    EXPECT_TRUE(lumo::test::quitRequested());
}

TEST_F(DocViewTest, TheExitCommandClosesTheMainWindow) {
    CCommandLineInfo info;
    ASSERT_TRUE(app.ProcessShellCommand(info));
    EXPECT_TRUE(frame()->SendMessage(WM_COMMAND, ID_APP_EXIT, 0));
    EXPECT_NE(app.m_pMainWnd, nullptr) << "not while the command runs";
    lumo::test::pumpMessages();
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_TRUE(lumo::test::quitRequested());
}

TEST_F(DocViewTest, TheCommandLineNamesAFileToOpen) {
    CWinApp::SetCommandLineArguments({L"-flag", L"/books/a.txt", L"/books/b.txt"});
    CCommandLineInfo info;
    app.ParseCommandLine(info);
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(info.m_strFileName, L"/books/a.txt");
    CWinApp::SetCommandLineArguments({});
    CCommandLineInfo none;
    app.ParseCommandLine(none);
    EXPECT_EQ(none.m_nShellCommand, CCommandLineInfo::FileNew);
}

TEST_F(DocViewTest, AcceleratorsOfTheFrameResourceBecomeCommands) {
    CCommandLineInfo info;
    ASSERT_TRUE(app.ProcessShellCommand(info));
    lumo::test::pumpMessages();
    trace().clear();
    CView* view = frame()->GetActiveView();
    lumo::test::key(view, 'O', lumo::FCONTROL);
    lumo::test::key(view, 0x75);
    lumo::test::key(view, 'O'); // without Ctrl: no accelerator
    lumo::test::key(view, 0x75, lumo::FSHIFT);
    EXPECT_EQ(trace(), (std::vector<std::string>{"frame frame", "doc doc"}));
}

TEST(DocViewNoTemplate, NewDocumentFailsWithoutTemplates) {
    CTraceApp app;
    CCommandLineInfo info;
    EXPECT_FALSE(app.ProcessShellCommand(info));
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST_F(DocViewTest, CommandBarButtonsNotifyAndCommand) {
    CCommandLineInfo info;
    ASSERT_TRUE(app.ProcessShellCommand(info));
    CToolBarCtrl& ctrl = frame()->bar.GetToolBarCtrl();
    EXPECT_EQ(ctrl.GetButtonCount(), 2) << "the bar's own two buttons";
    EXPECT_EQ(ctrl.AddString(L"ファイル"), 0);
    EXPECT_EQ(ctrl.AddString(L"編集"), 1);
    for (int i = 0; i < 2; ++i) {
        TBBUTTON button{I_IMAGENONE, 256 + i, TBSTATE_ENABLED, TBSTYLE_AUTOSIZE, 0, i};
        ASSERT_TRUE(ctrl.InsertButton(i, &button));
    }
    EXPECT_EQ(ctrl.GetButtonCount(), 4);
    CRect r0, r1, own;
    ctrl.GetItemRect(0, &r0);
    ctrl.GetItemRect(1, &r1);
    EXPECT_EQ(r0.left, 0);
    EXPECT_EQ(r1.left, r0.right);
    EXPECT_EQ(r0.Width(), 4 * 12 + 12) << "four full-width characters and padding";
    TBBUTTONINFO width{sizeof(TBBUTTONINFO), TBIF_SIZE, 0, 0, 0, 0, 24, 0, nullptr, 0};
    ASSERT_TRUE(ctrl.SetButtonInfo(CToolBar::ID_MINIMIZE, &width));
    ctrl.GetItemRect(2, &own);
    EXPECT_EQ(own.Width(), 24);
    EXPECT_TRUE(ctrl.SetState(257, TBSTATE_ENABLED | TBSTATE_PRESSED));
    EXPECT_EQ(ctrl.GetState(257), TBSTATE_ENABLED | TBSTATE_PRESSED);
    EXPECT_EQ(ctrl.GetState(999), -1);

    lumo::test::tap(&frame()->bar, r1.CenterPoint());
    EXPECT_EQ(frame()->notifications, (std::vector<int>{NM_LDOWN}));
    EXPECT_EQ(frame()->commands, (std::vector<UINT>{257}));
    CPoint corner = r1.TopLeft();
    EXPECT_EQ(ctrl.HitTest(&corner), 1);
    CPoint outside(700, 5);
    EXPECT_EQ(ctrl.HitTest(&outside), -1);

    EXPECT_TRUE(ctrl.DeleteButton(0));
    EXPECT_FALSE(ctrl.DeleteButton(10));
    EXPECT_EQ(ctrl.CommandToIndex(257), 0);

    frame()->ShowWindow(SW_SHOW);
    ctrl.GetItemRect(ctrl.CommandToIndex(CToolBar::ID_MINIMIZE), &own);
    lumo::test::tap(&frame()->bar, own.CenterPoint());
    EXPECT_TRUE(frame()->IsIconic());
    ctrl.GetItemRect(ctrl.CommandToIndex(CToolBar::ID_CLOSE), &own);
    lumo::test::tap(&frame()->bar, own.CenterPoint());
    EXPECT_EQ(app.m_pMainWnd, nullptr) << "the close button closes the frame the normal way";
}

} // namespace
