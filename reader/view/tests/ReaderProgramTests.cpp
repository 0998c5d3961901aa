// The real program from a copy of the staged tree, offscreen, reading the
// sample book: what a user would see and what it remembers at exit.
#include "platform/core/CodePage.h"
#include "platform/core/Utf8.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZipFiles.h"

#include <QColor>
#include <QImage>
#include <QTransform>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The count of page pixels a wallpaper folder changes, and whether the bar
// stayed as it was.
struct WallpaperEffect {
    int changedPagePixels = 0;
    bool barUnchanged = false;
};

class ReaderProgram : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy(LUMO_STAGE_DIR, m_dir / "stage",
                 fs::copy_options::recursive | fs::copy_options::copy_symlinks);
        fs::copy(LUMO_SAMPLES_DIR, m_dir / "samples", fs::copy_options::recursive);
        fs::create_directory(m_dir / "config");
        fs::create_directory(m_dir / "runtime");
        fs::permissions(m_dir / "runtime", fs::perms::owner_all);
    }

    // Runs the program on `book` until it has written its screenshot and
    // closed; the picture, or a null image when it failed.
    QImage run(const fs::path& book, const std::string& shotName) {
        const fs::path program = m_dir / "stage" / "LumoCore";
        const fs::path shot = m_dir / shotName;
        const fs::path errors = m_dir / "stderr.txt";
        pid_t pid = fork();
        if (pid == 0) {
            if (FILE* file = std::fopen(errors.c_str(), "w"))
                dup2(fileno(file), STDERR_FILENO);
            setenv("XDG_RUNTIME_DIR", (m_dir / "runtime").c_str(), 1);
            unsetenv("LUMO_LOG");
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            setenv("LUMO_SCREENSHOT", shot.c_str(), 1);
            setenv("XDG_CONFIG_HOME", (m_dir / "config").c_str(), 1);
            unsetenv("LUMO_CODEPAGE");
            execl(program.c_str(), program.c_str(), book.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        int status = 0;
        while (waitpid(pid, &status, WNOHANG) != pid) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
                ADD_FAILURE() << "the program did not close after its screenshot";
                return {};
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
        return QImage(QString::fromStdString(shot.string()));
    }
    std::string config() const { return m_dir.read("stage/lumoconf.ini"); }
    // What the last run said on standard error.
    std::string errors() const { return m_dir.read("stderr.txt"); }
    void seedConfig(const std::string& text) { m_dir.write("stage/lumoconf.ini", text); }
    fs::path sample() const { return m_dir / "samples" / "haru.txt"; }

    // Runs the sample book with `folder` as the wallpaper folder and compares
    // the picture with `plain`, the one without.
    WallpaperEffect wallpaperEffect(const QImage& plain, const fs::path& folder,
                                    const std::string& shotName) {
        seedConfig("[lumo.davarodiro.document]\nm_pathWallpaper=" + folder.string() +
                   "\nm_alphaWallpaper=16\nm_styleWallpaper=0\n");
        const QImage papered = run(sample(), shotName);
        WallpaperEffect effect;
        if (papered.isNull() || papered.size() != plain.size())
            return effect;
        for (int y = 26; y < plain.height(); ++y)
            for (int x = 0; x < 752; ++x)
                effect.changedPagePixels += plain.pixel(x, y) != papered.pixel(x, y);
        effect.barUnchanged = plain.copy(752, 60, 48, 300) == papered.copy(752, 60, 48, 300);
        return effect;
    }

    lumo::test::TempDir m_dir;
};

int darkPixels(const QImage& image, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            count += qGray(image.pixel(x, y)) < 100;
    return count;
}

TEST_F(ReaderProgram, TheSampleBookShowsRowsOfTextAndTheControlBar) {
    const QImage shot = run(sample(), "sample.png");
    ASSERT_FALSE(shot.isNull());
    ASSERT_EQ(shot.width(), 800);
    // The view sits below the 26-pixel command bar; rows are 28 pixels apart.
    int rowsWithText = 0;
    for (int y = 26; y + 28 <= shot.height(); y += 28)
        rowsWithText += darkPixels(shot, 0, y, 700, y + 28) > 20;
    EXPECT_GE(rowsWithText, 10);
    int blue = 0;
    for (int y = 60; y < shot.height(); ++y)
        for (int x = 752; x < 800; ++x) {
            const QColor c(shot.pixel(x, y));
            blue += c.blue() > 150 && c.red() < 100;
        }
    EXPECT_GT(blue, 400) << "the arrow buttons of the control bar on the right";
    EXPECT_EQ(errors(), "") << "a healthy run prints nothing";
}

TEST_F(ReaderProgram, AStoredPositionIsShownAndWrittenBackAtExit) {
    const std::string key = "position/" + sample().string();
    seedConfig("[lumo.davarodiro.document]\n" + key + "=40,0\n");
    const QImage moved = run(sample(), "moved.png");
    ASSERT_FALSE(moved.isNull());
    EXPECT_NE(config().find(key + "=40,0\n"), std::string::npos) << config();

    seedConfig("");
    const QImage start = run(sample(), "start.png");
    ASSERT_FALSE(start.isNull());
    EXPECT_NE(moved.copy(0, 26, 752, 400), start.copy(0, 26, 752, 400))
        << "a later page than the first";
    EXPECT_NE(config().find(key + "=0,0\n"), std::string::npos);
}

TEST_F(ReaderProgram, VerticalWritingAndATurnedScreenShowTheirPageAndKeepThePosition) {
    const std::string key = "position/" + sample().string();
    struct Case {
        int text, display;
    };
    for (const Case c : {Case{1, 0}, Case{1, 1}, Case{1, 2}, Case{0, 1}}) {
        const std::string text = "m_textDirection=" + std::to_string(c.text) + "\n";
        const std::string display = "m_displayDirection=" + std::to_string(c.display) + "\n";
        seedConfig("[lumo.davarodiro.document]\n" + text + display + key + "=40,0\n");
        const std::string name = "shot" + std::to_string(c.text) + std::to_string(c.display);
        const QImage shot = run(sample(), name + ".png");
        ASSERT_FALSE(shot.isNull()) << name;
        // The view below the command bar, turned back to the page it shows:
        // 28-pixel rows or columns from its top right, the line gap of the
        // first (2 pixels) blank right across the page, the other way not.
        QImage page = shot.copy(0, 26, 800, 454);
        if (c.display != 0)
            page = page.transformed(QTransform().rotate(c.display == 1 ? -90 : 90));
        const int textRight = page.width() - 48;
        const bool rowGapBlank = darkPixels(page, 0, 26, textRight, 28) == 0;
        const bool columnGapBlank =
            darkPixels(page, textRight - 28, 0, textRight - 26, page.height()) == 0;
        EXPECT_EQ(columnGapBlank, c.text == 1) << name;
        EXPECT_EQ(rowGapBlank, c.text == 0) << name;
        EXPECT_NE(config().find(key + "=40,0\n"), std::string::npos) << name << "\n" << config();
        EXPECT_NE(config().find("\n" + text), std::string::npos) << name;
        EXPECT_NE(config().find("\n" + display), std::string::npos) << name;
        EXPECT_EQ(errors(), "") << name;
    }
}

TEST_F(ReaderProgram, ABookWithAnEqualsSignInItsPathKeepsItsPosition) {
    seedConfig("[lumo.davarodiro.document]\nposition/" + sample().string() + "=40,0\n");
    const QImage moved = run(sample(), "moved.png");
    ASSERT_FALSE(moved.isNull());

    const fs::path book = m_dir / "samples" / "a=b.txt";
    fs::copy_file(sample(), book);
    const std::string stored = "\\position/" + (m_dir / "samples").string() + "/a\\eb.txt\t";
    seedConfig("[lumo.davarodiro.document]\n" + stored + "40,0\n");
    for (int run = 0; run < 2; ++run) {
        const QImage shot = this->run(book, "a=b.png");
        ASSERT_FALSE(shot.isNull());
        EXPECT_EQ(shot.copy(0, 26, 752, 400), moved.copy(0, 26, 752, 400))
            << "run " << run << " opens the book where it was left";
        const std::string text = config();
        EXPECT_NE(text.find("\n" + stored + "40,0\n"), std::string::npos) << text;
        EXPECT_EQ(text.find("a=b.txt"), std::string::npos) << "no second, unreadable entry";
    }
}

TEST_F(ReaderProgram, AUtf8CopyOfTheSampleBookLooksTheSame) {
    const QImage shiftJis = run(sample(), "sjis.png");
    ASSERT_FALSE(shiftJis.isNull());
    const std::string text =
        lumo::toUtf8(lumo::decodeMultiByte(932, m_dir.read("samples/haru.txt")));
    // Same name in another folder: the same title, a fresh reading position.
    for (const std::string& mark : {std::string(), std::string("\xEF\xBB\xBF")}) {
        const std::string name = mark.empty() ? "utf8/haru.txt" : "marked/haru.txt";
        m_dir.write(name, mark + text);
        const QImage utf8 = run(m_dir / name, mark.empty() ? "utf8.png" : "marked.png");
        ASSERT_FALSE(utf8.isNull()) << name;
        EXPECT_EQ(utf8, shiftJis) << name;
    }
}

TEST_F(ReaderProgram, AnArchivedBookShowsAndKeepsItsPositionUnderTheArchivesPath) {
    seedConfig("[lumo.davarodiro.document]\nposition/" + sample().string() + "=40,0\n");
    const QImage moved = run(sample(), "moved.png");
    ASSERT_FALSE(moved.isNull());

    // As Aozora Bunko hands books out: the text and its picture in one .zip.
    const fs::path archive = m_dir / "haru.zip";
    ASSERT_TRUE(
        lumo::test::writeZip(archive, {{"haru/haru.txt", m_dir.read("samples/haru.txt")},
                                       {"haru/illust.bmp", m_dir.read("samples/illust.bmp")}}));
    const std::string key = "position/" + archive.string();
    // Inside the first display line of source line 40: kept as its start.
    seedConfig("[lumo.davarodiro.document]\n" + key + "=40,7\n");
    for (int run = 0; run < 2; ++run) {
        const QImage shot = this->run(archive, "archive.png");
        ASSERT_FALSE(shot.isNull());
        EXPECT_EQ(shot.copy(0, 26, 752, 400), moved.copy(0, 26, 752, 400))
            << "run " << run << " opens the archived book where it was left";
        EXPECT_NE(config().find(key + "=40,0\n"), std::string::npos) << config();
    }
}

// The sample of every annotation: in full notation, set in the configuration
// file, the program shows its annotations and keeps the setting at exit; by
// default it shows the basic notation.
TEST_F(ReaderProgram, TheNotationSampleShowsItsAnnotationsOnlyInFullNotation) {
    const fs::path book = m_dir / "samples" / "chuuki.txt";
    const QImage basic = run(book, "basic.png");
    ASSERT_FALSE(basic.isNull());
    EXPECT_NE(config().find("\nm_aozoraNotation=0\n"), std::string::npos) << config();

    seedConfig("[lumo.davarodiro.document]\nm_aozoraNotation=1\n");
    const QImage full = run(book, "full.png");
    ASSERT_FALSE(full.isNull());
    EXPECT_NE(config().find("\nm_aozoraNotation=1\n"), std::string::npos) << config();
    EXPECT_NE(full.copy(0, 26, 752, 400), basic.copy(0, 26, 752, 400));
    // The first body text is indented two full-width columns in full notation,
    // and the block's opening line has no row of its own.
    auto firstDark = [](const QImage& image, int y0, int y1) {
        for (int x = 0; x < 752; ++x)
            if (darkPixels(image, x, y0, x + 1, y1) > 0)
                return x;
        return -1;
    };
    const int row = 26 + 3 * 28;
    const int basicRow = row + 28;
    ASSERT_GE(firstDark(basic, basicRow + 10, basicRow + 26), 0);
    EXPECT_EQ(firstDark(full, row + 10, row + 26),
              firstDark(basic, basicRow + 10, basicRow + 26) + 32);
}

// The screenshot is taken, and the program leaves, as soon as the first
// screen is painted: before the rest of a long book is laid out, so the total
// is not shown yet. Leaving then loses nothing: the place shown is written.
TEST_F(ReaderProgram, ALongBookLeavesAtItsFirstScreenAndKeepsThePlaceShown) {
    std::wstring text = L"題名\r\n作者\r\n\r\n";
    for (int i = 0; i < 20000; ++i)
        text += L"第" + std::to_wstring(i) + L"行の本文です。\r\n";
    m_dir.write("long.txt", lumo::encodeMultiByte(932, text));
    const fs::path book = m_dir / "long.txt";
    const std::string key = "position/" + book.string();
    seedConfig("[lumo.davarodiro.document]\n" + key + "=10003,2\n");
    const QImage first = run(book, "long1.png");
    ASSERT_FALSE(first.isNull());
    EXPECT_NE(config().find(key + "=10003,0\n"), std::string::npos) << config();
    // The number boxes at the top of the bar: the place, and no total yet.
    EXPECT_GT(darkPixels(first, 752, 26, 800, 42), 10) << "the place is shown";
    EXPECT_EQ(darkPixels(first, 754, 44, 798, 56), 0) << "the total is not known yet";

    const QImage second = run(book, "long2.png");
    ASSERT_FALSE(second.isNull());
    EXPECT_EQ(second, first) << "the next start shows the same place";
}

TEST_F(ReaderProgram, AWallpaperFolderChangesThePicture) {
    const QImage plain = run(sample(), "plain.png");
    ASSERT_FALSE(plain.isNull());
    const WallpaperEffect bmp = wallpaperEffect(plain, m_dir / "samples" / "wallpapers", "bmp.png");
    EXPECT_GT(bmp.changedPagePixels, 20000) << "the wallpaper shows behind the text";
    EXPECT_EQ(errors(), "");
    EXPECT_TRUE(bmp.barUnchanged) << "the bar has no wallpaper";

    // Most people's wallpapers are JPEG photos: a folder of nothing else.
    const fs::path photos = m_dir / "photos";
    fs::create_directory(photos);
    for (const auto& entry : fs::directory_iterator(m_dir / "samples" / "wallpapers")) {
        const QImage picture(QString::fromStdString(entry.path().string()));
        ASSERT_FALSE(picture.isNull()) << entry.path();
        const fs::path photo = photos / entry.path().filename().replace_extension(".jpg");
        ASSERT_TRUE(picture.save(QString::fromStdString(photo.string()), "JPG", 90));
    }
    const WallpaperEffect jpeg = wallpaperEffect(plain, photos, "jpeg.png");
    EXPECT_GT(jpeg.changedPagePixels, 20000) << "the photo shows behind the text";
    EXPECT_TRUE(jpeg.barUnchanged);
}

} // namespace
