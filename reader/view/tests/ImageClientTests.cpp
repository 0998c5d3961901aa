// The reader's image plug-in client against the real staged plug-ins, copied
// beside a test "program" so that they are found by name as in the product.
#include "ReaderFixture.h"

#include "reader/view/ImageClient.h"

#include "imageplugins/ImagePlugin.h"
#include "picture/PLImage.h"
#include "platform/core/Log.h"

namespace {

using namespace readertest;

// A named image as the reader makes them.
struct Image {
    Image() : p(CPLImage::Create()) { p->CreateImage(L"image"); }
    ~Image() { CPLImage::Destroy(p); }
    CPLImage* p;
    std::pair<int, int> size() const {
        int w = 0, h = 0;
        p->GetImageSize(w, h);
        return {w, h};
    }
};

// A memory DC with a bitmap to render into.
struct Canvas {
    Canvas(int w, int h) {
        screen.CreateCompatibleDC(nullptr);
        dc.CreateCompatibleDC(&screen);
        bitmap.CreateCompatibleBitmap(&screen, w, h);
        old = dc.SelectObject(&bitmap);
    }
    ~Canvas() { dc.SelectObject(old); }
    QRgb at(int x, int y) {
        COLORREF c = dc.GetPixel(x, y);
        return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
    }
    CDC screen, dc;
    CBitmap bitmap;
    CBitmap* old = nullptr;
};

using ImageClient = ReaderFixture;

TEST_F(ImageClient, ImportNamesComeFromTheLastDotOfThePath) {
    const std::wstring dir = CLumoPluginManager::GetToolModuleDirectory();
    struct Row {
        std::wstring path;
        std::wstring expected;
    } rows[] = {
        {L"/books/a.bmp", dir + L"bmp_import_wince.iplg"},
        {L"/books/a.tar.JPG", dir + L"JPG_import_wince.iplg"},
        {L"/books.d/picture", dir + L"d/picture_import_wince.iplg"},
        {L"/books/picture", L""},
        {L"/b/x." + std::wstring(MAX_PATH, L'p'), L""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(yomite::importPluginName(row.path), row.expected);
}

TEST_F(ImageClient, ReadsThroughThePluginNamedForTheExtensionAndSaysWhyItCannot) {
    std::vector<std::string> warnings;
    lumo::log::setSink(
        [&](lumo::log::Level, std::string_view text) { warnings.emplace_back(text); });
    writeBmp(m_dir, "p.bmp", 6, 3, [](int, int) { return qRgb(1, 2, 3); });
    m_dir.write("p.xyz", "whatever");
    m_dir.write("noextension", "BM");
    Image image;
    EXPECT_TRUE(readPictureFile((m_dir / "p.bmp").wstring().c_str(), image.p));
    EXPECT_EQ(image.size(), std::make_pair(6, 3));
    writeBmp(m_dir, "q.Bmp", 4, 2, [](int, int) { return qRgb(1, 2, 3); });
    Image mixedCase;
    EXPECT_TRUE(readPictureFile((m_dir / "q.Bmp").wstring().c_str(), mixedCase.p))
        << "an extension in any letter case finds its plug-in";
    EXPECT_EQ(mixedCase.size(), std::make_pair(4, 2));
    Image other;
    EXPECT_FALSE(readPictureFile((m_dir / "p.xyz").wstring().c_str(), other.p))
        << "no such import plug-in";
    EXPECT_FALSE(readPictureFile((m_dir / "noextension").wstring().c_str(), other.p));
    EXPECT_FALSE(readPictureFile((m_dir / "missing.bmp").wstring().c_str(), other.p));
    EXPECT_FALSE(readPictureFile(nullptr, other.p));
    EXPECT_TRUE(lumo::test::messageBoxes().empty()) << "no message box, only the log";
    lumo::log::setSink({});

    const std::string dir = m_dir.path().string();
    EXPECT_EQ(warnings,
              (std::vector<std::string>{
                  "image plug-in not loaded: " + dir +
                      "/xyz_import_wince.iplg: cannot open shared object file: No such file or "
                      "directory",
                  "no image plug-in reads " + dir + "/noextension: the name has no extension",
                  "picture " + dir + "/missing.bmp could not be read by " + dir +
                      "/bmp_import_wince.iplg",
              }));
}

TEST_F(ImageClient, FitScalesByOnePercentageToFitOrCover) {
    writeBmp(m_dir, "p.bmp", 100, 50, [](int, int) { return qRgb(9, 9, 9); });
    struct Row {
        int mode, width, height;
        bool ok;
        int outW, outH;
    } rows[] = {
        {2, 200, 200, true, 200, 100}, {1, 200, 200, true, 400, 200}, {2, 50, 50, true, 50, 25},
        {1, 100, 50, true, 100, 50},   {0, 200, 200, false, 0, 0},    {3, 200, 200, false, 0, 0},
    };
    for (const Row& row : rows) {
        Image source, destination;
        ASSERT_TRUE(readPictureFile((m_dir / "p.bmp").wstring().c_str(), source.p));
        EXPECT_EQ(fitPicture(source.p, destination.p, row.mode, row.width, row.height), row.ok)
            << row.mode;
        if (row.ok) {
            EXPECT_EQ(destination.size(), std::make_pair(row.outW, row.outH))
                << row.mode << " " << row.width;
        }
    }
}

TEST_F(ImageClient, WallpaperListHoldsBitmapsThenJpegsWithOneSeparator) {
    for (const char* name : {"walls/b.bmp", "walls/a.jpg", "walls/c.txt", "walls/d.BMP"})
        m_dir.write(name, "x");
    std::filesystem::create_directory(m_dir / "walls" / "dir.bmp");
    const std::wstring folder = (m_dir / "walls").wstring();
    for (const std::wstring& given : {folder, folder + L"/"}) {
        std::vector<std::wstring> files = yomite::listWallpapers(given);
        ASSERT_EQ(files.size(), 3u);
        std::sort(files.begin(), files.begin() + 2);
        EXPECT_EQ(files[0], folder + L"/b.bmp");
        EXPECT_EQ(files[1], folder + L"/d.BMP");
        EXPECT_EQ(files[2], folder + L"/a.jpg") << "pictures of the second pattern come last";
    }
    EXPECT_TRUE(yomite::listWallpapers(folder + L"/missing").empty());
    EXPECT_TRUE(yomite::listWallpapers(L"").empty());
}

TEST_F(ImageClient, WallpaperStylesTileScaleAndBlend) {
    // Left half red, right half blue.
    writeBmp(m_dir, "w.bmp", 100, 50,
             [](int x, int) { return x < 50 ? qRgb(255, 0, 0) : qRgb(0, 0, 255); });
    const CString file((m_dir / "w.bmp").wstring());
    const SIZE area{200, 200};
    {
        Canvas canvas(200, 200);
        ASSERT_TRUE(renderWallpaper(file, 2, area, true, 256, &canvas.dc));
        // Scaled to 200 x 100 and repeated below itself.
        EXPECT_EQ(canvas.at(20, 20), qRgb(255, 0, 0));
        EXPECT_EQ(canvas.at(180, 20), qRgb(0, 0, 255));
        EXPECT_EQ(canvas.at(20, 150), qRgb(255, 0, 0));
        EXPECT_EQ(canvas.at(180, 150), qRgb(0, 0, 255));
    }
    {
        Canvas canvas(200, 200);
        ASSERT_TRUE(renderWallpaper(file, 1, area, true, 256, &canvas.dc));
        // 400 %: 400 x 200, cut at the area: only the red half shows.
        EXPECT_EQ(canvas.at(180, 180), qRgb(255, 0, 0));
    }
    {
        Canvas canvas(200, 200);
        ASSERT_TRUE(renderWallpaper(file, 0, area, true, 256, &canvas.dc));
        EXPECT_EQ(canvas.at(110, 60), qRgb(255, 0, 0)) << "own size, tiled";
        EXPECT_EQ(canvas.at(160, 160), qRgb(0, 0, 255));
    }
    {
        Canvas canvas(200, 200);
        ASSERT_TRUE(renderWallpaper(file, 0, area, true, 128, &canvas.dc));
        const QRgb half = canvas.at(10, 10);
        EXPECT_EQ(qRed(half), 255);
        EXPECT_NEAR(qGreen(half), 128, 2) << "half-way towards the white base";
        Canvas dark(200, 200);
        ASSERT_TRUE(renderWallpaper(file, 0, area, false, 8 * 16, &dark.dc));
        EXPECT_NEAR(qRed(dark.at(10, 10)), 128, 2) << "half-way towards the black base";
        Canvas over(200, 200);
        ASSERT_TRUE(renderWallpaper(file, 0, area, true, 99 * 16, &over.dc));
        EXPECT_EQ(over.at(10, 10), qRgb(255, 0, 0)) << "above 16 sixteenths acts as 16";
    }
}

TEST_F(ImageClient, AFailedWallpaperLeavesThePlainBase) {
    m_dir.write("broken.bmp", "BM not really");
    for (const std::wstring& name :
         {std::wstring(L"broken.bmp"), std::wstring(L"missing.bmp"), std::wstring(L"x.jpeg2")}) {
        Canvas canvas(50, 50);
        canvas.dc.FillSolidRect(0, 0, 50, 50, RGB(1, 2, 3));
        EXPECT_FALSE(renderWallpaper(CString((m_dir / "w").wstring() + name), 0, SIZE{50, 50},
                                     false, 256, &canvas.dc));
        EXPECT_EQ(canvas.at(25, 25), qRgb(0, 0, 0)) << "black base";
    }
}

TEST_F(ImageClient, IllustrationScreenCentresThePictureOverADarkenedPage) {
    writeBmp(m_dir, "pic.bmp", 20, 10, [](int, int) { return qRgb(0, 200, 0); });
    const int W = 200, H = 150;
    BITMAPINFOHEADER header{};
    header.biSize = 40;
    header.biWidth = W;
    header.biHeight = H;
    header.biPlanes = 1;
    header.biBitCount = 24;
    std::vector<unsigned char> bits(static_cast<size_t>(((3 * W + 3) & ~3) * H),
                                    0xFF); // a white page
    Canvas canvas(W, H);
    ASSERT_TRUE(
        composeIllustration(&header, bits.data(), {(m_dir / "pic.bmp").wstring()}, &canvas.dc));
    EXPECT_EQ(canvas.at(100, 75), qRgb(0, 200, 0));
    // Enlarged to 200 x 100 and centred: rows 0..24 are backdrop.
    EXPECT_NEAR(qGray(canvas.at(100, 10)), 128, 8);
    EXPECT_EQ(canvas.at(100, 26), qRgb(0, 200, 0));

    Canvas untouched(W, H);
    untouched.dc.FillSolidRect(0, 0, W, H, RGB(7, 7, 7));
    EXPECT_FALSE(
        composeIllustration(&header, bits.data(), {(m_dir / "none.bmp").wstring()}, &untouched.dc));
    EXPECT_FALSE(
        composeIllustration(nullptr, bits.data(), {(m_dir / "pic.bmp").wstring()}, &untouched.dc));
}

TEST_F(ImageClient, WithoutThePluginsEveryStepFails) {
    writeBmp(m_dir, "p.bmp", 4, 4, [](int, int) { return qRgb(1, 1, 1); });
    std::filesystem::remove(m_dir / "scaler.fplg");
    std::filesystem::remove(m_dir / "mixer.fplg");
    Image source, destination;
    ASSERT_TRUE(readPictureFile((m_dir / "p.bmp").wstring().c_str(), source.p));
    RESIZE_OPTION resize{0, 200, 1};
    ALPHABLEND_OPTION blend{0, 128};
    // The libraries loaded by earlier tests stay in memory, but are bound by
    // their full names, which no longer exist here.
    lumo::setProgramPathForTesting((m_dir / "elsewhere" / "LumoCore").wstring());
    EXPECT_FALSE(scalePicture(source.p, destination.p, &resize));
    EXPECT_FALSE(blendPicture(source.p, source.p, &blend));
    EXPECT_FALSE(fitPicture(source.p, destination.p, 2, 8, 8));
}

} // namespace
