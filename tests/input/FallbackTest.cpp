// Without the device layer: the keyboard through the virtual-key state and
// the key map, the mouse through the system pointer, joysticks 0 and 1 the
// multimedia way with raw 0..65535 axes.
#include <gtest/gtest.h>

#include "InputFixture.h"
#include "runtime/input/InputTesting.h"

namespace {

class Fallback : public InputTest {
  protected:
    void SetUp() override {
        InputTest::SetUp();
        InputDevices::forceFallback = true;
    }
};

TEST_F(Fallback, IsLoggedAndLeavesNoDevices) {
    InputDevices input;
    input.Initialise(window, nullptr, true);
    EXPECT_EQ(ErrorLog(), "No DX_Input\r\n");
    EXPECT_FALSE(input.UsesEventLayer());
    EXPECT_EQ(InputDevicesTesting::Keyboard(input), nullptr);
    EXPECT_EQ(InputDevicesTesting::Mouse(input), nullptr);
    for (auto* joystick : InputDevicesTesting::Joysticks(input)) EXPECT_EQ(joystick, nullptr);
}

TEST_F(Fallback, KeyMapFollowsTheTable) {
    InputDevices input;
    input.Initialise(window, nullptr, false);
    EXPECT_EQ(InputDevicesTesting::KeyMap(input)[0], 0x0D);
    EXPECT_EQ(InputDevicesTesting::KeyMap(input)[1], 0x1B);
    EXPECT_EQ(InputDevicesTesting::KeyMap(input)[21], 'Z');
    EXPECT_EQ(InputDevicesTesting::KeyMap(input)[44], 'Y');
    EXPECT_EQ(InputDevicesTesting::KeyMap(input)[42], 0x10);
    EXPECT_EQ(InputDevicesTesting::KeyMap(input)[54], 0x10);
    EXPECT_EQ(InputDevicesTesting::KeyMap(input)[58], 0x00);
    EXPECT_EQ(InputDevicesTesting::KeyMap(input)[156], 0x1C);
    EXPECT_EQ(InputDevicesTesting::KeyMap(input)[200], 0x26);
    EXPECT_EQ(InputDevicesTesting::KeyMap(input)[221], 0x5D);
    EXPECT_EQ(InputDevicesTesting::KeyMap(input)[84], 0xFF);
    EXPECT_EQ(InputDevicesTesting::KeyMap(input)[255], 0xFF);
    int mapped = 0;
    for (uint16_t virtualKey : InputDevicesTesting::KeyMap(input)) mapped += virtualKey != 0xFF;
    EXPECT_EQ(mapped, 104);
}

TEST_F(Fallback, KeysAreAskedForThroughTheKeyMap) {
    InputDevices input;
    input.Initialise(window, nullptr, false);
    Press(usb::kEscape);
    input.ReadKeyboard();
    EXPECT_TRUE(input.KeyHeld(1));
    EXPECT_EQ(InputDevicesTesting::KeyboardState(input)[0x1B], 0x80);  // the virtual-key layout
    Release(usb::kEscape);
    input.ReadKeyboard();
    EXPECT_FALSE(input.KeyHeld(1));
    // the German letter row: the Z key answers for code 21
    Press(usb::kZ);
    EXPECT_TRUE(input.KeyHeld(21));
    EXPECT_FALSE(input.KeyHeld(44));
    Release(usb::kZ);
    // both Shifts are one virtual key
    Press(usb::kRightShift);
    EXPECT_TRUE(input.KeyHeld(42));
    EXPECT_TRUE(input.KeyHeld(54));
}

TEST_F(Fallback, AKeyPressedAndReleasedSinceTheLastQueryCountsOnce) {
    InputDevices input;
    input.Initialise(window, nullptr, false);
    platform::InjectKey(usb::kF4, true);
    platform::InjectKey(usb::kF4, false);
    EXPECT_TRUE(input.KeyHeld(62));
    EXPECT_FALSE(input.KeyHeld(62));
}

TEST_F(Fallback, TypedCharactersStillWork) {
    InputDevices input;
    input.Initialise(window, nullptr, false);
    input.NextTypedChar();
    Press(usb::kLeftShift);
    Press(usb::kA);
    EXPECT_EQ(input.NextTypedChar(), 'A');
    EXPECT_EQ(input.NextTypedChar(), 0);
    Release(usb::kA);
    Release(usb::kLeftShift);
    input.NextTypedChar();
    Press(usb::kReturn);
    EXPECT_EQ(input.NextTypedChar(), 10);
}

TEST_F(Fallback, JoysticksAreCountedAndNamedByTheMultimediaServices) {
    ASSERT_NE(Attach(3, 8, 1), nullptr);
    ASSERT_NE(Attach(1, 2, 0), nullptr);  // counted here: no dead zone to refuse
    InputDevices input;
    input.Initialise(window, nullptr, false);
    EXPECT_EQ(input.GetJoystickCount(), 2);
    char name[InputDevices::kJoystickNameSize];
    input.GetJoystickName(0, name);
    EXPECT_STREQ(name, "Virtual Joystick");
}

TEST_F(Fallback, JoystickAxesAreRawPositions) {
    platform::Joystick* joystick = Attach(3, 8, 1);
    ASSERT_NE(joystick, nullptr);
    InputDevices input;
    input.Initialise(window, nullptr, false);
    ASSERT_TRUE(platform::SetVirtualJoystickAxis(joystick, 0, -32768));
    ASSERT_TRUE(platform::SetVirtualJoystickAxis(joystick, 1, 32767));
    ASSERT_TRUE(platform::SetVirtualJoystickAxis(joystick, 2, 0));
    ASSERT_TRUE(platform::SetVirtualJoystickButton(joystick, 0, true));
    ASSERT_TRUE(platform::SetVirtualJoystickButton(joystick, 2, true));
    ASSERT_TRUE(platform::SetVirtualJoystickButton(joystick, 6, true));  // beyond the four
    ASSERT_TRUE(platform::SetVirtualJoystickHat(joystick, 0, kHatRight));
    InputDevices::JoystickState state;
    ASSERT_TRUE(input.ReadJoystickState(0, &state));
    EXPECT_EQ(state.x, 0);
    EXPECT_EQ(state.y, 65535);
    EXPECT_EQ(state.z, 32768);
    EXPECT_NE(state.buttons[0], 0);
    EXPECT_EQ(state.buttons[1], 0);
    EXPECT_NE(state.buttons[2], 0);
    EXPECT_EQ(state.buttons[3], 0);
    for (int button = 4; button < 8; ++button) EXPECT_EQ(state.buttons[button], state.buttons[0]);
    EXPECT_EQ(state.hats[0], 9000u);
    ASSERT_TRUE(platform::SetVirtualJoystickHat(joystick, 0, 0));
    ASSERT_TRUE(input.ReadJoystickState(0, &state));
    EXPECT_EQ(state.hats[0], 0xFFFFu);  // the multimedia services' centre
}

TEST_F(Fallback, OnlyTheFirstTwoJoysticksCanBeRead) {
    for (int n = 0; n < 3; ++n) ASSERT_NE(Attach(2, 2, 0), nullptr);
    InputDevices input;
    input.Initialise(window, nullptr, false);
    EXPECT_EQ(input.GetJoystickCount(), 3);
    InputDevices::JoystickState state;
    EXPECT_TRUE(input.ReadJoystickState(0, &state));
    EXPECT_TRUE(input.ReadJoystickState(1, &state));
    EXPECT_FALSE(input.ReadJoystickState(2, &state));
}

TEST_F(Fallback, AMissingJoystickReadsAsAllZero) {
    InputDevices input;
    input.Initialise(window, nullptr, false);
    InputDevices::JoystickState state;
    state.x = 5;
    state.hats[0] = 7;
    EXPECT_TRUE(input.ReadJoystickState(1, &state));
    EXPECT_EQ(state.x, 0);
    EXPECT_EQ(state.hats[0], 0u);
}

TEST_F(Fallback, RumbleNeedsADevice) {
    platform::Joystick* joystick = Attach(2, 2, 0);
    ASSERT_NE(joystick, nullptr);
    InputDevices input;
    input.Initialise(window, nullptr, false);
    input.Rumble(0, 1.0, 1.0, 1.0, 1);
    uint16_t low = 1, high = 1;
    ASSERT_TRUE(platform::VirtualJoystickRumble(joystick, &low, &high));
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 0);
}

}  // namespace
