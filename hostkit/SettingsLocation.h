#pragma once

#include <string>

namespace lumo {

// Where the configuration file `fileName` lives for a program whose folder is
// `programFolder` (trailing separator included). Beside the program when that
// folder is a portable tree: writable and already holding the file (the
// build's staged tree is made so). Otherwise in the user's settings folder,
// $XDG_CONFIG_HOME/lumocore/ (~/.config/lumocore/): an installed program's
// folder belongs to the system, and settings written there would be lost.
std::wstring settingsFilePath(const std::wstring& programFolder, const std::wstring& fileName);

} // namespace lumo
