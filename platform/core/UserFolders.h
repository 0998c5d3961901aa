#pragma once

#include "Export.h"

#include <string>

namespace lumo {

// The user's home folder: $HOME when it is an absolute path, else the home
// folder the password database gives the user; empty when neither does.
PLATFORM_API std::wstring userHomeFolder();

// The base folder of the user's settings: $XDG_CONFIG_HOME when it is an
// absolute path (a relative one is ignored, as the XDG base directory rules
// say), else <home>/.config, else /tmp when there is no home folder at all.
PLATFORM_API std::wstring userConfigFolder();

} // namespace lumo
