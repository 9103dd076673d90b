// The mouse: captured (relative motion added to the program's own position)
// or shown (the position is the pointer's), one motion sample per frame.
#include <gtest/gtest.h>

#include "InputFixture.h"
#include "runtime/input/InputTesting.h"

namespace {

using Mouse = InputTest;

TEST_F(Mouse, StartsAt100_100WithANewFrame) {
    InputDevices input;
    EXPECT_EQ(input.MouseX(), 100);
    EXPECT_EQ(input.MouseY(), 100);
    EXPECT_EQ(InputDevicesTesting::FreshSampleDue(input), 1);
    EXPECT_FALSE(input.PointerShown());
    EXPECT_EQ(input.GetJoystickCount(), 0);
    EXPECT_EQ(InputDevicesTesting::MotionCache(input)[0], 0);
}

TEST_F(Mouse, CapturedIsAnExclusiveDeviceMovedByRelativeMotion) {
    InputDevices input;
    input.Initialise(window, nullptr, true);
    ASSERT_NE(InputDevicesTesting::Mouse(input), nullptr);
    EXPECT_EQ(input.MouseCooperation(), InputDevices::kExclusiveForeground);
    EXPECT_FALSE(input.PointerShown());
    EXPECT_TRUE(platform::RelativeMouse());
    input.SetMousePosition(50, 60);
    platform::InjectMouseMotion(0, 0, 7, -4);
    platform::InjectMouseMotion(0, 0, 3, -1);
    InputDevices::MouseState state;
    ASSERT_TRUE(input.ReadMouseState(&state));
    EXPECT_EQ(state.dx, 10);
    EXPECT_EQ(state.dy, -5);
    EXPECT_EQ(input.MouseX(), 60);
    EXPECT_EQ(input.MouseY(), 55);
    EXPECT_EQ(InputDevicesTesting::FreshSampleDue(input), 0);
}

TEST_F(Mouse, TwoQueriesInOneFrameReportTheSameMotion) {
    InputDevices input;
    input.Initialise(window, nullptr, true);
    ASSERT_NE(InputDevicesTesting::Mouse(input), nullptr);
    platform::InjectMouseMotion(0, 0, 5, -3);
    platform::InjectMouseWheel(2);
    InputDevices::MouseState first, second;
    ASSERT_TRUE(input.ReadMouseState(&first));
    EXPECT_EQ(first.dx, 5);
    EXPECT_EQ(first.dy, -3);
    EXPECT_EQ(first.wheel, 1);  // the sign of the wheel's travel
    platform::InjectMouseMotion(0, 0, 20, 20);
    ASSERT_TRUE(input.ReadMouseState(&second));
    EXPECT_EQ(second.dx, 5);
    EXPECT_EQ(second.dy, -3);
    EXPECT_EQ(second.wheel, 1);
    // the motion that came meanwhile belongs to the next frame
    input.StartFrame();
    InputDevices::MouseState next;
    ASSERT_TRUE(input.ReadMouseState(&next));
    EXPECT_EQ(next.dx, 20);
    EXPECT_EQ(next.dy, 20);
    EXPECT_EQ(next.wheel, 0);
}

TEST_F(Mouse, ButtonsAreReadFromTheDevice) {
    InputDevices input;
    input.Initialise(window, nullptr, true);
    PressButton(1);  // left
    PressButton(3);  // right
    InputDevices::MouseState state;
    ASSERT_TRUE(input.ReadMouseState(&state));
    EXPECT_EQ(state.left, 1);
    EXPECT_EQ(state.right, 1);
    EXPECT_EQ(state.middle, 0);
    EXPECT_TRUE(input.AnyMouseButton());
    ReleaseButton(1);
    ReleaseButton(3);
    EXPECT_FALSE(input.AnyMouseButton());
    PressButton(2);  // middle
    EXPECT_TRUE(input.AnyMouseButton());
}

TEST_F(Mouse, ShownFollowsThePointer) {
    InputDevices input;
    input.Initialise(window, nullptr, false);
    EXPECT_EQ(InputDevicesTesting::Mouse(input), nullptr);
    EXPECT_TRUE(input.PointerShown());
    EXPECT_TRUE(platform::CursorShown());
    Settle();
    platform::InjectMouseMotion(30, 40, 0, 0);
    InputDevices::MouseState state;
    ASSERT_TRUE(input.ReadMouseState(&state));
    EXPECT_EQ(input.MouseX(), 30);
    EXPECT_EQ(input.MouseY(), 40);
    platform::InjectMouseMotion(35, 38, 5, -2);
    input.StartFrame();
    ASSERT_TRUE(input.ReadMouseState(&state));
    EXPECT_EQ(state.dx, 5);
    EXPECT_EQ(state.dy, -2);
    EXPECT_EQ(input.MouseX(), 35);
}

TEST_F(Mouse, PointerModeSwitchesTheDevicesCooperation) {
    InputDevices input;
    input.Initialise(window, nullptr, true);
    ASSERT_NE(InputDevicesTesting::Mouse(input), nullptr);
    input.SetMousePosition(123, 45);
    input.SetPointerMode(true);
    EXPECT_EQ(input.MouseCooperation(), InputDevices::kSharedForeground);
    EXPECT_TRUE(input.PointerShown());
    EXPECT_TRUE(platform::CursorShown());
    EXPECT_FALSE(platform::RelativeMouse());
    int x, y;
    platform::PeekMousePosition(&x, &y);
    EXPECT_EQ(x, 123);  // the pointer appears where the mouse was
    EXPECT_EQ(y, 45);
    input.SetPointerMode(false);
    EXPECT_EQ(input.MouseCooperation(), InputDevices::kExclusiveForeground);
    EXPECT_FALSE(input.PointerShown());
    EXPECT_FALSE(platform::CursorShown());
    EXPECT_TRUE(platform::RelativeMouse());
}

TEST_F(Mouse, ShutDownShowsThePointerWhereTheMouseWas) {
    {
        InputDevices input;
        input.Initialise(window, nullptr, true);
        input.SetPointerMode(false);
        input.SetMousePosition(77, 66);
    }
    EXPECT_TRUE(platform::CursorShown());
    EXPECT_FALSE(platform::RelativeMouse());
    int x, y;
    platform::PeekMousePosition(&x, &y);
    EXPECT_EQ(x, 77);
    EXPECT_EQ(y, 66);
}

TEST_F(Mouse, WithoutAWindowTheExclusiveMouseIsRefused) {
    InputDevices input;
    input.Initialise(nullptr, nullptr, true);
    EXPECT_EQ(InputDevicesTesting::Mouse(input), nullptr);
    EXPECT_NE(ErrorLog().find("No DX_Mouse\r\n"), std::string::npos);
    InputDevices::MouseState state;
    EXPECT_TRUE(input.ReadMouseState(&state));  // through the system pointer
}

TEST_F(Mouse, ADeviceThatCannotBeReadClearsTheStateAndFails) {
    InputDevices input;
    input.Initialise(window, nullptr, true);
    ASSERT_NE(InputDevicesTesting::Mouse(input), nullptr);
    PressButton(1);
    platform::PumpEvents();
    platform::EnableMouseEvents(false);
    InputDevices::MouseState state;
    state.left = 5;
    state.dx = 9;
    EXPECT_FALSE(input.ReadMouseState(&state));
    EXPECT_EQ(state.left, 0);
    EXPECT_EQ(state.dx, 0);
    EXPECT_EQ(InputDevicesTesting::FreshSampleDue(input), 1);
    platform::EnableMouseEvents(true);
    EXPECT_TRUE(input.ReadMouseState(&state));
}

TEST_F(Mouse, CapturedWithoutADeviceRecentresThePointer) {
    InputDevices::forceFallback = true;
    InputDevices input;
    input.Initialise(window, nullptr, true);
    ASSERT_EQ(InputDevicesTesting::Mouse(input), nullptr);
    ASSERT_FALSE(input.PointerShown());
    int originX = 0, originY = 0;
    ASSERT_TRUE(platform::GetWindowPosition(window, &originX, &originY));
    input.SetMousePosition(160, 120);
    platform::InjectMouseMotion(150, 100, 0, 0);
    platform::PumpEvents();
    InputDevices::MouseState state;
    ASSERT_TRUE(input.ReadMouseState(&state));
    EXPECT_EQ(state.dx, originX + 150 - 200);
    EXPECT_EQ(state.dy, originY + 100 - 200);
    EXPECT_EQ(state.wheel, 0);
    EXPECT_EQ(input.MouseX(), 160 + state.dx);
    EXPECT_EQ(input.MouseY(), 120 + state.dy);
    int x, y;
    platform::CursorPosition(&x, &y);
    EXPECT_EQ(x, 200);
    EXPECT_EQ(y, 200);
    // standing still: no motion, and the position stays
    const int keptX = input.MouseX(), keptY = input.MouseY();
    input.StartFrame();
    ASSERT_TRUE(input.ReadMouseState(&state));
    EXPECT_EQ(state.dx, 0);
    EXPECT_EQ(state.dy, 0);
    EXPECT_EQ(input.MouseX(), keptX);
    EXPECT_EQ(input.MouseY(), keptY);
}

TEST_F(Mouse, CapturedWithoutADeviceAccumulatesWithoutLimit) {
    InputDevices::forceFallback = true;
    InputDevices input;
    input.Initialise(window, nullptr, true);
    input.SetMousePosition(0, input.MouseY());
    int originX = 0, originY = 0;
    platform::GetWindowPosition(window, &originX, &originY);
    for (int frame = 0; frame < 3; ++frame) {
        // the pointer is found 100 pixels left of the re-centring point
        platform::InjectMouseMotion(200 - originX - 100, 200 - originY, 0, 0);
        platform::PumpEvents();
        input.StartFrame();
        InputDevices::MouseState state;
        input.ReadMouseState(&state);
        EXPECT_EQ(state.dx, -100);
    }
    EXPECT_EQ(input.MouseX(), -300);
}

TEST_F(Mouse, TwoQueriesInOneFrameWithoutADeviceReportTheSameMotion) {
    InputDevices::forceFallback = true;
    InputDevices input;
    input.Initialise(window, nullptr, false);
    input.SetPointerMode(true);
    Settle();
    platform::InjectMouseMotion(10, 10, 0, 0);
    InputDevices::MouseState state;
    input.ReadMouseState(&state);
    platform::InjectMouseMotion(14, 7, 4, -3);
    input.StartFrame();
    ASSERT_TRUE(input.ReadMouseState(&state));
    EXPECT_EQ(state.dx, 4);
    EXPECT_EQ(state.dy, -3);
    platform::InjectMouseMotion(30, 30, 16, 23);
    InputDevices::MouseState again;
    ASSERT_TRUE(input.ReadMouseState(&again));
    EXPECT_EQ(again.dx, 4);
    EXPECT_EQ(again.dy, -3);
    EXPECT_EQ(input.MouseX(), 14);
}

TEST_F(Mouse, ButtonsWithoutADeviceCountAClickBetweenQueries) {
    InputDevices::forceFallback = true;
    InputDevices input;
    input.Initialise(window, nullptr, false);
    platform::InjectMouseButton(1, true, 5, 5);
    platform::InjectMouseButton(1, false, 5, 5);
    InputDevices::MouseState state;
    ASSERT_TRUE(input.ReadMouseState(&state));
    EXPECT_NE(state.left, 0);
    ASSERT_TRUE(input.ReadMouseState(&state));
    EXPECT_EQ(state.left, 0);
    PressButton(3);
    ASSERT_TRUE(input.ReadMouseState(&state));
    EXPECT_NE(state.right, 0);
    EXPECT_EQ(state.middle, 0);
}

}  // namespace
