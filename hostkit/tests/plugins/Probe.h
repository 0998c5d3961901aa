#pragma once

#include <string>
#include <vector>

// What the test plug-ins saw, in order ("load alpha", "unload beta", ...).
__attribute__((visibility("default"))) std::vector<std::string>& probeEvents();
