// The layout in steps: whatever the steps, the finished tables are the whole
// layout's, and every query answers as it would after the whole layout once
// the step it asks for has been laid out.
#include "BookFixture.h"

#include <climits>
#include <random>

namespace {

using Positions = std::vector<SourcePosition>;

// Random books in either notation, with page breaks, blocks and lines of
// nothing but annotations (which move the end of the row before them).
CDavaroDiroBook randomBook(std::mt19937& random) {
    static const std::vector<std::wstring> pieces = {L"あ",
                                                     L"漢字",
                                                     L"。",
                                                     L"「",
                                                     L"abc ",
                                                     L"12.5",
                                                     L"《かな》",
                                                     L"｜",
                                                     L"［＃改ページ］",
                                                     L"［＃３字下げ］",
                                                     L"［＃ここから２字下げ］",
                                                     L"［＃ここで字下げ終わり］",
                                                     L"［＃「あ」は中見出し］",
                                                     L"［＃地付き］",
                                                     L"<img src=\"b.png\">",
                                                     L"あいうえおかきくけこ"};
    CDavaroDiroBook book;
    book.m_sourceLines = {L"題名", L"作者", L""};
    const int lines = 1 + static_cast<int>(random() % 40);
    for (int j = 0; j < lines; ++j) {
        std::wstring line;
        for (int k = static_cast<int>(random() % 10); k > 0; --k)
            line += pieces[random() % pieces.size()];
        book.m_sourceLines.push_back(line);
    }
    return book;
}

class IncrementalLayout : public BookTest {};

TEST_F(IncrementalLayout, AnyStepsGiveTheWholeLayoutsTables) {
    std::mt19937 random(5);
    for (int round = 0; round < 300; ++round) {
        m_aozoraNotation = round % 2;
        const int columns = 2 + static_cast<int>(random() % 30);
        const int lines = 1 + static_cast<int>(random() % 6);
        CDavaroDiroBook whole = randomBook(random);
        CDavaroDiroBook stepped = whole;
        ASSERT_TRUE(whole.layout(columns, lines));
        ASSERT_TRUE(stepped.beginLayout(columns, lines));
        EXPECT_EQ(stepped.isLayoutComplete(), false);
        const int step = 1 + static_cast<int>(random() % 5);
        int calls = 0;
        while (!stepped.continueLayout(step))
            ASSERT_LT(++calls, 1000) << "round " << round;
        EXPECT_TRUE(stepped.isLayoutComplete());
        EXPECT_EQ(stepped.getLineStarts(), whole.getLineStarts()) << "round " << round;
        EXPECT_EQ(stepped.getPageStarts(), whole.getPageStarts()) << "round " << round;
        EXPECT_EQ(stepped.m_lineStates.size(), whole.m_lineStates.size()) << "round " << round;
    }
}

TEST_F(IncrementalLayout, QueriesAnswerAsAfterTheWholeLayoutOnceTheirPartIsLaidOut) {
    std::mt19937 random(9);
    for (int round = 0; round < 300; ++round) {
        m_aozoraNotation = round % 2;
        const int columns = 2 + static_cast<int>(random() % 30);
        const int lines = 1 + static_cast<int>(random() % 6);
        CDavaroDiroBook whole = randomBook(random);
        ASSERT_TRUE(whole.layout(columns, lines));
        const Positions& starts = whole.getLineStarts();
        const std::vector<int32_t>& pages = whole.getPageStarts();

        // Line starts: the first `count` entries, and the text of the lines they begin.
        {
            CDavaroDiroBook book = whole;
            ASSERT_TRUE(book.beginLayout(columns, lines));
            const int count = static_cast<int>(random() % (starts.size() + 2));
            book.layoutUntilLineStarts(count);
            ASSERT_GE(book.getLineStartCount(), std::min<int>(count, starts.size()));
            for (int k = 0; k < count && k < book.getLineStartCount(); ++k)
                ASSERT_EQ(book.getLineStarts()[k], starts[k])
                    << "round " << round << " entry " << k;
            for (int k = 0; k + 1 < count; ++k) {
                ASSERT_EQ(book.getDisplayLineText(k), whole.getDisplayLineText(k))
                    << "round " << round << " line " << k;
                const yomite::DisplayLineNotation notation = book.getDisplayLineNotation(k);
                const yomite::DisplayLineNotation expected = whole.getDisplayLineNotation(k);
                ASSERT_EQ(notation.visible, expected.visible) << "round " << round << " line " << k;
                ASSERT_EQ(notation.indent, expected.indent) << "round " << round << " line " << k;
                ASSERT_EQ(notation.heading, expected.heading) << "round " << round << " line " << k;
            }
        }
        // Pages: the first `count` pages and the rows on them.
        {
            CDavaroDiroBook book = whole;
            ASSERT_TRUE(book.beginLayout(columns, lines));
            const int count = static_cast<int>(random() % (pages.size() + 1));
            book.layoutUntilPages(count);
            ASSERT_GE(book.getPageCount(), std::min<int>(count, whole.getPageCount()));
            for (int p = 0; p <= count && p < static_cast<int>(pages.size()); ++p) {
                ASSERT_EQ(book.getPageStart(p), pages[p]) << "round " << round << " page " << p;
                ASSERT_EQ(book.getLineStarts()[pages[p]], starts[pages[p]]) << "round " << round;
            }
        }
        // Positions: indexOf in either unit, for a place anywhere in the book.
        for (int units : {0, 1}) {
            m_scrollRange = units;
            CDavaroDiroBook book = whole;
            ASSERT_TRUE(book.beginLayout(columns, lines));
            const int32_t line = static_cast<int32_t>(random() % (whole.m_sourceLines.size() + 2));
            const SourcePosition position{line, static_cast<int32_t>(random() % 12)};
            book.layoutUntilPosition(position);
            EXPECT_EQ(book.indexOf(position), whole.indexOf(position))
                << "round " << round << " units " << units;
            EXPECT_EQ(book.positionOf(book.indexOf(position)),
                      whole.positionOf(whole.indexOf(position)))
                << "round " << round << " units " << units;
            m_scrollRange = 0;
        }
    }
}

// Stored places are read clamped to 32 bits, so any of them may reach here.
TEST_F(IncrementalLayout, PlacesBeyondEitherEndOfTheBookAreReachedSafely) {
    std::vector<std::wstring> body(50, L"本文の行です。");
    const CDavaroDiroBook whole = [&] {
        CDavaroDiroBook book = bookWithBody(body);
        EXPECT_TRUE(book.layout(8, 4));
        return book;
    }();
    const struct {
        SourcePosition position;
        bool laysOutWhole;
    } cases[] = {{{INT32_MAX, INT32_MAX}, true},  {{53, 0}, true},  {{40, 3}, false},
                 {{INT32_MIN, INT32_MIN}, false}, {{-1, 5}, false}, {{0, INT32_MAX}, false}};
    for (int units : {0, 1}) {
        m_scrollRange = units;
        for (const auto& c : cases) {
            CDavaroDiroBook book = bookWithBody(body);
            ASSERT_TRUE(book.beginLayout(8, 4));
            book.layoutUntilPosition(c.position);
            EXPECT_EQ(book.isLayoutComplete(), c.laysOutWhole)
                << c.position.line << "," << c.position.offset;
            EXPECT_EQ(book.indexOf(c.position), whole.indexOf(c.position))
                << c.position.line << "," << c.position.offset << " units " << units;
        }
    }
    m_scrollRange = 0;
}

TEST_F(IncrementalLayout, ABeginningOnlyLaysOutTheTitlePage) {
    std::vector<std::wstring> body(500, L"本文の行です。");
    CDavaroDiroBook book = bookWithBody(body);
    ASSERT_TRUE(book.beginLayout(8, 4));
    EXPECT_EQ(book.getLineStarts(), (Positions{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
    EXPECT_EQ(book.getPageStarts(), (std::vector<int32_t>{0, 3}));
    EXPECT_FALSE(book.isLayoutComplete());
    book.layoutUntilLineStarts(10);
    EXPECT_LT(book.getLineStartCount(), 20) << "only as far as asked";
    EXPECT_FALSE(book.isLayoutComplete());
    book.completeLayout();
    EXPECT_TRUE(book.isLayoutComplete());
    EXPECT_EQ(book.getLineStartCount(), 3 + 500 * 2 + 1);

    // Refusals are layout's, and leave nothing to continue.
    CDavaroDiroBook shortBook = bookWithBody({});
    shortBook.m_sourceLines.pop_back();
    EXPECT_FALSE(shortBook.beginLayout(8, 4));
    EXPECT_TRUE(shortBook.isLayoutComplete());
    EXPECT_TRUE(shortBook.continueLayout(10));
    EXPECT_FALSE(book.beginLayout(1, 4));
    EXPECT_FALSE(book.beginLayout(8, 0));
    book.clearContents();
    EXPECT_TRUE(book.isLayoutComplete()) << "no lines left to lay out";
}

} // namespace
