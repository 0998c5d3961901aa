#pragma once

#include "platform/core/Export.h"

// What the picture kernel library exports.
#define PICTURE_API LUMO_VISIBLE
