// The whole layer at once: a frame with a command bar and a view that paints
// Japanese text, a scripted tap, timer ticks, a dialog and a pop-up menu
// answered through the hooks, and the frame buffer captured at the end, both
// through the test hook and through LUMO_SCREENSHOT.

#include "platform/testsupport/TestHooks.h"
#include "platform/ui/CommandBar.h"
#include "platform/ui/DC.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/DocTemplate.h"
#include "platform/ui/Document.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Resources.h"
#include "platform/ui/View.h"
#include "platform/ui/WinApp.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cwchar>

namespace {

constexpr UINT IDR_DEMO = 800;
constexpr UINT IDD_DEMO = 801;
constexpr UINT IDC_RUBY = 802;
constexpr UINT ID_DEMO_INVERT = 803;
constexpr UINT ID_DEMO_OTHER = 804;
const wchar_t* const TEXT = L"吾輩は猫である";

class CDemoDoc : public CDocument {
    DECLARE_DYNCREATE(CDemoDoc)
};
IMPLEMENT_DYNCREATE(CDemoDoc, CDocument)

class CDemoDialog : public CDialog {
public:
    CDemoDialog() : CDialog(IDD_DEMO) {}
    int showRuby = 0;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Check(pDX, IDC_RUBY, showRuby); }
};

class CDemoView : public CView {
    DECLARE_DYNCREATE(CDemoView)
public:
    int ticks = 0;
    int showRuby = 0;
    bool inverted = false;
    CRect textRect;

    void OnDraw(CDC* pDC) override {
        LOGFONT lf{};
        lf.lfHeight = -24;
        lf.lfWeight = FW_NORMAL;
        std::wcscpy(lf.lfFaceName, L"ＭＳ ゴシック");
        CFont font;
        font.CreateFontIndirect(&lf);
        CFont* old = pDC->SelectObject(&font);
        pDC->SetTextColor(inverted ? RGB(255, 255, 255) : RGB(0, 0, 0));
        pDC->SetBkColor(inverted ? RGB(0, 0, 0) : RGB(255, 255, 255));
        pDC->SetBkMode(OPAQUE);
        const CSize extent = pDC->GetTextExtent(CString(TEXT));
        textRect = CRect(CPoint(10, 10), extent);
        pDC->TextOut(10, 10, CString(TEXT));
        pDC->SelectObject(old);
    }
    void OnLButtonUp(UINT, CPoint) { SetTimer(100, 100); }
    void OnTimer(UINT_PTR id) {
        if (id != 100 || ++ticks < 3)
            return;
        KillTimer(100);
        CDemoDialog dialog;
        if (dialog.DoModal() == IDOK)
            showRuby = dialog.showRuby;
        CMenu menu;
        menu.CreatePopupMenu();
        menu.AppendMenu(MF_STRING, ID_DEMO_INVERT, L"反転");
        menu.AppendMenu(MF_STRING, ID_DEMO_OTHER, L"その他");
        CPoint at(20, 20);
        ClientToScreen(&at);
        menu.TrackPopupMenu(TPM_LEFTALIGN, at.x, at.y, GetParentFrame());
    }
    void OnInvert() {
        inverted = true;
        Invalidate(TRUE);
    }

protected:
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CDemoView, CView)
BEGIN_MESSAGE_MAP(CDemoView, CView)
ON_WM_LBUTTONUP()
ON_WM_TIMER()
ON_COMMAND(ID_DEMO_INVERT, &CDemoView::OnInvert)
END_MESSAGE_MAP()

class CDemoFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CDemoFrame)
public:
    CToolBar bar;
    int OnCreate(LPCREATESTRUCT lpcs) {
        if (CFrameWnd::OnCreate(lpcs) == -1 || !bar.Create(this))
            return -1;
        RecalcLayout();
        return 0;
    }

protected:
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CDemoFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(CDemoFrame, CFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

class CDemoApp : public CWinApp {
public:
    BOOL InitInstance() override {
        lumo::ResourceSet set;
        set.strings[IDR_DEMO] = L"Demo\n\nDemo\n\n\nDemo.Document\nDemo.Document";
        lumo::DialogTemplate dialog;
        dialog.caption = L"表示";
        dialog.cx = 120;
        dialog.cy = 50;
        dialog.controls = {
            {lumo::ControlKind::CheckBox, IDC_RUBY, L"ルビを表示", 7, 7, 60, 10, 0, {}},
            {lumo::ControlKind::DefPushButton, IDOK, L"OK", 7, 30, 50, 14, 0, {}},
            {lumo::ControlKind::PushButton, IDCANCEL, L"キャンセル", 63, 30, 50, 14, 0, {}},
        };
        set.dialogs[IDD_DEMO] = dialog;
        lumo::registerResources(nullptr, set);
        AddDocTemplate(new CSingleDocTemplate(IDR_DEMO, RUNTIME_CLASS(CDemoDoc),
                                              RUNTIME_CLASS(CDemoFrame), RUNTIME_CLASS(CDemoView)));
        CCommandLineInfo info;
        if (!ProcessShellCommand(info))
            return FALSE;
        m_pMainWnd->ShowWindow(SW_SHOW);
        m_pMainWnd->UpdateWindow();
        return TRUE;
    }
};

int countInk(const QImage& image, const CRect& r, QRgb paper) {
    int ink = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            ink += image.pixel(x, y) != paper;
    return ink;
}

TEST(Demo, FrameViewTapTimersDialogMenuAndCapturedText) {
    lumo::test::resetHooks();
    lumo::test::resetQuit();
    lumo::test::installManualClock(0);
    CDemoApp app;
    ASSERT_TRUE(app.InitInstance());
    auto* frame = static_cast<CDemoFrame*>(app.m_pMainWnd);
    auto* view = static_cast<CDemoView*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);

    QImage image = lumo::test::captureWindow(view);
    ASSERT_FALSE(view->textRect.IsRectEmpty());
    EXPECT_EQ(view->textRect.Width(), 7 * 24) << "seven full-width characters at 24 px";
    const int ink = countInk(image, view->textRect, qRgb(255, 255, 255));
    EXPECT_GT(ink, 200) << "the text is in the frame buffer";
    EXPECT_EQ(countInk(image, CRect(view->textRect.right, 0, 400, 60), qRgb(255, 255, 255)), 0)
        << "and nothing beyond its measured extent";

    lumo::test::driveNextDialog([](lumo::test::DialogDriver& d) {
        EXPECT_EQ(d.caption(), L"表示");
        d.click(IDC_RUBY);
        d.press(IDOK);
    });
    lumo::test::answerNextPopupMenuByText({L"反転"});
    lumo::test::tap(view, POINT{100, 100});
    lumo::test::advanceClock(250);
    EXPECT_EQ(view->ticks, 2);
    EXPECT_EQ(view->showRuby, 0);
    lumo::test::advanceClock(50);
    EXPECT_EQ(view->ticks, 3);
    EXPECT_EQ(view->showRuby, 1) << "the dialog ran through the hook";
    EXPECT_TRUE(view->inverted) << "the menu command was routed from the frame to the view";
    ASSERT_EQ(lumo::test::popupMenus().size(), 1u);
    CPoint expectedAt(20, 20);
    view->ClientToScreen(&expectedAt);
    EXPECT_EQ(lumo::test::popupMenus()[0].at.y, expectedAt.y);

    image = lumo::test::captureWindow(view);
    EXPECT_GT(countInk(image, view->textRect, qRgb(0, 0, 0)), 200)
        << "white text on black after the repaint";
    EXPECT_EQ(image.pixel(view->textRect.left, view->textRect.top), qRgb(0, 0, 0));

    // The program's screenshot path: written at the first idle moment, then
    // the main window closes the normal way.
    const CRect textRect = view->textRect; // the view goes with the window
    lumo::test::TempDir dir;
    const std::string shot = (dir / "shot.png").string();
    setenv("LUMO_SCREENSHOT", shot.c_str(), 1);
    lumo::test::pumpMessages();
    unsetenv("LUMO_SCREENSHOT");
    QImage written(QString::fromStdString(shot));
    ASSERT_FALSE(written.isNull());
    EXPECT_EQ(written.size(), QSize(800, 480));
    EXPECT_GT(
        countInk(written,
                 CRect(textRect.left, textRect.top + 26, textRect.right, textRect.bottom + 26),
                 qRgb(0, 0, 0)),
        200)
        << "the view sits below the 26-pixel command bar";
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_TRUE(lumo::test::quitRequested());
    lumo::test::resetQuit();
    lumo::test::uninstallManualClock();
}

} // namespace
