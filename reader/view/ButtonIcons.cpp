#include "ButtonIcons.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace yomite {
namespace {

constexpr std::uint32_t CLEAR = 0x00000000;
constexpr std::uint32_t BLUE = 0xFF2F6FD0;
constexpr std::uint32_t DARK_BLUE = 0xFF1A4590;
constexpr std::uint32_t WHITE = 0xFFFFFFFF;
constexpr std::uint32_t BLACK = 0xFF202020;
constexpr std::uint32_t GREY = 0xFF808080;
constexpr std::uint32_t LIGHT_GREY = 0xFFD8D8D8;
constexpr std::uint32_t GREEN = 0xFF20B040;
constexpr std::uint32_t RED = 0xFFD02020;
constexpr std::uint32_t YELLOW = 0xFFF0C040;
constexpr std::uint32_t DARK_YELLOW = 0xFFB08020;
constexpr std::uint32_t SKY = 0xFFA8D0F0;

// A 32 x 32 drawing surface with the few shapes the icons are made of.
class Canvas {
public:
    Canvas() {
        m_image.width = m_image.height = ICON_SIZE;
        m_image.pixels.assign(ICON_SIZE * ICON_SIZE, CLEAR);
    }

    void pixel(int x, int y, std::uint32_t c) {
        if (x >= 0 && y >= 0 && x < ICON_SIZE && y < ICON_SIZE)
            m_image.pixels[y * ICON_SIZE + x] = c;
    }
    void fill(int x0, int y0, int x1, int y1, std::uint32_t c) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                pixel(x, y, c);
    }
    void frame(int x0, int y0, int x1, int y1, std::uint32_t c, int step = 1) {
        for (int x = x0; x < x1; x += step) {
            pixel(x, y0, c);
            pixel(x, y1 - 1, c);
        }
        for (int y = y0; y < y1; y += step) {
            pixel(x0, y, c);
            pixel(x1 - 1, y, c);
        }
    }
    void disc(double cx, double cy, double r, std::uint32_t c) {
        for (int y = 0; y < ICON_SIZE; ++y)
            for (int x = 0; x < ICON_SIZE; ++x)
                if (std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= r)
                    pixel(x, y, c);
    }
    void ring(double cx, double cy, double r, double width, std::uint32_t c) {
        for (int y = 0; y < ICON_SIZE; ++y)
            for (int x = 0; x < ICON_SIZE; ++x) {
                double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
                if (d <= r && d >= r - width)
                    pixel(x, y, c);
            }
    }
    // An isosceles triangle with its apex at (cx, apexY) and base at baseY.
    void triangle(int cx, int apexY, int baseY, int halfBase, std::uint32_t c) {
        int height = std::abs(baseY - apexY);
        int dir = baseY > apexY ? 1 : -1;
        for (int i = 0; i <= height; ++i) {
            int half = height ? halfBase * i / height : halfBase;
            fill(cx - half, apexY + dir * i, cx + half + 1, apexY + dir * i + 1, c);
        }
    }
    void line(int x0, int y0, int x1, int y1, std::uint32_t c, int thickness = 1) {
        int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        for (int i = 0; i <= steps; ++i) {
            int x = x0 + (steps ? (x1 - x0) * i / steps : 0);
            int y = y0 + (steps ? (y1 - y0) * i / steps : 0);
            fill(x, y, x + thickness, y + thickness, c);
        }
    }
    lumo::IconImage take() { return std::move(m_image); }

private:
    lumo::IconImage m_image;
};

// Arrows in a blue disc: `up` picks the direction, `count` 1 or 2 heads.
lumo::IconImage discArrow(bool up, int count) {
    Canvas c;
    c.disc(16, 16, 15, DARK_BLUE);
    c.disc(16, 16, 13.5, BLUE);
    if (count == 1) {
        if (up) {
            c.triangle(16, 7, 16, 8, WHITE);
            c.fill(13, 16, 19, 25, WHITE);
        } else {
            c.triangle(16, 25, 16, 8, WHITE);
            c.fill(13, 7, 19, 16, WHITE);
        }
    } else {
        int a = up ? 6 : 26, b = up ? 15 : 17, d = up ? 8 : -8;
        c.triangle(16, a, a + (b - a), 8, WHITE);
        c.triangle(16, a + d, a + d + (b - a), 8, WHITE);
    }
    return c.take();
}

// 5 x 7 glyphs for the "Fn" label.
constexpr const char* GLYPH_F[7] = {"11111", "10000", "10000", "11110", "10000", "10000", "10000"};
constexpr const char* GLYPH_N[7] = {"00000", "00000", "10110", "11001", "10001", "10001", "10001"};

void glyph(Canvas& c, const char* const rows[7], int x0, int y0, int scale, std::uint32_t colour) {
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 5; ++x)
            if (rows[y][x] == '1')
                c.fill(x0 + x * scale, y0 + y * scale, x0 + (x + 1) * scale, y0 + (y + 1) * scale,
                       colour);
}

lumo::IconImage functionLabel() {
    Canvas c;
    c.fill(3, 5, 29, 27, LIGHT_GREY);
    c.frame(3, 5, 29, 27, GREY);
    glyph(c, GLYPH_F, 5, 9, 2, BLACK);
    glyph(c, GLYPH_N, 17, 9, 2, BLACK);
    return c.take();
}

lumo::IconImage minimise() {
    Canvas c;
    c.fill(14, 4, 18, 15, BLUE);
    c.triangle(16, 22, 14, 8, BLUE);
    c.fill(5, 25, 27, 28, BLACK);
    return c.take();
}

lumo::IconImage closeBox() {
    Canvas c;
    c.frame(3, 3, 29, 29, BLACK, 2);
    c.line(8, 8, 22, 22, RED, 3);
    c.line(22, 8, 8, 22, RED, 3);
    return c.take();
}

lumo::IconImage openFolder() {
    Canvas c;
    c.fill(4, 8, 14, 11, DARK_YELLOW);
    c.fill(4, 11, 26, 26, DARK_YELLOW);
    for (int y = 14; y < 26; ++y) // the open flap, slanted forward
        c.fill(8 - (y - 14) / 3, y, 29 - (y - 14) / 3, y + 1, YELLOW);
    c.frame(4, 11, 26, 26, BLACK);
    return c.take();
}

lumo::IconImage magnifierScreen() {
    Canvas c;
    c.fill(2, 4, 26, 22, BLACK);
    c.fill(4, 6, 24, 20, SKY);
    c.fill(11, 22, 17, 25, GREY);
    c.fill(7, 25, 21, 27, GREY);
    c.ring(18, 15, 7, 2, DARK_BLUE);
    c.line(23, 20, 29, 26, DARK_BLUE, 3);
    return c.take();
}

lumo::IconImage numberedLines() {
    Canvas c;
    for (int row = 0; row < 4; ++row) {
        int y = 5 + row * 6;
        c.fill(3, y, 6, y + 3, GREY);       // the number
        c.fill(8, y + 1, 22, y + 2, BLACK); // the line
    }
    c.fill(25, 6, 27, 22, BLUE);
    c.triangle(26, 27, 20, 4, BLUE);
    return c.take();
}

lumo::IconImage markArrow(bool up) {
    Canvas c;
    if (up) {
        c.triangle(13, 4, 14, 9, BLUE);
        c.fill(10, 14, 16, 26, BLUE);
    } else {
        c.fill(10, 5, 16, 17, BLUE);
        c.triangle(13, 27, 17, 9, BLUE);
    }
    c.disc(24, up ? 23 : 9, 5, GREEN);
    return c.take();
}

lumo::IconImage windowLayout() {
    Canvas c;
    c.fill(3, 4, 29, 28, WHITE);
    c.fill(3, 4, 29, 9, BLUE);
    c.fill(4, 10, 11, 27, LIGHT_GREY);
    c.frame(3, 4, 29, 28, BLACK);
    c.fill(11, 9, 12, 28, BLACK);
    for (int y = 12; y < 26; y += 4)
        c.fill(14, y, 26, y + 1, GREY);
    return c.take();
}

lumo::IconImage scrollPointer() {
    Canvas c;
    c.fill(20, 2, 28, 30, LIGHT_GREY);
    c.frame(20, 2, 28, 30, BLACK);
    c.fill(21, 10, 27, 18, BLUE);
    c.triangle(9, 8, 20, 6, BLACK);
    c.fill(8, 20, 11, 26, BLACK);
    return c.take();
}

} // namespace

std::map<UINT, lumo::IconImage> buildButtonIcons() {
    std::map<UINT, lumo::IconImage> icons;
    icons[ICON_PAGE_BACK] = discArrow(true, 2);
    icons[ICON_LINE_BACK] = discArrow(true, 1);
    icons[ICON_LINE_FORWARD] = discArrow(false, 1);
    icons[ICON_PAGE_FORWARD] = discArrow(false, 2);
    icons[ICON_SWITCH_SET] = functionLabel();
    icons[ICON_MINIMISE] = minimise();
    icons[ICON_CLOSE] = closeBox();
    icons[ICON_OPEN] = openFolder();
    icons[ICON_TOOL_MODE] = magnifierScreen();
    icons[ICON_LINE_NUMBERS] = numberedLines();
    icons[ICON_MARK_UP] = markArrow(true);
    icons[ICON_SETTINGS] = windowLayout();
    icons[ICON_MARK_DOWN] = markArrow(false);
    icons[ICON_SCROLL] = scrollPointer();
    return icons;
}

} // namespace yomite
