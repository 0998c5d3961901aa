// A close request (a termination signal, the window manager's close button)
// that arrives while a menu or dialog is open ends that loop; the frame stays
// until the handler that opened the loop has returned, then the program takes
// its normal exit path and writes the settings and the reading position.
#include "ReaderFixture.h"

#include "reader/view/YomiteResources.h"

#include "hostkit/ExtendToolManager.h"
#include "hostkit/MainFrameIds.h"
#include "platform/core/Utf8.h"

#include <functional>

namespace {

using namespace readertest;

unsigned settingsCommand() {
    return CLumoPluginManager::getInstance()->getExtendToolManager()->getDynamicAllocateMenuId(
        L"lumo.davarodiro.tool", yomite::ID_READER_SETTINGS);
}

// Opens one kind of modal loop from the frame, with `inside` run while it runs.
struct Opening {
    const char* name;
    void (*open)(CMainFrame* frame, std::function<void()> inside);
};

const Opening kOpenings[] = {
    {"CommandBarDropDown",
     [](CMainFrame* frame, std::function<void()> inside) {
         lumo::test::duringNextModal(std::move(inside));
         lumo::test::answerNextPopupMenu(ID_FILE_OPEN); // chosen too late: the close wins
         frame->SendMessage(WM_DROP_DOWN_MENU, 0, 0);
     }},
    {"OpenFileDialog",
     [](CMainFrame* frame, std::function<void()> inside) {
         lumo::test::duringNextModal(std::move(inside));
         frame->SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
     }},
    {"SettingsDialog",
     [](CMainFrame* frame, std::function<void()> inside) {
         lumo::test::duringNextModal(std::move(inside));
         frame->SendMessage(WM_COMMAND, settingsCommand(), 0);
     }},
    {"FolderPickerInsideTheSettingsDialog",
     [](CMainFrame* frame, std::function<void()> inside) {
         lumo::test::driveNextDialog([inside](lumo::test::DialogDriver& dialog) {
             lumo::test::duringNextModal(inside);
             dialog.click(yomite::IDC_BROWSE);
         });
         frame->SendMessage(WM_COMMAND, settingsCommand(), 0);
     }},
    {"MessageBox",
     [](CMainFrame* frame, std::function<void()> inside) {
         lumo::test::duringNextModal(std::move(inside));
         frame->openFile(L"/nowhere/notes.unclaimed"); // "no viewer registered"
     }},
};

void PrintTo(const Opening& opening, std::ostream* out) {
    *out << opening.name;
}

class CloseDuringModal : public ReaderFixture, public ::testing::WithParamInterface<Opening> {};

TEST_P(CloseDuringModal, EndsTheLoopThenTakesTheNormalExitPath) {
    const std::wstring book = writeBook("book.txt", numberedBook(200));
    startProgram();
    ASSERT_NE(open(book), nullptr);
    lumo::test::tap(view(), pageButton(2));
    lumo::test::tap(view(), pageButton(2));
    const SourcePosition at = document()->positionOf(index());
    ASSERT_NE(at.line, 0);
    const std::string position = "position/" + lumo::toUtf8(book) + "=" + std::to_string(at.line) +
                                 "," + std::to_string(at.offset) + "\n";

    CMainFrame* const main = frame();
    const HWND mainWindow = main->GetSafeHwnd();
    bool frameLivedThroughTheLoop = false;
    GetParam().open(main, [&] {
        ::PostMessage(mainWindow, WM_CLOSE, 0, 0); // what SIGTERM and the close button do
        lumo::test::pumpMessages();                // the loop runs on meanwhile
        frameLivedThroughTheLoop = ::IsWindow(mainWindow) != FALSE;
    });
    EXPECT_TRUE(frameLivedThroughTheLoop) << "not destroyed under the handler";

    lumo::test::pumpMessages();
    EXPECT_FALSE(::IsWindow(mainWindow)) << "closed once the handler returned";
    EXPECT_TRUE(lumo::test::quitRequested());
    LUMO_UnloadPluginModule();
    m_loaded = false;
    m_app.ExitInstance();
    const std::string config = m_dir.read("lumoconf.ini");
    EXPECT_NE(config.find("\n" + position), std::string::npos) << config;
    EXPECT_NE(config.find("\nm_autoSaveAtExit=1\n"), std::string::npos) << config;
}

INSTANTIATE_TEST_SUITE_P(EachKindOfLoop, CloseDuringModal, ::testing::ValuesIn(kOpenings),
                         [](const ::testing::TestParamInfo<Opening>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
