#pragma once

#include "NotatedRowPainter.h"

#include "reader/document/NotationTypes.h"

#include "platform/ui/DC.h"

#include <utility>

namespace yomite {

// Where a column of vertical writing is drawn and the measures of its text.
struct ColumnFrame {
    RECT column{};     // body band and ruby band, without the line gap
    int bodyPx = 0;    // the body band, at the column's left
    int rubyPx = 0;    // the ruby band, at its right; 0 without ruby
    int lineSpace = 0; // the gap left of the column, still the column's own
    int halfWidth = 1; // pixels per layout column of the body font
    int rubyHalfWidth = 1;
};

// Draws one display line as a column of vertical writing (縦書き), in either
// notation: the text from the top (after its indent) in the body band, each
// character standing as vertical writing wants it (see ColumnLayout), ruby
// to its right, emphasis marks and lines to the right (or, named so or
// where ruby takes that side, to the left), small text in its cell, a
// heading in bold and larger where the ruby band is free, the link line down
// the column's left edge, and a column too long for its room cut with "…".
class ColumnPainter {
public:
    // `ruby` is null when ruby is not shown; `bold` draws the body text twice,
    // one pixel apart, as the rows are drawn.
    ColumnPainter(CFont& body, CFont* ruby, NotationFonts& fonts, bool bold)
        : m_body(body), m_ruby(ruby), m_fonts(fonts), m_bold(bold) {}

    void draw(CDC* dc, DisplayLineNotation line, const ColumnFrame& frame) const;

    // The pixel rows layout columns [start, end) of a line take down the
    // column, for hit tests.
    static std::pair<int, int> spanPixels(const DisplayLineNotation& line, const ColumnFrame& frame,
                                          int start, int end);

private:
    struct Setting {
        CFont* font;
        int fontPx;   // its em: the width of the text across the column
        int unit;     // pixels per layout column down the column
        int top;      // where the text starts
        int bodyLeft; // the left edge of the text
    };
    Setting settingFor(const DisplayLineNotation& line, const ColumnFrame& frame) const;

    CFont& m_body;
    CFont* m_ruby;
    NotationFonts& m_fonts;
    bool m_bold;
};

} // namespace yomite
