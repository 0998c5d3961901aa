#include "DisplayRotation.h"

#include <algorithm>

namespace yomite {

DisplayRotation::DisplayRotation(int displayDirection, int screenWidth, int screenHeight)
    : m_turn(displayDirection == 1   ? Turn::Clockwise
             : displayDirection == 2 ? Turn::Anticlockwise
                                     : Turn::None),
      m_width(screenWidth), m_height(screenHeight) {}

SIZE DisplayRotation::pageSize() const {
    if (turned())
        return SIZE{m_height, m_width};
    return SIZE{m_width, m_height};
}

POINT DisplayRotation::toPage(POINT screen) const {
    switch (m_turn) {
    case Turn::Clockwise:
        return POINT{screen.y, m_width - 1 - screen.x};
    case Turn::Anticlockwise:
        return POINT{m_height - 1 - screen.y, screen.x};
    case Turn::None:
        break;
    }
    return screen;
}

POINT DisplayRotation::cornerToScreen(int x, int y) const {
    switch (m_turn) {
    case Turn::Clockwise:
        return POINT{m_width - y, x};
    case Turn::Anticlockwise:
        return POINT{y, m_height - x};
    case Turn::None:
        break;
    }
    return POINT{x, y};
}

RECT DisplayRotation::toScreen(const RECT& page) const {
    const POINT a = cornerToScreen(page.left, page.top);
    const POINT b = cornerToScreen(page.right, page.bottom);
    return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

std::array<POINT, 3> DisplayRotation::screenCorners(const RECT& page) const {
    return {cornerToScreen(page.left, page.top), cornerToScreen(page.right, page.top),
            cornerToScreen(page.left, page.bottom)};
}

} // namespace yomite
