// Start-up and memory: the real game against the start-up floor (a bare SDL +
// OpenGL program that opens the same window, clears one frame and prints
// "Init OK"). The two take turns, one run each per round; every run is timed
// from just before the fork to its "Init OK" line, its peak resident memory
// (VmHWM) is read a while later, and it is ended with SIGTERM, which both end
// on with exit code 0. Both run headless on the offscreen video and dummy
// audio drivers, with a temporary folder of their own. Medians of the rounds,
// and the game's medians as a ratio to (and a difference from) the floor's.
//
//   bench_startup [--rounds N] [--settle-ms MS] [--game PATH] [--floor PATH]
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#ifndef QUORBEL_GAME_PATH
#define QUORBEL_GAME_PATH "quorbel"
#endif
#ifndef QUORBEL_FLOOR_PATH
#define QUORBEL_FLOOR_PATH "startup-floor"
#endif

namespace {

constexpr double kTimeGoal = 1.25;    // game / floor, time to "Init OK"
constexpr double kMemoryGoalMb = 20;  // game - floor, peak memory
constexpr int kStartTimeoutMs = 30000;
constexpr int kExitTimeoutMs = 20000;

struct Run {
    bool ok = false;
    double initMs = 0;
    double initPeakMb = 0;  // VmHWM as "Init OK" arrives
    double peakMb = 0;      // VmHWM
    double residentMb = 0;  // VmRSS at the same moment
    int exitCode = -1;
    std::string failure;
};

double NowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// The "Vm...:" line of /proc/PID/status in megabytes (of 2^20 bytes); -1 when missing.
double StatusMb(pid_t pid, const char* field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.compare(0, prefix.size(), prefix) == 0)
            return std::strtod(line.c_str() + prefix.size(), nullptr) / 1024.0;
    return -1;
}

std::string LoadAverage() {
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

// Waits for the child to end, at most `ms`; its exit code, or -1 (and the
// child killed) when it does not end in time or ends by a signal.
int WaitForExit(pid_t pid, int ms) {
    const double deadline = NowMs() + ms;
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (done < 0 && errno != EINTR) return -1;
        if (NowMs() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        usleep(2000);
    }
}

// Reads what the child prints, appending to `pending`; true once a whole
// "Init OK" line has arrived. `closed` is set at the end of its output.
bool TakeOutput(int fd, std::string& pending, bool& closed) {
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got > 0) {
            pending.append(buffer, static_cast<size_t>(got));
            continue;
        }
        if (got == 0) closed = true;
        break;
    }
    size_t start = 0;
    for (size_t end; (end = pending.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = pending.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "Init OK") return true;
    }
    pending.erase(0, start);
    return false;
}

Run RunOnce(const std::string& program, const std::string& tmp, int settleMs) {
    Run run;
    int out[2];
    if (pipe(out) != 0) {
        run.failure = "pipe failed";
        return run;
    }
    const std::string folder = std::filesystem::path(program).parent_path().string();
    const double start = NowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) dup2(null, STDERR_FILENO);
        close(out[0]);
        close(out[1]);
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("TMPDIR", tmp.c_str(), 1);
        if (!folder.empty() && chdir(folder.c_str()) != 0) _exit(126);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    if (pid < 0) {
        close(out[0]);
        run.failure = "fork failed";
        return run;
    }
    fcntl(out[0], F_SETFL, O_NONBLOCK);

    std::string pending;
    bool closed = false, started = false;
    while (!started && !closed && NowMs() - start < kStartTimeoutMs) {
        pollfd p{out[0], POLLIN, 0};
        poll(&p, 1, 100);
        started = TakeOutput(out[0], pending, closed);
    }
    if (!started) {
        kill(pid, SIGKILL);
        WaitForExit(pid, kExitTimeoutMs);
        close(out[0]);
        run.failure = closed ? "ended before \"Init OK\"" : "no \"Init OK\" in time";
        return run;
    }
    run.initMs = NowMs() - start;
    run.initPeakMb = StatusMb(pid, "VmHWM");

    // The program goes on (the game loads its media and shows its menu); its
    // output is drained meanwhile, so a full pipe never holds it up.
    const double settleEnd = NowMs() + settleMs;
    while (!closed && NowMs() < settleEnd) {
        pollfd p{out[0], POLLIN, 0};
        poll(&p, 1, static_cast<int>(std::max(1.0, settleEnd - NowMs())));
        TakeOutput(out[0], pending, closed);
    }
    run.peakMb = StatusMb(pid, "VmHWM");
    run.residentMb = StatusMb(pid, "VmRSS");
    kill(pid, SIGTERM);
    run.exitCode = WaitForExit(pid, kExitTimeoutMs);
    close(out[0]);
    if (run.peakMb < 0) {
        run.failure = "ended before its memory was read";
        return run;
    }
    if (run.exitCode != 0) {
        run.failure = "SIGTERM ended it with exit code " + std::to_string(run.exitCode);
        return run;
    }
    run.ok = true;
    return run;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    if (n == 0) return 0;
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Side {
    const char* name;
    std::string program;
    std::vector<double> initMs, initPeakMb, peakMb, residentMb;
};

void PrintRounds(const Side& side) {
    std::printf("  %-6s Init OK ms:", side.name);
    for (double v : side.initMs) std::printf(" %6.1f", v);
    std::printf("\n  %-6s VmHWM MB:  ", side.name);
    for (double v : side.peakMb) std::printf(" %6.1f", v);
    std::printf("\n");
}

std::string Resolve(const std::string& path) {
    std::error_code error;
    const auto absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = 7;
    int settleMs = 2000;
    Side game{"game", Resolve(QUORBEL_GAME_PATH), {}, {}, {}, {}};
    Side floor{"floor", Resolve(QUORBEL_FLOOR_PATH), {}, {}, {}, {}};
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--rounds")
            rounds = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--settle-ms")
            settleMs = std::max(0, std::atoi(argv[i + 1]));
        else if (option == "--game")
            game.program = Resolve(argv[i + 1]);
        else if (option == "--floor")
            floor.program = Resolve(argv[i + 1]);
        else {
            std::fprintf(stderr, "unknown option %s\n", option.c_str());
            return 2;
        }
    }
    for (const Side* side : {&game, &floor})
        if (access(side->program.c_str(), X_OK) != 0) {
            std::printf("start-up: %s program %s is missing; nothing measured\n", side->name,
                        side->program.c_str());
            return 1;
        }

    char tmpTemplate[] = "/tmp/quorbel-bench-startup.XXXXXX";
    const char* tmp = mkdtemp(tmpTemplate);
    if (!tmp) {
        std::perror("mkdtemp");
        return 1;
    }
    std::printf("start-up: %d rounds, memory read %d ms after \"Init OK\"; load average %s\n",
                rounds, settleMs, LoadAverage().c_str());
    std::printf("  game:  %s\n  floor: %s\n", game.program.c_str(), floor.program.c_str());
    std::fflush(stdout);

    // One unmeasured run of each first: the libraries reach the page cache
    // and the driver's shader cache holds the game's shaders, as on any start
    // but the very first.
    for (const Side* side : {&floor, &game}) RunOnce(side->program, tmp, 0);

    int failures = 0;
    for (int round = 0; round < rounds; ++round) {
        // Each side goes first in every other round, so neither always runs
        // straight after the other's exit.
        Side* order[2] = {&floor, &game};
        if (round % 2) std::swap(order[0], order[1]);
        for (Side* side : order) {
            const Run run = RunOnce(side->program, tmp, settleMs);
            if (!run.ok) {
                std::printf("  round %d, %s: %s\n", round + 1, side->name, run.failure.c_str());
                ++failures;
                continue;
            }
            side->initMs.push_back(run.initMs);
            side->initPeakMb.push_back(run.initPeakMb);
            side->peakMb.push_back(run.peakMb);
            side->residentMb.push_back(run.residentMb);
        }
    }
    std::filesystem::remove_all(tmp);

    PrintRounds(floor);
    PrintRounds(game);
    if (game.initMs.empty() || floor.initMs.empty()) {
        std::printf("start-up: no complete run of one side; nothing compared\n");
        return 1;
    }
    const double gameMs = Median(game.initMs), floorMs = Median(floor.initMs);
    const double gamePeak = Median(game.peakMb), floorPeak = Median(floor.peakMb);
    const double timeRatio = gameMs / floorMs;
    const double memoryRatio = gamePeak / floorPeak;
    const double memoryExtra = gamePeak - floorPeak;
    std::printf("median        Init OK %7.1f ms   VmHWM %6.1f MB   VmRSS %6.1f MB\n", gameMs,
                gamePeak, Median(game.residentMb));
    std::printf("floor (ref)   Init OK %7.1f ms   VmHWM %6.1f MB   VmRSS %6.1f MB\n", floorMs,
                floorPeak, Median(floor.residentMb));
    std::printf(
        "game / floor: time %.2f (goal at most %.2f: %s)   memory %.2f, %+.1f MB "
        "(goal at most %+.0f MB: %s)\n",
        timeRatio, kTimeGoal, timeRatio <= kTimeGoal ? "met" : "missed", memoryRatio, memoryExtra,
        kMemoryGoalMb, memoryExtra <= kMemoryGoalMb ? "met" : "missed");
    // At "Init OK" both programs have done the same: a window, a context and
    // a first frame shown. Later the game has loaded and drawn its media,
    // which the floor never does.
    const double initExtra = Median(game.initPeakMb) - Median(floor.initPeakMb);
    std::printf(
        "VmHWM at \"Init OK\": game %.1f MB, floor %.1f MB, %+.1f MB (goal at most %+.0f MB: %s)\n",
        Median(game.initPeakMb), Median(floor.initPeakMb), initExtra, kMemoryGoalMb,
        initExtra <= kMemoryGoalMb ? "met" : "missed");
    std::printf("load average at the end %s; %d failed runs\n", LoadAverage().c_str(), failures);
    return failures == 0 ? 0 : 1;
}
