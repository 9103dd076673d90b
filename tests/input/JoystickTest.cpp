// Joysticks: up to ten kept in the order they are found, read in one
// 80-byte state with axes -32768..32768, hats in hundredths of a degree and
// 32 buttons.
#include <gtest/gtest.h>

#include <string>

#include "InputFixture.h"

namespace {

using Joystick = InputTest;

TEST_F(Joystick, AnAttachedJoystickIsCountedAndNamed) {
    ASSERT_NE(Attach(6, 12, 1), nullptr);
    InputDevices input;
    input.Initialise(window, nullptr, false);
    EXPECT_EQ(input.GetJoystickCount(), 1);
    char name[InputDevices::kJoystickNameSize];
    input.GetJoystickName(0, name);
    EXPECT_STREQ(name, "Virtual Joystick, Virtual Joystick");
    input.GetJoystickName(1, name);
    EXPECT_STREQ(name, "");
    input.GetJoystickName(-1, name);
    EXPECT_STREQ(name, "");
}

TEST_F(Joystick, AxesAreScaledToTheFullRange) {
    platform::Joystick* joystick = Attach(8, 4, 0);
    ASSERT_NE(joystick, nullptr);
    InputDevices input;
    input.Initialise(window, nullptr, false);
    const int values[8] = {32767, -32768, 0, 16000, -16000, 1, -32768, 32767};
    for (int axis = 0; axis < 8; ++axis)
        ASSERT_TRUE(platform::SetVirtualJoystickAxis(joystick, axis, values[axis]));
    InputDevices::JoystickState state;
    ASSERT_TRUE(input.ReadJoystickState(0, &state));
    EXPECT_EQ(state.x, 32768);
    EXPECT_EQ(state.y, -32768);
    EXPECT_EQ(state.z, 0);
    EXPECT_EQ(state.rx, 16000 * 32768 / 32767);
    EXPECT_EQ(state.ry, -16000);
    EXPECT_EQ(state.rz, 1);
    EXPECT_EQ(state.sliders[0], 0);  // sliders keep 0..65535
    EXPECT_EQ(state.sliders[1], 65535);
}

TEST_F(Joystick, HatsAreHundredthsOfADegreeClockwiseFromForward) {
    platform::Joystick* joystick = Attach(2, 1, 2);
    ASSERT_NE(joystick, nullptr);
    InputDevices input;
    input.Initialise(window, nullptr, false);
    const struct {
        int sdl;
        uint32_t hundredths;
    } positions[] = {{kHatUp, 0},       {kHatUp | kHatRight, 4500},
                     {kHatRight, 9000}, {kHatDown | kHatRight, 13500},
                     {kHatDown, 18000}, {kHatDown | kHatLeft, 22500},
                     {kHatLeft, 27000}, {kHatUp | kHatLeft, 31500},
                     {0, 0xFFFFFFFFu}};
    for (const auto& position : positions) {
        ASSERT_TRUE(platform::SetVirtualJoystickHat(joystick, 0, position.sdl));
        InputDevices::JoystickState state;
        ASSERT_TRUE(input.ReadJoystickState(0, &state));
        EXPECT_EQ(state.hats[0], position.hundredths) << position.sdl;
        EXPECT_EQ(state.hats[1], 0xFFFFFFFFu);
        EXPECT_EQ(state.hats[2], 0xFFFFFFFFu);  // no such hat: centred
        EXPECT_EQ(state.hats[3], 0xFFFFFFFFu);
    }
}

TEST_F(Joystick, ButtonsRead0x80WhenDown) {
    platform::Joystick* joystick = Attach(2, 40, 0);
    ASSERT_NE(joystick, nullptr);
    InputDevices input;
    input.Initialise(window, nullptr, false);
    ASSERT_TRUE(platform::SetVirtualJoystickButton(joystick, 0, true));
    ASSERT_TRUE(platform::SetVirtualJoystickButton(joystick, 5, true));
    ASSERT_TRUE(platform::SetVirtualJoystickButton(joystick, 31, true));
    ASSERT_TRUE(platform::SetVirtualJoystickButton(joystick, 35, true));
    InputDevices::JoystickState state;
    ASSERT_TRUE(input.ReadJoystickState(0, &state));
    for (int button = 0; button < 32; ++button)
        EXPECT_EQ(state.buttons[button], button == 0 || button == 5 || button == 31 ? 0x80 : 0)
            << button;
    ASSERT_TRUE(platform::SetVirtualJoystickButton(joystick, 5, false));
    ASSERT_TRUE(input.ReadJoystickState(0, &state));
    EXPECT_EQ(state.buttons[5], 0);
}

TEST_F(Joystick, AnEleventhJoystickIsIgnored) {
    for (int n = 0; n < 11; ++n) ASSERT_NE(Attach(2, 2, 1), nullptr);
    ASSERT_EQ(platform::JoystickCount(), 11);
    InputDevices input;
    input.Initialise(window, nullptr, false);
    EXPECT_EQ(input.GetJoystickCount(), 10);
    for (int index = 0; index < 10; ++index) {
        InputDevices::JoystickState state;
        EXPECT_TRUE(input.ReadJoystickState(index, &state)) << index;
    }
    InputDevices::JoystickState state;
    state.x = 1234;
    EXPECT_FALSE(input.ReadJoystickState(10, &state));
    EXPECT_EQ(state.x, 1234);  // left untouched
    EXPECT_FALSE(input.ReadJoystickState(-1, &state));
}

TEST_F(Joystick, OneWithoutAYAxisRefusesItsDeadZoneAndIsNotCounted) {
    ASSERT_NE(Attach(1, 4, 0), nullptr);
    platform::Joystick* second = Attach(2, 4, 0);
    ASSERT_NE(second, nullptr);
    InputDevices input;
    input.Initialise(window, nullptr, false);
    EXPECT_EQ(input.GetJoystickCount(), 1);
    ASSERT_TRUE(platform::SetVirtualJoystickAxis(second, 0, 32767));
    InputDevices::JoystickState state;
    ASSERT_TRUE(input.ReadJoystickState(0, &state));
    EXPECT_EQ(state.x, 32768);  // the second took the first one's slot
}

TEST_F(Joystick, NoJoystickMeansACountOfZeroAndAClearedFirstState) {
    InputDevices input;
    input.Initialise(window, nullptr, false);
    ASSERT_EQ(platform::JoystickCount(), 0);
    EXPECT_EQ(input.GetJoystickCount(), 0);
    InputDevices::JoystickState state;
    state.x = 99;
    EXPECT_TRUE(input.ReadJoystickState(0, &state));  // the multimedia path answers
    EXPECT_EQ(state.x, 0);
    EXPECT_FALSE(input.ReadJoystickState(2, &state));
}

TEST_F(Joystick, RumbleDrivesBothMotorsWithTheForcesMagnitude) {
    platform::Joystick* joystick = Attach(2, 2, 0);
    ASSERT_NE(joystick, nullptr);
    InputDevices input;
    input.Initialise(window, nullptr, false);
    ASSERT_TRUE(platform::JoystickHasRumble(joystick));
    input.Rumble(0, 2.0, 1.0, 0.0, 1);  // magnitude (1 + 0) x 10000 x 0.5
    uint16_t low = 0, high = 0;
    ASSERT_TRUE(platform::VirtualJoystickRumble(joystick, &low, &high));
    EXPECT_EQ(low, 5000 * 65535 / 10000);
    EXPECT_EQ(high, low);
    input.Rumble(0, 2.0, 3.0, -3.0, 1);  // forces clamp to -1..1: full magnitude
    ASSERT_TRUE(platform::VirtualJoystickRumble(joystick, &low, &high));
    EXPECT_EQ(low, 65535);
    input.Rumble(0, 2.0, 0.0, 0.0, 1);  // reset, nothing started
    ASSERT_TRUE(platform::VirtualJoystickRumble(joystick, &low, &high));
    EXPECT_EQ(low, 0);
    input.Rumble(5, 2.0, 1.0, 1.0, 1);  // no such joystick: nothing happens
}

TEST_F(Joystick, ShutDownClosesEveryJoystick) {
    ASSERT_NE(Attach(2, 2, 0), nullptr);
    {
        InputDevices input;
        input.Initialise(window, nullptr, false);
        EXPECT_EQ(input.GetJoystickCount(), 1);
    }
    // a fresh record finds the same joystick again
    InputDevices again;
    again.Initialise(window, nullptr, false);
    EXPECT_EQ(again.GetJoystickCount(), 1);
}

}  // namespace
