#pragma once

#include "reader/document/NotationTypes.h"

#include "platform/ui/DC.h"

#include <string_view>
#include <vector>

// Emphasis in full notation, in terms every writing direction shares: which
// character gets which mark, and how a line of each style is stroked along a
// row or a column.
namespace yomite {

// One mark beside the character that takes columns [start, end) of the row.
struct MarkPlacement {
    int start = 0;
    int end = 0;
    EmphasisKind kind = EmphasisKind::Sesame;
    wchar_t glyph = 0;
    Side side = Side::Over;
    friend bool operator==(const MarkPlacement&, const MarkPlacement&) = default;
};

// The glyph drawn for a kind of mark (傍点 ﹅, 丸傍点 ●...); 0 for the lines.
wchar_t markGlyph(EmphasisKind kind);

// Whether the kind's glyph is a sesame, whose ink is a small part of its em:
// it is drawn from a larger font than the other marks to show as much.
inline bool isSesame(EmphasisKind kind) {
    return kind == EmphasisKind::Sesame || kind == EmphasisKind::WhiteSesame;
}

// A mark for every character the mark spans of `visible` cover, spaces left
// bare, in the order of the spans.
std::vector<MarkPlacement> placeMarks(std::wstring_view visible,
                                      const std::vector<EmphasisSpan>& spans);

enum class Axis { Horizontal, Vertical };

// Strokes a line of `kind` (傍線, 二重傍線, 鎖線, 破線, 波線) `length` pixels long
// from `from` along `axis`, in `colour`. The second line of 二重傍線 and the
// swing of 波線 lie towards `away`, +1 or -1 across the axis.
void strokeEmphasisLine(CDC* dc, POINT from, int length, Axis axis, int away, EmphasisKind kind,
                        COLORREF colour);

} // namespace yomite
