// Books in archives made by the tests with libzip, good and bad.
#include "reader/document/BookArchive.h"
#include "reader/document/DavaroDiroBook.h"
#include "reader/document/PictureLocation.h"

#include "platform/core/Log.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZipFiles.h"

#include <gtest/gtest.h>

namespace {

using lumo::test::ZipEntry;
using Lines = std::vector<std::wstring>;

// 吾輩は猫である in Shift_JIS.
const std::string CAT = "\x8C\xE1\x94\x79\x82\xCD\x94\x4C\x82\xC5\x82\xA0\x82\xE9";
const std::string BOOK = "t\r\na\r\n\r\n" + CAT + "\r\n";

class BookArchiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        lumo::log::setSink([this](lumo::log::Level, std::string_view text) {
            m_messages += std::string(text) + "\n";
        });
    }
    void TearDown() override { lumo::log::setSink({}); }

    std::wstring zip(const char* name, const std::vector<ZipEntry>& entries) {
        EXPECT_TRUE(lumo::test::writeZip(m_dir / name, entries)) << name;
        return (m_dir / name).wstring();
    }
    std::wstring file(const char* name, const std::string& bytes) {
        m_dir.write(name, bytes);
        return (m_dir / name).wstring();
    }

    lumo::test::TempDir m_dir;
    std::string m_messages;
};

TEST_F(BookArchiveTest, TheBookIsTheFirstTextEntryInArchiveOrder) {
    const std::wstring path = zip("book.zip", {{"readme.html", "<p>"},
                                               {"folder/", ""},
                                               {"folder/neko.TXT", BOOK},
                                               {"folder/second.txt", "x\ny\nz"},
                                               {"folder/fig01.png", "png"}});
    CDavaroDiroBook book;
    ASSERT_TRUE(book.loadFile(path.c_str())) << m_messages;
    EXPECT_EQ(book.m_sourceLines, (Lines{L"t", L"a", L"", L"吾輩は猫である", L""}));
    EXPECT_EQ(book.getArchiveBookName(), L"folder/neko.TXT");
    EXPECT_EQ(m_messages, "") << "a healthy archive says nothing";
}

TEST_F(BookArchiveTest, BooksAndNamesDecodeLikeBooksOnDisk) {
    // A UTF-8 book, and a Shift_JIS book under a Shift_JIS name (猫.txt) as
    // archivers on Japanese systems write them, with stored (not deflated) data.
    const std::wstring utf8 = zip("utf8.zip", {{"本.txt", "\xEF\xBB\xBF"
                                                          "一\n二\n三"}});
    const std::wstring sjis = zip("sjis.zip", {{"\x94\x4C.txt", BOOK, true}});
    CDavaroDiroBook fromUtf8;
    ASSERT_TRUE(fromUtf8.loadFile(utf8.c_str())) << m_messages;
    EXPECT_EQ(fromUtf8.m_sourceLines, (Lines{L"一", L"二", L"三"}));
    EXPECT_EQ(fromUtf8.getArchiveBookName(), L"本.txt");
    CDavaroDiroBook fromSjis;
    ASSERT_TRUE(fromSjis.loadFile(sjis.c_str())) << m_messages;
    EXPECT_EQ(fromSjis.m_sourceLines[3], L"吾輩は猫である");
    EXPECT_EQ(fromSjis.getArchiveBookName(), L"猫.txt");
}

TEST_F(BookArchiveTest, BadArchivesAreRefusedWithAReason) {
    const std::string good = [&] {
        zip("good.zip", {{"book.txt", BOOK}, {"fig.png", std::string(3000, 'p')}});
        return m_dir.read("good.zip");
    }();
    const std::string stored = [&] {
        zip("stored.zip", {{"book.txt", BOOK, true}});
        return m_dir.read("stored.zip");
    }();
    std::string corrupt = good;
    // Inside the deflated book: the inflated text no longer matches its CRC.
    corrupt[lumo::test::headerOffsets(good, "PK\x03\x04")[0] + 30 + 8 + 3] ^= 0x5A;

    const struct {
        const char* name;
        std::wstring path;
        const char* said;
    } cases[] = {
        {"not a zip", file("text.zip", BOOK), "is not a zip archive"},
        {"empty file", file("empty.zip", ""), "is not a zip archive"},
        {"truncated", file("half.zip", good.substr(0, good.size() / 2)), "is not a zip archive"},
        {"end cut off", file("cut.zip", good.substr(0, good.size() - 10)), "is not a zip archive"},
        {"corrupt data", file("corrupt.zip", corrupt), "book.txt"},
        {"no text entry", zip("pictures.zip", {{"fig.png", "png"}, {"readme", "r"}}),
         "holds no book"},
        {"only an escaping name", zip("escape.zip", {{"../book.txt", BOOK}}), "leaves the archive"},
        {"only an absolute name", zip("absolute.zip", {{"/tmp/book.txt", BOOK}}),
         "leaves the archive"},
        {"encrypted", file("secret.zip", lumo::test::markEncrypted(good)), "encrypted"},
        {"claims 4 GiB", file("huge.zip", lumo::test::claimSize(good, 0xFFFFFFF0u)), "larger than"},
        {"claims fewer bytes than it holds", file("fewer.zip", lumo::test::claimSize(good, 10)),
         "book.txt"},
        {"stored, claims more than it holds", file("more.zip", lumo::test::claimSize(stored, 5000)),
         "book.txt"},
        {"a directory", (m_dir / "dir.zip").wstring(), "not a regular file"},
        {"missing", (m_dir / "missing.zip").wstring(), "cannot open"},
    };
    std::filesystem::create_directory(m_dir / "dir.zip");
    for (const auto& c : cases) {
        m_messages.clear();
        CDavaroDiroBook book;
        book.m_sourceLines = {L"kept"};
        EXPECT_FALSE(book.loadFile(c.path.c_str())) << c.name;
        EXPECT_EQ(book.m_sourceLines, Lines{L"kept"}) << c.name;
        EXPECT_NE(m_messages.find(c.said), std::string::npos) << c.name << ": " << m_messages;
    }
}

TEST_F(BookArchiveTest, ATextBeyondTheLimitIsNotInflated) {
    // 64 MiB and a byte deflate to a few dozen kilobytes: a bomb, by size.
    const std::string text(yomite::MAX_ARCHIVE_BOOK_BYTES, 'a');
    const std::wstring bomb = zip("bomb.zip", {{"book.txt", text + "a"}});
    CDavaroDiroBook book;
    EXPECT_FALSE(book.loadFile(bomb.c_str()));
    EXPECT_NE(m_messages.find("larger than 67108864 bytes"), std::string::npos) << m_messages;
    zip("full.zip", {{"book.txt", text}});
    auto full = yomite::BookArchive::openMemory(m_dir.read("full.zip"), L"full.zip");
    ASSERT_TRUE(full);
    const std::optional<std::string> read = full->readBook();
    ASSERT_TRUE(read) << "exactly the limit is a book";
    EXPECT_EQ(read->size(), text.size());
}

TEST_F(BookArchiveTest, EscapingNamesArePassedOverAndNeverTouchTheDisk) {
    const std::wstring path = zip("mixed.zip", {{"../evil.txt", "evil"},
                                                {"/tmp/lumo-evil.txt", "evil"},
                                                {"book.txt", BOOK},
                                                {"../fig.png", "evil"}});
    CDavaroDiroBook book;
    ASSERT_TRUE(book.loadFile(path.c_str()));
    EXPECT_EQ(book.getArchiveBookName(), L"book.txt");
    EXPECT_FALSE(std::filesystem::exists(m_dir.path().parent_path() / "evil.txt"));
    EXPECT_FALSE(yomite::locatePicture(path, L"book.txt", L"../fig.png", 1000))
        << "a reference cannot climb out to reach it either";
}

TEST_F(BookArchiveTest, PicturesAreFoundFromTheBooksFolderIgnoringLetterCase) {
    const std::wstring path = zip("illustrated.zip", {{"neko/neko.txt", BOOK},
                                                      {"neko/img/Fig01.PNG", "first"},
                                                      {"neko/fig02.jpg", "second"},
                                                      {"top.bmp", "top"},
                                                      {"neko/big.png", std::string(2000, 'b')}});
    const struct {
        const wchar_t* reference;
        const wchar_t* name;
        const char* bytes;
    } found[] = {
        {L"img/fig01.png", L"neko/img/Fig01.PNG", "first"},
        {L"img\\FIG01.png", L"neko/img/Fig01.PNG", "first"},
        {L"./FIG02.JPG", L"neko/fig02.jpg", "second"},
        {L"../top.bmp", L"top.bmp", "top"},
    };
    for (const auto& f : found) {
        const auto picture = yomite::locatePicture(path, L"neko/neko.txt", f.reference, 1000);
        ASSERT_TRUE(picture) << std::wstring(f.reference) << m_messages;
        EXPECT_EQ(picture->name, f.name);
        EXPECT_EQ(picture->bytes, std::optional<std::string>(f.bytes));
    }
    EXPECT_FALSE(yomite::locatePicture(path, L"neko/neko.txt", L"fig01.png", 1000))
        << "not in the book's folder";
    EXPECT_FALSE(yomite::locatePicture(path, L"neko/neko.txt", L"missing.png", 1000));
    EXPECT_FALSE(yomite::locatePicture(path, L"neko/neko.txt", L"big.png", 1999))
        << "beyond the import plug-ins' limit";
    EXPECT_TRUE(yomite::locatePicture(path, L"neko/neko.txt", L"big.png", 2000));

    // A book on disk: the path beside it, either separator.
    const auto onDisk = yomite::locatePicture(L"/books/neko.txt", L"", L"img\\fig01.png", 1000);
    ASSERT_TRUE(onDisk);
    EXPECT_EQ(onDisk->name, L"/books/img/fig01.png");
    EXPECT_FALSE(onDisk->bytes);
}

// Published books write a picture as "fig.png、横320×縦240": the file has no
// size in its name, but a file that does is still taken first.
TEST_F(BookArchiveTest, APublishedSizeSuffixIsDroppedWhenNoFileCarriesIt) {
    const std::wstring book = file("book.txt", BOOK);
    const std::wstring folder = m_dir.path().wstring() + L"/";
    file("fig.png", "picture");
    const auto plain = yomite::locatePicture(book, L"", L"fig.png、横320×縦240", 1000);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->name, folder + L"fig.png");
    const auto fullWidth = yomite::locatePicture(book, L"", L"fig.png、横３２０×縦２４０", 1000);
    ASSERT_TRUE(fullWidth);
    EXPECT_EQ(fullWidth->name, folder + L"fig.png");
    const auto notASize = yomite::locatePicture(book, L"", L"fig.png、横320", 1000);
    ASSERT_TRUE(notASize);
    EXPECT_EQ(notASize->name, folder + L"fig.png、横320") << "only a whole size is dropped";

    m_dir.write("both.png、横1×縦2", "sized");
    const auto sized = yomite::locatePicture(book, L"", L"both.png、横1×縦2", 1000);
    ASSERT_TRUE(sized);
    EXPECT_EQ(sized->name, folder + L"both.png、横1×縦2");

    const std::wstring archive = zip("sized.zip", {{"book.txt", BOOK}, {"img/fig.png", "inside"}});
    const auto inside =
        yomite::locatePicture(archive, L"book.txt", L"img/fig.png、横320×縦240", 1000);
    ASSERT_TRUE(inside) << m_messages;
    EXPECT_EQ(inside->name, L"img/fig.png");
    EXPECT_EQ(inside->bytes, std::optional<std::string>("inside"));
    EXPECT_FALSE(yomite::locatePicture(archive, L"book.txt", L"img/none.png、横1×縦2", 1000));
}

TEST_F(BookArchiveTest, AnArchiveInMemoryReadsTheSame) {
    zip("book.zip", {{"book.txt", BOOK}});
    const std::string bytes = m_dir.read("book.zip");
    auto archive = yomite::BookArchive::openMemory(bytes, L"memory");
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->bookName(), L"book.txt");
    EXPECT_EQ(archive->readBook(), std::optional<std::string>(BOOK));
    EXPECT_FALSE(yomite::BookArchive::openMemory(BOOK, L"memory"));
}

} // namespace
