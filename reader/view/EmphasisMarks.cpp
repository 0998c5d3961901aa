#include "EmphasisMarks.h"

#include <array>

namespace yomite {
namespace {

// In the order of EmphasisKind's marks.
constexpr std::array<wchar_t, 9> MARK_GLYPHS = {
    L'﹅', // 傍点
    L'﹆', // 白ゴマ傍点
    L'●',  // 丸傍点
    L'○',  // 白丸傍点
    L'▲',  // 黒三角傍点
    L'△',  // 白三角傍点
    L'◎',  // 二重丸傍点
    L'◉',  // 蛇の目傍点
    L'×',  // ばつ傍点
};

constexpr int DOUBLE_LINE_GAP = 2;
// Dashes as alternating lengths drawn and left out, in pixels.
constexpr std::array<int, 4> CHAIN_PATTERN = {6, 2, 2, 2};
constexpr std::array<int, 2> DASH_PATTERN = {4, 3};
constexpr int WAVE_STEP = 2;

bool isBlank(wchar_t c) {
    return c == L' ' || c == L'　';
}

// One pixel thick, `length` along the axis from `at`.
void stroke(CDC* dc, POINT at, int length, Axis axis, COLORREF colour) {
    if (length <= 0)
        return;
    if (axis == Axis::Horizontal)
        dc->FillSolidRect(at.x, at.y, length, 1, colour);
    else
        dc->FillSolidRect(at.x, at.y, 1, length, colour);
}

POINT along(POINT from, int distance, Axis axis) {
    return axis == Axis::Horizontal ? POINT{from.x + distance, from.y}
                                    : POINT{from.x, from.y + distance};
}

POINT across(POINT from, int distance, Axis axis) {
    return axis == Axis::Horizontal ? POINT{from.x, from.y + distance}
                                    : POINT{from.x + distance, from.y};
}

template <size_t N>
void strokePattern(CDC* dc, POINT from, int length, Axis axis, const std::array<int, N>& pattern,
                   COLORREF colour) {
    int done = 0;
    for (size_t k = 0; done < length; k = (k + 1) % N) {
        const int piece = std::min(pattern[k], length - done);
        if (k % 2 == 0)
            stroke(dc, along(from, done, axis), piece, axis, colour);
        done += piece;
    }
}

// A zigzag of one pixel's swing: steps of WAVE_STEP along, alternately on the
// line and one pixel towards `away`.
void strokeWave(CDC* dc, POINT from, int length, Axis axis, int away, COLORREF colour) {
    for (int done = 0; done < length; done += WAVE_STEP) {
        const int offset = (done / WAVE_STEP) % 2 ? away : 0;
        stroke(dc, across(along(from, done, axis), offset, axis),
               std::min(WAVE_STEP, length - done), axis, colour);
    }
}

void strokeLine(CDC* dc, POINT from, int length, Axis axis, int away, EmphasisKind kind,
                COLORREF colour) {
    switch (kind) {
    case EmphasisKind::DoubleLine:
        stroke(dc, across(from, away * DOUBLE_LINE_GAP, axis), length, axis, colour);
        stroke(dc, from, length, axis, colour);
        return;
    case EmphasisKind::ChainLine:
        strokePattern(dc, from, length, axis, CHAIN_PATTERN, colour);
        return;
    case EmphasisKind::DashedLine:
        strokePattern(dc, from, length, axis, DASH_PATTERN, colour);
        return;
    case EmphasisKind::WavyLine:
        strokeWave(dc, from, length, axis, away, colour);
        return;
    default:
        stroke(dc, from, length, axis, colour);
        return;
    }
}

} // namespace

wchar_t markGlyph(EmphasisKind kind) {
    const size_t index = static_cast<size_t>(kind);
    return index < MARK_GLYPHS.size() ? MARK_GLYPHS[index] : 0;
}

std::vector<MarkPlacement> placeMarks(std::wstring_view visible,
                                      const std::vector<EmphasisSpan>& spans) {
    std::vector<MarkPlacement> marks;
    for (const EmphasisSpan& span : spans) {
        const wchar_t glyph = markGlyph(span.kind);
        if (!glyph)
            continue;
        int column = 0;
        for (wchar_t c : visible) {
            const int width = columnWidth(c);
            if (column >= span.start && column + width <= span.end && !isBlank(c))
                marks.push_back({column, column + width, span.kind, glyph, span.side});
            column += width;
        }
    }
    return marks;
}

void strokeEmphasisLine(CDC* dc, POINT from, int length, Axis axis, int away, EmphasisKind kind,
                        COLORREF colour) {
    // Filling sets the background colour; the text drawn later needs its own.
    const COLORREF background = dc->GetBkColor();
    strokeLine(dc, from, length, axis, away, kind, colour);
    dc->SetBkColor(background);
}

} // namespace yomite
