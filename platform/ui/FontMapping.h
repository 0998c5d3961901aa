#pragma once

// Private: the device's font faces mapped to the IPA fonts, and their metrics.

#include "platform/ui/GdiObject.h"

#include <QFont>

namespace lumo {

struct GdiObject;

// The Qt font drawing a logical font; *emPixels receives its em size.
QFont qtFontFor(const LOGFONT& logFont, int* emPixels = nullptr);
// Fills a font object's metrics from its Qt font.
void setFontMetrics(GdiObject* object);

} // namespace lumo
