// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up benchmark: launches the program again and again, each time from process start to
// the end of the main window's first paint, with the real data beside it. A probe library
// preloaded into each launch (the program has no code for it) prints the steady clock at
// that moment and its peak memory, then quits. The first launch warms the caches and is not counted, so
// every figure is a "second launch". Needs a display server (bench/run uses Xvfb).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct Launch {
    double ms = -1;
    long peakKiB = -1;
    double cpuMs = -1;
};

Launch LaunchOnce(const std::string& program)
{
    int out[2];
    if (pipe(out) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* argv[] = { const_cast<char*>(program.c_str()), nullptr };

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        std::fprintf(stderr, "cannot start %s: %s\n", program.c_str(), std::strerror(spawned));
        return {};
    }
    std::string text;
    char buffer[256];
    ssize_t n;
    while ((n = read(out[0], buffer, sizeof buffer)) > 0)
        text.append(buffer, std::size_t(n));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);

    Launch launch;
    long long paintNs = 0, cpuNs = -1;
    if (std::sscanf(text.c_str(), "first-paint %lld ns peak-rss %ld KiB objects %*u multimedia %*d cpu %lld ns",
            &paintNs, &launch.peakKiB, &cpuNs)
        >= 2) {
        const long long startNs
            = std::chrono::duration_cast<std::chrono::nanoseconds>(start.time_since_epoch()).count();
        launch.ms = double(paintNs - startNs) / 1e6;
        launch.cpuMs = cpuNs >= 0 ? double(cpuNs) / 1e6 : -1;
    } else {
        std::fprintf(stderr, "no first paint reported (status %d): %s\n", status, text.c_str());
    }
    return launch;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <path of quillado> [launches] [path of a bare Qt window]\n", argv[0]);
        return 2;
    }
    // The probe library lies beside this benchmark.
    std::string self = argv[0];
    const std::string probe = self.substr(0, self.find_last_of('/') + 1) + "libquillado_first_paint_probe.so";
    const std::string program = argv[1];
    const int launches = argc > 2 ? std::atoi(argv[2]) : 30;
    const std::string bare = argc > 3 ? argv[3] : std::string();
    setenv("LD_PRELOAD", probe.c_str(), 1);

    // The first launches warm the caches; then the two programs take turns, so that both
    // meet the same machine.
    LaunchOnce(program);
    if (!bare.empty())
        LaunchOnce(bare);
    std::vector<double> times, peaks, bareTimes, barePeaks, cpu, bareCpu;
    for (int i = 0; i < launches; ++i) {
        const Launch l = LaunchOnce(program);
        if (l.ms < 0)
            return 1;
        times.push_back(l.ms);
        peaks.push_back(double(l.peakKiB) / 1024.0);
        cpu.push_back(l.cpuMs);
        if (!bare.empty()) {
            const Launch b = LaunchOnce(bare);
            if (b.ms < 0)
                return 1;
            bareTimes.push_back(b.ms);
            barePeaks.push_back(double(b.peakKiB) / 1024.0);
            bareCpu.push_back(b.cpuMs);
        }
    }
    auto percentile95 = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[std::min(v.size() - 1, v.size() * 95 / 100)];
    };
    auto maximum = [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); };
    const double median = Median(times);
    const double peak = Median(peaks);
    std::printf("| start-up to first paint, second launch | %.1f ms | %.1f ms | %.1f ms | %d | ≤ 100 ms | %s |\n",
        median, percentile95(times), maximum(times), launches, median <= 100 ? "met" : "missed");
    if (!bare.empty())
        std::printf("| (floor: bare Qt window with one label, same runs) | %.1f ms | %.1f ms | %.1f ms | %d | | |\n",
            Median(bareTimes), percentile95(bareTimes), maximum(bareTimes), launches);
    if (Median(cpu) >= 0)
        std::printf("| processor time to first paint | %.1f ms | %.1f ms | %.1f ms | %d | | |\n", Median(cpu),
            percentile95(cpu), maximum(cpu), launches);
    if (!bare.empty() && Median(bareCpu) >= 0)
        std::printf("| (floor: bare Qt window with one label) | %.1f ms | %.1f ms | %.1f ms | %d | | |\n",
            Median(bareCpu), percentile95(bareCpu), maximum(bareCpu), launches);
    std::printf("| peak resident memory at first paint | %.1f MiB | | | %d | ≤ 40 MiB | %s |\n", peak, launches,
        peak <= 40 ? "met" : "missed");
    if (!bare.empty())
        std::printf(
            "| (floor: bare Qt window with one label) | %.1f MiB | | | %d | | |\n", Median(barePeaks), launches);
    return 0;
}
