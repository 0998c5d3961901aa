// A book is shown before it is laid out whole: the first screen (or the
// stored place) at once, the rest in idle slices. Idle work is held through
// the test hook, so each test sees the state before the rest is laid out.
#include "ReaderFixture.h"

#include "reader/document/ReadingPosition.h"

namespace {

using namespace readertest;
using lumo::test::advanceClock;
using lumo::test::captureWindow;
using lumo::test::pumpMessages;

constexpr int BOOK_LINES = 3000;

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
    for (int units : {0, 1}) {
        m_scrollRange = units;
        // A book of its own each time: closing a book writes its place.
        const std::wstring book =
            writeBook(units == 0 ? "lines.txt" : "pages.txt", numberedBook(BOOK_LINES));
        const SourcePosition stored{BOOK_LINES / 2, 4};
        CLumoPluginManager::getInstance()->writeOption(
            L"lumo.davarodiro.document", yomite::positionKey(book), yomite::formatPosition(stored));
        ASSERT_NE(open(book), nullptr);
        const CDavaroDiroBook whole = wholeLayout();
        EXPECT_EQ(index(), whole.indexOf(stored)) << units;
        EXPECT_GT(index(), 0) << units;
        const int top = units == 0 ? index() : document()->getPageStart(index());
        for (int row = 0; row < linesPerPage(); ++row)
            EXPECT_EQ(document()->getDisplayLineText(top + row),
                      whole.getDisplayLineText(top + row))
                << units;
        // The layout went as far as the place and its screen, not to the end.
        EXPECT_FALSE(document()->isLayoutComplete()) << units;
    }
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
