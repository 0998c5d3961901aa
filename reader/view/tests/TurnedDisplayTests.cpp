// The turned display (m_displayDirection 1 "右90度回転", 2 "左90度回転"): the
// screen shows the page an upright screen of the turned size shows, turned;
// taps on the screen reach the buttons and links under them on the page.
#include "ReaderFixture.h"

#include "reader/view/DisplayRotation.h"
#include "reader/view/YomiteResources.h"

#include "hostkit/ExtendToolManager.h"

namespace {

using namespace readertest;
using lumo::test::captureWindow;
using lumo::test::pumpMessages;

constexpr int SCREEN_W = 800;
constexpr int SCREEN_H = 454;

// The screen turned back by a turn: what the page looks like.
QImage turnedBack(const QImage& screen, int direction) {
    return screen.transformed(QTransform().rotate(direction == 1 ? -90 : 90));
}

int bluePixels(const QImage& image, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const QColor c(image.pixel(x, y));
            count += c.blue() > 150 && c.red() < 100;
        }
    return count;
}

class TurnedDisplay : public ReaderFixture {
protected:
    void SetUp() override {
        ReaderFixture::SetUp();
        loadReader();
        startProgram();
        // Each book opens at its start, however often it is opened.
        m_autoSaveAtExit = 0;
    }
    // The page an upright screen as tall as the turned one shows.
    QImage uprightPage(const std::wstring& book) {
        const int direction = m_displayDirection;
        m_displayDirection = 0;
        frame()->MoveWindow(0, 0, SCREEN_H, SCREEN_W + 26);
        open(book);
        const QImage page = captureWindow(view());
        frame()->MoveWindow(0, 0, SCREEN_W, SCREEN_H + 26);
        m_displayDirection = direction;
        return page;
    }
    POINT onScreen(const RECT& pageRect) const {
        const RECT r =
            yomite::DisplayRotation(m_displayDirection, SCREEN_W, SCREEN_H).toScreen(pageRect);
        return centre(r);
    }
};

TEST_F(TurnedDisplay, TheScreenShowsTheUprightPageTurnedInEitherWritingDirection) {
    const std::wstring book = writeBook("book.txt", numberedBook(100));
    for (int text : {0, 1})
        for (int direction : {1, 2}) {
            m_textDirection = text;
            m_displayDirection = direction;
            const QImage upright = uprightPage(book);
            ASSERT_EQ(upright.size(), QSize(SCREEN_H, SCREEN_W));
            ASSERT_NE(open(book), nullptr);
            EXPECT_EQ(probe().textRect().right, SCREEN_H - 48) << "a 454 x 800 page";
            EXPECT_EQ(probe().textRect().bottom, SCREEN_W);
            const QImage turned = captureWindow(view());
            ASSERT_EQ(turned.size(), QSize(SCREEN_W, SCREEN_H));
            EXPECT_EQ(turnedBack(turned, direction), upright)
                << "text " << text << ", turn " << direction;
        }
}

TEST_F(TurnedDisplay, APageButtonTappedOnTheScreenMovesThePageAndTheBarIsAtItsEdge) {
    const std::wstring book = writeBook("book.txt", numberedBook(100));
    for (int text : {0, 1})
        for (int direction : {1, 2}) {
            m_textDirection = text;
            m_displayDirection = direction;
            ASSERT_NE(open(book), nullptr);
            ASSERT_EQ(index(), 0);
            lumo::test::tap(view(), onScreen(probe().pageButton(2)));
            EXPECT_EQ(index(), 1) << "text " << text << ", turn " << direction;
            lumo::test::tap(view(), onScreen(probe().pageButton(1)));
            EXPECT_EQ(index(), 0);
            // The page's right edge is the screen's bottom turned clockwise,
            // its top turned anticlockwise.
            const QImage shown = captureWindow(view());
            const int barTop = direction == 1 ? SCREEN_H - 48 : 0;
            const int otherTop = direction == 1 ? 0 : SCREEN_H - 48;
            EXPECT_GT(bluePixels(shown, 0, barTop, SCREEN_W, barTop + 48), 400);
            EXPECT_EQ(bluePixels(shown, 0, otherTop, SCREEN_W, otherTop + 48), 0);
        }
}

TEST_F(TurnedDisplay, StepsAndAWallpaperShowAsOnTheUprightPage) {
    writeBmp(m_dir, "walls/tile.bmp", 30, 30, [](int x, int y) {
        return (x / 5 + y / 3) % 2 ? qRgb(120, 160, 200) : qRgb(220, 200, 90);
    });
    m_pathWallpaper = CString((m_dir / "walls").wstring());
    m_alphaWallpaper = 8;
    const std::wstring book = writeBook("book.txt", numberedBook(100));
    for (int text : {0, 1}) {
        m_textDirection = text;
        m_displayDirection = 0;
        frame()->MoveWindow(0, 0, SCREEN_H, SCREEN_W + 26);
        open(book);
        lumo::test::tap(view(), pageButton(2));
        lumo::test::tap(view(), pageButton(2));
        lumo::test::tap(view(), pageButton(1));
        const QImage upright = captureWindow(view());
        frame()->MoveWindow(0, 0, SCREEN_W, SCREEN_H + 26);

        m_displayDirection = 1;
        ASSERT_NE(open(book), nullptr);
        for (int button : {2, 2, 1})
            lumo::test::tap(view(), onScreen(probe().pageButton(button)));
        ASSERT_EQ(index(), 1);
        EXPECT_EQ(turnedBack(captureWindow(view()), 1), upright) << "text " << text;
    }
}

TEST_F(TurnedDisplay, AnIllustrationFitsTheTurnedPageAndComesFromATapOnItsLine) {
    writeBmp(m_dir, "pic.bmp", 20, 40, [](int, int) { return qRgb(255, 0, 0); });
    const std::wstring book =
        writeBook("pictured.txt", {L"題", L"者", L"", L"［＃挿絵（pic.bmp）入る］", L"本文です。"});
    for (int direction : {1, 2}) {
        m_displayDirection = direction;
        ASSERT_NE(open(book), nullptr);
        document()->m_currentIndex = 3;
        probe().forgetDrawnPage();
        view()->Invalidate(FALSE);
        pumpMessages();
        lumo::test::tap(view(), onScreen(RECT{0, 10, 16, 26}));
        ASSERT_EQ(probe().illustrationShown(), 1) << direction;
        // 20 x 40 fills the 454 x 800 page's height at 400 x 800: on the
        // turned screen it lies across the whole width.
        const QImage shown = captureWindow(view());
        EXPECT_EQ(shown.pixel(20, SCREEN_H / 2) & 0xFFFFFF, 0xFF0000u);
        EXPECT_EQ(shown.pixel(SCREEN_W - 20, SCREEN_H / 2) & 0xFFFFFF, 0xFF0000u);
        EXPECT_NE(shown.pixel(SCREEN_W / 2, 5) & 0xFFFFFF, 0xFF0000u) << "the page beside it";
        lumo::test::advanceClock(50);
        lumo::test::tap(view(), POINT{400, 200});
        EXPECT_EQ(probe().illustrationShown(), 0);
    }
}

TEST_F(TurnedDisplay, TheDialogTurnsTheScreenAtOnceKeepingThePlace) {
    ASSERT_NE(open(writeBook("book.txt", numberedBook(300))), nullptr);
    document()->m_currentIndex = 120;
    const SourcePosition before = document()->positionOf(120);
    for (int direction : {1, 2, 0}) {
        lumo::test::driveNextDialog([direction](lumo::test::DialogDriver& d) {
            d.chooseComboIndex(yomite::IDC_DISPLAY_DIRECTION, direction);
            d.press(IDOK);
        });
        frame()->SendMessage(
            WM_COMMAND,
            CLumoPluginManager::getInstance()->getExtendToolManager()->getDynamicAllocateMenuId(
                L"lumo.davarodiro.tool", yomite::ID_READER_SETTINGS),
            0);
        pumpMessages();
        EXPECT_EQ(m_displayDirection, direction);
        EXPECT_EQ(document()->positionOf(index()), before) << direction;
        EXPECT_EQ(probe().lastDrawnTop(), index()) << "repainted at once";
        // The bar: the screen's right edge upright, its bottom turned
        // clockwise, its top anticlockwise.
        const QImage shown = captureWindow(view());
        const int right = bluePixels(shown, SCREEN_W - 48, 0, SCREEN_W, SCREEN_H);
        const int bottom = bluePixels(shown, 0, SCREEN_H - 48, SCREEN_W - 48, SCREEN_H);
        const int top = bluePixels(shown, 0, 0, SCREEN_W - 48, 48);
        EXPECT_EQ(right > 400, direction == 0) << direction;
        EXPECT_EQ(bottom > 400, direction == 1) << direction;
        EXPECT_EQ(top > 400, direction == 2) << direction;
    }
}

} // namespace
