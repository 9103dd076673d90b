// The commands that read the keyboard, the mouse and joysticks, driven by
// pushed events and a virtual joystick. CTest runs each test in a process of
// its own.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "CommandFixture.h"
#include "runtime/core/EngineState.h"
#include "runtime/input/InputDevices.h"
#include "runtime/input/InputTesting.h"
#include "runtime/runtime.h"

namespace {

using KeyCommands = InputCommandTest;
using MouseCommands = InputCommandTest;
using JoystickCommands = InputCommandTest;

// ---------------------------------------------------------------- keyboard

TEST_F(KeyCommands, KeyState257TestsEscape) {
    Start();
    SetEscapeQuits(0);
    EXPECT_EQ(KeyState(257), 0);
    Press(kKeyEscape);
    EXPECT_EQ(KeyState(257), 1);  // only the low 8 bits count
    EXPECT_EQ(KeyState(1), 1);
    EXPECT_EQ(KeyState(1.9), 1);  // truncated toward zero
    EXPECT_EQ(KeyState(2), 0);
    Release(kKeyEscape);
    EXPECT_EQ(KeyState(257), 0);
    EXPECT_EQ(KeyState(1), 0);
}

TEST_F(KeyCommands, KeyStateSeesKeysWithoutCharacters) {
    Start();
    Press(kKeyUp);
    EXPECT_EQ(KeyState(200), 1);
    EXPECT_EQ(KeyState(200 + 256), 1);
    Release(kKeyUp);
    EXPECT_EQ(KeyState(200), 0);
}

TEST_F(KeyCommands, TypedCharGivesAHeldKeyOnceAndShiftMakesCapitals) {
    Start();
    EXPECT_STREQ(TypedChar().CStr(), "");
    Press(kKeyA);
    EXPECT_STREQ(TypedChar().CStr(), "a");
    EXPECT_STREQ(TypedChar().CStr(), "");  // still held: not again
    Release(kKeyA);
    EXPECT_STREQ(TypedChar().CStr(), "");
    Press(kKeyLeftShift);
    EXPECT_STREQ(TypedChar().CStr(), "");  // Shift alone types nothing
    Press(kKeyB);
    EXPECT_STREQ(TypedChar().CStr(), "B");
    Release(kKeyB);
    Release(kKeyLeftShift);
    Press(kKey1);
    const RtString typed = TypedChar();
    EXPECT_STREQ(typed.CStr(), "1");
    EXPECT_EQ(typed.Length(), 1u);
}

// ---------------------------------------------------------------- mouse

// A captured mouse at (100, 100) with no motion pending, in a fresh frame.
void CentreCapturedMouse() {
    double x, y, left, right;
    PresentFrame();
    ReadMouse(x, y, left, right);  // takes whatever motion start-up left
    SetMousePosition(100, 100);
    PresentFrame();
}

TEST_F(MouseCommands, ReadMouseClampsToTheScreenAndKeepsTheClampedPosition) {
    Start(/*captureMouse=*/1);
    ASSERT_NE(InputDevicesTesting::Mouse(*gEngine.input), nullptr);
    ASSERT_FALSE(gEngine.input->PointerShown());
    CentreCapturedMouse();
    double x, y, left, right;
    platform::InjectMouseMotion(0, 0, -1000, 30);
    ReadMouse(x, y, left, right);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 130);
    EXPECT_EQ(gEngine.input->MouseX(), 0);  // kept, not -900
    PresentFrame();
    platform::InjectMouseMotion(0, 0, 5, 0);
    ReadMouse(x, y, left, right);
    EXPECT_EQ(x, 5);  // moving back right shows at once
    PresentFrame();
    platform::InjectMouseMotion(0, 0, 5000, 5000);
    ReadMouse(x, y, left, right);
    EXPECT_EQ(x, 319);  // screen width - 1
    EXPECT_EQ(y, 239);
    EXPECT_EQ(gEngine.input->MouseX(), 319);
    EXPECT_EQ(gEngine.input->MouseY(), 239);
    PresentFrame();
    platform::InjectMouseMotion(0, 0, -3, -4000);
    ReadMouse(x, y, left, right);
    EXPECT_EQ(x, 316);
    EXPECT_EQ(y, 0);
}

TEST_F(MouseCommands, TwoQueriesInOneFrameReportTheSameMotion) {
    Start(/*captureMouse=*/1);
    CentreCapturedMouse();
    platform::InjectMouseMotion(0, 0, 7, -3);
    platform::InjectMouseWheel(-2);
    EXPECT_EQ(ReadMouseAxis(0), 7);
    EXPECT_EQ(ReadMouseAxis(1), -3);
    EXPECT_EQ(ReadMouseAxis(2), -1);  // the wheel's direction
    platform::InjectMouseMotion(0, 0, 20, 20);
    EXPECT_EQ(ReadMouseAxis(0), 7);  // same frame: the same sample
    EXPECT_EQ(ReadMouseAxis(1), -3);
    double x, y, left, right;
    ReadMouse(x, y, left, right);
    EXPECT_EQ(x, 107);  // the later motion is not taken yet
    EXPECT_EQ(y, 97);
    PresentFrame();
    EXPECT_EQ(ReadMouseAxis(0), 20);
    EXPECT_EQ(ReadMouseAxis(1), 20);
    EXPECT_EQ(ReadMouseAxis(2), 0);
    ReadMouse(x, y, left, right);
    EXPECT_EQ(x, 127);
    EXPECT_EQ(y, 117);
}

TEST_F(MouseCommands, ButtonsReadAsOneOrZero) {
    Start(/*captureMouse=*/1);
    CentreCapturedMouse();
    double x, y, left, right;
    PressButton(1);
    ReadMouse(x, y, left, right);
    EXPECT_EQ(left, 1);
    EXPECT_EQ(right, 0);
    EXPECT_EQ(ReadMouseAxis(3), 1);
    EXPECT_EQ(ReadMouseAxis(4), 0);
    EXPECT_EQ(ReadMouseAxis(5), 0);
    ReleaseButton(1);
    PressButton(3);  // right
    PressButton(2);  // middle
    ReadMouse(x, y, left, right);
    EXPECT_EQ(left, 0);
    EXPECT_EQ(right, 1);
    EXPECT_EQ(ReadMouseAxis(4), 1);
    EXPECT_EQ(ReadMouseAxis(5), 1);
    EXPECT_EQ(ReadMouseAxis(6), 0);  // no such axis
    EXPECT_EQ(ReadMouseAxis(-1), 0);
}

TEST_F(MouseCommands, SetMousePositionMovesOnlyTheProgramsPosition) {
    Start(/*captureMouse=*/1);
    CentreCapturedMouse();
    int pointerX = 0, pointerY = 0;
    platform::PeekMousePosition(&pointerX, &pointerY);
    SetMousePosition(40.9, 50.2);
    EXPECT_EQ(gEngine.input->MouseX(), 40);
    EXPECT_EQ(gEngine.input->MouseY(), 50);
    int afterX = 0, afterY = 0;
    platform::PeekMousePosition(&afterX, &afterY);
    EXPECT_EQ(afterX, pointerX);
    EXPECT_EQ(afterY, pointerY);
    double x, y, left, right;
    ReadMouse(x, y, left, right);
    EXPECT_EQ(x, 40);
    EXPECT_EQ(y, 50);
    SetMousePosition(-20, 1e6);  // clamped by the next read
    ReadMouse(x, y, left, right);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 239);
}

TEST_F(MouseCommands, ShowMousePointerSharesOrCapturesTheMouse) {
    Start(/*captureMouse=*/1);
    EXPECT_FALSE(platform::CursorShown());
    ShowMousePointer(1);
    EXPECT_TRUE(gEngine.input->PointerShown());
    EXPECT_EQ(gEngine.input->MouseCooperation(), InputDevices::kSharedForeground);
    EXPECT_TRUE(platform::CursorShown());
    ShowMousePointer(0);
    EXPECT_FALSE(gEngine.input->PointerShown());
    EXPECT_EQ(gEngine.input->MouseCooperation(), InputDevices::kExclusiveForeground);
    EXPECT_FALSE(platform::CursorShown());
    ShowMousePointer(-0.5);  // any non-zero value shows it
    EXPECT_TRUE(gEngine.input->PointerShown());
}

// ---------------------------------------------------------------- joysticks

TEST_F(JoystickCommands, HatsGiveDirectionsAndDiagonalsGiveZero) {
    platform::Joystick* joystick = AttachJoystick(6, 4, 1);
    ASSERT_NE(joystick, nullptr);
    Start();
    ASSERT_EQ(JoystickCount(), 1);
    const struct {
        int position;
        double x, y;
    } cases[] = {
        {hat::kUp, 0, -1},     {hat::kUp | hat::kRight, 0, 0},    // 4500
        {hat::kRight, 1, 0},   {hat::kDown | hat::kRight, 0, 0},  // 13500
        {hat::kDown, 0, 1},    {hat::kDown | hat::kLeft, 0, 0},   // 22500
        {hat::kLeft, -1, 0},   {hat::kUp | hat::kLeft, 0, 0},     // 31500
        {hat::kCentred, 0, 0},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(platform::SetVirtualJoystickHat(joystick, 0, c.position));
        EXPECT_EQ(JoystickHatX(0), c.x) << c.position;
        EXPECT_EQ(JoystickHatY(0), c.y) << c.position;
    }
}

TEST_F(JoystickCommands, AxesAreScaledAndClampedToMinusOneToOne) {
    platform::Joystick* joystick = AttachJoystick(6, 4, 1);
    ASSERT_NE(joystick, nullptr);
    Start();
    const int values[6] = {32767, -32768, 0, 16384, -16384, 100};
    for (int axis = 0; axis < 6; ++axis)
        ASSERT_TRUE(platform::SetVirtualJoystickAxis(joystick, axis, values[axis]));
    EXPECT_EQ(JoystickX(0), 1.0);  // 32768 / 32767, clamped
    EXPECT_EQ(JoystickY(0), -1.0);
    EXPECT_EQ(JoystickZ(0), 0.0);
    EXPECT_DOUBLE_EQ(JoystickRX(0), 16384 * 32768 / 32767 / 32767.0);
    EXPECT_DOUBLE_EQ(JoystickRY(0), -16384 / 32767.0);
    EXPECT_DOUBLE_EQ(JoystickRZ(0), 100 / 32767.0);
    EXPECT_DOUBLE_EQ(JoystickX(0.7), 1.0);  // the index is truncated
}

TEST_F(JoystickCommands, ReadJoystickGivesWholeStepsAndRawButtons) {
    platform::Joystick* joystick = AttachJoystick(2, 4, 0);
    ASSERT_NE(joystick, nullptr);
    Start();
    ASSERT_TRUE(platform::SetVirtualJoystickAxis(joystick, 0, 32767));
    ASSERT_TRUE(platform::SetVirtualJoystickAxis(joystick, 1, -32768));
    ASSERT_TRUE(platform::SetVirtualJoystickButton(joystick, 1, true));
    double x = 9, y = 9, button1 = 9, button2 = 9;
    ReadJoystick(x, y, button1, button2);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, -1);
    EXPECT_EQ(button1, 0);
    EXPECT_EQ(button2, 128);
    ASSERT_TRUE(platform::SetVirtualJoystickAxis(joystick, 0, 29999));
    ASSERT_TRUE(platform::SetVirtualJoystickAxis(joystick, 1, -20000));
    ASSERT_TRUE(platform::SetVirtualJoystickButton(joystick, 0, true));
    ReadJoystick(x, y, button1, button2);
    EXPECT_EQ(x, 0);  // toward zero
    EXPECT_EQ(y, 0);
    EXPECT_FALSE(std::signbit(y));
    EXPECT_EQ(button1, 128);
}

TEST_F(JoystickCommands, NameAndCount) {
    ASSERT_NE(AttachJoystick(2, 2, 0), nullptr);
    ASSERT_NE(AttachJoystick(2, 2, 0), nullptr);
    Start();
    EXPECT_EQ(JoystickCount(), 2);
    EXPECT_STREQ(JoystickName(0).CStr(), "Virtual Joystick, Virtual Joystick");
    EXPECT_STREQ(JoystickName(1.5).CStr(), "Virtual Joystick, Virtual Joystick");
    EXPECT_STREQ(JoystickName(2).CStr(), "");
    EXPECT_STREQ(JoystickName(-1).CStr(), "");
}

TEST_F(JoystickCommands, IndexesWithoutAJoystickGiveZero) {
    platform::Joystick* joystick = AttachJoystick(6, 4, 1);
    ASSERT_NE(joystick, nullptr);
    Start();
    ASSERT_TRUE(platform::SetVirtualJoystickHat(joystick, 0, hat::kLeft));
    ASSERT_TRUE(platform::SetVirtualJoystickAxis(joystick, 0, 32767));
    for (double index : {1.0, 2.0, 9.0, 10.0, -1.0, 1e12}) {
        EXPECT_EQ(JoystickX(index), 0) << index;
        EXPECT_EQ(JoystickRZ(index), 0) << index;
        EXPECT_EQ(JoystickHatX(index), 0) << index;
        EXPECT_EQ(JoystickHatY(index), 0) << index;
    }
    JoystickRumble(5, 1, 1, 1);  // nothing happens
}

// Without any joystick the record's first two indexes still answer with a
// cleared state, whose hat of 0 would read as "up".
TEST_F(JoystickCommands, NoJoystickAtAllGivesZeroEverywhere) {
    Start();
    ASSERT_EQ(JoystickCount(), 0);
    for (double index : {0.0, 1.0, 2.0}) {
        EXPECT_EQ(JoystickX(index), 0) << index;
        EXPECT_EQ(JoystickHatX(index), 0) << index;
        EXPECT_EQ(JoystickHatY(index), 0) << index;
    }
    double x = 9, y = 9, button1 = 9, button2 = 9;
    ReadJoystick(x, y, button1, button2);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(button1, 0);
    EXPECT_EQ(button2, 0);
    EXPECT_STREQ(JoystickName(0).CStr(), "");
}

// The motors keep running while the joystick is polled, for the seconds
// asked for, and stop after them.
TEST_F(JoystickCommands, RumbleLastsTheSecondsAskedFor) {
    platform::Joystick* joystick = AttachJoystick(2, 2, 0);
    ASSERT_NE(joystick, nullptr);
    Start();
    ASSERT_TRUE(platform::JoystickHasRumble(joystick));
    JoystickRumble(0, 1, 1, 0);  // one second at (1² + 0²) × 10000 × 0.5
    uint16_t low = 0, high = 0;
    ASSERT_TRUE(platform::VirtualJoystickRumble(joystick, &low, &high));
    EXPECT_EQ(low, 5000 * 65535 / 10000);
    EXPECT_EQ(high, low);
    const double start = ElapsedMs();
    while (ElapsedMs() - start < 400) {
        JoystickX(0);  // polls it
        platform::Sleep(10);
    }
    ASSERT_TRUE(platform::VirtualJoystickRumble(joystick, &low, &high));
    EXPECT_EQ(low, 5000 * 65535 / 10000) << "stopped before its second was up";
    while (ElapsedMs() - start < 1300) {
        JoystickX(0);
        platform::Sleep(10);
    }
    ASSERT_TRUE(platform::VirtualJoystickRumble(joystick, &low, &high));
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 0);
}

}  // namespace
