// What tests read of the input devices beyond the commands: the key map, the
// raw keyboard state, which devices the event layer gave and the motion of
// the last fresh mouse sample. The runtime never calls these.
#pragma once

#include <span>

#include "runtime/input/InputDevices.h"

struct InputDevicesTesting {
    static std::span<const uint16_t, 256> KeyMap(const InputDevices& input) { return input.keyMap; }
    static std::span<const uint8_t, 256> KeyboardState(const InputDevices& input) {
        return input.keyboardState;
    }
    static const KeyboardDevice* Keyboard(const InputDevices& input) {
        return input.keyboardDevice;
    }
    static const MouseDevice* Mouse(const InputDevices& input) { return input.mouseDevice; }
    static std::span<JoystickDevice* const, InputDevices::kMaxJoysticks> Joysticks(
        const InputDevices& input) {
        return input.joystickDevices;
    }
    static const int16_t* MotionCache(const InputDevices& input) { return input.motionCache; }
    static bool FreshSampleDue(const InputDevices& input) { return input.newFrame != 0; }
};
