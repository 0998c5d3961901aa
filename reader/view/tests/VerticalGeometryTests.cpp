// The reader's geometry of vertical writing and turned display, without
// drawing: how a display line is cut into pieces of a column, and how page
// and screen points map onto each other.
#include "reader/view/DisplayRotation.h"
#include "reader/view/VerticalColumn.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using lumo::Stance;
using yomite::CharacterSpan;
using yomite::ColumnLayout;
using yomite::DisplayRotation;

// A piece as the tests spell it: first, length, stance, drawn top and height.
struct Expected {
    int first, length;
    Stance stance;
    int top, height;
};

TEST(ColumnLayout, SetsEachKindOfTextInItsOwnPieces) {
    struct Case {
        const char* name;
        std::wstring text;
        std::vector<CharacterSpan> across;
        std::vector<Expected> pieces;
    };
    const std::vector<Case> cases = {
        {"full-width characters one per cell",
         L"春の窓",
         {},
         {{0, 1, Stance::Stacked, 0, 2},
          {1, 1, Stance::Stacked, 2, 2},
          {2, 1, Stance::Stacked, 4, 2}}},
        {"a Latin word lies on its side as one run",
         L"英English語",
         {},
         {{0, 1, Stance::Stacked, 0, 2},
          {1, 7, Stance::Turned, 2, 7},
          {8, 1, Stance::Stacked, 9, 2}}},
        {"spaces and digits inside a Latin run stay in it",
         L"like 1234567.",
         {},
         {{0, 13, Stance::Turned, 0, 13}}},
        {"two digits stand in one cell",
         L"第10段",
         {},
         {{0, 1, Stance::Stacked, 0, 2},
          {1, 2, Stance::Across, 2, 2},
          {3, 1, Stance::Stacked, 4, 2}}},
        {"one digit takes a whole cell",
         L"第1段",
         {},
         {{0, 1, Stance::Stacked, 0, 2},
          {1, 1, Stance::Across, 2, 2},
          {2, 1, Stance::Stacked, 4, 2}}},
        {"three digits lie on their side",
         L"第100段",
         {},
         {{0, 1, Stance::Stacked, 0, 2},
          {1, 3, Stance::Turned, 2, 3},
          {4, 1, Stance::Stacked, 5, 2}}},
        {"a marked span stands across one cell, whatever it holds",
         L"あ!?い",
         {{1, 2}},
         {{0, 1, Stance::Stacked, 0, 2},
          {1, 2, Stance::Across, 2, 2},
          {3, 1, Stance::Stacked, 4, 2}}},
        {"a marked span breaks a half-width run",
         L"ab12cd",
         {{2, 2}},
         {{0, 2, Stance::Turned, 0, 2},
          {2, 2, Stance::Across, 2, 2},
          {4, 2, Stance::Turned, 4, 2}}},
        {"marked full-width digits stand in one cell",
         L"第１２回",
         {{1, 2}},
         {{0, 1, Stance::Stacked, 0, 2},
          {1, 2, Stance::Across, 2, 2},
          {3, 1, Stance::Stacked, 4, 2}}},
        {"empty spans and spans past the end are ignored",
         L"あい",
         {{0, 0}, {5, 2}},
         {{0, 1, Stance::Stacked, 0, 2}, {1, 1, Stance::Stacked, 2, 2}}},
        {"an empty line has no pieces", L"", {}, {}},
    };
    for (const Case& c : cases) {
        const ColumnLayout layout(c.text, 100, c.across);
        ASSERT_EQ(layout.pieces().size(), c.pieces.size()) << c.name;
        for (size_t i = 0; i < c.pieces.size(); ++i) {
            const auto& got = layout.pieces()[i];
            const Expected& want = c.pieces[i];
            EXPECT_EQ(got.first, want.first) << c.name << " piece " << i;
            EXPECT_EQ(got.length, want.length) << c.name << " piece " << i;
            EXPECT_EQ(got.stance, want.stance) << c.name << " piece " << i;
            EXPECT_EQ(got.top, want.top) << c.name << " piece " << i;
            EXPECT_EQ(got.height, want.height) << c.name << " piece " << i;
        }
        EXPECT_EQ(layout.text(), c.text) << c.name << ": nothing cut";
    }
}

TEST(ColumnLayout, MapsLayoutUnitsToWhereTheyAreDrawn) {
    // 第 (units 0-1), 1 (unit 2, drawn 2-3), 段 (units 3-4, drawn 4-5),
    // 100 (units 5-7, drawn 6-8).
    const ColumnLayout layout(L"第1段100", 100);
    EXPECT_EQ(layout.drawnAt(0), 0);
    EXPECT_EQ(layout.drawnAt(2), 2);
    EXPECT_EQ(layout.drawnAt(3), 4) << "after the digit's full cell";
    EXPECT_EQ(layout.drawnAt(5), 6);
    EXPECT_EQ(layout.drawnAt(7), 8);
    EXPECT_EQ(layout.drawnAt(8), 9) << "the end of the line";
    EXPECT_EQ(layout.drawnAt(10), 11) << "past the end, one unit each";
    EXPECT_EQ(layout.drawnAt(-2), -2) << "a ruby reaching before the line";
    EXPECT_EQ(layout.length(), 9);
}

TEST(ColumnLayout, CutsAColumnThatDoesNotFitWithAnEllipsis) {
    struct Case {
        const char* name;
        std::wstring text;
        int limit;
        std::wstring shown;
    };
    const std::vector<Case> cases = {
        {"fits exactly", L"あいうえ", 8, L"あいうえ"},
        {"one cell too long", L"あいうえお", 8, L"あいう…"},
        {"single digits make it longer than counted", L"第1第2第3", 11, L"第1第2…"},
        {"a lying run is cut between letters", L"あabcdefgh", 8, L"あabcd…"},
        {"a two-digit cell is never split", L"あい12う", 7, L"あい…"},
        {"too short for anything but the ellipsis", L"あい", 1, L"…"},
    };
    for (const Case& c : cases) {
        const ColumnLayout layout(c.text, c.limit);
        EXPECT_EQ(layout.text(), c.shown) << c.name;
        EXPECT_LE(layout.length(), std::max(c.limit, 2)) << c.name;
        if (layout.text() != c.text) {
            EXPECT_EQ(layout.pieces().back().stance, Stance::Stacked) << c.name;
        }
    }
}

TEST(ColumnLayout, TheEllipsisNeverJoinsAMarkedSpanCutAway) {
    const ColumnLayout layout(L"あい１２う", 7, {{2, 2}});
    EXPECT_EQ(layout.text(), L"あい…");
    ASSERT_EQ(layout.pieces().size(), 3u);
    EXPECT_EQ(layout.pieces()[2].stance, Stance::Stacked);
}

TEST(DisplayRotation, MapsPagePointsToTheScreenAndBack) {
    struct Case {
        const char* name;
        int direction;
        SIZE page;
        POINT pageTopLeft; // the screen pixel showing the page's (0, 0)
        POINT pageTopRight;
    };
    const std::vector<Case> cases = {
        {"standard", 0, {800, 480}, {0, 0}, {799, 0}},
        {"turned right", 1, {480, 800}, {799, 0}, {799, 479}},
        {"turned left", 2, {480, 800}, {0, 479}, {0, 0}},
        {"an unknown value stays standard", 7, {800, 480}, {0, 0}, {799, 0}},
    };
    for (const Case& c : cases) {
        const DisplayRotation rotation(c.direction, 800, 480);
        EXPECT_EQ(rotation.pageSize().cx, c.page.cx) << c.name;
        EXPECT_EQ(rotation.pageSize().cy, c.page.cy) << c.name;
        const POINT origin = rotation.toPage(c.pageTopLeft);
        EXPECT_EQ(origin.x, 0) << c.name;
        EXPECT_EQ(origin.y, 0) << c.name;
        const POINT right = rotation.toPage(c.pageTopRight);
        EXPECT_EQ(right.x, c.page.cx - 1) << c.name;
        EXPECT_EQ(right.y, 0) << c.name;
        // Every screen pixel shows exactly one page pixel and the rectangle
        // mapping agrees with the point mapping.
        for (POINT s : {POINT{0, 0}, POINT{13, 7}, POINT{799, 479}, POINT{400, 2}}) {
            const POINT p = rotation.toPage(s);
            EXPECT_GE(p.x, 0);
            EXPECT_LT(p.x, c.page.cx);
            EXPECT_GE(p.y, 0);
            EXPECT_LT(p.y, c.page.cy);
            const RECT onScreen = rotation.toScreen(RECT{p.x, p.y, p.x + 1, p.y + 1});
            EXPECT_EQ(onScreen.left, s.x) << c.name;
            EXPECT_EQ(onScreen.top, s.y) << c.name;
            EXPECT_EQ(onScreen.right, s.x + 1) << c.name;
            EXPECT_EQ(onScreen.bottom, s.y + 1) << c.name;
        }
    }
}

TEST(DisplayRotation, TurnsThePageBarToTheScreenEdgeTheTurnPutsIt) {
    // The bar at the page's right edge (x 432..480 of a 480 x 800 page).
    const RECT bar{432, 0, 480, 800};
    const RECT right = DisplayRotation(1, 800, 480).toScreen(bar);
    EXPECT_EQ(right.left, 0);
    EXPECT_EQ(right.right, 800);
    EXPECT_EQ(right.top, 432) << "turned clockwise, the page's right is the screen's bottom";
    EXPECT_EQ(right.bottom, 480);
    const RECT left = DisplayRotation(2, 800, 480).toScreen(bar);
    EXPECT_EQ(left.top, 0) << "turned anticlockwise, the page's right is the screen's top";
    EXPECT_EQ(left.bottom, 48);
}

TEST(DisplayRotation, GivesPlgBltTheCornersOfTheTurnedRectangle) {
    const RECT page{10, 20, 40, 30}; // 30 x 10
    const auto clockwise = DisplayRotation(1, 800, 480).screenCorners(page);
    // The top edge runs down the screen, the left edge leftwards.
    EXPECT_EQ(clockwise[1].x - clockwise[0].x, 0);
    EXPECT_EQ(clockwise[1].y - clockwise[0].y, 30);
    EXPECT_EQ(clockwise[2].x - clockwise[0].x, -10);
    EXPECT_EQ(clockwise[2].y - clockwise[0].y, 0);
    const auto anticlockwise = DisplayRotation(2, 800, 480).screenCorners(page);
    EXPECT_EQ(anticlockwise[1].y - anticlockwise[0].y, -30);
    EXPECT_EQ(anticlockwise[2].x - anticlockwise[0].x, 10);
    const auto standard = DisplayRotation(0, 800, 480).screenCorners(page);
    EXPECT_EQ(standard[0].x, 10);
    EXPECT_EQ(standard[0].y, 20);
    EXPECT_EQ(standard[1].x, 40);
    EXPECT_EQ(standard[2].y, 30);
}

} // namespace
