#pragma once

#include "platform/ui/VerticalText.h"

#include <string>
#include <string_view>
#include <vector>

namespace yomite {

// How a display line's visible text is set in a column of vertical writing.
// Positions count half-width units ("A"'s width): the layout's columns, so a
// full-width character is 2 units tall and a half-width letter 1.
//
// Full-width characters are stacked one per cell; a run of half-width
// characters lies on its side as one run, except a run of one or two digits,
// which stands side by side in one full-width cell, as does a span marked
// 縦中横. Such cells may be taller than the layout counted them, so each piece
// keeps both its layout units and where it is drawn.
struct ColumnPiece {
    int first = 0;  // index of its first character in the visible text
    int length = 0; // characters
    lumo::Stance stance = lumo::Stance::Stacked;
    int unit = 0;  // the layout units before it
    int units = 0; // the layout units it takes
    int top = 0;   // where it is drawn, in units from the column's top
    int height = 0;
};

// A range of characters of the visible text [first, first + length).
struct CharacterSpan {
    int first = 0;
    int length = 0;
};

class ColumnLayout {
public:
    // Sets `text` in a column of `limit` units; `across` spans (縦中横) stand
    // in one cell each. A text drawn longer than the column is cut before the
    // piece (or the letter of a lying run) that would reach past the room
    // left for a final "…", which then ends the column; a column too short
    // for anything else shows the "…" alone.
    ColumnLayout(std::wstring text, int limit, std::vector<CharacterSpan> across = {});

    // The text shown, cut or not.
    const std::wstring& text() const { return m_text; }
    const std::vector<ColumnPiece>& pieces() const { return m_pieces; }
    // The drawn length in units.
    int length() const;
    // Where layout unit `unit` is drawn: inside a piece drawn taller or
    // shorter than counted, its units are spread evenly over it.
    int drawnAt(int unit) const;

private:
    void setPieces(const std::vector<CharacterSpan>& across);
    // Where the text must be cut to leave `room` units; see the constructor.
    size_t cutFor(int room) const;

    std::wstring m_text;
    std::vector<ColumnPiece> m_pieces;
};

} // namespace yomite
