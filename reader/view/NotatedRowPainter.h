#pragma once

#include "reader/document/NotationTypes.h"

#include "platform/core/CString.h"
#include "platform/ui/DC.h"

#include <array>

// Drawing one display line of full notation in horizontal writing: indented
// and end-aligned text, headings, small text, emphasis marks and lines beside
// the characters, and ruby above, over the row's background.
namespace yomite {

// Under the body glyphs the body font leaves this many free pixel rows.
constexpr int FREE_BELOW_TEXT = 1;

// One of the reader's fonts: fixed pitch, Shift-JIS, `height` pixels high.
void createReaderFont(CFont& font, int height, const CString& face, LONG weight = FW_NORMAL);

// The fonts full notation draws with besides the view's body and ruby fonts,
// and what is measured of them once.
class NotationFonts {
public:
    // Headings grow from `bodyPx` as far as `roomPx` (the row's ruby and body
    // bands) allows; small text and marks over the text are `smallPx` high,
    // marks under it no more than the `belowPx` pixel rows free there.
    void create(CDC* dc, const CString& face, int bodyPx, int smallPx, int roomPx, int belowPx);
    void release();

    // The font a line is set in and its measures along the line.
    struct LineFont {
        CFont* font;
        int px;        // its em
        int halfWidth; // pixels per layout column along the line
    };
    // A heading is bold, and larger where the line leaves its ruby band free
    // and the larger heading, after its indent, still fits in `lengthPx`;
    // every other line keeps the body font.
    LineFont lineFont(const DisplayLineNotation& line, bool rubyShown, const LineFont& body,
                      int lengthPx);

    // A font marks are drawn from, with what placing them needs.
    struct MarkFont {
        CFont font;
        int px = 0;
        int ascent = 0;
    };

    CFont small;
    MarkFont marks;      // circles, triangles and crosses over the text
    MarkFont underMarks; // the same under it
    MarkFont sesame;     // the two sesames, either side
    CFont boldBody;
    std::array<CFont, HEADING_LEVELS> headings;
    std::array<int, HEADING_LEVELS> headingPx{};
    std::array<int, HEADING_LEVELS> headingHalfWidth{};
    int smallHalfWidth = 1;
};

// Where a row is drawn and the measures of the text drawn in it.
struct RowFrame {
    RECT row{};        // ruby band and body band, without the line gap
    int rubyPx = 0;    // the ruby band on top; 0 without ruby
    int lineSpace = 0; // the gap below the row, still the row's own
    int halfWidth = 1; // pixels per column of the body font
    int rubyHalfWidth = 1;
    int columns = 0; // the layout's columns per row
    int bodyPx = 0;  // the body band
};

class NotatedRowPainter {
public:
    // `ruby` is null when ruby is not shown; `bold` draws the body text twice,
    // one pixel apart, as the basic rows are drawn.
    NotatedRowPainter(CFont& body, CFont* ruby, NotationFonts& fonts, bool bold)
        : m_body(body), m_ruby(ruby), m_fonts(fonts), m_bold(bold) {}

    void draw(CDC* dc, DisplayLineNotation line, const RowFrame& frame) const;

    // Where column `column` of the row's text starts, for hit tests.
    static int columnX(const DisplayLineNotation& line, const RowFrame& frame, int column) {
        return frame.row.left + frame.halfWidth * (line.indent + column);
    }

private:
    struct Setting {
        CFont* font;
        int fontPx; // its cell height: text is set on the row's bottom
        int cellWidth;
        int origin;
    };
    Setting settingFor(const DisplayLineNotation& line, const RowFrame& frame) const;
    void drawText(CDC* dc, const DisplayLineNotation& line, const RowFrame& frame,
                  const Setting& setting) const;
    void drawEmphasis(CDC* dc, const DisplayLineNotation& line, const RowFrame& frame,
                      const Setting& setting) const;

    CFont& m_body;
    CFont* m_ruby;
    NotationFonts& m_fonts;
    bool m_bold;
};

} // namespace yomite
