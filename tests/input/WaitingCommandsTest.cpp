// The commands that wait for input and the typed line: keys, buttons and
// motion arrive by time from inside the pump while the command waits.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "CommandFixture.h"
#include "runtime/core/Engine.h"
#include "runtime/core/EngineState.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/input/TextEntry.h"
#include "runtime/runtime.h"

namespace {

using IdleWait = InputCommandTest;
using WaitForKeyCommand = InputCommandTest;
using WaitForMouseClickCommand = InputCommandTest;
using InputTextCommand = InputCommandTest;
using InputNumberCommand = InputCommandTest;

// ---------------------------------------------------------------- idle wait

TEST_F(IdleWait, WithoutInputReturnsAfterFifteenRounds) {
    Start();
    const double start = ElapsedMs();
    IdleForInput();
    const double waited = ElapsedMs() - start;
    EXPECT_GE(waited, 15 * 5 - 1);
    EXPECT_LT(waited, 1000);
}

TEST_F(IdleWait, AHeldKeyEndsItAtOnce) {
    Start();
    Press(kKeyUp);
    const double start = ElapsedMs();
    IdleForInput();
    EXPECT_LT(ElapsedMs() - start, 40);
}

TEST_F(IdleWait, MouseMotionEndsIt) {
    Start(/*captureMouse=*/1);
    PresentFrame();
    ScheduleInPump(20, [] { platform::InjectMouseMotion(0, 0, 4, 0); });
    const double start = ElapsedMs();
    IdleForInput();
    const double waited = ElapsedMs() - start;
    EXPECT_GE(waited, 19);
    EXPECT_LT(waited, 70);  // no motion: fifteen rounds of 5 ms
}

TEST_F(IdleWait, AJoystickButtonEndsIt) {
    platform::Joystick* joystick = AttachJoystick(2, 4, 1);
    ASSERT_NE(joystick, nullptr);
    Start();
    ASSERT_TRUE(platform::SetVirtualJoystickButton(joystick, 3, true));
    double start = ElapsedMs();
    IdleForInput();
    EXPECT_LT(ElapsedMs() - start, 40);
    ASSERT_TRUE(platform::SetVirtualJoystickButton(joystick, 3, false));
    ASSERT_TRUE(platform::SetVirtualJoystickAxis(joystick, 0, 2000));  // below 0.1: at rest
    start = ElapsedMs();
    IdleForInput();
    EXPECT_GE(ElapsedMs() - start, 15 * 5 - 1);
    ASSERT_TRUE(platform::SetVirtualJoystickHat(joystick, 0, hat::kDown));
    start = ElapsedMs();
    IdleForInput();
    EXPECT_LT(ElapsedMs() - start, 40);
}

TEST_F(IdleWait, EscapeEndsTheProgram) {
    EXPECT_EXIT(
        {
            StartTestEngine();
            platform::InjectKeyCode(kKeyEscape, true);
            IdleForInput();
            std::exit(3);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(IdleWait, EscapeIsJustAKeyWhenEscapeDoesNotQuit) {
    Start();
    SetEscapeQuits(0);
    Press(kKeyEscape);
    const double start = ElapsedMs();
    IdleForInput();
    EXPECT_LT(ElapsedMs() - start, 40);
    SetEscapeQuits(1);
    Release(kKeyEscape);
    KeyState(1);
}

int gMusicChecks = 0;

TEST_F(IdleWait, KeepsLoopingMusicGoing) {
    Start();
    PresentFrame();  // the clock starts at 0 with start-up
    SetMusicRestartHook([] { ++gMusicChecks; });
    gEngine.musicRestartTime = 1;  // long due
    IdleForInput();
    gEngine.musicRestartTime = 0;
    EXPECT_GE(gMusicChecks, 2);  // checked round after round, not once
}

// ---------------------------------------------------------------- WaitForKey

TEST_F(WaitForKeyCommand, ShiftAloneDoesNotEndItButAnADoes) {
    Start();
    bool shiftSeen = false;
    ScheduleTap(50, kKeyLeftShift, 300);
    ScheduleInPump(200, [&shiftSeen] { shiftSeen = platform::KeyDownByCode(kKeyLeftShift); });
    ScheduleTap(500, kKeyA, 5000);  // still held when the wait ends
    const double start = ElapsedMs();
    WaitForKey();
    EXPECT_TRUE(shiftSeen);
    EXPECT_GE(ElapsedMs() - start, 500);
    EXPECT_LT(ElapsedMs() - start, 2000);
    EXPECT_STREQ(TypedChar().CStr(), "");  // the 'a' was taken by the wait
}

TEST_F(WaitForKeyCommand, AKeyHeldOnEntryMustBePressedAgain) {
    Start();
    Press(kKeyA);
    EXPECT_STREQ(TypedChar().CStr(), "a");
    ScheduleInPump(150, [] { platform::InjectKeyCode(kKeyA, false); });
    ScheduleInPump(300, [] { platform::InjectKeyCode(kKeyA, true); });
    const double start = ElapsedMs();
    WaitForKey();
    EXPECT_GE(ElapsedMs() - start, 300);
}

TEST_F(WaitForKeyCommand, ReturnAndSpaceEndIt) {
    Start();
    ScheduleTap(50, kKeyReturn);
    WaitForKey();
    ScheduleTap(200, 57);  // Space
    const double start = ElapsedMs();
    WaitForKey();
    EXPECT_GE(ElapsedMs() - start, 100);
}

TEST_F(WaitForKeyCommand, TheCloseBoxEndsTheProgramWhileItWaits) {
    EXPECT_EXIT(
        {
            StartTestEngine();
            ScheduleInPump(100, [] { platform::InjectCloseRequest(); });
            WaitForKey();
            std::exit(3);
        },
        testing::ExitedWithCode(0), "");
}

// ---------------------------------------------------------------- WaitForMouseClick

TEST_F(WaitForMouseClickCommand, EndsOnAPress) {
    Start(/*captureMouse=*/1);
    ScheduleInPump(150, [] { platform::InjectMouseButton(1, true, 10, 10); });
    const double start = ElapsedMs();
    WaitForMouseClick();
    EXPECT_GE(ElapsedMs() - start, 150);
    ReleaseButton(1);
}

TEST_F(WaitForMouseClickCommand, AButtonHeldOnEntryMustBeReleasedFirst) {
    Start(/*captureMouse=*/1);
    PressButton(3);
    ScheduleInPump(100, [] { platform::InjectMouseButton(3, false, 10, 10); });
    ScheduleInPump(250, [] { platform::InjectMouseButton(2, true, 10, 10); });
    const double start = ElapsedMs();
    WaitForMouseClick();
    EXPECT_GE(ElapsedMs() - start, 250);
    ReleaseButton(2);
}

TEST_F(WaitForMouseClickCommand, MotionAloneDoesNotEndIt) {
    Start(/*captureMouse=*/1);
    ScheduleInPump(50, [] { platform::InjectMouseMotion(0, 0, 10, 10); });
    ScheduleInPump(100, [] { platform::InjectMouseMotion(0, 0, -30, 5); });
    ScheduleInPump(300, [] { platform::InjectMouseButton(1, true, 10, 10); });
    const double start = ElapsedMs();
    WaitForMouseClick();
    EXPECT_GE(ElapsedMs() - start, 300);
    ReleaseButton(1);
}

// ---------------------------------------------------------------- the typed line

TEST(TextEntry, TypedCharactersAreAppendedAndBackspaceTakesTheLastBack) {
    RtString text("ab");
    TextEntry entry(text);
    EXPECT_FALSE(entry.Type('c'));
    EXPECT_STREQ(text.CStr(), "abc");
    EXPECT_FALSE(entry.Type(8));
    EXPECT_FALSE(entry.Type(8));
    EXPECT_FALSE(entry.Type(8));
    EXPECT_STREQ(text.CStr(), "");
    EXPECT_FALSE(entry.Type(8));  // nothing left to take
    EXPECT_STREQ(text.CStr(), "");
    EXPECT_EQ(text.Length(), 0u);
    EXPECT_FALSE(entry.Type('Z'));
    EXPECT_TRUE(entry.Type(10));
    EXPECT_STREQ(text.CStr(), "Z");
}

TEST(TextEntry, TheCursorBlinksEvery21IdleRounds) {
    RtString text("x");
    TextEntry entry(text);
    EXPECT_STREQ(entry.Shown().CStr(), "x");
    for (int round = 0; round < 20; ++round) entry.Type(0);
    EXPECT_FALSE(entry.cursorShown);
    entry.Type('y');  // typing is no idle round
    EXPECT_FALSE(entry.cursorShown);
    entry.Type(0);
    EXPECT_TRUE(entry.cursorShown);
    EXPECT_STREQ(entry.Shown().CStr(), "xy_");
    EXPECT_STREQ(text.CStr(), "xy");  // the cursor is never part of the text
    for (int round = 0; round < 20; ++round) entry.Type(0);
    EXPECT_TRUE(entry.cursorShown);
    entry.Type(0);
    EXPECT_FALSE(entry.cursorShown);
    EXPECT_STREQ(entry.Shown().CStr(), "xy");
}

TEST_F(InputTextCommand, BackspaceOnAnEmptyTextLeavesItEmpty) {
    Start();
    RtString text;
    bool screenGrabbed = false;
    ScheduleTyping(50, {kKeyBackspace, kKeyBackspace, kKeyReturn});
    ScheduleInPump(
        100, [&screenGrabbed] { screenGrabbed = gEngine.device->Background(3)->columnCount > 0; });
    InputText(text, 10, 20);
    EXPECT_STREQ(text.CStr(), "");
    EXPECT_EQ(text.Length(), 0u);
    EXPECT_TRUE(screenGrabbed);                                // the screen under the entry
    EXPECT_EQ(gEngine.device->Background(3)->columnCount, 0);  // freed again
    ScheduleTyping(50,
                   {kKeyA, kKeyB, kKeyBackspace, kKeyBackspace, kKeyBackspace, kKeyA, kKeyReturn});
    InputText(text, 10, 20);
    EXPECT_STREQ(text.CStr(), "a");
}

TEST_F(InputTextCommand, EditsTheTextItIsGiven) {
    Start();
    RtString text("name");
    ScheduleTyping(50, {kKeyBackspace, kKeyA, kKeyReturn});
    InputText(text, 0.5, 100.9);
    EXPECT_STREQ(text.CStr(), "nama");
}

// Watches the two cells at the entry's place on every pump. The back buffer
// holds a finished frame only while PresentFrame samples the keyboard, so
// only samples that show the text count. Return comes after 1.2 seconds.
struct CursorWatch {
    double returnAt = 0;
    int pressed = 0;  // 1 Return down, 2 released
    int framesWithCursor = 0, framesWithoutCursor = 0;
};
CursorWatch gWatch;
constexpr int kEntryX = 30, kEntryY = 40;

void WatchCursor() {
    const double now = ElapsedMs();
    if (gWatch.pressed == 0 && now >= gWatch.returnAt) {
        platform::InjectKeyCode(kKeyReturn, true);
        gWatch.pressed = 1;
    } else if (gWatch.pressed == 1 && now >= gWatch.returnAt + 60) {
        platform::InjectKeyCode(kKeyReturn, false);
        gWatch.pressed = 2;
    }
    double cellWidth = 0, cellHeight = 0;
    GetFontSize(cellWidth, cellHeight);
    const int w = static_cast<int>(cellWidth), h = static_cast<int>(cellHeight);
    std::vector<uint8_t> rgba(static_cast<size_t>(2 * w) * h * 4);
    FlushDrawing();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(kEntryX, 240 - kEntryY - h, 2 * w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    int textInk = 0, cursorInk = 0;
    for (int row = 0; row < h; ++row)
        for (int column = 0; column < 2 * w; ++column) {
            const uint8_t* p = &rgba[(static_cast<size_t>(row) * 2 * w + column) * 4];
            if ((p[0] | p[1] | p[2]) == 0) continue;
            (column < w ? textInk : cursorInk)++;
        }
    if (textInk == 0) return;
    (cursorInk > 0 ? gWatch.framesWithCursor : gWatch.framesWithoutCursor)++;
}

TEST_F(InputTextCommand, ShowsTheTextWithACursorThatComesAndGoes) {
    Start();
    RtString text("W");
    gWatch = CursorWatch{};
    gWatch.returnAt = ElapsedMs() + 1200;
    platform::SetPumpHook(WatchCursor);
    InputText(text, kEntryX, kEntryY);
    platform::SetPumpHook(nullptr);
    platform::InjectKeyCode(kKeyReturn, false);
    EXPECT_STREQ(text.CStr(), "W");
    EXPECT_GT(gWatch.framesWithCursor, 0);
    EXPECT_GT(gWatch.framesWithoutCursor, 0);
}

TEST_F(InputNumberCommand, AnEmptyLineGivesZero) {
    Start();
    double number = 5;
    ScheduleTap(50, kKeyReturn);
    InputNumber(number, 10, 10);
    EXPECT_EQ(number, 0);
}

TEST_F(InputNumberCommand, TheTypedTextIsReadAsANumber) {
    Start();
    double number = 0;
    ScheduleTyping(50, {kKeyMinus, kKey1, kKey2, kKeyPeriod, kKey5, kKeyReturn});
    InputNumber(number, 10, 10);
    EXPECT_EQ(number, -12.5);
}

TEST_F(InputNumberCommand, TextThatIsNoNumberGivesZero) {
    Start();
    double number = 7;
    ScheduleTyping(50, {kKeyA, kKey1, kKeyReturn});
    InputNumber(number, 10, 10);
    EXPECT_EQ(number, 0);  // atof stops at the first letter
}

}  // namespace
