#pragma once

#include "reader/document/AozoraNotation.h"

#include "platform/ui/DC.h"

#include <vector>

// Ruby over a row of horizontal text: centred over a shorter base, spread
// over a longer one, and kept within the row's edges.
namespace yomite {

struct RubyFrame {
    int origin = 0; // where column 0 of the row's text starts
    int left = 0;   // ruby is kept right of this
    int right = 0;  // and left of this
    int top = 0;    // the ruby band
    int height = 0;
    int baseWidth = 1; // pixels per column of the text
    int rubyWidth = 1; // pixels per column of the ruby font
};

// Draws every span with the ruby font the DC holds, in `format`.
void drawRubySpans(CDC* dc, const std::vector<RubySpan>& spans, const RubyFrame& frame,
                   UINT format);

} // namespace yomite
