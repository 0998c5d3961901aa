// What the reader view puts on screen, checked on captured pixels: ruby
// placement, truncation, the title page, the bar's side, colours, the
// illustration screen, and the fonts at every offered size.
#include "ReaderFixture.h"

#include "reader/view/YomiteResources.h"

#include "platform/ui/Resources.h"

#include <algorithm>
#include <cwchar>

#include <fstream>

namespace {

using namespace readertest;
using lumo::test::captureWindow;
using lumo::test::pumpMessages;

// Body 16 px (12 pt), ruby 10 px (8 pt): "A" is 8 px and 5 px wide.
constexpr int TW = 8;
constexpr int RW = 5;
constexpr int RUBY_PX = 10;

class PageRendering : public ReaderFixture {
protected:
    void SetUp() override {
        ReaderFixture::SetUp();
        loadReader();
        startProgram();
    }
    // Shows display line `first` at the top and returns the view's pixels.
    QImage showFrom(int first) {
        document()->m_currentIndex = first;
        probe().forgetDrawnPage();
        view()->Invalidate(FALSE);
        pumpMessages();
        return captureWindow(view());
    }
    std::pair<int, int> rubyInk(const QImage& image, int row, int x0 = 0, int x1 = 752) {
        const int y = row * rowPitch();
        return inkColumns(image, x0, y, x1, y + RUBY_PX);
    }
    void writeBmp(const char* name, int width, int height, QRgb colour) {
        readertest::writeBmp(m_dir, name, width, height, [colour](int, int) { return colour; });
    }
};

TEST_F(PageRendering, RubyIsSpreadOverALongerBaseAndCentredOverAShorterOne) {
    std::vector<std::wstring> lines = {L"題",
                                       L"者",
                                       L"",
                                       L"漢字語《かな》",
                                       L"空《そらそらそら》",
                                       L"あああ空《そらそら》",
                                       std::wstring(45, L'あ') + L"空《そらそらそら》"};
    ASSERT_NE(open(writeBook("ruby.txt", lines)), nullptr);
    ASSERT_EQ(document()->getLayoutMetrics().columnsPerLine, 92);
    const QImage image = showFrom(3);

    // Spread: gap (48 - 20) / 3; first kana in its cell at 9, the next
    // one ruby width and a gap further, at 28.
    EXPECT_EQ(inkCount(image, 0, 0, 9, RUBY_PX), 0);
    EXPECT_GT(inkCount(image, 9, 0, 19, RUBY_PX), 0);
    EXPECT_EQ(inkCount(image, 19, 0, 28, RUBY_PX), 0) << "the gap between spread ruby characters";
    EXPECT_GT(inkCount(image, 28, 0, 38, RUBY_PX), 0);
    EXPECT_EQ(inkCount(image, 38, 0, 200, RUBY_PX), 0);

    // Wider than its base at the start of a row: clamped to the left edge.
    auto [first1, last1] = rubyInk(image, 1);
    EXPECT_GE(first1, 0);
    EXPECT_LT(first1, 5) << "uncentred it would start 22 pixels left of the row";
    EXPECT_LE(last1, 6 * 2 * RW);

    // Centred: x = 48 - (40 - 16) / 2 = 36.
    auto [first2, last2] = rubyInk(image, 2);
    EXPECT_GE(first2, 36);
    EXPECT_LT(first2, 40);
    EXPECT_LE(last2, 36 + 4 * 2 * RW);
    EXPECT_GT(last2, 36 + 3 * 2 * RW);

    // At the row's end: clamped to the right edge of the text (752).
    auto [first3, last3] = rubyInk(image, 3, 600, 752);
    EXPECT_GE(first3, 752 - 6 * 2 * RW);
    EXPECT_LT(first3, 752 - 6 * 2 * RW + 4);
    EXPECT_GT(last3, 752 - 2 * RW) << "the last character ends at the edge";
}

TEST_F(PageRendering, WithoutRubyTheRowsCloseUpAndNoRubyIsDrawn) {
    m_showRuby = 0;
    std::vector<std::wstring> lines = {L"題", L"者", L"", L"漢字語《かな》", L"漢字語《かな》"};
    ASSERT_NE(open(writeBook("plain.txt", lines)), nullptr);
    EXPECT_FALSE(probe().hasRubyFont());
    const QImage image = showFrom(3);
    const int pitch = 16 + m_lineSpace;
    EXPECT_GT(inkCount(image, 0, 0, 60, 16), 0);
    EXPECT_GT(inkCount(image, 0, pitch, 60, pitch + 16), 0)
        << "the second row follows one body height later";
    EXPECT_EQ(inkCount(image, 60, 0, 752, 2 * pitch), 0) << "no ruby text anywhere";
}

TEST_F(PageRendering, AnOverlongRowIsCutAfterNineteenCharactersWithAnEllipsis) {
    std::vector<std::wstring> lines = {L"題", L"者", L"", std::wstring(60, L'漢')};
    ASSERT_NE(open(writeBook("long.txt", lines)), nullptr);
    document()->m_columnsPerLine = 40;
    const QImage image = showFrom(3);
    const int top = RUBY_PX;
    auto [first, last] = inkColumns(image, 0, top, 752, top + 16);
    EXPECT_LT(first, 4);
    EXPECT_GT(last, 19 * 2 * TW) << "the ellipsis follows the 19 characters";
    EXPECT_LT(last, 20 * 2 * TW);
}

TEST_F(PageRendering, TheTitlePageInPageUnitsShowsTwoRowsAndBackgroundBelow) {
    m_scrollRange = 1;
    ASSERT_NE(open(writeBook("book.txt", numberedBook(100))), nullptr);
    ASSERT_EQ(index(), 0);
    const QImage title = captureWindow(view());
    const int pitch = rowPitch();
    EXPECT_GT(inkCount(title, 0, 0, 752, pitch), 0);
    EXPECT_GT(inkCount(title, 0, pitch, 752, 2 * pitch), 0);
    EXPECT_EQ(inkCount(title, 0, 2 * pitch, 752, 454), 0);

    lumo::test::tap(view(), pageButton(2));
    ASSERT_EQ(index(), 1);
    const QImage next = captureWindow(view());
    const int lines = linesPerPage();
    for (int row = 0; row < lines; ++row)
        EXPECT_GT(inkCount(next, 0, row * pitch, 752, (row + 1) * pitch), 0) << "row " << row;
}

TEST_F(PageRendering, ControlBarGoesLeftForAnyValueButZero) {
    for (int position : {1, 2, 5}) {
        m_positionControlbar = position;
        ASSERT_NE(open(writeBook("book.txt", numberedBook(40))), nullptr);
        EXPECT_EQ(probe().textRect().left, 48) << position;
        EXPECT_EQ(probe().pageButton(0).left, 0);
        EXPECT_EQ(probe().pageNumberRect().left, 0);
        const QImage image = captureWindow(view());
        EXPECT_GT(inkCount(image, 0, 40, 48, 454), 0) << "buttons and icons at the left";
        auto [first, last] = inkColumns(image, 48, RUBY_PX, 800, RUBY_PX + 16);
        EXPECT_LT(first, 52) << "text starts at the bar's right edge";
        EXPECT_EQ(inkCount(image, 760, 40, 800, 454), 0) << "nothing at the right";
    }
}

TEST_F(PageRendering, WhiteOnBlackKeepsThePositionNumbersBlack) {
    m_displayColor = 1;
    ASSERT_NE(open(writeBook("book.txt", numberedBook(40))), nullptr);
    const QImage image = captureWindow(view());
    EXPECT_EQ(image.pixel(400, 440) & 0xFFFFFF, 0u) << "black background";
    const RECT box = probe().pageNumberRect();
    int dark = 0;
    for (int y = box.top + 2; y < box.top + 14; ++y)
        for (int x = box.left + 2; x < box.right - 2; ++x)
            dark += qGray(image.pixel(x, y)) < 64;
    EXPECT_GT(dark, 3) << "the number is drawn in black on the raised box";
}

TEST_F(PageRendering, ScrollingOneLineRedrawsTheSameImageAsAFullPaint) {
    ASSERT_NE(open(writeBook("book.txt", numberedBook(100))), nullptr);
    lumo::test::tap(view(), pageButton(2));
    lumo::test::tap(view(), pageButton(2));
    ASSERT_EQ(index(), 2);
    const QImage stepped = captureWindow(view()).copy(0, 0, 752, linesPerPage() * rowPitch());
    const QImage full = showFrom(2).copy(0, 0, 752, linesPerPage() * rowPitch());
    EXPECT_EQ(stepped, full);
    lumo::test::tap(view(), pageButton(1));
    const QImage back = captureWindow(view()).copy(0, 0, 752, linesPerPage() * rowPitch());
    EXPECT_EQ(back, showFrom(1).copy(0, 0, 752, linesPerPage() * rowPitch()));
}

TEST_F(PageRendering, WithAWallpaperStepsAndFullPaintsShowTheSameMergedPicture) {
    writeBmp("walls/grey.bmp", 30, 30, qRgb(120, 160, 200));
    m_pathWallpaper = CString((m_dir / "walls").wstring());
    m_alphaWallpaper = 16;
    ASSERT_NE(open(writeBook("book.txt", numberedBook(100))), nullptr);
    ASSERT_FALSE(probe().wallpaperFile().IsEmpty());
    const int height = linesPerPage() * rowPitch();
    const QImage first = captureWindow(view());
    EXPECT_EQ(first.pixel(700, 5) & 0xFFFFFF, 0x78A0C8u) << "the picture where the page is white";
    lumo::test::tap(view(), pageButton(2));
    lumo::test::tap(view(), pageButton(2));
    lumo::test::tap(view(), pageButton(1));
    const QImage stepped = captureWindow(view()).copy(0, 0, 752, height);
    EXPECT_EQ(stepped, showFrom(1).copy(0, 0, 752, height));
}

TEST_F(PageRendering, AnIllustrationLineShowsThePictureOverTheDarkenedPageUntilTheNextRelease) {
    writeBmp("pic.bmp", 40, 20, qRgb(255, 0, 0));
    std::vector<std::wstring> lines = {L"題", L"者", L"", L"［＃挿絵（pic.bmp）入る］",
                                       L"本文です。"};
    ASSERT_NE(open(writeBook("pictured.txt", lines)), nullptr);
    const QImage page = showFrom(3);
    const POINT onLink{10, RUBY_PX + 8};
    lumo::test::tap(view(), onLink);
    ASSERT_EQ(probe().illustrationShown(), 1);
    const QImage shown = captureWindow(view());
    EXPECT_EQ(shown.pixel(400, 227) & 0xFFFFFF, 0xFF0000u) << "the picture, fitted and centred";
    // 40 x 20 fitted into 800 x 454 is 800 x 400, centred: rows 0..26 show the backdrop.
    EXPECT_NEAR(qGray(shown.pixel(400, 10)), 128, 24) << "the white page half-darkened";

    lumo::test::advanceClock(50);
    lumo::test::tap(view(), POINT{300, 300});
    EXPECT_EQ(probe().illustrationShown(), 0);
    EXPECT_EQ(captureWindow(view()), page) << "the page comes back as it was";
}

// Published books add the picture's size to its name; the file has none.
TEST_F(PageRendering, AnIllustrationNamedWithItsPublishedSizeStillShows) {
    writeBmp("pic.bmp", 40, 20, qRgb(255, 0, 0));
    std::vector<std::wstring> lines = {L"題", L"者", L"", L"［＃挿絵（pic.bmp、横40×縦20）入る］"};
    ASSERT_NE(open(writeBook("pictured.txt", lines)), nullptr);
    showFrom(3);
    lumo::test::tap(view(), POINT{10, RUBY_PX + 8});
    ASSERT_EQ(probe().illustrationShown(), 1);
    EXPECT_EQ(captureWindow(view()).pixel(400, 227) & 0xFFFFFF, 0xFF0000u);
}

// Illustrations in books are mostly PNG and wallpapers mostly JPEG photos: the
// reader finds their import plug-ins by the file's extension alone.
TEST_F(PageRendering, APngIllustrationShowsThroughItsImportPlugin) {
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(qRgb(0, 0, 255));
    ASSERT_TRUE(picture.save(QString::fromStdString((m_dir / "pic.png").string()), "PNG"));
    std::vector<std::wstring> lines = {L"題", L"者", L"", L"［＃挿絵（pic.png）入る］",
                                       L"本文です。"};
    ASSERT_NE(open(writeBook("pictured.txt", lines)), nullptr);
    showFrom(3);
    lumo::test::tap(view(), POINT{10, RUBY_PX + 8});
    ASSERT_EQ(probe().illustrationShown(), 1);
    EXPECT_EQ(captureWindow(view()).pixel(400, 227) & 0xFFFFFF, 0x0000FFu);
}

TEST_F(PageRendering, AFolderOfOnlyJpegPhotosGivesAWallpaper) {
    std::filesystem::create_directory(m_dir / "walls");
    QImage photo(30, 30, QImage::Format_RGB32);
    photo.fill(qRgb(120, 160, 200));
    ASSERT_TRUE(
        photo.save(QString::fromStdString((m_dir / "walls" / "photo.jpg").string()), "JPG", 100));
    m_pathWallpaper = CString((m_dir / "walls").wstring());
    m_alphaWallpaper = 16;
    ASSERT_NE(open(writeBook("book.txt", numberedBook(100))), nullptr);
    ASSERT_FALSE(probe().wallpaperFile().IsEmpty());
    const QRgb shown = captureWindow(view()).pixel(700, 5);
    EXPECT_NEAR(qRed(shown), 120, 4);
    EXPECT_NEAR(qGreen(shown), 160, 4);
    EXPECT_NEAR(qBlue(shown), 200, 4);
}

TEST_F(PageRendering, AMissingIllustrationLeavesThePageAsItWas) {
    std::vector<std::wstring> lines = {L"題", L"者", L"", L"［＃挿絵（none.bmp）入る］",
                                       L"本文です。"};
    ASSERT_NE(open(writeBook("pictured.txt", lines)), nullptr);
    const QImage page = showFrom(3);
    lumo::test::tap(view(), POINT{10, RUBY_PX + 8});
    EXPECT_EQ(probe().illustrationShown(), 0);
    EXPECT_EQ(captureWindow(view()), page) << "the loading notice is wiped";
}

TEST_F(PageRendering, AnIllustrationThatDoesNotDecodeLeavesThePageAsItWas) {
    // Both files open, so their plug-ins report success, but neither holds a picture.
    m_dir.write("short.bmp", "BM");
    m_dir.write("text.png", "not a picture");
    std::vector<std::wstring> lines = {L"題", L"者", L"", L"［＃挿絵（short.bmp）入る］",
                                       L"［＃挿絵（text.png）入る］"};
    ASSERT_NE(open(writeBook("pictured.txt", lines)), nullptr);
    const QImage page = showFrom(3);
    for (int row : {0, 1}) {
        lumo::test::advanceClock(1000);
        lumo::test::tap(view(), POINT{10, row * rowPitch() + RUBY_PX + 8});
        EXPECT_EQ(probe().illustrationShown(), 0) << "not the page's own blurred copy, row " << row;
        EXPECT_EQ(captureWindow(view()), page) << row;
    }
}

TEST_F(PageRendering, ALinkPressReleasedOnAnotherLineDoesNothing) {
    writeBmp("pic.bmp", 40, 20, qRgb(255, 0, 0));
    std::vector<std::wstring> lines = {L"題", L"者", L"", L"［＃挿絵（pic.bmp）入る］",
                                       L"本文です。"};
    ASSERT_NE(open(writeBook("pictured.txt", lines)), nullptr);
    showFrom(3);
    lumo::test::penDown(view(), POINT{10, RUBY_PX + 8});
    lumo::test::penUp(view(), POINT{10, rowPitch() + RUBY_PX + 8});
    EXPECT_EQ(probe().illustrationShown(), 0);
    EXPECT_EQ(probe().pressedLinkLine(), -1);
}

TEST_F(PageRendering, EveryOfferedSizeMeasuresFullWidthAsTwiceHalfWidth) {
    CClientDC dc(frame());
    for (const wchar_t* face : {L"ＭＳ ゴシック", L"ＭＳ 明朝"})
        for (int points : {8, 10, 12, 14, 16, 18, 20, 22, 24, 28, 32}) {
            LOGFONT lf{};
            lf.lfHeight = points * dc.GetDeviceCaps(LOGPIXELSY) / 72;
            lf.lfWeight = FW_NORMAL;
            lf.lfCharSet = SHIFTJIS_CHARSET;
            lf.lfPitchAndFamily = 0x31;
            std::wcsncpy(lf.lfFaceName, face, 31);
            CFont font;
            ASSERT_TRUE(font.CreateFontIndirect(&lf));
            CFont* old = dc.SelectObject(&font);
            const int half = dc.GetTextExtent(L"A", 1).cx;
            const int full = dc.GetTextExtent(L"漢", 1).cx;
            const int kana = dc.GetTextExtent(L"か", 1).cx;
            dc.SelectObject(old);
            EXPECT_GT(half, 0);
            EXPECT_EQ(full, 2 * half) << points << " pt";
            EXPECT_EQ(kana, 2 * half) << points << " pt";
        }
}

TEST_F(PageRendering, EveryIconIdHasThirtyTwoPixelArtwork) {
    for (UINT id : {5006u, 5007u, 5009u, 5010u, 5011u, 5013u, 5014u, 5015u, 5016u, 5017u, 5018u,
                    5019u, 5020u, 5024u}) {
        const lumo::IconImage* icon = lumo::findIconResource(yomite::moduleInstance(), id);
        ASSERT_NE(icon, nullptr) << id;
        EXPECT_EQ(icon->width, 32);
        EXPECT_EQ(icon->height, 32);
        const auto opaque = std::count_if(icon->pixels.begin(), icon->pixels.end(),
                                          [](std::uint32_t p) { return (p >> 24) != 0; });
        EXPECT_GT(opaque, 60) << id;
    }
}

} // namespace
