// Start-up, frame presentation, pausing and the ways out, each run in a
// process of its own (CTest starts one per test).
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "runtime/core/Engine.h"
#include "runtime/core/EngineState.h"
#include "runtime/files/ErrorLog.h"
#include "runtime/gfx2d/DeviceTesting.h"
#include "runtime/input/InputDevices.h"
#include "runtime/platform/Platform.h"
#include "runtime/platform/PlatformTesting.h"
#include "runtime/runtime.h"
#include "support/TestEngine.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void TraceToStderr(const char* event) {
    std::fprintf(stderr, "[%s]\n", event);
    std::fflush(stderr);
}

TEST(StartEngine, PrintsInitOkWithTheTitleAndAFreshClock) {
    testing::internal::CaptureStdout();
    ASSERT_TRUE(StartTestEngine());
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Init OK\n"), std::string::npos);
    EXPECT_LT(ElapsedMs(), 200.0);
    EXPECT_GE(ElapsedMs(), 0.0);
    EXPECT_EQ(LastFrameMs(), 1.0);
    EXPECT_EQ(platform::GetCaption(gEngine.mainWindow), "Quorbel");
    EXPECT_EQ(gEngine.paused, 0);
    EXPECT_EQ(gEngine.autoPause, 1);
    EXPECT_EQ(gEngine.device->FrameInterval(), 1000.0 / 60);
    EXPECT_NE(GetWindowHandle(), 0);
    double w = 0, h = 0;
    GetScreenSize(w, h);
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 240);
    EXPECT_EQ(IsFullScreen(), 0);
    EXPECT_TRUE(platform::IsWindowShown(gEngine.mainWindow));
    EXPECT_FALSE(platform::ScreenSaverEnabled());
}

TEST(StartEngine, CentresTheWindowOnTheDesktop) {
    ASSERT_TRUE(StartTestEngine());
    int x = -1, y = -1;
    ASSERT_TRUE(platform::GetWindowPosition(gEngine.mainWindow, &x, &y));
    EXPECT_EQ(x, (platform::DesktopWidth() - 320) / 2);
    EXPECT_EQ(y, (platform::DesktopHeight() - 240) / 2);
}

TEST(StartEngine, MakesTheProgramsFolderTheWorkingDirectory) {
    ASSERT_TRUE(StartTestEngine());
    std::string program = platform::ProgramPath();
    EXPECT_EQ(platform::CurrentDirectory() + "/", program.substr(0, program.rfind('/') + 1));
}

TEST(StartEngine, DeletesTheOldErrorLog) {
    AppendErrorLog("left over from an earlier run");
    ASSERT_TRUE(StartTestEngine());
    // llvmpipe is a software rasteriser: its warning is the only line.
    const std::string log = ReadFile(ErrorLogPath());
    EXPECT_EQ(log.find("left over"), std::string::npos);
    EXPECT_EQ(log, "OpenGL Software Emulation\r\n");
}

TEST(StartEngine, HiddenWindowStillRunsTheFrameLoop) {
    ASSERT_TRUE(StartTestEngine(60, 0, /*showCommand=*/0));
    EXPECT_FALSE(platform::IsWindowShown(gEngine.mainWindow));
    const double before = ElapsedMs();
    for (int i = 0; i < 6; ++i) PresentFrame();
    EXPECT_GE(ElapsedMs() - before, 5 * 1000.0 / 60 - 1);
}

TEST(StartEngine, CapturedMouseHidesThePointer) {
    ASSERT_TRUE(StartTestEngine(60, /*captureMouse=*/1));
    EXPECT_FALSE(gEngine.input->PointerShown());
    EXPECT_FALSE(platform::CursorShown());
}

TEST(StartEngine, ShownMouseKeepsTheArrow) {
    ASSERT_TRUE(StartTestEngine(60, /*captureMouse=*/0));
    EXPECT_TRUE(gEngine.input->PointerShown());
    EXPECT_TRUE(platform::CursorShown());
}

TEST(EngineClock, MultimediaTimerServesWithoutACounter) {
    platform::ForceNoPerformanceCounter(true);
    ASSERT_TRUE(StartTestEngine());
    EXPECT_EQ(gEngine.clockAvailable, 0);
    const double a = EngineNow();
    platform::Sleep(30);
    const double b = EngineNow();
    EXPECT_EQ(a, static_cast<double>(static_cast<long long>(a)));  // whole milliseconds
    EXPECT_GE(b - a, 29);
    EXPECT_LT(ElapsedMs(), 200.0);
}

TEST(PresentFrame, PacesAtTheFrameRate) {
    ASSERT_TRUE(StartTestEngine(60));
    PresentFrame();
    const double start = ElapsedMs();
    for (int i = 0; i < 30; ++i) PresentFrame();
    const double took = ElapsedMs() - start;
    EXPECT_GT(took, 29 * 1000.0 / 60);
    EXPECT_GT(LastFrameMs(), 10.0);
}

TEST(PresentFrame, ZeroFrameRateGivesTwoMillisecondFrames) {
    ASSERT_TRUE(StartTestEngine(0));
    EXPECT_EQ(gEngine.device->FrameInterval(), 2.0);
    SetFrameRate(0);
    EXPECT_EQ(gEngine.device->FrameInterval(), 2.0);
    SetFrameRate(-5);
    EXPECT_EQ(gEngine.device->FrameInterval(), 2.0);
    SetFrameRate(50.9);
    EXPECT_EQ(gEngine.device->FrameInterval(), 20.0);
}

TEST(Present, MissedFramesAreSkippedNotCaughtUp) {
    ASSERT_TRUE(StartTestEngine(60));
    OpenGLRainbows* device = gEngine.device;
    const double interval = device->FrameInterval();
    // The frame overran its deadline by two and a half intervals.
    const double missed = EngineNow() - 2.5 * interval;
    OpenGLRainbowsTesting::SetNextFrameTime(*device, missed);
    device->Present();
    const double now = EngineNow();
    // The next deadline is the first whole interval after now: 3 intervals on.
    EXPECT_DOUBLE_EQ(device->NextFrameTime(), missed + 3 * interval);
    EXPECT_GT(device->NextFrameTime(), now - 0.5);
    EXPECT_LE(device->NextFrameTime() - interval, now);
}

TEST(Present, ReturnsTheTimeSpentPlusOneAfterTheDeadline) {
    ASSERT_TRUE(StartTestEngine(20));
    gEngine.device->Present();
    const double deadline = gEngine.device->NextFrameTime();
    const double before = EngineNow();
    const double spent = gEngine.device->Present();
    const double after = EngineNow();
    EXPECT_GE(spent, 1.0);
    EXPECT_LE(spent, after - before + 1 + 1e-6);
    EXPECT_GT(after, deadline);  // it waited for the deadline
}

// Reads the colour of one screen pixel, (x, y) counted from the top left.
uint32_t ScreenPixel(int x, int y) {
    unsigned char rgba[4] = {};
    FlushDrawing();
    glReadBuffer(GL_BACK);
    glReadPixels(x, gEngine.device->Height() - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return rgba[0] | rgba[1] << 8 | rgba[2] << 16;
}

// A red rectangle in view coordinates, as the runtime draws one.
void FillQuad(float x, float y, float w, float h) {
    DrawRect(x, y, w, h, 0x0000FF);
}

TEST(SetView, ViewportCountsFromTheTopOfTheScreen) {
    ASSERT_TRUE(StartTestEngine());
    glClear(GL_COLOR_BUFFER_BIT);
    SetViewport(10, 20, 100, 50);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 10);
    EXPECT_EQ(viewport[1], 170);
    EXPECT_EQ(viewport[2], 100);
    EXPECT_EQ(viewport[3], 50);
    FillQuad(0, 0, 1, 1);
    EXPECT_EQ(ScreenPixel(10, 20), 0x0000FFu);
    EXPECT_EQ(ScreenPixel(9, 20), 0u);
    EXPECT_EQ(ScreenPixel(10, 19), 0u);
    EXPECT_EQ(ScreenPixel(11, 20), 0u);
    // Drawing outside the view is clipped.
    FillQuad(100, 0, 5, 5);
    EXPECT_EQ(ScreenPixel(111, 21), 0u);
}

TEST(SetView, ZeroSizeRestoresTheWholeScreenButKeepsTheOrigin) {
    ASSERT_TRUE(StartTestEngine());
    SetViewport(10, 20, 100, 50);
    SetViewport(0, 0, 0, 0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 320);
    EXPECT_EQ(viewport[3], 240);
    SetViewport(10, 20, 0, 0);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 10);
    EXPECT_EQ(viewport[1], -20);
    EXPECT_EQ(viewport[2], 320);
    EXPECT_EQ(viewport[3], 240);
    glClear(GL_COLOR_BUFFER_BIT);
    FillQuad(0, 0, 1, 1);
    EXPECT_EQ(ScreenPixel(10, 20), 0x0000FFu);
}

TEST(SetView, LeavesTheStateForTwoD) {
    ASSERT_TRUE(StartTestEngine());
    FlushDrawing();
    glEnable(GL_DEPTH_TEST);
    gEngine.device->SetSmoothing(false);
    gEngine.device->SetView(0, 0, 0, 0);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    GLint front = 0;
    glGetIntegerv(GL_FRONT_FACE, &front);
    EXPECT_EQ(front, GL_CCW);
    EXPECT_FALSE(OpenGLRainbowsTesting::FrontFaceClockwise(*gEngine.device));
    EXPECT_TRUE(OpenGLRainbowsTesting::AlphaTestOn(*gEngine.device));
    EXPECT_FALSE(OpenGLRainbowsTesting::PixelCentreShifted(*gEngine.device));
    const float* colour = OpenGLRainbowsTesting::CurrentColour(*gEngine.device);
    EXPECT_EQ(std::vector<float>(colour, colour + 4), (std::vector<float>{1, 1, 1, 1}));
    EXPECT_EQ(gEngine.device->SmoothFlag(), 1);
    // Slot -1 leaves no texture bound and texturing off.
    EXPECT_FALSE(OpenGLRainbowsTesting::TexturingOn(*gEngine.device));
}

TEST(Pause, FocusLossHoldsTheFrameAndMarksTheCaption) {
    ASSERT_TRUE(StartTestEngine());
    platform::InjectFocus(false);
    PresentFrame();  // the activation message is dispatched here
    EXPECT_EQ(gEngine.paused, 1);
    EXPECT_EQ(platform::GetCaption(gEngine.mainWindow), "Quorbel <pause>");

    std::string captionWhileHeld;
    ScheduleInPump(400, [&] {
        captionWhileHeld = platform::GetCaption(gEngine.mainWindow);
        platform::InjectFocus(true);
    });
    const double before = ElapsedMs();
    PresentFrame();
    const double held = ElapsedMs() - before;
    EXPECT_EQ(captionWhileHeld, "Quorbel <pause>");
    EXPECT_GE(held, 390);
    EXPECT_EQ(gEngine.paused, 0);
    EXPECT_EQ(platform::GetCaption(gEngine.mainWindow), "Quorbel");
    // The frame after the pause counts the whole pause.
    PresentFrame();
    EXPECT_GE(LastFrameMs(), 390);
}

TEST(Pause, NeverHappensWithoutAutoPauseOrInDebugRuns) {
    ASSERT_TRUE(StartTestEngine());
    SetAutoPause(0);
    platform::InjectFocus(false);
    PresentFrame();
    EXPECT_EQ(gEngine.paused, 0);
    EXPECT_EQ(platform::GetCaption(gEngine.mainWindow), "Quorbel");
    SetAutoPause(1);
    gEngine.debugRun = 1;
    platform::InjectFocus(false);
    PresentFrame();
    EXPECT_EQ(gEngine.paused, 0);
}

TEST(WindowProcedure, RefusesTheScreenSaverAndErasesNothing) {
    ASSERT_TRUE(StartTestEngine());
    EXPECT_EQ(WindowProcedure(gEngine.mainWindow, platform::kMsgSysCommand, 0xF140, 0), 0);
    EXPECT_EQ(WindowProcedure(gEngine.mainWindow, platform::kMsgSysCommand, 0xF170, 0), 0);
    EXPECT_EQ(WindowProcedure(gEngine.mainWindow, platform::kMsgSysCommand, 0xF142, 0), 0);
    EXPECT_EQ(WindowProcedure(gEngine.mainWindow, platform::kMsgEraseBackground, 0, 0), 1);
    platform::InjectSysCommand(0xF140);
    PresentFrame();  // still running
    SUCCEED();
}

TEST(Ending, EscapeEndsWithExitCodeZero) {
    EXPECT_EXIT(
        {
            StartTestEngine();
            platform::InjectKeyCode(kKeyEscape, true);
            for (int i = 0; i < 5; ++i) PresentFrame();
            std::exit(3);
        },
        testing::ExitedWithCode(0), "");
}

TEST(Ending, EscapeDoesNothingWhenSwitchedOffButAltF4StillEnds) {
    EXPECT_EXIT(
        {
            StartTestEngine();
            SetEscapeQuits(0);
            platform::InjectKeyCode(kKeyEscape, true);
            for (int i = 0; i < 5; ++i) PresentFrame();
            std::fprintf(stderr, "survived escape\n");
            platform::InjectKeyCode(kKeyLeftAlt, true);
            platform::InjectKeyCode(kKeyF4, true);
            for (int i = 0; i < 5; ++i) PresentFrame();
            std::exit(3);
        },
        testing::ExitedWithCode(0), "survived escape");
}

TEST(Ending, CloseBoxReleasesDevicesInOrderAndExitsZero) {
    EXPECT_EXIT(
        {
            StartTestEngine();
            platform::SetTraceHook(TraceToStderr);
            platform::InjectCloseRequest();
            for (int i = 0; i < 5; ++i) PresentFrame();
            std::exit(3);
        },
        testing::ExitedWithCode(0),
        "\\[destroy window\\].*\\[delete context\\].*\\[show cursor\\].*\\[close audio\\].*\\[exit "
        "0\\]");
}

TEST(Ending, SystemMenuCloseEndsLikeTheCloseBox) {
    EXPECT_EXIT(
        {
            StartTestEngine();
            platform::SetTraceHook(TraceToStderr);
            platform::InjectSysCommand(0xF063);  // low four bits are ignored
            for (int i = 0; i < 5; ++i) PresentFrame();
            std::exit(3);
        },
        testing::ExitedWithCode(0),
        "\\[destroy window\\].*\\[delete context\\].*\\[show cursor\\].*\\[close audio\\].*\\[exit "
        "0\\]");
}

TEST(Ending, CloseWhilePausedStillEnds) {
    EXPECT_EXIT(
        {
            StartTestEngine();
            platform::InjectFocus(false);
            PresentFrame();
            ScheduleInPump(150, [] { platform::InjectCloseRequest(); });
            PresentFrame();
            std::exit(3);
        },
        testing::ExitedWithCode(0), "");
}

TEST(Ending, DebugRunWritesTheEndOfRunReport) {
    EXPECT_EXIT(
        {
            StartTestEngine(60, 0, 10, /*debugRun=*/1);
            gEngine.currentLine = 42;
            gEngine.currentModule = 3;
            platform::InjectKeyCode(kKeyEscape, true);
            for (int i = 0; i < 5; ++i) PresentFrame();
            std::exit(3);
        },
        testing::ExitedWithCode(0), "");
    const std::string log = ReadFile(ErrorLogPath());
    EXPECT_NE(log.find("-End On Line\r\n0\r\n41\r\n42\r\n3\r\n"), std::string::npos) << log;
}

TEST(Ending, RuntimeErrorReportCarriesItsNumber) {
    EXPECT_EXIT(
        {
            StartTestEngine(60, 0, 10, 1);
            gEngine.currentLine = 7;
            SetRuntimeError(9);
            EndProgram();
        },
        testing::ExitedWithCode(0), "");
    const std::string log = ReadFile(ErrorLogPath());
    EXPECT_NE(log.find("-End On Line\r\n9\r\n6\r\n7\r\n0\r\n"), std::string::npos) << log;
}

TEST(Ending, EndingWithoutDevicesIsSafe) {
    EXPECT_EXIT(EndProgram(), testing::ExitedWithCode(0), "");
}

TEST(Ending, EndAndRunStartsTheCommandAndExitsZero) {
    const std::string marker = platform::TempFolder() + "end-and-run-marker";
    platform::DeleteFile(marker.c_str());
    EXPECT_EXIT(
        {
            StartTestEngine();
            EndAndRun(RtString(("echo ran > " + marker).c_str()));
        },
        testing::ExitedWithCode(0), "");
    for (int i = 0; i < 50 && !platform::FileExists(marker.c_str()); ++i) platform::Sleep(20);
    EXPECT_EQ(ReadFile(marker), "ran\n");
    platform::DeleteFile(marker.c_str());
}

TEST(Executable, StartsHeadlessAndPrintsInitOk) {
    std::string output;
    const int code =
        RunProcess("SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy timeout -s KILL 3 " +
                       BuildFolder() + "/quorbel",
                   &output);
    EXPECT_EQ(code, 128 + 9) << output;  // still running when stopped
    EXPECT_NE(output.find("Init OK"), std::string::npos) << output;
}

// Ctrl+C and the session's SIGTERM close the game as its close box does:
// through the one way out, with exit code 0 (and, in the sanitized build, no
// memory error report, which would make the code non-zero). Leak reports are
// left off, as for the test programs: the GL driver's own allocations are
// freed by no one and it is unloaded before a report could name it.
TEST(Executable, TerminationSignalsEndItThroughTheCloseBox) {
    for (const char* signal : {"TERM", "INT"}) {
        std::string output;
        const int code =
            RunProcess(std::string("ASAN_OPTIONS=detect_leaks=0 SDL_VIDEODRIVER=offscreen "
                                   "SDL_AUDIODRIVER=dummy timeout --preserve-status -s ") +
                           signal + " 3 " + BuildFolder() + "/quorbel",
                       &output);
        EXPECT_EQ(code, 0) << signal << "\n" << output;
        EXPECT_NE(output.find("Init OK"), std::string::npos) << output;
    }
}

TEST(Executable, WithoutAWindowItSaysWhyAndFails) {
    std::string output;
    const int code =
        RunProcess("SDL_VIDEODRIVER=nonexistent SDL_AUDIODRIVER=dummy timeout -s KILL 10 " +
                       BuildFolder() + "/quorbel",
                   &output);
    EXPECT_NE(code, 0);
    EXPECT_NE(code, 128 + 9);
    EXPECT_EQ(output.find("Init OK"), std::string::npos);
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
    EXPECT_NE(output.find("quorbel: cannot open the game window"), std::string::npos) << output;
}

}  // namespace
