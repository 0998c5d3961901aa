// A book is shown before it is laid out whole: the first screen (or the
// stored place) at once, the rest in idle slices. Idle work is held through
// the test hook, so each test sees the state before the rest is laid out.
#include "ReaderFixture.h"

#include "reader/document/ReadingPosition.h"
#include "reader/view/YomiteResources.h"

#include "hostkit/ExtendToolManager.h"

namespace {

using namespace readertest;
using lumo::test::advanceClock;
using lumo::test::captureWindow;
using lumo::test::pumpMessages;

constexpr int BOOK_LINES = 3000;

// Numbered rows with annotations that shape them: indents, and page breaks.
std::vector<std::wstring> annotatedBook(int count) {
    std::vector<std::wstring> lines = numberedBook(count);
    for (size_t j = 3; j < lines.size(); j += 7)
        lines[j] = L"［＃３字下げ］" + lines[j];
    for (size_t j = 10; j < lines.size(); j += 50)
        lines[j] += L"［＃改ページ］";
    return lines;
}

class FirstPage : public ReaderFixture {
protected:
    void SetUp() override {
        ReaderFixture::SetUp();
        loadReader();
        startProgram();
        m_book = writeBook("long.txt", numberedBook(BOOK_LINES));
        lumo::test::holdIdleWork(true);
    }
    // The same book laid out whole, as before.
    CDavaroDiroBook wholeLayout() const {
        CDavaroDiroBook whole;
        whole.m_sourceLines = document()->m_sourceLines;
        const LayoutMetrics metrics = document()->getLayoutMetrics();
        whole.layout(metrics.columnsPerLine, metrics.linesPerPage);
        return whole;
    }
    void finishLayout() {
        lumo::test::holdIdleWork(false);
        pumpMessages();
    }
    QImage totalBox() {
        return captureWindow(view()).copy(probe().pageNumberRect().left, 16, 48, 16);
    }

    std::wstring m_book;
};

TEST_F(FirstPage, TheFirstScreenIsPaintedBeforeTheLayoutHasFinished) {
    for (int notation : {0, 1}) {
        m_aozoraNotation = notation;
        const std::wstring book =
            writeBook(notation ? "notated.txt" : "basic.txt", numberedBook(BOOK_LINES));
        lumo::test::holdIdleWork(true);
        ASSERT_NE(open(book), nullptr);
        ASSERT_FALSE(document()->isLayoutComplete());
        EXPECT_LT(document()->getLineStartCount(), 100) << "only the first screen is laid out";
        const QImage first = captureWindow(view());
        EXPECT_GT(inkCount(first, 0, 0, 700, rowPitch()), 50) << "the title row is drawn";
        EXPECT_GT(inkCount(first, 0, 15 * rowPitch(), 700, 16 * rowPitch()), 50)
            << "and the last row";
        const QImage unknownTotal = totalBox();

        finishLayout();
        ASSERT_TRUE(document()->isLayoutComplete());
        const CDavaroDiroBook whole = wholeLayout();
        EXPECT_EQ(document()->getLineStarts(), whole.getLineStarts());
        EXPECT_EQ(document()->getPageStarts(), whole.getPageStarts());
        EXPECT_NE(totalBox(), unknownTotal) << "the total shows once it is known";
        EXPECT_EQ(captureWindow(view()).copy(0, 0, 752, 454), first.copy(0, 0, 752, 454))
            << "the page itself is not redrawn";
        probe().forgetDrawnPage();
        view()->Invalidate(FALSE);
        pumpMessages();
        EXPECT_EQ(captureWindow(view()).copy(0, 0, 752, 454), first.copy(0, 0, 752, 454))
            << "and it is the page the whole layout gives";
    }
    m_aozoraNotation = 0;
}

TEST_F(FirstPage, AVerticalPageMidLayoutIsThePageTheWholeLayoutGives) {
    m_textDirection = 1;
    ASSERT_NE(open(m_book), nullptr);
    ASSERT_FALSE(document()->isLayoutComplete());
    lumo::test::wheel(view(), POINT{100, 100}, -120 * 40);
    ASSERT_EQ(index(), 40) << "forty columns on";
    EXPECT_FALSE(document()->isLayoutComplete());
    const QImage shown = captureWindow(view());
    EXPECT_GT(inkCount(shown, 0, 0, 752, 454), 500) << "the columns are drawn";

    finishLayout();
    const CDavaroDiroBook whole = wholeLayout();
    EXPECT_EQ(document()->getLineStarts(), whole.getLineStarts());
    probe().forgetDrawnPage();
    view()->Invalidate(FALSE);
    pumpMessages();
    EXPECT_EQ(captureWindow(view()).copy(0, 0, 752, 454), shown.copy(0, 0, 752, 454));
    m_textDirection = 0;
}

TEST_F(FirstPage, ASmallBookIsLaidOutWholeAndShowsItsTotalFromTheFirstPaint) {
    ASSERT_NE(open(m_book), nullptr);
    ASSERT_FALSE(document()->isLayoutComplete());
    const QImage unknownTotal = totalBox();
    ASSERT_NE(open(writeBook("short.txt", numberedBook(300))), nullptr);
    EXPECT_TRUE(document()->isLayoutComplete());
    EXPECT_NE(totalBox(), unknownTotal);
}

TEST_F(FirstPage, PagingToTheEndWaitsForTheLayoutAndLandsOnTheTrueLastPage) {
    for (int units : {0, 1}) {
        m_scrollRange = units;
        ASSERT_NE(open(m_book), nullptr);
        ASSERT_FALSE(document()->isLayoutComplete());
        // Holding the last button: five pages, or a screen of lines, a step.
        lumo::test::penDown(view(), pageButton(3));
        advanceClock(100 * 200);
        lumo::test::penUp(view(), pageButton(3));
        EXPECT_TRUE(document()->isLayoutComplete()) << units;
        const CDavaroDiroBook whole = wholeLayout();
        const int last =
            units == 0 ? whole.getLineStartCount() - linesPerPage() - 1 : whole.getPageCount() - 1;
        EXPECT_EQ(index(), last) << units;
        // One more step forward stays there.
        lumo::test::tap(view(), pageButton(2));
        EXPECT_EQ(index(), last) << units;
    }
}

TEST_F(FirstPage, AStoredPositionFarIntoTheBookRestoresExactlyAsBefore) {
    for (int run = 0; run < 4; ++run) {
        const int units = run % 2;
        m_scrollRange = units;
        m_aozoraNotation = run / 2;
        // A book of its own each time: closing a book writes its place.
        const std::string name = "book" + std::to_string(run) + ".txt";
        const std::wstring book = writeBook(name.c_str(), annotatedBook(BOOK_LINES));
        const SourcePosition stored{BOOK_LINES / 2, 4};
        CLumoPluginManager::getInstance()->writeOption(
            L"lumo.davarodiro.document", yomite::positionKey(book), yomite::formatPosition(stored));
        ASSERT_NE(open(book), nullptr);
        const CDavaroDiroBook whole = wholeLayout();
        EXPECT_EQ(index(), whole.indexOf(stored)) << run;
        EXPECT_GT(index(), 0) << run;
        const int top = units == 0 ? index() : document()->getPageStart(index());
        for (int row = 0; row < linesPerPage(); ++row)
            EXPECT_EQ(document()->getDisplayLineText(top + row),
                      whole.getDisplayLineText(top + row))
                << run;
        // The layout went as far as the place and its screen, not to the end.
        EXPECT_FALSE(document()->isLayoutComplete()) << run;
    }
    m_scrollRange = 0;
    m_aozoraNotation = 0;
}

// A new layout (here the settings dialog's OK with a bigger font) starts over
// from the place shown, however little of the book the old one had reached.
TEST_F(FirstPage, ANewLayoutWhileTheLayoutRunsKeepsThePlaceShown) {
    for (int units : {0, 1}) {
        m_scrollRange = units;
        m_textFontSize = yomite::defaults::textFontSize;
        ASSERT_NE(open(m_book), nullptr);
        // Some 200 rows down: a notch is a row, or a page.
        lumo::test::wheel(view(), POINT{100, 100}, -120 * (units == 0 ? 200 : 20));
        ASSERT_FALSE(document()->isLayoutComplete());
        const SourcePosition before = document()->positionOf(index());
        ASSERT_GT(before.line, 100) << units;
        lumo::test::driveNextDialog([](lumo::test::DialogDriver& d) {
            d.chooseComboIndex(yomite::IDC_TEXT_FONT_SIZE, 8); // 24 pt
            d.press(IDOK);
        });
        frame()->SendMessage(
            WM_COMMAND,
            CLumoPluginManager::getInstance()->getExtendToolManager()->getDynamicAllocateMenuId(
                L"lumo.davarodiro.tool", yomite::ID_READER_SETTINGS),
            0);
        pumpMessages();
        ASSERT_EQ(m_textFontSize, CString(L"24"));
        EXPECT_FALSE(document()->isLayoutComplete()) << units;
        const CDavaroDiroBook whole = wholeLayout();
        EXPECT_EQ(index(), whole.indexOf(before)) << units;
        EXPECT_LE(document()->positionOf(index()), before) << units;
        EXPECT_GT(document()->positionOf(index() + 1), before) << units;

        finishLayout();
        EXPECT_EQ(document()->getLineStarts(), whole.getLineStarts()) << units;
        EXPECT_EQ(document()->getPageStarts(), whole.getPageStarts()) << units;
        EXPECT_EQ(index(), whole.indexOf(before)) << units;
        lumo::test::holdIdleWork(true);
    }
    m_textFontSize = yomite::defaults::textFontSize;
    m_scrollRange = 0;
}

TEST_F(FirstPage, LeavingWhileTheLayoutRunsKeepsThePlaceShown) {
    ASSERT_NE(open(m_book), nullptr);
    lumo::test::wheel(view(), POINT{100, 100}, -120 * 40);
    ASSERT_EQ(index(), 40);
    ASSERT_FALSE(document()->isLayoutComplete());
    const std::wstring shown = yomite::formatPosition(document()->positionOf(index()));
    frame()->DestroyWindow();
    pumpMessages();
    m_app.m_pMainWnd = nullptr;
    std::wstring stored;
    CLumoPluginManager::getInstance()->getOption(L"lumo.davarodiro.document",
                                                 yomite::positionKey(m_book), L"-", stored);
    EXPECT_EQ(stored, shown);
    EXPECT_EQ(stored, L"40,0") << "forty rows down, one a line";
}

} // namespace
