#pragma once

#include "reader/document/NotationTypes.h"

#include <algorithm>
#include <optional>
#include <vector>

// What the notation painters of both writing directions decide alike.
namespace yomite {

// Pixels between a mark beside the text and the text; a line beside the
// text keeps as much.
constexpr int MARK_CLEARANCE = 2;

// Spans cut to the first `end` columns; spans left empty are dropped.
template <typename Span> void clipSpans(std::vector<Span>& spans, int end) {
    for (Span& span : spans)
        span.end = std::min(span.end, end);
    std::erase_if(spans, [](const Span& span) { return span.end <= span.start; });
}

inline std::optional<SmallKind> smallKindAt(const DisplayLineNotation& line, int column) {
    for (const SmallSpan& span : line.small)
        if (column >= span.start && column < span.end)
            return span.kind;
    return std::nullopt;
}

inline bool hasOverEmphasis(const DisplayLineNotation& line) {
    return std::any_of(line.emphasis.begin(), line.emphasis.end(),
                       [](const EmphasisSpan& span) { return span.side == Side::Over; });
}

// The side emphasis of columns [start, end) is drawn on: the side the
// notation names, except that the ruby's side gives way when its band is
// narrower than a mark (`markPx`) or ruby is drawn beside those characters.
inline Side emphasisSide(const DisplayLineNotation& line, Side side, int start, int end,
                         bool rubyShown, int rubyPx, int markPx) {
    if (side == Side::Under || rubyPx < markPx)
        return Side::Under;
    if (rubyShown)
        for (const RubySpan& span : line.ruby)
            if (start < span.baseEnd && span.baseStart < end)
                return Side::Under;
    return Side::Over;
}

} // namespace yomite
