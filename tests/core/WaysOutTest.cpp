// Every way out of the program ends it with exit code 0, whether the pointer
// is hidden (the mouse captured, as the game's own settings ask) or shown.
// The input shutdown moves the pointer after the window has been destroyed;
// that must never touch the window.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "runtime/platform/Platform.h"
#include "runtime/platform/PlatformTesting.h"
#include "runtime/runtime.h"
#include "support/TestEngine.h"

namespace {

struct WayOut {
    const char* name;
    std::function<void()> take;  // ends the program; returning is a failure
};

void PresentFewFrames() {
    for (int i = 0; i < 5; ++i) PresentFrame();
}

const std::vector<WayOut>& WaysOut() {
    static const std::vector<WayOut> ways = {
        {"EscapeInPresentFrame",
         [] {
             platform::InjectKeyCode(kKeyEscape, true);
             PresentFewFrames();
         }},
        {"EscapeInWaitForKey",
         [] {
             platform::InjectKeyCode(kKeyEscape, true);
             WaitForKey();
         }},
        {"AltF4",
         [] {
             platform::InjectKeyCode(kKeyLeftAlt, true);
             platform::InjectKeyCode(kKeyF4, true);
             PresentFewFrames();
         }},
        {"CloseBox",
         [] {
             platform::InjectCloseRequest();
             PresentFewFrames();
         }},
        {"SystemMenuClose",
         [] {
             platform::InjectSysCommand(0xF060);
             PresentFewFrames();
         }},
        {"TerminationSignal",
         [] {
             std::raise(SIGTERM);
             PresentFewFrames();
         }},
        {"RuntimeError3", [] { ReadByte(0); }},
        {"RuntimeError7", [] { FileAtEnd(8); }},
        {"RuntimeError8",
         [] {
             SetRuntimeError(8);
             EndProgram();
         }},
        {"RuntimeError9",
         [] {
             RtArray array;
             DimArray(array, 2, 0, 0, 0);
             array(2) = 1;
         }},
        {"RuntimeError20",
         [] {
             static const DataItem items[] = {{1, nullptr}};
             static DataList list = {items, 1, 0};
             RestoreData(list);
             double value;
             ReadDataNumber(value);
             ReadDataNumber(value);
         }},
        {"GameCode", [] { EndProgram(); }},
    };
    return ways;
}

class WaysOutTest : public testing::TestWithParam<std::tuple<size_t, bool>> {};

TEST_P(WaysOutTest, EndsWithExitCodeZero) {
    const WayOut& way = WaysOut()[std::get<0>(GetParam())];
    const bool pointerShown = std::get<1>(GetParam());
    EXPECT_EXIT(
        {
            if (!StartTestEngine(60, /*captureMouse=*/1)) std::exit(4);
            if (pointerShown) ShowMousePointer(1);
            if (platform::CursorShown() != pointerShown) std::exit(5);
            way.take();
            std::exit(3);
        },
        testing::ExitedWithCode(0), "");
}

INSTANTIATE_TEST_SUITE_P(EveryWay, WaysOutTest,
                         testing::Combine(testing::Range<size_t>(0, WaysOut().size()),
                                          testing::Bool()),
                         [](const testing::TestParamInfo<WaysOutTest::ParamType>& info) {
                             return std::string(WaysOut()[std::get<0>(info.param)].name) +
                                    (std::get<1>(info.param) ? "PointerShown" : "PointerHidden");
                         });

}  // namespace
