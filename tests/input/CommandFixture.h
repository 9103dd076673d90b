// A started runtime for the input commands: keys, buttons and motion pushed
// as real events, now or by time from inside the pump while a command waits,
// and virtual joysticks attached before start-up so that it finds them.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "runtime/platform/Platform.h"
#include "runtime/platform/PlatformTesting.h"
#include "runtime/runtime.h"
#include "support/TestEngine.h"

// SDL hat positions.
namespace hat {
constexpr int kCentred = 0, kUp = 1, kRight = 2, kDown = 4, kLeft = 8;
}

class InputCommandTest : public ::testing::Test {
  protected:
    void TearDown() override {
        ClearSchedule();
        for (int keyCode : pressed_) platform::InjectKeyCode(keyCode, false);
        for (int button : buttons_) platform::InjectMouseButton(button, false, 0, 0);
        for (auto it = joysticks_.rbegin(); it != joysticks_.rend(); ++it) Detach(*it);
        platform::PumpEvents();
    }

    // Start-up; with no key held, the last typed character of an earlier
    // test in the same process is forgotten too.
    static void Start(int captureMouse = 0) {
        ASSERT_TRUE(StartTestEngine(60, captureMouse));
        TypedChar();
    }

    void Press(int keyCode) {
        platform::InjectKeyCode(keyCode, true);
        pressed_.insert(keyCode);
    }
    void Release(int keyCode) {
        platform::InjectKeyCode(keyCode, false);
        pressed_.erase(keyCode);
    }
    void PressButton(int button) {  // 1 left, 2 middle, 3 right
        platform::InjectMouseButton(button, true, 10, 10);
        buttons_.insert(button);
    }
    void ReleaseButton(int button) {
        platform::InjectMouseButton(button, false, 10, 10);
        buttons_.erase(button);
    }

    // Presses at `atMs` from now and releases `holdMs` after the press, from
    // the pump; a slow first frame cannot make the two come together.
    void ScheduleTap(double atMs, int keyCode, double holdMs = 60) {
        ScheduleTyping(atMs, {keyCode}, holdMs);
    }
    // Taps the keys one after another, each released before the next comes.
    void ScheduleTyping(double startMs, const std::vector<int>& keyCodes, double holdMs = 60,
                        double gapMs = 60) {
        pressed_.insert(keyCodes.begin(), keyCodes.end());  // released at the end whatever happens
        ScheduleInPump(startMs, [=] { TypeFrom(keyCodes, 0, holdMs, gapMs); });
    }
    // A virtual joystick, attached before start-up so that start-up finds it.
    platform::Joystick* AttachJoystick(int axes, int buttons, int hats) {
        if (!platform::Init()) return nullptr;
        const int index = platform::AttachVirtualJoystick(axes, buttons, hats);
        if (index < 0) return nullptr;
        platform::Joystick* joystick = platform::OpenJoystick(index);
        if (joystick) joysticks_.push_back(joystick);
        return joystick;
    }

  private:
    static void TypeFrom(std::vector<int> keyCodes, size_t next, double holdMs, double gapMs) {
        if (next >= keyCodes.size()) return;
        platform::InjectKeyCode(keyCodes[next], true);
        ScheduleInPump(holdMs, [=] {
            platform::InjectKeyCode(keyCodes[next], false);
            ScheduleInPump(gapMs, [=] { TypeFrom(keyCodes, next + 1, holdMs, gapMs); });
        });
    }

    static void Detach(platform::Joystick* joystick) { DetachJoystick(joystick); }

    std::set<int> pressed_;
    std::set<int> buttons_;
    std::vector<platform::Joystick*> joysticks_;
};
