// Every module of the staged tree loads on its own. The reader loads the
// image plug-ins from inside a module that was itself loaded with local
// symbols, so a plug-in cannot borrow anything from the program or the
// reader: whatever it uses of another library (an image's type information,
// say) must reach it through its own dependencies.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

struct ProbeResult {
    bool loaded = false;
    std::string message;
};

ProbeResult probe(const fs::path& module) {
    const std::string command =
        shellQuoted(MODULE_PROBE) + " " + shellQuoted(module.string()) + " 2>&1";
    ProbeResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return {false, "popen failed"};
    char buffer[1024];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.message.append(buffer, got);
    const int status = pclose(pipe);
    result.loaded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return result;
}

std::set<fs::path> stagedModules() {
    static const std::set<std::string> kModuleExtensions = {".iplg", ".eplg", ".fplg", ".lumo"};
    const fs::path stage(LUMO_STAGE_DIR);
    std::set<fs::path> modules;
    for (const fs::path& dir : {stage, stage / "plugins"})
        for (const auto& entry : fs::directory_iterator(dir))
            if (kModuleExtensions.count(entry.path().extension().string()) && !entry.is_symlink())
                modules.insert(entry.path());
    return modules;
}

TEST(StagedModules, EachLoadsInAProcessThatHasLoadedNothingElseOfOurs) {
    const std::set<fs::path> modules = stagedModules();
    for (const char* expected :
         {"bmp_import_wince.iplg", "png_import_wince.iplg", "jpg_import_wince.iplg", "dibsave.eplg",
          "scaler.fplg", "mixer.fplg"})
        EXPECT_EQ(modules.count(fs::path(LUMO_STAGE_DIR) / expected), 1u) << expected;
    for (const fs::path& module : modules) {
        const ProbeResult result = probe(module);
        EXPECT_TRUE(result.loaded) << module.filename() << ": " << result.message;
    }
}

} // namespace
