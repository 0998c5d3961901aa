#pragma once

#include "JsonWriter.h"

#include "reader/document/NotationTypes.h"

namespace yomite {

// Appends the full notation's fields of a parsed display line (",indent":...
// up to "pageBreakBefore") to an object that is still open.
void writeNotationFields(JsonWriter& json, const DisplayLineNotation& line);

} // namespace yomite
