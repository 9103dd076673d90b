// Sprite throughput against LOVE in the same command, in the 320 x 240
// offscreen window with no pacing, 120 frames per N:
// - fill: N sprites of one 32 x 32 alpha-tested picture (a disc) at the
//   reference script's pseudo-random positions (../shared/bench/love-sprites);
// - submit: N sprites of an opaque 2 x 2 picture at the same positions
//   (../shared/bench/love-sprites-tiny): with almost nothing to fill, what it
//   costs to hand the sprites to the GPU.
// Prints ms per frame of both sides and the ratio ours / LOVE (below 1: we
// are faster), and the draw calls of our frames. The two take turns for a few
// rounds and the medians are compared, because the machines these run on are
// shared and a single run of either side can be slowed by a third.
//
//   bench_sprites [fill|submit] [LOVE script folder]
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "BenchEngine.h"
#include "runtime/core/EngineState.h"
#include "runtime/gfx2d/DeviceTesting.h"
#include "runtime/runtime.h"

namespace {

constexpr int kFrames = 120;
constexpr int kRounds = 3;
constexpr int kDiscSlot = 1;
constexpr int kTinySlot = 2;

struct Scene {
    const char* name;
    const char* description;
    int slot;
    std::vector<int> counts;
    const char* loveScript;  // the folder under ../shared/bench
};

// The scripts' pictures: a colour ramp (red 8 x, green 8 y, blue 128),
// opaque where `solid` says, transparent black elsewhere.
void LoadRamp(int slot, int size, bool (*solid)(int x, int y)) {
    DecodedImage picture;
    PrepareImageBlock(&picture, size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            if (!solid(x, y)) continue;
            uint8_t* p = picture.pixels + (y * size + x) * 4;
            p[0] = static_cast<uint8_t>(x * 8);
            p[1] = static_cast<uint8_t>(y * 8);
            p[2] = 128;
            p[3] = 255;
        }
    gEngine.device->LoadSpritePicture(slot, picture, false);
    ReleaseDecodedImage(&picture);
}

// The reference script's disc of radius 15, and the tiny script's 2 x 2.
void LoadDisc() {
    LoadRamp(kDiscSlot, 32, [](int x, int y) {
        const double dx = x - 15.5, dy = y - 15.5;
        return dx * dx + dy * dy < 225;
    });
}
void LoadTiny() {
    LoadRamp(kTinySlot, 2, [](int, int) { return true; });
}

// The script's generator, in doubles as Lua computes it.
std::vector<double> Positions(int count) {
    std::vector<double> positions(2 * count);
    double seed = 12345;
    for (int i = 0; i < count; ++i) {
        seed = std::fmod(seed * 1103515245 + 12345, 2147483648.0);
        positions[2 * i] = std::fmod(seed, 320) - 16;
        seed = std::fmod(seed * 1103515245 + 12345, 2147483648.0);
        positions[2 * i + 1] = std::fmod(seed, 240) - 16;
    }
    return positions;
}

double MsPerFrame(const std::vector<double>& positions, int slot, int count, int* drawCalls) {
    auto drawFrame = [&] {
        for (int i = 0; i < count; ++i) DrawSprite(slot, positions[2 * i], positions[2 * i + 1]);
        PresentFrame();
    };
    drawFrame();
    const double start = EngineNow();
    for (int frame = 0; frame < kFrames; ++frame) drawFrame();
    *drawCalls = OpenGLRainbowsTesting::DrawCallsLastFrame(*gEngine.device);
    return (EngineNow() - start) / kFrames;
}

std::string LoveScriptFolder(const char* given, const char* script) {
    namespace fs = std::filesystem;
    if (given) return fs::absolute(given).string();
    const std::string relative = std::string("shared/bench/") + script;
    for (const fs::path& candidate : {fs::current_path() / ".." / relative,
                                      fs::path(__FILE__).parent_path() / "../.." / relative})
        if (fs::exists(candidate / "main.lua")) return fs::canonical(candidate).string();
    return "../" + relative;
}

// Runs LOVE on the reference script; its lines read "N=1000 5.123 ms/frame".
std::map<int, double> RunLove(const std::string& folder) {
    std::map<int, double> figures;
    // Without a script LOVE would show its own screen until closed.
    if (!std::filesystem::exists(std::filesystem::path(folder) / "main.lua")) return figures;
    const std::string command =
        "SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy love '" + folder + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return figures;
    char line[256];
    while (std::fgets(line, sizeof line, pipe)) {
        int count = 0;
        double ms = 0;
        if (std::sscanf(line, "N=%d %lf", &count, &ms) == 2) figures[count] = ms;
    }
    pclose(pipe);
    return figures;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void RunScene(const Scene& scene, const std::vector<double>& positions, const char* loveGiven) {
    const std::string loveFolder = LoveScriptFolder(loveGiven, scene.loveScript);
    std::map<int, std::vector<double>> ours, love;
    std::map<int, int> calls;
    for (int round = 0; round < kRounds; ++round) {
        for (const int count : scene.counts)
            ours[count].push_back(MsPerFrame(positions, scene.slot, count, &calls[count]));
        for (const auto& [count, ms] : RunLove(loveFolder)) love[count].push_back(ms);
    }
    std::printf(
        "%s: sprites, %s, %d frames per N, 320 x 240 offscreen, ms/frame,\n"
        "median of %d rounds taken in turns:\n",
        scene.name, scene.description, kFrames, kRounds);
    std::printf("%8s %12s %12s %14s %11s\n", "N", "Quorbel", "LOVE (ref)", "ratio ours/ref",
                "draw calls");
    for (const int count : scene.counts) {
        const double mine = Median(ours[count]);
        const auto found = love.find(count);
        if (found == love.end()) {
            std::printf("%8d %12.3f %12s %14s %11d\n", count, mine, "-", "-", calls[count]);
            continue;
        }
        const double reference = Median(found->second);
        std::printf("%8d %12.3f %12.3f %14.2f %11d\n", count, mine, reference, mine / reference,
                    calls[count]);
    }
    std::printf("rounds (ours | LOVE):\n");
    for (const int count : scene.counts) {
        std::printf("%8d", count);
        for (const double ms : ours[count]) std::printf(" %8.3f", ms);
        std::printf(" |");
        for (const double ms : love[count]) std::printf(" %8.3f", ms);
        std::printf("\n");
    }
    if (love.empty()) std::printf("(LOVE did not run: %s)\n", loveFolder.c_str());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string only = argc > 1 ? argv[1] : "";
    const char* loveGiven = argc > 2 ? argv[2] : nullptr;
    if (!StartBenchEngine("sprites")) return 1;
    // No pacing: every frame as fast as it draws.
    OpenGLRainbowsTesting::SetFrameInterval(*gEngine.device, 0);
    LoadDisc();
    LoadTiny();
    const Scene scenes[] = {
        {"fill", "32 x 32 alpha-tested", kDiscSlot, {1000, 5000, 20000, 50000}, "love-sprites"},
        {"submit", "2 x 2 opaque", kTinySlot, {10000, 50000, 100000}, "love-sprites-tiny"},
    };
    const std::vector<double> positions = Positions(100000);
    for (const Scene& scene : scenes)
        if (only.empty() || only == scene.name) RunScene(scene, positions, loveGiven);
    EndProgram();
}
