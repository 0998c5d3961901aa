// Pen, timers, wheel and double tap on the reader view of the running program,
// with the manual clock so every auto-repeat step lands on its millisecond.
#include "ReaderFixture.h"

#include "platform/ui/Window.h"

namespace {

using namespace readertest;
using lumo::test::advanceClock;
using lumo::test::penDown;
using lumo::test::penUp;
using lumo::test::pumpMessages;

class ViewInput : public ReaderFixture {
protected:
    void SetUp() override {
        ReaderFixture::SetUp();
        loadReader();
        startProgram();
        ASSERT_NE(open(writeBook("book.txt", numberedBook(200))), nullptr);
    }
    // The index after each 100 ms of holding, for `steps` steps.
    std::vector<int> holdIndices(POINT p, int steps) {
        std::vector<int> seen;
        penDown(view(), p);
        for (int i = 0; i < steps; ++i) {
            advanceClock(100);
            seen.push_back(index());
        }
        penUp(view(), p);
        return seen;
    }
};

TEST_F(ViewInput, LineButtonsStepOnceAtPenDownThenRepeatFrom200Milliseconds) {
    ASSERT_EQ(index(), 0);
    penDown(view(), pageButton(2));
    EXPECT_EQ(index(), 1) << "the first step comes with the pen-down";
    advanceClock(100);
    EXPECT_EQ(index(), 1) << "the first repeat tick is skipped";
    advanceClock(100);
    EXPECT_EQ(index(), 2);
    advanceClock(100);
    EXPECT_EQ(index(), 3);
    penUp(view(), pageButton(2));
    advanceClock(500);
    EXPECT_EQ(index(), 3) << "pen-up stops the repeat";

    penDown(view(), pageButton(1));
    EXPECT_EQ(index(), 2);
    penUp(view(), pageButton(1));
    // Sliding off before releasing keeps the step made at pen-down.
    penDown(view(), pageButton(2));
    penUp(view(), pageButton(0));
    EXPECT_EQ(index(), 3);
}

TEST_F(ViewInput, PageButtonsMoveOnlyWhenHeldFromTheSixthTick) {
    const int lines = linesPerPage();
    ASSERT_GT(lines, 1);
    penDown(view(), pageButton(3));
    advanceClock(50);
    penUp(view(), pageButton(3));
    advanceClock(1000);
    EXPECT_EQ(index(), 0) << "a short tap on the page button does not move";

    std::vector<int> seen = holdIndices(pageButton(3), 10);
    std::vector<int> expected = {0, 0, 0, 0, 0, 1, 2, 3, 4, 5};
    for (int& e : expected)
        e *= lines;
    EXPECT_EQ(seen, expected) << "steps at 600, 700, 800, 900 and 1000 ms";

    // Back a page at a time, never before the first line.
    holdIndices(pageButton(0), 12);
    EXPECT_EQ(index(), 0);
}

TEST_F(ViewInput, ForwardMovesStopAtTheLastFullPage) {
    const int last = document()->getLineStartCount() - linesPerPage();
    holdIndices(pageButton(3), 40);
    EXPECT_EQ(index(), last - 1);
    penDown(view(), pageButton(2));
    penUp(view(), pageButton(2));
    EXPECT_EQ(index(), last - 1);
}

TEST_F(ViewInput, PageUnitsHoldBackFivePagesAStepAndStopAtTheFirstPage) {
    m_scrollRange = 1;
    document()->m_currentIndex = 7;
    view()->Invalidate(FALSE);
    pumpMessages();
    std::vector<int> seen = holdIndices(pageButton(0), 8);
    EXPECT_EQ(seen, (std::vector<int>{7, 7, 7, 7, 7, 2, 0, 0}));
    penDown(view(), pageButton(2));
    EXPECT_EQ(index(), 1) << "one page forward in page units";
    penUp(view(), pageButton(2));
}

TEST_F(ViewInput, FunctionSetComesAndGoesOnReleaseAndClearsItsModes) {
    lumo::test::tap(view(), pageButton(4));
    EXPECT_TRUE(probe().functionBarShown());
    lumo::test::tap(view(), functionButton(2));
    EXPECT_TRUE(probe().altToolMode());
    lumo::test::tap(view(), functionButton(2));
    EXPECT_FALSE(probe().altToolMode());
    lumo::test::tap(view(), functionButton(2));
    lumo::test::tap(view(), functionButton(5));
    EXPECT_FALSE(probe().functionBarShown());
    EXPECT_FALSE(probe().altToolMode()) << "switching sets clears the tool mode";
    EXPECT_EQ(index(), 0) << "switching sets never moves";

    // Pressing the switch button and releasing elsewhere does not switch.
    penDown(view(), pageButton(4));
    penUp(view(), pageButton(2));
    EXPECT_FALSE(probe().functionBarShown());
}

TEST_F(ViewInput, LongPressOnTheFirstFunctionButtonArmsTheCloseIcon) {
    lumo::test::tap(view(),
                    functionButton(0)); // still the page set here: button index 0 of the page set
    lumo::test::tap(view(), pageButton(4));
    ASSERT_TRUE(probe().functionBarShown());
    const RECT button = probe().functionButton(0);
    const QImage before = lumo::test::captureWindow(view());

    penDown(view(), functionButton(0));
    advanceClock(499);
    EXPECT_FALSE(probe().closeArmed());
    advanceClock(1);
    EXPECT_TRUE(probe().closeArmed());
    const QImage armed = lumo::test::captureWindow(view());
    const QRgb corner = armed.pixel(button.left + 4, button.top + 4);
    EXPECT_EQ(qRed(corner), 255);
    EXPECT_EQ(qGreen(corner), 216);
    EXPECT_EQ(qBlue(corner), 216);
    EXPECT_NE(before.copy(button.left, button.top, 48, 48),
              armed.copy(button.left, button.top, 48, 48));

    // Releasing elsewhere disarms, and the view stays.
    penUp(view(), functionButton(3));
    EXPECT_FALSE(probe().closeArmed());
    ASSERT_NE(view(), nullptr);
}

TEST_F(ViewInput, ReleasingTheArmedCloseButtonClosesTheBookAndKeepsItsPosition) {
    const std::wstring path = document()->GetPathName().str();
    lumo::test::tap(view(), pageButton(2));
    lumo::test::tap(view(), pageButton(4));
    penDown(view(), functionButton(0));
    advanceClock(500);
    ASSERT_TRUE(probe().closeArmed());
    HWND main = frame()->GetSafeHwnd();
    penUp(view(), functionButton(0));
    EXPECT_FALSE(::IsWindow(main)) << "closing the book takes the frame down";
    m_app.m_pMainWnd = nullptr;
    std::wstring stored;
    CLumoPluginManager::getInstance()->getOption(L"lumo.davarodiro.document", L"position/" + path,
                                                 L"-", stored);
    EXPECT_EQ(stored, L"1,0") << "one line down: the second source line";
}

TEST_F(ViewInput, AQuickReleaseOnTheFirstFunctionButtonMinimises) {
    lumo::test::tap(view(), pageButton(4));
    lumo::test::tap(view(), functionButton(0));
    EXPECT_TRUE(frame()->IsIconic());
    EXPECT_FALSE(probe().closeArmed());
    advanceClock(600);
    EXPECT_FALSE(probe().closeArmed()) << "the long-press timer stopped on release";
}

TEST_F(ViewInput, WheelMovesByNotchesTowardsTheUserForward) {
    document()->m_currentIndex = 10;
    const POINT p{100, 100};
    lumo::test::wheel(view(), p, -240);
    EXPECT_EQ(index(), 12);
    lumo::test::wheel(view(), p, 240);
    EXPECT_EQ(index(), 10);
    lumo::test::wheel(view(), p, -119);
    EXPECT_EQ(index(), 10) << "less than a notch moves nothing";
    lumo::test::wheel(view(), p, 120 * 50);
    EXPECT_EQ(index(), 0) << "clamped at the first line";
}

TEST_F(ViewInput, DoubleTapInTheTextOpensTheMenuWithoutMoving) {
    const size_t menusBefore = lumo::test::popupMenus().size();
    const POINT p{200, 120};
    lumo::test::tap(view(), p);
    advanceClock(100);
    lumo::test::tap(view(), p);
    pumpMessages();
    EXPECT_EQ(index(), 0);
    ASSERT_EQ(lumo::test::popupMenus().size(), menusBefore + 1)
        << "WM_USER+5 pops the host menu up";
    POINT screen = p;
    view()->ClientToScreen(&screen);
    EXPECT_EQ(lumo::test::popupMenus().back().at.x, screen.x);
    EXPECT_EQ(lumo::test::popupMenus().back().at.y, screen.y);
}

TEST_F(ViewInput, DoubleTapOnTheBarActsAsAPenDown) {
    lumo::test::tap(view(), pageButton(2));
    advanceClock(100);
    lumo::test::tap(view(), pageButton(2));
    EXPECT_EQ(index(), 2) << "the second tap of the pair steps too";
}

TEST_F(ViewInput, HitTestsFollowTheCurrentButtonSet) {
    const RECT page0 = probe().pageButton(0);
    EXPECT_EQ(view()->hitTestButton(page0.left, page0.top), 0) << "left and top edges are inside";
    EXPECT_EQ(view()->hitTestButton(page0.right, page0.top), -1) << "the right edge is outside";
    EXPECT_EQ(view()->hitTestButton(10, 10), -1);
    lumo::test::tap(view(), pageButton(4));
    ASSERT_TRUE(probe().functionBarShown());
    const RECT fn5 = probe().functionButton(5);
    EXPECT_EQ(view()->hitTestButton(fn5.left + 1, fn5.bottom - 1), 5);
}

TEST_F(ViewInput, StalePenMessagesAreDroppedOnlyWhileAnIllustrationShows) {
    probe().setIllustrationShown(1, 5000);
    struct Row {
        UINT message;
        DWORD time;
        BOOL dropped;
    } rows[] = {
        {WM_LBUTTONUP, 4999, TRUE},  {WM_LBUTTONDOWN, 4000, TRUE}, {0x20D, 1, TRUE},
        {WM_LBUTTONUP, 5000, FALSE}, {WM_LBUTTONUP, 6000, FALSE},  {0x20E, 1, FALSE},
        {WM_TIMER, 1, FALSE},
    };
    for (const Row& row : rows) {
        MSG msg{view()->GetSafeHwnd(), row.message, 0, 0, row.time, {0, 0}};
        EXPECT_EQ(view()->PreTranslateMessage(&msg), row.dropped)
            << std::hex << row.message << " at " << row.time;
    }
    probe().setIllustrationShown(0, 5000);
    MSG old{view()->GetSafeHwnd(), WM_LBUTTONUP, 0, 0, 1, {0, 0}};
    EXPECT_FALSE(view()->PreTranslateMessage(&old));
}

TEST_F(ViewInput, LinksAreHitOnTheirLabelColumnsOnly) {
    ASSERT_NE(
        open(writeBook("linked.txt", {L"題", L"者", L"", L"［＃挿絵（p.bmp）入る］", L"本文"})),
        nullptr);
    document()->m_currentIndex = 3;
    const int pitch = rowPitch();
    // The label "[挿絵:p.bmp]" is 12 columns of 8 pixels.
    struct Row {
        int x, y, expected;
    } rows[] = {
        {0, 5, 3}, {96, pitch - 1, 3}, {97, 5, -1}, {10, pitch + 5, -1}, {760, 5, -1}, {10, -1, -1},
    };
    for (const Row& row : rows)
        EXPECT_EQ(view()->hitTestLink(row.x, row.y), row.expected) << row.x << "," << row.y;
}

TEST_F(ViewInput, ClampTargetBoundsByUnit) {
    const int lastLine = document()->getLineStartCount() - linesPerPage();
    struct Row {
        int range;
        int target;
        int expected;
    } rows[] = {
        {0, 5, 5},
        {0, 0, 1},
        {0, -40, 1},
        {0, 100000, lastLine},
        {1, 2, 2},
        {1, 0, 1},
        {1, 100000, document()->getPageCount()},
        {7, -3, -3},
        {7, 100000, 100000},
    };
    for (const Row& row : rows) {
        m_scrollRange = row.range;
        EXPECT_EQ(view()->clampTarget(row.target), row.expected)
            << "range " << row.range << " target " << row.target;
    }
    m_scrollRange = 0;
}

} // namespace
