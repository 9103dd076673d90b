// The real game, started through its entry as the executable starts it, is
// ended in its menu by each way a player has, with the pointer shown (as the
// game leaves it) and hidden; every end is exit code 0.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/Game.h"
#include "runtime/core/EngineState.h"
#include "runtime/platform/Platform.h"
#include "runtime/platform/PlatformTesting.h"
#include "runtime/runtime.h"

namespace {

constexpr double kInMenuMs = 1500;

enum class Way { Escape, AltF4, CloseBox };

Way gWay = Way::Escape;
bool gHidePointer = false;
bool gTaken = false;
double gStarted = 0;  // engine-clock time before the entry ran

void TakeWayOut() {
    if (gTaken || EngineNow() - gStarted < kInMenuMs) return;
    gTaken = true;
    std::fprintf(stderr, "in the menu, %s\n", gHidePointer ? "pointer hidden" : "pointer shown");
    if (gHidePointer) ShowMousePointer(0);
    switch (gWay) {
        case Way::Escape:
            platform::InjectKeyCode(kKeyEscape, true);
            break;
        case Way::AltF4:
            platform::InjectKeyCode(kKeyLeftAlt, true);
            platform::InjectKeyCode(kKeyF4, true);
            break;
        case Way::CloseBox:
            platform::InjectCloseRequest();
            break;
    }
}

class GameEnding : public testing::TestWithParam<std::tuple<Way, bool>> {};

TEST_P(GameEnding, ExitsWithCodeZero) {
    gWay = std::get<0>(GetParam());
    gHidePointer = std::get<1>(GetParam());
    EXPECT_EXIT(
        {
            ProbeEngineClock();
            gStarted = EngineNow();
            platform::SetPumpHook(TakeWayOut);
            GameEntry(nullptr, nullptr, "", 10);
            std::fprintf(stderr, "the game returned\n");
            std::exit(3);
        },
        testing::ExitedWithCode(0),
        gHidePointer ? "in the menu, pointer hidden" : "in the menu, pointer shown");
}

std::string CaseName(const testing::TestParamInfo<GameEnding::ParamType>& info) {
    static const char* const kNames[] = {"Escape", "AltF4", "CloseBox"};
    return std::string(kNames[static_cast<int>(std::get<0>(info.param))]) +
           (std::get<1>(info.param) ? "PointerHidden" : "PointerShown");
}

INSTANTIATE_TEST_SUITE_P(EveryWay, GameEnding,
                         testing::Combine(testing::Values(Way::Escape, Way::AltF4, Way::CloseBox),
                                          testing::Bool()),
                         CaseName);

}  // namespace
