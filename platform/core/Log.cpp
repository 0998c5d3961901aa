#include "Log.h"

#include "Utf8.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace lumo::log {

namespace {

struct Threshold {
    bool off = false;
    Level level = Level::Warning;
};

Threshold thresholdFromEnvironment() {
    const char* value = std::getenv("LUMO_LOG");
    if (!value || !*value)
        return {};
    static constexpr struct {
        const char* name;
        Threshold threshold;
    } names[] = {
        {"debug", {false, Level::Debug}},     {"info", {false, Level::Info}},
        {"warning", {false, Level::Warning}}, {"error", {false, Level::Error}},
        {"off", {true, Level::Error}},
    };
    for (const auto& entry : names) {
        if (strcasecmp(value, entry.name) == 0)
            return entry.threshold;
    }
    return {};
}

const Threshold& threshold() {
    static const Threshold value = thresholdFromEnvironment();
    return value;
}

Sink& sink() {
    static Sink value;
    return value;
}

const char* levelName(Level level) {
    switch (level) {
    case Level::Debug:
        return "debug";
    case Level::Info:
        return "info";
    case Level::Warning:
        return "warning";
    case Level::Error:
        return "error";
    }
    return "";
}

} // namespace

bool enabled(Level level) {
    return !threshold().off && level >= threshold().level;
}

void write(Level level, std::string_view text) {
    if (!enabled(level))
        return;
    if (sink()) {
        sink()(level, text);
        return;
    }
    std::string line = program_invocation_short_name;
    line += ": ";
    line += levelName(level);
    line += ": ";
    line += text;
    line += '\n';
    // One write per message, so lines from two processes do not interleave.
    std::fwrite(line.data(), 1, line.size(), stderr);
}

void write(Level level, std::wstring_view text) {
    if (enabled(level))
        write(level, std::string_view(toUtf8(text)));
}

void setSink(Sink replacement) {
    sink() = std::move(replacement);
}

} // namespace lumo::log
