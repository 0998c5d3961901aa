#include "platform/testsupport/TestHooks.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/WinApp.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace {

HINSTANCE dialogModule() {
    static int anchor;
    return reinterpret_cast<HINSTANCE>(&anchor);
}

constexpr UINT IDD_TEST = 700;
constexpr UINT IDC_COLOR = 10;
constexpr UINT IDC_SIZE = 11;
constexpr UINT IDC_BOLD = 12;
constexpr UINT IDC_FOLDER = 13;
constexpr UINT IDC_CLEAR = 14;
constexpr UINT IDC_LEFT = 15;
constexpr UINT IDC_RIGHT = 16;
constexpr UINT IDC_SORTED = 17;

void registerTemplate() {
    using lumo::ControlKind;
    lumo::DialogTemplate t;
    t.caption = L"設定";
    t.cx = 100;
    t.cy = 80;
    t.controls = {
        {ControlKind::GroupBox, IDC_STATIC, L"基本", 2, 2, 96, 60, 0, {}},
        {ControlKind::ComboBox,
         IDC_COLOR,
         L"",
         4,
         10,
         40,
         50,
         0,
         {L"文字:黒/背景:白", L"文字:白/背景:黒"}},
        {ControlKind::ComboBox, IDC_SIZE, L"", 50, 10, 20, 50, 0, {L"8", L"10", L"12"}},
        {ControlKind::ComboBox, IDC_SORTED, L"", 72, 10, 20, 50, CBS_SORT, {L"c", L"a", L"b"}},
        {ControlKind::CheckBox, IDC_BOLD, L"太字", 4, 24, 40, 10, 0, {}},
        {ControlKind::Edit, IDC_FOLDER, L"", 4, 36, 60, 12, 0, {}},
        {ControlKind::PushButton, IDC_CLEAR, L"C", 66, 36, 14, 12, 0, {}},
        {ControlKind::RadioButton, IDC_LEFT, L"左", 4, 50, 20, 10, WS_GROUP, {}},
        {ControlKind::RadioButton, IDC_RIGHT, L"右", 30, 50, 20, 10, 0, {}},
        {ControlKind::DefPushButton, IDOK, L"OK", 20, 64, 30, 14, 0, {}},
        {ControlKind::PushButton, IDCANCEL, L"キャンセル", 60, 64, 30, 14, 0, {}},
    };
    lumo::ResourceSet set;
    set.dialogs[IDD_TEST] = t;
    lumo::registerResources(dialogModule(), set);
}

class CSettingsDialog : public CDialog {
public:
    CSettingsDialog() : CDialog(dialogModule(), IDD_TEST) {}
    int color = 1;
    CString size = L"10";
    int bold = 1;
    CString folder = L"/pictures";
    int clears = 0;

    void DoDataExchange(CDataExchange* pDX) override {
        DDX_CBIndex(pDX, IDC_COLOR, color);
        DDX_CBString(pDX, IDC_SIZE, size);
        DDX_Check(pDX, IDC_BOLD, bold);
        DDX_Text(pDX, IDC_FOLDER, folder);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (disableClear)
            GetDlgItem(IDC_CLEAR)->EnableWindow(FALSE);
        return TRUE;
    }
    bool disableClear = false;
    void OnClear() {
        ++clears;
        UpdateData(TRUE);
        folder.Empty();
        UpdateData(FALSE);
    }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSettingsDialog, CDialog)
ON_BN_CLICKED(IDC_CLEAR, &CSettingsDialog::OnClear)
END_MESSAGE_MAP()

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        lumo::test::resetHooks();
        registerTemplate();
    }
    void TearDown() override { lumo::unregisterResources(dialogModule()); }
};

TEST_F(DialogTest, ControlsShowTheMembersAndOkReadsThemBack) {
    CSettingsDialog dialog;
    lumo::test::driveNextDialog([](lumo::test::DialogDriver& d) {
        EXPECT_EQ(d.caption(), L"設定");
        EXPECT_EQ(d.comboItems(IDC_COLOR),
                  (std::vector<std::wstring>{L"文字:黒/背景:白", L"文字:白/背景:黒"}));
        EXPECT_EQ(d.comboItems(IDC_SORTED), (std::vector<std::wstring>{L"a", L"b", L"c"}));
        EXPECT_EQ(d.comboIndex(IDC_COLOR), 1);
        EXPECT_EQ(d.comboIndex(IDC_SIZE), 1);
        EXPECT_EQ(d.check(IDC_BOLD), 1);
        EXPECT_EQ(d.text(IDC_FOLDER), L"/pictures");
        d.click(IDC_RIGHT);
        EXPECT_EQ(d.check(IDC_RIGHT), 1);
        EXPECT_EQ(d.check(IDC_LEFT), 0);
        d.chooseComboIndex(IDC_COLOR, 0);
        d.chooseComboIndex(IDC_SIZE, 2);
        d.click(IDC_BOLD);
        d.typeText(IDC_FOLDER, L"/other");
        d.click(IDC_LEFT);
        EXPECT_EQ(d.check(IDC_RIGHT), 0) << "radio buttons of one group exclude each other";
        d.press(IDOK);
        EXPECT_TRUE(d.ended());
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.color, 0);
    EXPECT_EQ(dialog.size, L"12");
    EXPECT_EQ(dialog.bold, 0);
    EXPECT_EQ(dialog.folder, L"/other");
    EXPECT_FALSE(dialog.IsWindow()) << "controls and window go when the dialog ends";
}

TEST_F(DialogTest, CancelLeavesTheMembersAlone) {
    CSettingsDialog dialog;
    lumo::test::driveNextDialog([](lumo::test::DialogDriver& d) {
        d.chooseComboIndex(IDC_COLOR, 0);
        d.press(IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.color, 1);
    // A script that never ends the dialog cancels it.
    lumo::test::driveNextDialog(
        [](lumo::test::DialogDriver& d) { d.chooseComboIndex(IDC_COLOR, 0); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.color, 1);
    ASSERT_GE(lumo::test::dialogs().size(), 2u);
    EXPECT_EQ(lumo::test::dialogs().back().caption, L"設定");
}

TEST_F(DialogTest, StoredValuesOutsideTheListReadBackAsNothing) {
    struct Case {
        const char* name;
        int color;
        const wchar_t* size;
        int expectedColor;
        const wchar_t* expectedSize;
    };
    const Case cases[] = {
        {"in the lists", 0, L"8", 0, L"8"},       {"index past the end", 2, L"10", -1, L"10"},
        {"negative index", -1, L"12", -1, L"12"}, {"size not in the list", 1, L"13", 1, L""},
        {"empty size", 1, L"", 1, L""},           {"prefix of an item", 1, L"1", 1, L"10"},
    };
    for (const Case& c : cases) {
        CSettingsDialog dialog;
        dialog.color = c.color;
        dialog.size = c.size;
        lumo::test::driveNextDialog([](lumo::test::DialogDriver& d) { d.press(IDOK); });
        EXPECT_EQ(dialog.DoModal(), IDOK) << c.name;
        EXPECT_EQ(dialog.color, c.expectedColor) << c.name;
        EXPECT_EQ(dialog.size, c.expectedSize) << c.name;
    }
}

TEST_F(DialogTest, ButtonHandlersRunThroughTheMessageMap) {
    CSettingsDialog dialog;
    lumo::test::driveNextDialog([](lumo::test::DialogDriver& d) {
        d.press(IDC_CLEAR);
        EXPECT_EQ(d.text(IDC_FOLDER), L"");
        d.press(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.clears, 1);
    EXPECT_EQ(dialog.folder, L"");
}

TEST_F(DialogTest, ADisabledButtonCannotBePressed) {
    CSettingsDialog dialog;
    dialog.disableClear = true;
    lumo::test::driveNextDialog([](lumo::test::DialogDriver& d) {
        d.press(IDC_CLEAR);
        d.press(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.clears, 0);
    EXPECT_EQ(dialog.folder, L"/pictures");
}

// The template gives 40 units to a list of "文字:黒/背景:白": the unit widens
// until that shows whole, and every other control keeps its proportions.
TEST_F(DialogTest, SizesComeFromDialogUnitsWideEnoughForEveryText) {
    CSettingsDialog dialog;
    lumo::test::driveNextDialog([](lumo::test::DialogDriver& d) {
        EXPECT_EQ(d.clippedTexts(), std::vector<std::wstring>{});
        EXPECT_EQ(d.overlappingControls(), (std::vector<std::pair<std::wstring, std::wstring>>{}));
        const SIZE size = d.dialogSize();
        EXPECT_GT(size.cx, 150) << "wider than 100 units at 6 px per 4 units";
        const RECT folder = d.controlRect(IDC_FOLDER);
        EXPECT_NEAR(folder.left, size.cx * 4 / 100, 1);
        EXPECT_NEAR(folder.right - folder.left, size.cx * 60 / 100, 1);
        const RECT ok = d.controlRect(IDOK);
        EXPECT_GT(ok.top, folder.bottom);
        EXPECT_LE(ok.bottom, 80 * 13 / 8 + 1) << "heights keep 13 px per 8 units";
    });
    dialog.DoModal();
}

TEST_F(DialogTest, AMissingTemplateFails) {
    CDialog dialog(dialogModule(), 999);
    EXPECT_EQ(dialog.DoModal(), -1);
}

TEST(MessageBox, RecordsTextAndAnswers) {
    lumo::test::resetHooks();
    lumo::test::answerNextMessageBox(IDYES);
    EXPECT_EQ(MessageBox(nullptr, L"続けますか", L"確認", MB_YESNO), IDYES);
    // Unanswered under the offscreen platform: the cancelling answer.
    EXPECT_EQ(MessageBox(nullptr, L"二回目", L"確認", MB_YESNO), IDNO);
    ASSERT_EQ(lumo::test::messageBoxes().size(), 2u);
    EXPECT_EQ(lumo::test::messageBoxes()[0].text, L"続けますか");
    EXPECT_EQ(lumo::test::messageBoxes()[1].type, MB_YESNO);
}

TEST(FileDialog, AnswersFillTheCallersBuffer) {
    lumo::test::resetHooks();
    wchar_t buffer[260] = L"/books/last.txt";
    OPENFILENAME ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = 260;
    ofn.lpstrInitialDir = L"/books/";
    ofn.Flags = 0x2180C;
    lumo::test::answerNextFileDialog(std::wstring(L"/books/新しい本.txt"));
    ASSERT_TRUE(GetOpenFileName(&ofn));
    EXPECT_STREQ(buffer, L"/books/新しい本.txt");
    EXPECT_EQ(ofn.nFileOffset, 7);
    EXPECT_EQ(lumo::test::fileDialogs().back().initialFile, L"/books/last.txt");
    EXPECT_EQ(lumo::test::fileDialogs().back().initialDirectory, L"/books/");
    EXPECT_EQ(lumo::test::fileDialogs().back().flags, 0x2180Cu);

    lumo::test::answerNextFileDialog(std::nullopt);
    EXPECT_FALSE(GetOpenFileName(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u) << "a cancel is no error";

    wchar_t small[8] = L"";
    ofn.lpstrFile = small;
    ofn.nMaxFile = 8;
    lumo::test::answerNextFileDialog(std::wstring(L"/a/very/long/path.txt"));
    EXPECT_FALSE(GetOpenFileName(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL) << "a path is never cut";
    EXPECT_FALSE(GetOpenFileName(nullptr));

    CFileDialog dialog(TRUE);
    lumo::test::answerNextFileDialog(std::wstring(L"/x/y.txt"));
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.GetPathName(), L"/x/y.txt");
}

TEST(FolderPicker, ReturnsAnItemListWithThePath) {
    lumo::test::resetHooks();
    wchar_t name[MAX_PATH] = L"";
    BROWSEINFO info{};
    info.pszDisplayName = name;
    info.lpszTitle = L"フォルダの選択";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    lumo::test::answerNextFolderPicker(std::wstring(L"/pictures/壁紙"));
    LPITEMIDLIST item = SHBrowseForFolder(&info);
    ASSERT_NE(item, nullptr);
    wchar_t path[MAX_PATH];
    EXPECT_TRUE(SHGetPathFromIDList(item, path));
    EXPECT_STREQ(path, L"/pictures/壁紙");
    EXPECT_STREQ(name, L"壁紙");
    CoTaskMemFree(item);
    EXPECT_EQ(lumo::test::folderPickers().back().title, L"フォルダの選択");

    lumo::test::answerNextFolderPicker(std::nullopt);
    EXPECT_EQ(SHBrowseForFolder(&info), nullptr);
    EXPECT_FALSE(SHGetPathFromIDList(nullptr, path));
    EXPECT_STREQ(path, L"");

    lumo::test::answerNextFolderPicker(std::wstring(MAX_PATH + 10, L'a'));
    item = SHBrowseForFolder(&info);
    EXPECT_FALSE(SHGetPathFromIDList(item, path)) << "too long for the buffer";
    CoTaskMemFree(item);
}

} // namespace
