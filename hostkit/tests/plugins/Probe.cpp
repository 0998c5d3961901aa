#include "Probe.h"

std::vector<std::string>& probeEvents() {
    static std::vector<std::string> events;
    return events;
}
