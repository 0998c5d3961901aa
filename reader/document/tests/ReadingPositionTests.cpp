#include "OptionStoreFixture.h"

#include "reader/document/ReadingPosition.h"

#include <climits>

namespace {

struct StoredCase {
    const char* name;
    std::wstring text;
    bool present;
    SourcePosition position;
};

void PrintTo(const StoredCase& c, std::ostream* os) {
    *os << c.name;
}

class StoredPositionTable : public ::testing::TestWithParam<StoredCase> {};

TEST_P(StoredPositionTable, ReadsTheStoredText) {
    const StoredCase& c = GetParam();
    std::optional<SourcePosition> position = yomite::parseStoredPosition(c.text);
    ASSERT_EQ(position.has_value(), c.present);
    if (c.present) {
        EXPECT_EQ(*position, c.position);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StoredPositionTable,
    ::testing::Values(StoredCase{"plain", L"120,36", true, {120, 36}},
                      StoredCase{"empty_keeps_layout_position", L"", false, {}},
                      StoredCase{"no_comma", L"abc", true, {1, 0}},
                      StoredCase{"missing_marker", L"-", true, {1, 0}},
                      StoredCase{"comma_first", L",5", true, {1, 0}},
                      StoredCase{"letters_after_comma", L"12,abc", true, {12, 0}},
                      StoredCase{"spaces_and_signs", L" -3, +4x", true, {-3, 4}},
                      StoredCase{"second_comma_ignored", L"4,5,6", true, {4, 5}},
                      StoredCase{"huge_numbers_clamp",
                                 L"99999999999,-99999999999",
                                 true,
                                 {INT32_MAX, INT32_MIN}}),
    [](const ::testing::TestParamInfo<StoredCase>& info) { return std::string(info.param.name); });

TEST(StoredPosition, FormatsAsLineCommaOffset) {
    EXPECT_EQ(yomite::formatPosition({120, 36}), L"120,36");
    EXPECT_EQ(yomite::formatPosition({0, 0}), L"0,0");
}

class ReadingPosition : public OptionStoreTest {
protected:
    // Ten paragraphs of 20 kana: each makes five display lines at 8 columns.
    static CDavaroDiroBook laidOutBook(int linesPerPage) {
        std::vector<std::wstring> body(10, std::wstring(20, L'あ'));
        CDavaroDiroBook book = bookWithBody(body);
        EXPECT_TRUE(book.layout(8, linesPerPage));
        return book;
    }
    static std::wstring noLegacy(const std::wstring&, const std::wstring&, const std::wstring&) {
        ADD_FAILURE() << "the old profile form must not be consulted";
        return L"";
    }
    const std::wstring path = L"/media/card/books/猫.txt";
};

TEST_F(ReadingPosition, LineUnitsRoundTripThroughCloseAndReopen) {
    CDavaroDiroBook book = laidOutBook(4);
    book.setCurrentIndex(17);
    ASSERT_TRUE(yomite::saveReadingPosition(book, path));
    EXPECT_EQ(option(L"position/" + path), yomite::formatPosition(book.positionOf(17)));
    restart();

    CDavaroDiroBook reopened = laidOutBook(4);
    ASSERT_TRUE(yomite::restoreReadingPosition(reopened, path, noLegacy));
    EXPECT_EQ(reopened.getCurrentIndex(), 17);
}

TEST_F(ReadingPosition, PageUnitsRestoreThePageHoldingTheSavedLine) {
    CDavaroDiroBook book = laidOutBook(4);
    book.setCurrentIndex(17); // display line 17: pages start 0,3,7,11,15,19
    ASSERT_TRUE(yomite::saveReadingPosition(book, path));

    m_scrollRange = 1;
    CDavaroDiroBook reopened = laidOutBook(4);
    ASSERT_TRUE(yomite::restoreReadingPosition(reopened, path, noLegacy));
    EXPECT_EQ(reopened.getCurrentIndex(), 4);

    // Saved in page units, the position is the page's first display line.
    reopened.setCurrentIndex(2);
    ASSERT_TRUE(yomite::saveReadingPosition(reopened, path));
    m_scrollRange = 0;
    ASSERT_TRUE(yomite::restoreReadingPosition(book, path, noLegacy));
    EXPECT_EQ(book.getCurrentIndex(), 7);
}

TEST_F(ReadingPosition, ReflowKeepsTheSameTextInView) {
    CDavaroDiroBook book = laidOutBook(4);
    book.setCurrentIndex(20);
    const SourcePosition before = book.positionOf(book.getCurrentIndex());
    ASSERT_TRUE(book.layout(12, 5));
    book.setCurrentIndex(book.indexOf(before));
    const SourcePosition start = book.positionOf(book.getCurrentIndex());
    const SourcePosition next = book.positionOf(book.getCurrentIndex() + 1);
    EXPECT_LE(start, before);
    EXPECT_LT(before, next);
}

TEST_F(ReadingPosition, PositionIndexRoundTripsForEveryPageAndLine) {
    for (int linesPerPage : {1, 2, 4, 7}) {
        CDavaroDiroBook book = laidOutBook(linesPerPage);
        m_scrollRange = 1;
        for (int page = 0; page < book.getPageCount(); ++page) {
            if (book.getPageStart(page) < book.getPageStart(page + 1)) {
                EXPECT_EQ(book.indexOf(book.positionOf(page)), page) << linesPerPage << "/" << page;
            }
        }
        m_scrollRange = 0;
        for (int line = 0; line + 1 < book.getLineStartCount(); ++line)
            EXPECT_EQ(book.indexOf(book.positionOf(line)), line);
    }
}

TEST_F(ReadingPosition, QueriesOutOfRangeAnswerTheEmptyResults) {
    CDavaroDiroBook empty;
    EXPECT_EQ(empty.positionOf(0), (SourcePosition{0, 0}));
    EXPECT_EQ(empty.indexOf(5, 5), 0);

    CDavaroDiroBook book = laidOutBook(4);
    EXPECT_EQ(book.positionOf(-1), (SourcePosition{0, 0}));
    EXPECT_EQ(book.positionOf(book.getLineStartCount()), (SourcePosition{0, 0}));
    EXPECT_EQ(book.indexOf(-7, 0), 0);
    // Beyond the end: the terminating entry in line units, the end marker in pages.
    EXPECT_EQ(book.indexOf(500, 0), book.getLineStartCount() - 1);
    m_scrollRange = 1;
    EXPECT_EQ(book.indexOf(500, 0), book.getPageCount());
    // The unfinished last page's end marker is the book's last display line.
    EXPECT_EQ(book.positionOf(book.getPageCount()), (SourcePosition{12, 16}));
    EXPECT_EQ(book.positionOf(book.getPageCount() + 1), (SourcePosition{0, 0}));
    m_scrollRange = 2;
    EXPECT_EQ(book.positionOf(5), (SourcePosition{0, 0}));
    EXPECT_EQ(book.indexOf(5, 3), 0);
}

TEST_F(ReadingPosition, AutoSaveOffNeitherWritesNorRestores) {
    writeConfig("[lumo.davarodiro.document]\nposition//media/card/books/猫.txt=5,0\n");
    CDavaroDiroBook book = laidOutBook(4);
    book.setCurrentIndex(9);
    m_autoSaveAtExit = 0;
    EXPECT_FALSE(yomite::saveReadingPosition(book, path));
    EXPECT_EQ(option(L"position/" + path), L"5,0");
    EXPECT_FALSE(yomite::restoreReadingPosition(book, path, noLegacy));
    EXPECT_EQ(book.getCurrentIndex(), 9);
}

TEST_F(ReadingPosition, OldProfileIsReadOnlyWhenTheStoreHasNoEntry) {
    CDavaroDiroBook book = laidOutBook(4);
    std::wstring askedSection;
    std::wstring askedEntry;
    auto legacy = [&](const std::wstring& section, const std::wstring& entry, const std::wstring&) {
        askedSection = section;
        askedEntry = entry;
        return std::wstring(L"6,4");
    };
    ASSERT_TRUE(yomite::restoreReadingPosition(book, path, legacy));
    EXPECT_EQ(askedSection, L"lumo.davarodiro.document\\position");
    EXPECT_EQ(askedEntry, path);
    EXPECT_EQ(book.getCurrentIndex(), book.indexOf(6, 4));
    EXPECT_GT(book.getCurrentIndex(), 0);

    // The next close moves it into the option store, which then wins.
    ASSERT_TRUE(yomite::saveReadingPosition(book, path));
    book.setCurrentIndex(0);
    ASSERT_TRUE(yomite::restoreReadingPosition(book, path, noLegacy));
    EXPECT_EQ(book.getCurrentIndex(), book.indexOf(6, 4));
}

TEST_F(ReadingPosition, WithoutAnApplicationProfileTheBookStartsAtTheBeginning) {
    CDavaroDiroBook book = laidOutBook(4);
    book.setCurrentIndex(12);
    ASSERT_TRUE(yomite::restoreReadingPosition(book, path, nullptr));
    EXPECT_EQ(book.getCurrentIndex(), 0);
}

TEST_F(ReadingPosition, EmptyStoredTextKeepsTheLayoutPosition) {
    writeConfig("[lumo.davarodiro.document]\nposition//media/card/books/猫.txt=\n");
    CDavaroDiroBook book = laidOutBook(4);
    book.setCurrentIndex(5);
    EXPECT_FALSE(yomite::restoreReadingPosition(book, path, noLegacy));
    EXPECT_EQ(book.getCurrentIndex(), 5);
}

TEST_F(ReadingPosition, BookWithoutPathSavesNothing) {
    CDavaroDiroBook book = laidOutBook(4);
    EXPECT_FALSE(yomite::saveReadingPosition(book, L""));
    EXPECT_EQ(option(L"position/"), L"<missing>");
}

} // namespace
