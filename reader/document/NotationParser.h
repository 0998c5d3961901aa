#pragma once

#include "NotationTypes.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The full notation (m_aozoraNotation 1) of one source line at a time. Blocks
// (ここから… / …終わり) carry over from line to line in a NotationState, and a
// forward reference (「X」に傍点) applies to the nearest X before it on the same
// source line, so a whole source line is parsed at once; display lines take
// their part of it (notatedDisplayLine). Pure: no settings, no drawing.
namespace yomite {

// What one source line leaves open for the next.
struct NotationState {
    int indentFirst = 0;   // block indent of a line's first row, in columns
    int indentRest = 0;    // and of its continuation rows
    int alignEnd = -1;     // block end alignment: columns after the text; -1 none
    int heading = 0;       // open heading level
    bool tcy = false;      // 縦中横 open
    int small = -1;        // open SmallKind; -1 none
    uint32_t emphasis = 0; // open emphasis: bit 2 * kind + side
    bool pageBreakPending = false;
    friend bool operator==(const NotationState&, const NotationState&) = default;
};

// How the line breaker sees each source character in full notation.
enum class BreakRole : uint8_t {
    Text,            // visible, or ruby text (the breaker keeps it out of the width)
    BaseMark,        // ｜
    AnnotationOpen,  // ［ of an annotation
    AnnotationClose, // its ］
    RubyOpen,        // 《
    RubyClose,       // 》
    Hidden,          // inside an annotation, or after an unclosed one
    Item,            // first character of a tag or illustration: one unbreakable label
};

// A label that is never split: [begin, last] in the source line, `width` columns.
struct BreakItem {
    int32_t begin = 0;
    int32_t last = 0;
    int width = 0;
};

// A stretch of the source line that starts its own row: after a heading's
// start or end, a page break or the start of an end alignment.
struct NotatedSegment {
    int32_t rawBegin = 0;
    int startColumn = 0;
    int alignEnd = -1; // columns after the text; -1 not end-aligned
    bool pageBreakBefore = false;
};

struct HeadingSpan {
    int start = 0;
    int end = 0;
    int level = 0;
};

struct NotatedSourceLine {
    std::wstring visible;
    std::vector<int32_t> visibleRaw;    // source offset each visible character comes from
    std::vector<int32_t> visibleColumn; // the column it starts at
    int width = 0;                      // columns of the whole line
    std::vector<RubySpan> ruby;
    std::vector<int32_t> rubyClose;                  // source offset of each span's 》
    std::vector<std::pair<int32_t, InlineTag>> tags; // with the source offset of the tag
    std::vector<EmphasisSpan> emphasis;
    std::vector<ColumnSpan> tcy;
    std::vector<SmallSpan> small;
    std::vector<HeadingSpan> headings;
    int indentFirst = 0;
    int indentRest = 0;
    std::vector<NotatedSegment> segments; // never empty; the first starts at offset 0
    bool annotationOnly = false;          // nothing to show, only annotations: no row

    // For the line breaker, one entry per source character.
    std::wstring effective; // the source with each gaiji mark replaced by its character
    std::vector<BreakRole> roles;
    std::vector<BreakItem> items; // in source order
};

// Parses `raw` starting from `state`, which it leaves as the next line finds it.
NotatedSourceLine parseNotatedLine(std::wstring_view raw, NotationState& state);

// Whether full notation cuts the line's rows differently from the basic
// notation (indents, alignment, headings, page breaks, gaiji, illustrations,
// nested annotations, tags, nothing to show). When it does not, `state` is advanced
// past the line as parseNotatedLine would leave it, a page break it was
// waiting for included; when it does, `state` is untouched. Layout uses this to
// spare most lines of a book the full parse.
bool shapesRows(std::wstring_view raw, NotationState& state);

// The room of the row that starts at source offset `begin` of `line`: columns
// left empty before and after the text (after: -1 when not end-aligned) and
// the columns the text may take, never fewer than 2.
struct RowSpace {
    int indent = 0;
    int after = -1;
    int available = 0;
};
RowSpace rowSpace(const NotatedSourceLine& line, int32_t begin, int columnsPerLine);
// The same for a line without annotations, which only the open blocks shape.
RowSpace rowSpace(const NotationState& state, bool firstRow, int columnsPerLine);

// The part [begin, end) of a parsed source line as one display line.
DisplayLineNotation notatedDisplayLine(const NotatedSourceLine& line, int32_t begin, int32_t end,
                                       int columnsPerLine);

// Visible text of notated text outside the line's flow (ruby text, the target
// of a forward reference): gaiji resolved, other annotations and ruby marks
// removed.
std::wstring notatedText(std::wstring_view raw);

} // namespace yomite
