#pragma once

#include "platform/ui/DC.h"

namespace yomite {

struct PageState;

// The 48-pixel control bar: the page buttons or the function buttons with
// their edges (sunken while pressed) and, when `full`, their fills and icons.
void drawControlBar(CDC* dc, const PageState& page, bool functionSet, bool full);

// The reading index and its last value in the two boxes at the top of the
// bar, drawn into the page buffer in black whatever the display colour.
void drawPositionNumbers(PageState& page);

} // namespace yomite
