#pragma once

#include "platform/core/Export.h"

#define HOSTKIT_API LUMO_VISIBLE
