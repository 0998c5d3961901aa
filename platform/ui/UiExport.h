#pragma once

#include "platform/core/Export.h"

// Everything platformui exports is marked with this macro.
#define PLATFORMUI_API LUMO_VISIBLE
