// The game's own board frame: a Normal board of 26 portraits in the
// grandstand over its background, the player's badge and the round marks,
// drawn as the turn loop draws it. Prints the draw calls one frame takes and
// the milliseconds per frame without pacing (the median of 5 runs of 120
// frames). The game's generated media are read from the build folder.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "BenchEngine.h"
#include "game/Game.h"
#include "runtime/core/EngineState.h"
#include "runtime/gfx2d/DeviceTesting.h"
#include "runtime/runtime.h"

namespace {

constexpr int kFrames = 120;
constexpr int kRuns = 5;

void LoadBoardMedia() {
    for (double n = 0; n <= LastPortrait; ++n) {
        RtString name = NumberText(n);
        if (n < 10) name = RtString("0") + name;
        LoadSprite(RtString("vux/") + name + ".png", n);
    }
    LoadFont(RtString("smalfont.png"), 0);
    LoadBackground(RtString("back0.png"));
}

}  // namespace

int main() {
    if (!StartBenchEngine("board")) return 1;
    SetDirectory(RtString(QUORBEL_MEDIA_DIR));
    LoadBoardMedia();
    RtArray board, marks;
    BuildBoard(board, marks, 1);
    RoundNumber = 3;
    OpenGLRainbowsTesting::SetFrameInterval(*gEngine.device, 0);
    std::vector<double> runs;
    for (int run = 0; run < kRuns; ++run) {
        const double start = EngineNow();
        for (int frame = 0; frame < kFrames; ++frame) {
            DrawBoard(board, marks, 0, 5);
            PresentFrame();
        }
        runs.push_back((EngineNow() - start) / kFrames);
    }
    std::sort(runs.begin(), runs.end());
    std::printf("board frame (Normal, 26 portraits, background, badge, round marks):\n");
    std::printf("  draw calls per frame: %d\n",
                OpenGLRainbowsTesting::DrawCallsLastFrame(*gEngine.device));
    std::printf("  ms per frame, no pacing: %.3f (median of %d runs of %d frames)\n",
                runs[kRuns / 2], kRuns, kFrames);
    std::fflush(stdout);
    EndProgram();
}
