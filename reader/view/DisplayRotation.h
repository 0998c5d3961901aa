#pragma once

#include "platform/core/types.h"

#include <array>

namespace yomite {

// How the reader's page is turned on the screen. The view draws a logical
// page as if the screen were turned (an 800 x 480 screen shows a 480 x 800
// page) and shows it through PlgBlt; pen points come back the other way.
// m_displayDirection 1 ("右90度回転") turns the page 90 degrees clockwise, 2
// ("左90度回転") anticlockwise; any other value leaves it as it is.
class DisplayRotation {
public:
    enum class Turn { None, Clockwise, Anticlockwise };

    DisplayRotation() = default;
    DisplayRotation(int displayDirection, int screenWidth, int screenHeight);

    Turn turn() const { return m_turn; }
    bool turned() const { return m_turn != Turn::None; }
    // The page's size: the screen's with its sides swapped when turned.
    SIZE pageSize() const;
    // The page pixel under a screen pixel.
    POINT toPage(POINT screen) const;
    // The screen rectangle that shows a page rectangle.
    RECT toScreen(const RECT& page) const;
    // The upper-left, upper-right and lower-left corners on the screen of a
    // page rectangle, as PlgBlt takes them.
    std::array<POINT, 3> screenCorners(const RECT& page) const;

private:
    // A point in pixel-corner coordinates of the page, on the screen.
    POINT cornerToScreen(int x, int y) const;

    Turn m_turn = Turn::None;
    int m_width = 0; // the screen's
    int m_height = 0;
};

} // namespace yomite
