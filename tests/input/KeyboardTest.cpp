// The keyboard as a device: the state of every key code once per read, and
// the characters the keys type.
#include <gtest/gtest.h>

#include "InputFixture.h"
#include "runtime/input/InputTesting.h"

namespace {

using Keyboard = InputTest;

TEST_F(Keyboard, IsReadAsADeviceWithAnIdentityKeyMap) {
    InputDevices input;
    input.Initialise(window, nullptr, false);
    EXPECT_TRUE(input.UsesEventLayer());
    EXPECT_NE(InputDevicesTesting::Keyboard(input), nullptr);
    for (int code = 0; code < 256; ++code)
        ASSERT_EQ(InputDevicesTesting::KeyMap(input)[code], code);
    EXPECT_EQ(ErrorLog(), "");
}

TEST_F(Keyboard, KeyHeldReportsTheStateOfTheLastRead) {
    InputDevices input;
    input.Initialise(window, nullptr, false);
    Press(usb::kUp);
    EXPECT_FALSE(input.KeyHeld(200));
    input.ReadKeyboard();
    EXPECT_TRUE(input.KeyHeld(200));
    EXPECT_EQ(InputDevicesTesting::KeyboardState(input)[200], 0x80);
    Release(usb::kUp);
    input.ReadKeyboard();
    EXPECT_FALSE(input.KeyHeld(200));
    EXPECT_FALSE(input.KeyHeld(-1));
    EXPECT_FALSE(input.KeyHeld(256));
}

TEST_F(Keyboard, TakesTheKeyMessagesOutOfTheQueue) {
    InputDevices input;
    input.Initialise(window, nullptr, false);
    Press(usb::kA);
    input.ReadKeyboard();
    platform::Message message;
    EXPECT_FALSE(platform::PeekMessage(&message, platform::kMsgKeyFirst, platform::kMsgKeyLast));
}

TEST_F(Keyboard, ThatCannotBeAcquiredIsLoggedAndTriedAgainOnEachRead) {
    platform::EnableKeyboardEvents(false);
    InputDevices input;
    input.Initialise(window, nullptr, false);
    EXPECT_EQ(ErrorLog(), "No DX_KB\r\n");
    EXPECT_NE(InputDevicesTesting::Keyboard(input), nullptr);
    platform::EnableKeyboardEvents(true);
    Press(usb::kEscape);
    input.ReadKeyboard();
    EXPECT_TRUE(input.KeyHeld(1));
}

TEST_F(Keyboard, SpecialKeysHaveFixedCharacters) {
    InputDevices input;
    input.Initialise(window, nullptr, false);
    EXPECT_EQ(input.KeyChar(28), 10);   // Return
    EXPECT_EQ(input.KeyChar(156), 10);  // keypad Enter
    EXPECT_EQ(input.KeyChar(14), 8);    // Backspace
    EXPECT_EQ(input.KeyChar(15), 0);    // Tab
    EXPECT_EQ(input.KeyChar(1), 0);     // Escape
    for (int code : {42, 54, 29, 56, 58, 69, 221}) EXPECT_EQ(input.KeyChar(code), 0) << code;
    EXPECT_EQ(input.KeyChar(30), 'a');
    EXPECT_EQ(input.KeyChar(57), ' ');
    EXPECT_EQ(input.KeyChar(0), 0);
}

TEST_F(Keyboard, ShiftAndCapsLockChangeTheCharacter) {
    InputDevices input;
    input.Initialise(window, nullptr, false);
    Press(usb::kLeftShift);
    EXPECT_EQ(input.KeyChar(30), 'A');
    EXPECT_EQ(input.KeyChar(2), '!');
    Release(usb::kLeftShift);
    Press(usb::kCapsLock);
    Release(usb::kCapsLock);
    uint8_t state[256];
    platform::ReadVirtualKeyState(state);
    const bool capsOn = state[0x14] & 1;
    EXPECT_EQ(input.KeyChar(30), capsOn ? 'A' : 'a');
    EXPECT_EQ(input.KeyChar(2), '1');
    Press(usb::kCapsLock);
    Release(usb::kCapsLock);
    Press(usb::kLeftControl);
    EXPECT_EQ(input.KeyChar(30), 0);  // Control+A is a control code
}

TEST_F(Keyboard, AHeldKeyIsTypedOnce) {
    InputDevices input;
    input.Initialise(window, nullptr, false);
    input.NextTypedChar();
    Press(usb::kA);
    EXPECT_EQ(input.NextTypedChar(), 'a');
    EXPECT_EQ(input.NextTypedChar(), 0);
    EXPECT_EQ(input.NextTypedChar(), 0);
    Release(usb::kA);
    EXPECT_EQ(input.NextTypedChar(), 0);
    Press(usb::kA);
    EXPECT_EQ(input.NextTypedChar(), 'a');
}

TEST_F(Keyboard, AnotherKeyIsTypedWhileTheFirstIsStillHeld) {
    InputDevices input;
    input.Initialise(window, nullptr, false);
    input.NextTypedChar();
    Press(usb::kB);
    EXPECT_EQ(input.NextTypedChar(), 'b');
    Press(usb::kA);  // 'a' comes first in key-code order
    EXPECT_EQ(input.NextTypedChar(), 'a');
    Release(usb::kA);
    EXPECT_EQ(input.NextTypedChar(), 'b');
}

TEST_F(Keyboard, ShiftWithAGivesCapitalAAndShiftAloneNothing) {
    InputDevices input;
    input.Initialise(window, nullptr, false);
    input.NextTypedChar();
    Press(usb::kLeftShift);
    EXPECT_EQ(input.NextTypedChar(), 0);
    EXPECT_FALSE(input.TypedCharChanged());
    Press(usb::kA);
    EXPECT_EQ(input.NextTypedChar(), 'A');
    Release(usb::kA);
    Release(usb::kLeftShift);
    Press(usb::kRightShift);
    Press(usb::kZ);
    EXPECT_EQ(input.NextTypedChar(), 'Z');
}

TEST_F(Keyboard, ReturnAndKeypadEnterType10BackspaceTypes8TabNothing) {
    InputDevices input;
    input.Initialise(window, nullptr, false);
    input.NextTypedChar();
    const struct {
        int usb;
        uint8_t typed;
    } keys[] = {{usb::kReturn, 10}, {usb::kKeypadEnter, 10}, {usb::kBackspace, 8}, {usb::kTab, 0}};
    for (const auto& key : keys) {
        Press(key.usb);
        EXPECT_EQ(input.NextTypedChar(), key.typed) << key.usb;
        Release(key.usb);
        input.NextTypedChar();
    }
}

TEST_F(Keyboard, TypedCharChangedSeesEachNewCharacterOnce) {
    InputDevices input;
    input.Initialise(window, nullptr, false);
    input.NextTypedChar();
    EXPECT_FALSE(input.TypedCharChanged());
    Press(usb::k1);
    EXPECT_TRUE(input.TypedCharChanged());
    EXPECT_FALSE(input.TypedCharChanged());
    EXPECT_EQ(input.NextTypedChar(), 0);  // both share the last character
    Release(usb::k1);
    EXPECT_FALSE(input.TypedCharChanged());
    Press(usb::kUp);  // no character
    EXPECT_FALSE(input.TypedCharChanged());
}

}  // namespace
