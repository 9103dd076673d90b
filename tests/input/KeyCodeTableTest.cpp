// Every key of a PC keyboard has its scan code (extended keys 128 + code),
// whatever the platform calls the key.
#include <gtest/gtest.h>

#include <thread>

#include "InputFixture.h"

namespace {

struct PcKey {
    const char* name;
    int usb;   // USB keyboard usage = SDL scancode
    int code;  // PC scan code set 1
};

const PcKey kPcKeys[] = {
    {"A", 4, 30},
    {"B", 5, 48},
    {"C", 6, 46},
    {"D", 7, 32},
    {"E", 8, 18},
    {"F", 9, 33},
    {"G", 10, 34},
    {"H", 11, 35},
    {"I", 12, 23},
    {"J", 13, 36},
    {"K", 14, 37},
    {"L", 15, 38},
    {"M", 16, 50},
    {"N", 17, 49},
    {"O", 18, 24},
    {"P", 19, 25},
    {"Q", 20, 16},
    {"R", 21, 19},
    {"S", 22, 31},
    {"T", 23, 20},
    {"U", 24, 22},
    {"V", 25, 47},
    {"W", 26, 17},
    {"X", 27, 45},
    {"Y", 28, 21},
    {"Z", 29, 44},
    {"1", 30, 2},
    {"2", 31, 3},
    {"3", 32, 4},
    {"4", 33, 5},
    {"5", 34, 6},
    {"6", 35, 7},
    {"7", 36, 8},
    {"8", 37, 9},
    {"9", 38, 10},
    {"0", 39, 11},
    {"Return", 40, 28},
    {"Escape", 41, 1},
    {"Backspace", 42, 14},
    {"Tab", 43, 15},
    {"Space", 44, 57},
    {"Minus", 45, 12},
    {"Equals", 46, 13},
    {"[", 47, 26},
    {"]", 48, 27},
    {"Backslash", 49, 43},
    {";", 51, 39},
    {"'", 52, 40},
    {"`", 53, 41},
    {",", 54, 51},
    {".", 55, 52},
    {"/", 56, 53},
    {"Caps Lock", 57, 58},
    {"F1", 58, 59},
    {"F2", 59, 60},
    {"F3", 60, 61},
    {"F4", 61, 62},
    {"F5", 62, 63},
    {"F6", 63, 64},
    {"F7", 64, 65},
    {"F8", 65, 66},
    {"F9", 66, 67},
    {"F10", 67, 68},
    {"F11", 68, 87},
    {"F12", 69, 88},
    {"Print", 70, 183},
    {"Scroll Lock", 71, 70},
    {"Pause", 72, 197},
    {"Insert", 73, 210},
    {"Home", 74, 199},
    {"Page Up", 75, 201},
    {"Delete", 76, 211},
    {"End", 77, 207},
    {"Page Down", 78, 209},
    {"Right", 79, 205},
    {"Left", 80, 203},
    {"Down", 81, 208},
    {"Up", 82, 200},
    {"Num Lock", 83, 69},
    {"Keypad /", 84, 181},
    {"Keypad *", 85, 55},
    {"Keypad -", 86, 74},
    {"Keypad +", 87, 78},
    {"Keypad Enter", 88, 156},
    {"Keypad 1", 89, 79},
    {"Keypad 2", 90, 80},
    {"Keypad 3", 91, 81},
    {"Keypad 4", 92, 75},
    {"Keypad 5", 93, 76},
    {"Keypad 6", 94, 77},
    {"Keypad 7", 95, 71},
    {"Keypad 8", 96, 72},
    {"Keypad 9", 97, 73},
    {"Keypad 0", 98, 82},
    {"Keypad .", 99, 83},
    {"ISO \\", 100, 86},
    {"Applications", 101, 221},
    {"Left Control", 224, 29},
    {"Left Shift", 225, 42},
    {"Left Alt", 226, 56},
    {"Left Windows", 227, 219},
    {"Right Control", 228, 157},
    {"Right Shift", 229, 54},
    {"Right Alt", 230, 184},
    {"Right Windows", 231, 220},
};

TEST(KeyCodeTable, GivesEveryPcKeyItsScanCode) {
    for (const PcKey& key : kPcKeys) {
        EXPECT_EQ(platform::KeyCodeFromScancode(key.usb), key.code) << key.name;
        EXPECT_EQ(platform::ScancodeFromKeyCode(key.code), key.usb) << key.name;
    }
}

TEST(KeyCodeTable, TheIsoHashKeySharesTheBackslashCode) {
    EXPECT_EQ(platform::KeyCodeFromScancode(50), 43);
    EXPECT_EQ(platform::ScancodeFromKeyCode(43), 49);
}

TEST(KeyCodeTable, KeysWithoutACodeGiveZero) {
    EXPECT_EQ(platform::KeyCodeFromScancode(0), 0);
    EXPECT_EQ(platform::KeyCodeFromScancode(-1), 0);
    EXPECT_EQ(platform::KeyCodeFromScancode(100000), 0);
    EXPECT_EQ(platform::ScancodeFromKeyCode(0), 0);
    EXPECT_EQ(platform::ScancodeFromKeyCode(255), 0);
    EXPECT_EQ(platform::ScancodeFromKeyCode(256), 0);
}

TEST(KeyCodeTable, NoTwoKeysShareACode) {
    int owners[256] = {};
    for (int usb = 1; usb < 512; ++usb) {
        int code = platform::KeyCodeFromScancode(usb);
        if (code == 0 || usb == 50) continue;  // the ISO hash key is the backslash key
        EXPECT_EQ(owners[code], 0) << "code " << code << " for " << owners[code] << " and " << usb;
        owners[code] = usb;
    }
}

using KeyState = InputTest;

TEST_F(KeyState, APressedKeyIsHeldUnderItsCodeUntilReleased) {
    for (const PcKey& key : kPcKeys) {
        Press(key.usb);
        EXPECT_TRUE(platform::KeyDownByCode(key.code)) << key.name;
        uint8_t state[256];
        platform::ReadKeyCodeState(state);
        EXPECT_EQ(state[key.code], 0x80) << key.name;
        Release(key.usb);
        EXPECT_FALSE(platform::KeyDownByCode(key.code)) << key.name;
    }
}

TEST_F(KeyState, InjectedKeysAreAddressedToTheGameWindow) {
    Press(usb::kSpace);
    platform::PumpEvents();
    platform::Message message;
    ASSERT_TRUE(platform::PeekMessage(&message, platform::kMsgKeyDown, platform::kMsgKeyDown));
    EXPECT_EQ(message.window, window);
}

TEST_F(KeyState, KeysCanBeInjectedFromAnotherThread) {
    platform::PumpEvents();  // the game window is known once its events were seen
    std::thread([] { platform::InjectKey(usb::kEscape, true); }).join();
    EXPECT_TRUE(platform::KeyDownByCode(1));
    Release(usb::kEscape);
    EXPECT_FALSE(platform::KeyDownByCode(1));
}

TEST_F(KeyState, TheVirtualKeyViewNamesBothSidesOfAModifier) {
    Press(usb::kRightShift);
    uint8_t state[256];
    platform::ReadVirtualKeyState(state);
    EXPECT_EQ(state[0x10], 0x80);  // Shift
    EXPECT_EQ(state[0xA1], 0x80);  // right Shift
    EXPECT_EQ(state[0xA0], 0);     // left Shift
    EXPECT_TRUE(platform::AsyncKeyState(0x10));
}

TEST_F(KeyState, AKeyTappedBetweenTwoQueriesCountsOnce) {
    EXPECT_FALSE(platform::AsyncKeyState('B'));
    platform::InjectKey(usb::kB, true);
    platform::InjectKey(usb::kB, false);
    EXPECT_TRUE(platform::AsyncKeyState('B'));
    EXPECT_FALSE(platform::AsyncKeyState('B'));
}

TEST_F(KeyState, CapsLockTogglesOnEachPress) {
    uint8_t state[256];
    platform::ReadVirtualKeyState(state);
    const uint8_t before = state[0x14] & 1;
    Press(usb::kCapsLock);
    Release(usb::kCapsLock);
    platform::ReadVirtualKeyState(state);
    EXPECT_EQ(state[0x14] & 1, before ^ 1);
    Press(usb::kCapsLock);
    Release(usb::kCapsLock);
    platform::ReadVirtualKeyState(state);
    EXPECT_EQ(state[0x14] & 1, before);
}

TEST_F(KeyState, KeysGiveTheLayoutsCharacters) {
    EXPECT_EQ(platform::KeyCodeCharacter(30, false), 'a');
    EXPECT_EQ(platform::KeyCodeCharacter(30, true), 'A');
    EXPECT_EQ(platform::KeyCodeCharacter(2, false), '1');
    EXPECT_EQ(platform::KeyCodeCharacter(2, true), '!');
    EXPECT_EQ(platform::KeyCodeCharacter(57, false), ' ');
    EXPECT_EQ(platform::KeyCodeCharacter(79, false), '1');   // keypad 1
    EXPECT_EQ(platform::KeyCodeCharacter(181, false), '/');  // keypad /
    EXPECT_EQ(platform::KeyCodeCharacter(211, false), 0);    // Delete types nothing
    EXPECT_EQ(platform::KeyCodeCharacter(200, false), 0);    // Up
    EXPECT_EQ(platform::KeyCodeCharacter(59, false), 0);     // F1
}

}  // namespace
