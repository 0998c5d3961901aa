#include "platform/core/CString.h"
#include "platform/testsupport/TestHooks.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Resources.h"

#include <gtest/gtest.h>

namespace {

// A module handle of our own for resource registration.
HINSTANCE testModule() {
    static int anchor;
    return reinterpret_cast<HINSTANCE>(&anchor);
}

using lumo::MenuTemplateItem;

void registerTestMenu() {
    lumo::ResourceSet set;
    set.menus[300] = {
        MenuTemplateItem::popup(L"File", {MenuTemplateItem::command(L"Open", 10),
                                          MenuTemplateItem::separator(),
                                          MenuTemplateItem::command(L"Exit", 11, MF_GRAYED)}),
        MenuTemplateItem::command(L"Top", 12)};
    lumo::registerResources(testModule(), set);
}

TEST(Menu, LoadsFromAModuleResourceAndReadsItemsByPosition) {
    registerTestMenu();
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(testModule(), 300));
    EXPECT_EQ(menu.GetMenuItemCount(), 2u);
    CMenu* file = menu.GetSubMenu(0);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(menu.GetSubMenu(1), nullptr);
    EXPECT_EQ(menu.GetMenuItemID(0), static_cast<UINT>(-1)) << "a popup has no id";
    EXPECT_EQ(menu.GetMenuItemID(1), 12u);
    EXPECT_EQ(menu.GetMenuItemID(5), static_cast<UINT>(-1)) << "out of range";
    CString text;
    file->GetMenuString(2, text, MF_BYPOSITION);
    EXPECT_EQ(text, L"Exit");
    file->GetMenuString(1, text, MF_BYPOSITION);
    EXPECT_EQ(text, L"");
    EXPECT_EQ(file->GetMenuState(1, MF_BYPOSITION), MF_SEPARATOR);
    EXPECT_EQ(file->GetMenuState(11, MF_BYCOMMAND), MF_GRAYED);
    EXPECT_EQ(menu.GetMenuState(0, MF_BYPOSITION), (3u << 8) | MF_POPUP);
    EXPECT_EQ(menu.GetMenuState(99, MF_BYCOMMAND), static_cast<UINT>(-1));
    // By command searches the submenus too.
    menu.GetMenuString(10, text, MF_BYCOMMAND);
    EXPECT_EQ(text, L"Open");
    CMenu missing;
    EXPECT_FALSE(missing.LoadMenu(testModule(), 301));
    lumo::unregisterResources(testModule());
}

TEST(Menu, LoadedMenusAreIndependentCopies) {
    registerTestMenu();
    CMenu a, b;
    a.LoadMenu(testModule(), 300);
    b.LoadMenu(testModule(), 300);
    a.GetSubMenu(0)->DeleteMenu(0, MF_BYPOSITION);
    EXPECT_EQ(b.GetSubMenu(0)->GetMenuItemCount(), 3u);
    lumo::unregisterResources(testModule());
}

TEST(Menu, EditsByPositionAndByCommand) {
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    EXPECT_TRUE(menu.AppendMenu(MF_STRING, 1, L"one"));
    EXPECT_TRUE(menu.AppendMenu(MF_STRING, 3, L"three"));
    EXPECT_TRUE(menu.InsertMenu(1, MF_BYPOSITION | MF_STRING, 2, L"two"));
    EXPECT_TRUE(menu.InsertMenu(3, MF_BYCOMMAND | MF_STRING, 4, L"before three"));
    EXPECT_FALSE(menu.InsertMenu(77, MF_BYCOMMAND | MF_STRING, 5, L"nowhere"));
    EXPECT_TRUE(menu.InsertMenu(100, MF_BYPOSITION | MF_STRING, 6, L"end"));
    CString text;
    menu.GetMenuString(2, text, MF_BYPOSITION);
    EXPECT_EQ(text, L"before three");
    menu.GetMenuString(4, text, MF_BYPOSITION);
    EXPECT_EQ(text, L"end");
    EXPECT_TRUE(menu.ModifyMenu(2, MF_BYCOMMAND | MF_STRING, 20, L"zwei"));
    EXPECT_EQ(menu.GetMenuItemID(1), 20u);
    EXPECT_TRUE(menu.DeleteMenu(20, MF_BYCOMMAND));
    EXPECT_FALSE(menu.DeleteMenu(20, MF_BYCOMMAND));
    EXPECT_TRUE(menu.DeleteMenu(0, MF_BYPOSITION));
    EXPECT_EQ(menu.GetMenuItemCount(), 3u);
    EXPECT_EQ(menu.CheckMenuItem(3, MF_BYCOMMAND | MF_CHECKED), 0u);
    EXPECT_EQ(menu.GetMenuState(3, MF_BYCOMMAND), MF_CHECKED);
    EXPECT_EQ(menu.EnableMenuItem(99, MF_BYCOMMAND | MF_GRAYED), static_cast<UINT>(-1));
}

TEST(Menu, DeleteDestroysASubmenu) {
    CMenu menu;
    menu.CreateMenu();
    HMENU a = CreatePopupMenu();
    HMENU b = CreatePopupMenu();
    menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(a), L"a");
    menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(b), L"b");
    menu.DeleteMenu(0, MF_BYPOSITION);
    EXPECT_FALSE(IsMenu(a));
    EXPECT_TRUE(IsMenu(b));
    EXPECT_EQ(CMenu::FromHandle(a), nullptr);
    DestroyMenu(b);
    EXPECT_FALSE(menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(b), L"gone"))
        << "a destroyed submenu";
}

TEST(Menu, DestroyingAMenuDestroysItsSubmenusAndWrappers) {
    HMENU top = CreateMenu();
    HMENU inner = CreatePopupMenu();
    AppendMenu(top, MF_POPUP, reinterpret_cast<UINT_PTR>(inner), L"inner");
    CMenu* wrapper = CMenu::FromHandle(inner);
    ASSERT_NE(wrapper, nullptr);
    EXPECT_EQ(wrapper->m_hMenu, inner);
    EXPECT_TRUE(DestroyMenu(top));
    EXPECT_FALSE(IsMenu(inner));
    EXPECT_FALSE(DestroyMenu(top));
    EXPECT_EQ(GetMenuItemCount(top), -1);
    EXPECT_EQ(GetSubMenu(nullptr, 0), nullptr);
}

TEST(Menu, AStaleHandleNeverReachesANewerMenu) {
    HMENU old = CreatePopupMenu();
    DestroyMenu(old);
    for (int i = 0; i < 100; ++i) {
        HMENU fresh = CreatePopupMenu();
        EXPECT_NE(fresh, old);
        DestroyMenu(fresh);
    }
    EXPECT_FALSE(AppendMenu(old, MF_STRING, 1, L"x"));
    EXPECT_FALSE(DestroyMenu(old));
}

TEST(Menu, AWrapperDestroysItsMenuUnlessDetached) {
    HMENU kept;
    {
        CMenu menu;
        menu.CreatePopupMenu();
        kept = menu.Detach();
    }
    EXPECT_TRUE(IsMenu(kept));
    HMENU dropped;
    {
        CMenu menu;
        menu.Attach(kept);
        dropped = menu.m_hMenu;
    }
    EXPECT_FALSE(IsMenu(dropped));
}

// A frame that handles command 10, asks for the state of 11 and handles
// nothing for 12.
class CMenuFrame : public CFrameWnd {
public:
    int opened = 0;
    void OnOpen() { ++opened; }
    void OnUpdateExit(CCmdUI* ui) {
        ui->SetText(L"Leave");
        ui->Enable(TRUE);
    }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMenuFrame, CFrameWnd)
ON_COMMAND(10, &CMenuFrame::OnOpen)
ON_COMMAND(11, &CMenuFrame::OnOpen)
ON_UPDATE_COMMAND_UI(11, &CMenuFrame::OnUpdateExit)
END_MESSAGE_MAP()

TEST(PopupMenu, StatesAreAskedFirstAndTheChosenCommandIsPosted) {
    lumo::test::resetHooks();
    CMenuFrame* frame = new CMenuFrame;
    ASSERT_TRUE(frame->CreateEx(0, nullptr, L"f", WS_OVERLAPPED, RECT{0, 0, 100, 100}, nullptr, 0));
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, 10, L"Open");
    menu.AppendMenu(MF_STRING | MF_GRAYED, 11, L"Exit");
    menu.AppendMenu(MF_STRING, 12, L"Nobody");
    lumo::test::answerNextPopupMenu(10);
    EXPECT_TRUE(menu.TrackPopupMenu(TPM_LEFTALIGN, 40, 50, frame));
    ASSERT_EQ(lumo::test::popupMenus().size(), 1u);
    const auto& record = lumo::test::popupMenus().back();
    EXPECT_EQ(record.at.x, 40);
    EXPECT_EQ(record.items[1].text, L"Leave");
    EXPECT_EQ(record.items[1].state & MF_GRAYED, 0u) << "enabled by its state handler";
    EXPECT_EQ(record.items[2].state & MF_GRAYED, MF_GRAYED) << "no handler: disabled";
    EXPECT_EQ(frame->opened, 0) << "the command is posted, not sent";
    lumo::test::pumpMessages();
    EXPECT_EQ(frame->opened, 1);

    // A disabled item cannot be chosen; dismissing chooses nothing.
    lumo::test::answerNextPopupMenu(12);
    EXPECT_FALSE(menu.TrackPopupMenu(TPM_LEFTALIGN, 0, 0, frame));
    EXPECT_FALSE(menu.TrackPopupMenu(TPM_LEFTALIGN, 0, 0, frame)) << "no answer queued: dismissed";
    lumo::test::answerNextPopupMenuByText({L"Leave"});
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, frame), 11);
    lumo::test::pumpMessages();
    EXPECT_EQ(frame->opened, 1) << "TPM_RETURNCMD posts nothing";
    EXPECT_FALSE(menu.TrackPopupMenu(0, 0, 0, nullptr)) << "no owner";
    frame->DestroyWindow();
}

} // namespace
