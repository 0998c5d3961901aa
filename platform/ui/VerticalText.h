#pragma once

// Vertical writing through a DC (CDC::DrawVerticalText): pieces of text placed
// in cells of a column, each standing as Japanese vertical writing wants it.
// The caller decides where every piece goes; the DC decides how each glyph
// stands, from Unicode's Vertical_Orientation property and the font's own
// vertical alternates (OpenType "vert"/"vrt2").

#include "platform/core/types.h"

#include <string_view>

namespace lumo {

enum class Stance {
    // Characters one under the other from the cell's top, each advancing by
    // its horizontal width and centred across the cell. A character stands
    // upright in the font's vertical form when it has one (brackets, 。、,
    // ー, small kana); otherwise upright when Unicode sets it upright (U, Tu)
    // and turned 90 degrees clockwise when Unicode lays it on its side (R, Tr).
    Stacked,
    // The whole text as one horizontal run turned 90 degrees clockwise, its
    // start at the cell's top, its em box centred across the cell: a Latin
    // word lying on its side.
    Turned,
    // The whole text side by side, horizontally, centred in the cell and
    // squeezed to the cell's width when wider (縦中横).
    Across,
};

struct VerticalPiece {
    std::wstring_view text;
    RECT cell;
    Stance stance;
};

} // namespace lumo
