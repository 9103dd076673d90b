// A window of its own for the input tests, input pushed as real events, and
// helpers that undo what a test pressed or attached.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "runtime/files/ErrorLog.h"
#include "runtime/input/InputDevices.h"
#include "runtime/platform/Platform.h"
#include "runtime/platform/PlatformTesting.h"
#include "support/TestEngine.h"

// SDL scancodes are the USB keyboard usage numbers.
namespace usb {
constexpr int kA = 4, kB = 5, kY = 28, kZ = 29, k1 = 30;
constexpr int kReturn = 40, kEscape = 41, kBackspace = 42, kTab = 43, kSpace = 44;
constexpr int kCapsLock = 57, kF4 = 61, kNumLock = 83, kDelete = 76, kUp = 82, kKeypadEnter = 88;
constexpr int kLeftControl = 224, kLeftShift = 225, kLeftAlt = 226, kRightShift = 229;
}  // namespace usb

// SDL hat positions.
constexpr int kHatUp = 1, kHatRight = 2, kHatDown = 4, kHatLeft = 8;

class InputTest : public ::testing::Test {
  protected:
    static constexpr int kWindowX = 100, kWindowY = 50;

    static void SetUpTestSuite() {
        ASSERT_TRUE(platform::Init());
        if (!window) {
            std::string error;
            window = platform::CreateGameWindow("Input", kWindowX, kWindowY, 320, 240,
                                                platform::PixelFormatRequest{}, &error);
            ASSERT_NE(window, nullptr) << error;
            platform::ShowGameWindow(window, true);
        }
    }

    void SetUp() override {
        InputDevices::forceFallback = false;
        platform::EnableKeyboardEvents(true);
        platform::EnableMouseEvents(true);
        Drain();
        platform::TakeMouseSample();
        ForgetEarlierKeys();
        DeleteErrorLog();
    }

    void TearDown() override {
        for (int scancode : pressed_) platform::InjectKey(scancode, false);
        for (int button : buttons_) platform::InjectMouseButton(button, false, 0, 0);
        for (platform::Joystick* joystick : opened_) platform::CloseJoystick(joystick);
        for (auto it = attached_.rbegin(); it != attached_.rend(); ++it) Detach(*it);
        InputDevices::forceFallback = false;
        platform::EnableKeyboardEvents(true);
        platform::EnableMouseEvents(true);
        Drain();
        platform::TakeMouseSample();
    }

    // Runs every pushed event through the pump and throws the window
    // messages away: nothing here dispatches them.
    static void Drain() {
        platform::PumpEvents();
        platform::Message message;
        while (platform::PeekMessage(&message, 0, 0, true)) {
        }
    }

    // Earlier tests of the same process may have left Caps Lock or Num Lock
    // on, and keys counted as pressed since the last query.
    static void ForgetEarlierKeys() {
        uint8_t state[256];
        platform::ReadVirtualKeyState(state);
        for (auto [virtualKey, usbKey] :
             {std::pair{0x14, usb::kCapsLock}, std::pair{0x90, usb::kNumLock}})
            if (state[virtualKey] & 1) {
                platform::InjectKey(usbKey, true);
                platform::InjectKey(usbKey, false);
            }
        for (int virtualKey = 1; virtualKey < 256; ++virtualKey)
            platform::AsyncKeyState(virtualKey);
    }

    // Lets the motion that a pointer warp causes on a real display arrive
    // before the test moves the mouse itself.
    static void Settle() {
        for (int round = 0; round < 5; ++round) {
            Drain();
            platform::Sleep(10);
        }
        Drain();
    }

    void Press(int scancode) {
        platform::InjectKey(scancode, true);
        pressed_.insert(scancode);
    }
    void Release(int scancode) {
        platform::InjectKey(scancode, false);
        pressed_.erase(scancode);
    }
    void PressButton(int button) {
        platform::InjectMouseButton(button, true, 10, 10);
        buttons_.insert(button);
    }
    void ReleaseButton(int button) {
        platform::InjectMouseButton(button, false, 10, 10);
        buttons_.erase(button);
    }

    // A virtual joystick, open for the test to move its controls.
    platform::Joystick* Attach(int axes, int buttons, int hats) {
        int index = platform::AttachVirtualJoystick(axes, buttons, hats);
        EXPECT_GE(index, 0);
        if (index < 0) return nullptr;
        platform::Joystick* joystick = platform::OpenJoystick(index);
        attached_.push_back(joystick);
        return joystick;
    }
    platform::Joystick* OpenExisting(int index) {
        platform::Joystick* joystick = platform::OpenJoystick(index);
        if (joystick) opened_.push_back(joystick);
        return joystick;
    }

    static std::string ErrorLog() {
        std::ifstream in(ErrorLogPath(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    static inline platform::Window* window = nullptr;

  private:
    static void Detach(platform::Joystick* joystick) { DetachJoystick(joystick); }

    std::set<int> pressed_;
    std::set<int> buttons_;
    std::vector<platform::Joystick*> opened_;
    std::vector<platform::Joystick*> attached_;
};
