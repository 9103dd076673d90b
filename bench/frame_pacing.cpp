// Frame pacing: 600 frames at 60 per second in the offscreen window with the
// runtime's `PresentFrame`, against two reference pacers in the same run: one
// that sleeps whole milliseconds until each deadline (as most game loops do)
// and one that spins on the clock (the most accurate a process can be here,
// short of the machine taking its core away). Prints the median, p99 and
// maximum of |frame interval - 16.667 ms| and the CPU time of each.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

#include "BenchEngine.h"
#include "runtime/core/EngineState.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/platform/Platform.h"
#include "runtime/runtime.h"

namespace {

constexpr int kFrames = 600;
constexpr double kInterval = 1000.0 / 60;

struct Figures {
    double median, p99, max, cpuMs, wallMs;
};

Figures Summarise(std::vector<double> stamps, double cpuMs) {
    std::vector<double> error;
    for (size_t i = 1; i < stamps.size(); ++i)
        error.push_back(std::fabs(stamps[i] - stamps[i - 1] - kInterval));
    std::sort(error.begin(), error.end());
    const auto at = [&](double q) { return error[static_cast<size_t>(q * (error.size() - 1))]; };
    return {at(0.5), at(0.99), error.back(), cpuMs, stamps.back() - stamps.front()};
}

double CpuMs() {
    return 1000.0 * std::clock() / CLOCKS_PER_SEC;
}

Figures RunRuntime() {
    std::vector<double> stamps;
    stamps.reserve(kFrames + 1);
    PresentFrame();
    const double cpu0 = CpuMs();
    for (int i = 0; i <= kFrames; ++i) {
        PresentFrame();
        stamps.push_back(ElapsedMs());
    }
    return Summarise(stamps, CpuMs() - cpu0);
}

// A reference pacer: swap, pump, then `waitUntil(deadline)`.
template <typename Wait>
Figures RunPacer(Wait waitUntil) {
    std::vector<double> stamps;
    stamps.reserve(kFrames + 1);
    OpenGLRainbows* device = gEngine.device;
    double deadline = EngineNow() + kInterval;
    const double cpu0 = CpuMs();
    for (int i = 0; i <= kFrames; ++i) {
        platform::SwapBuffers(device->Window());
        device->PumpMessages();
        waitUntil(deadline);
        deadline += kInterval;
        stamps.push_back(ElapsedMs());
    }
    return Summarise(stamps, CpuMs() - cpu0);
}

// Sleeps whole milliseconds until the deadline, as most game loops do.
void SleepUntil(double deadline) {
    const double now = EngineNow();
    if (deadline > now) platform::Sleep(static_cast<uint32_t>(deadline - now));
}

// The accuracy floor: spins on the clock until the deadline.
void SpinUntil(double deadline) {
    while (EngineNow() < deadline) {
    }
}

void Print(const char* name, const Figures& f) {
    std::printf("%-22s median %.3f ms  p99 %.3f ms  max %.3f ms  cpu %.0f ms over %.0f ms wall\n",
                name, f.median, f.p99, f.max, f.cpuMs, f.wallMs);
}

}  // namespace

int main() {
    if (!StartBenchEngine("frame pacing")) return 1;
    const Figures ours = RunRuntime();
    const Figures reference = RunPacer(SleepUntil);
    const Figures spinning = RunPacer(SpinUntil);
    std::printf("frame pacing, %d frames at 60 per second, |interval - 16.667 ms|:\n", kFrames);
    Print("PresentFrame", ours);
    Print("sleeping pacer (ref)", reference);
    Print("spinning pacer (ref)", spinning);
    std::printf("ratio ours/ref: median %.4f  p99 %.4f  max %.4f  cpu %.1f\n",
                ours.median / std::max(reference.median, 1e-6),
                ours.p99 / std::max(reference.p99, 1e-6), ours.max / std::max(reference.max, 1e-6),
                ours.cpuMs / std::max(reference.cpuMs, 1e-6));
    std::printf("ratio ours/spinning: p99 %.4f  cpu %.3f\n",
                ours.p99 / std::max(spinning.p99, 1e-6),
                ours.cpuMs / std::max(spinning.cpuMs, 1e-6));
    std::fflush(stdout);
    EndProgram();
}
