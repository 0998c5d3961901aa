// Books opened from Aozora Bunko archives in the running program: the text,
// its illustration, the recent-files menu, and archives that must be refused.
#include "ReaderFixture.h"

#include "tests/support/ZipFiles.h"

#include "hostkit/MainFrameIds.h"
#include "platform/core/Log.h"

namespace {

using namespace readertest;
using lumo::test::captureWindow;
using lumo::test::pumpMessages;
using lumo::test::ZipEntry;

constexpr int RUBY_PX = 10;

class ArchiveBook : public ReaderFixture {
protected:
    void SetUp() override {
        ReaderFixture::SetUp();
        // Refusals are logged; the tests read them instead of standard error.
        lumo::log::setSink(
            [this](lumo::log::Level, std::string_view text) { m_log += std::string(text) + "\n"; });
        loadReader();
        startProgram();
    }
    void TearDown() override {
        lumo::log::setSink({});
        ReaderFixture::TearDown();
    }
    std::wstring writeZip(const char* name, const std::vector<ZipEntry>& entries) {
        EXPECT_TRUE(lumo::test::writeZip(m_dir / name, entries));
        return (m_dir / name).wstring();
    }
    // A red picture in the archive's "img" folder, referred to as "img/Red.PNG".
    std::string redPng() {
        QImage picture(40, 20, QImage::Format_RGB32);
        picture.fill(qRgb(255, 0, 0));
        const std::string file = (m_dir / "red.png").string();
        EXPECT_TRUE(picture.save(QString::fromStdString(file), "PNG"));
        return m_dir.read("red.png");
    }
    std::wstring illustratedArchive() {
        const std::vector<std::wstring> lines = {L"題", L"者", L"",
                                                 L"［＃挿絵（img/Red.PNG）入る］", L"本文です。"};
        return writeZip("illustrated.zip",
                        {{"neko/neko.txt", shiftJis(lines)}, {"neko/img/red.png", redPng()}});
    }
    QImage showFrom(int first) {
        document()->m_currentIndex = first;
        probe().forgetDrawnPage();
        view()->Invalidate(FALSE);
        pumpMessages();
        return captureWindow(view());
    }

    std::string m_log;
};

TEST_F(ArchiveBook, OpensAndShowsTheSameTextAsThePlainFile) {
    const std::vector<std::wstring> lines = numberedBook(60);
    const std::wstring plain = writeBook("book.txt", lines);
    const QImage fromText = [&] {
        open(plain);
        return captureWindow(view());
    }();
    const std::wstring archive = writeZip("book.zip", {{"book.txt", shiftJis(lines)}});
    ASSERT_NE(open(archive), nullptr);
    EXPECT_EQ(document()->GetPathName().str(), archive);
    EXPECT_EQ(document()->m_sourceLines.size(), lines.size() + 1);
    EXPECT_EQ(captureWindow(view()), fromText);
    EXPECT_EQ(m_log, "");
}

TEST_F(ArchiveBook, ItsIllustrationShowsOnATapFromInsideTheArchive) {
    ASSERT_NE(open(illustratedArchive()), nullptr);
    // Nothing beside the archive on disk: the picture can only come from inside.
    std::filesystem::remove(m_dir / "red.png");
    const QImage page = showFrom(3);
    lumo::test::tap(view(), POINT{10, RUBY_PX + 8});
    ASSERT_EQ(probe().illustrationShown(), 1) << m_log;
    EXPECT_EQ(captureWindow(view()).pixel(400, 227) & 0xFFFFFF, 0xFF0000u);

    lumo::test::advanceClock(50);
    lumo::test::tap(view(), POINT{300, 300});
    EXPECT_EQ(probe().illustrationShown(), 0);
    EXPECT_EQ(captureWindow(view()), page);
}

TEST_F(ArchiveBook, AMissingOrUndecodablePictureLeavesThePageAsItWas) {
    const std::vector<std::wstring> lines = {L"題", L"者", L"", L"［＃挿絵（gone.png）入る］",
                                             L"［＃挿絵（bad.png）入る］"};
    ASSERT_NE(open(writeZip("pictures.zip",
                            {{"book.txt", shiftJis(lines)}, {"bad.png", "not a picture"}})),
              nullptr);
    const QImage page = showFrom(3);
    for (int row : {0, 1}) {
        lumo::test::advanceClock(1000);
        lumo::test::tap(view(), POINT{10, row * rowPitch() + RUBY_PX + 8});
        EXPECT_EQ(probe().illustrationShown(), 0) << row;
        EXPECT_EQ(captureWindow(view()), page) << row;
    }
    EXPECT_NE(m_log.find("has no picture \"gone.png\""), std::string::npos) << m_log;
}

TEST_F(ArchiveBook, TheRecentFilesMenuReopensIt) {
    const std::wstring archive = illustratedArchive();
    ASSERT_NE(open(archive), nullptr);
    ASSERT_NE(open(writeBook("other.txt", numberedBook(5))), nullptr);
    // The archive is now the second entry of the history.
    frame()->SendMessage(WM_COMMAND, ID_FIRST_RECENT_FILE + 1, 0);
    pumpMessages();
    ASSERT_NE(document(), nullptr);
    EXPECT_EQ(document()->GetPathName().str(), archive);
    EXPECT_EQ(document()->getArchiveBookName(), L"neko/neko.txt");
    EXPECT_TRUE(lumo::test::messageBoxes().empty());
}

TEST_F(ArchiveBook, BadArchivesGetTheMessageAndTheProgramStaysUsable) {
    const std::string good = [&] {
        writeZip("good.zip", {{"book.txt", shiftJis(numberedBook(5))}});
        return m_dir.read("good.zip");
    }();
    m_dir.write("text.zip", shiftJis(numberedBook(5)));
    m_dir.write("half.zip", good.substr(0, good.size() / 2));
    m_dir.write("secret.zip", lumo::test::markEncrypted(good));
    m_dir.write("huge.zip", lumo::test::claimSize(good, 0xFFFFFFF0u));
    writeZip("pictures.zip", {{"fig.png", redPng()}});
    writeZip("escape.zip", {{"../book.txt", shiftJis(numberedBook(5))}});
    const std::wstring book = writeBook("fine.txt", numberedBook(20));
    for (const char* name :
         {"text.zip", "half.zip", "secret.zip", "huge.zip", "pictures.zip", "escape.zip"}) {
        lumo::test::resetHooks();
        const std::wstring path = (m_dir / name).wstring();
        frame()->openFile(path);
        pumpMessages();
        EXPECT_EQ(frame()->GetActiveView(), nullptr) << name;
        ASSERT_EQ(lumo::test::messageBoxes().size(), 1u) << name;
        EXPECT_EQ(lumo::test::messageBoxes()[0].text,
                  L"ファイル \"" + path + L"\" を開けませんでした。")
            << name;
        // Still usable: the next book opens and pages.
        ASSERT_NE(open(book), nullptr) << name;
        const int before = index();
        lumo::test::tap(view(), pageButton(2));
        EXPECT_EQ(index(), before + 1) << name;
    }
}

} // namespace
