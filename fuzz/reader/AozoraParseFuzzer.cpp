// Any line of text through the notation parsers, basic and full: no crash, no
// hang, and the columns, offsets and spans they report agree with the text
// they produced.
#include "reader/document/AozoraNotation.h"
#include "reader/document/NotationParser.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

void basicNotation(const std::wstring& line) {
    std::wstring visible;
    std::vector<RubySpan> spans;
    InlineTag tag;
    check(yomite::parseLine(line, visible, spans, tag));
    check(tag.startColumn == -1 ||
          (tag.endColumn >= tag.startColumn && tag.endColumn <= yomite::columnWidth(visible)));
    for (const RubySpan& span : spans)
        check(span.rubyText.size() <= line.size());

    std::wstring text = line;
    InlineTag second;
    check(!yomite::parseInlineTag(text, second) ||
          second.hasDisplayText != second.displayText.empty());
}

template <typename Span> void checkSpans(const std::vector<Span>& spans, int width) {
    for (const Span& span : spans)
        check(span.start >= 0 && span.start < span.end && span.end <= width);
}

// The state a previous line could have left, from one byte.
yomite::NotationState stateFrom(uint8_t bits) {
    yomite::NotationState state;
    state.indentFirst = (bits & 3) * 4;
    state.indentRest = (bits >> 2 & 1) * 6;
    state.alignEnd = (bits >> 3 & 1) ? 2 : -1;
    state.heading = bits >> 4 & 3;
    state.tcy = (bits >> 6 & 1) != 0;
    state.small = (bits >> 7 & 1) ? 1 : -1;
    state.emphasis = bits & 0x5;
    state.pageBreakPending = (bits & 0x20) != 0;
    return state;
}

void fullNotation(const std::wstring& line, uint8_t bits, int columns) {
    yomite::NotationState state = stateFrom(bits);
    const yomite::NotatedSourceLine parsed = yomite::parseNotatedLine(line, state);
    const size_t n = parsed.visible.size();
    check(parsed.visibleRaw.size() == n && parsed.visibleColumn.size() == n);
    int column = 0;
    for (size_t k = 0; k < n; ++k) {
        check(parsed.visibleColumn[k] == column);
        column += yomite::columnWidth(parsed.visible[k]);
        check(parsed.visibleRaw[k] >= 0 && static_cast<size_t>(parsed.visibleRaw[k]) < line.size());
        check(k == 0 || parsed.visibleRaw[k] >= parsed.visibleRaw[k - 1]);
    }
    check(column == parsed.width);
    check(parsed.roles.size() == line.size() && parsed.effective.size() == line.size());
    int32_t after = -1;
    for (const yomite::BreakItem& item : parsed.items) {
        check(item.begin > after && item.last >= item.begin &&
              static_cast<size_t>(item.last) < line.size() && item.width >= 0);
        check(parsed.roles[item.begin] == yomite::BreakRole::Item);
        after = item.last;
    }
    check(!parsed.segments.empty() && parsed.segments[0].rawBegin == 0);
    for (size_t s = 1; s < parsed.segments.size(); ++s)
        check(parsed.segments[s].rawBegin > parsed.segments[s - 1].rawBegin &&
              static_cast<size_t>(parsed.segments[s].rawBegin) <= line.size());
    check(parsed.ruby.size() == parsed.rubyClose.size());
    checkSpans(parsed.emphasis, parsed.width);
    checkSpans(parsed.tcy, parsed.width);
    checkSpans(parsed.small, parsed.width);
    checkSpans(parsed.headings, parsed.width);

    // The layout's quick path leaves the same state and the same single row
    // stretch whenever it is taken.
    yomite::NotationState quick = stateFrom(bits);
    if (!yomite::shapesRows(line, quick))
        check(quick == state && parsed.segments.size() == 1 && !parsed.annotationOnly &&
              parsed.items.empty() && parsed.effective == line);

    // Any cut of the line into rows.
    const int32_t size = static_cast<int32_t>(line.size());
    for (int32_t begin = 0; begin < size; begin += 1 + begin % 7) {
        const int32_t end = std::min(size, begin + 1 + (bits % 9));
        const yomite::RowSpace space = yomite::rowSpace(parsed, begin, columns);
        check(space.available >= 2 && space.indent >= 0);
        const yomite::DisplayLineNotation row =
            yomite::notatedDisplayLine(parsed, begin, end, columns);
        const int width = yomite::columnWidth(row.visible);
        check(row.indent >= 0 && row.heading >= 0 && row.heading <= yomite::HEADING_LEVELS);
        checkSpans(row.emphasis, width);
        checkSpans(row.tcy, width);
        checkSpans(row.small, width);
    }
    yomite::notatedText(line);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    // Pairs of bytes are UTF-16 code units, so every notation mark is reachable;
    // the first two bytes choose the state and the row width.
    std::wstring line;
    for (size_t i = 2; i + 1 < size; i += 2)
        line += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    basicNotation(line);
    fullNotation(line, data[0], data[1] % 64);
    return 0;
}
