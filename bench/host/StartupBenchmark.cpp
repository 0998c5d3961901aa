// Time from starting the program to its first painted main window (it writes
// the window to a PNG at the first idle moment and closes), against the bare
// platform opening an empty frame the same way, in the same run.
//
//   bench_startup [runs]
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

double runOnce(const std::string& program, const fs::path& shot) {
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("LUMO_SCREENSHOT", shot.c_str(), 1);
        execl(program.c_str(), program.c_str(), nullptr);
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !fs::exists(shot)) {
        std::fprintf(stderr, "%s did not start and close cleanly\n", program.c_str());
        std::exit(1);
    }
    fs::remove(shot);
    return ms;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    fs::path work = fs::temp_directory_path() / ("lumo-bench-startup-" + std::to_string(getpid()));
    fs::create_directories(work);
    fs::copy(LUMO_STAGE_DIR, work / "tree",
             fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    setenv("XDG_CONFIG_HOME", (work / "config").c_str(), 1);
    const std::string program = (work / "tree" / "LumoCore").string();
    if (fs::is_empty(work / "tree" / "plugins")) {
        // Without a plug-in no document type exists and the program does not start.
        std::fprintf(stderr, "no staged plug-ins in %s/plugins: build the reader first\n",
                     LUMO_STAGE_DIR);
        fs::remove_all(work);
        return 1;
    }
    const fs::path shot = work / "shot.png";

    std::vector<double> host, bare;
    for (int i = 0; i < runs; ++i) { // interleaved, so drift hits both alike
        host.push_back(runOnce(program, shot));
        bare.push_back(runOnce(BARE_FRAME_PROGRAM, shot));
    }
    const double h = median(host), b = median(bare);
    std::printf("start-up to first painted window, median of %d runs\n", runs);
    std::printf("  LumoCore with staged plug-ins : %8.1f ms\n", h);
    std::printf("  bare platform, empty frame    : %8.1f ms\n", b);
    std::printf("  ratio                         : %8.2f (aim: at most 1.5)\n", h / b);
    fs::remove_all(work);
    return 0;
}
