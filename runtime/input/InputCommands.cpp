#include "runtime/runtime.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "runtime/core/Engine.h"
#include "runtime/core/EngineState.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/input/InputDevices.h"
#include "runtime/platform/Platform.h"
#include "runtime/values/Truncate.h"

namespace {

constexpr int kIdleRounds = 15;
constexpr uint32_t kIdleSleepMs = 5;
constexpr double kJoystickAxisScale = 32767.0;
constexpr double kJoystickMovedBeyond = 0.1;

using JoystickState = InputDevices::JoystickState;
using MouseState = InputDevices::MouseState;

// ---------------------------------------------------------------- mouse

// The device's stored size bounds the position, and the clamped values are
// kept: motion far past an edge does not have to be undone to come back.
void ClampMousePosition(InputDevices& input) {
    const int width = gEngine.device ? gEngine.device->Width() : gEngine.screenWidth;
    const int height = gEngine.device ? gEngine.device->Height() : gEngine.screenHeight;
    input.SetMousePosition(std::max(0, std::min(input.MouseX(), width - 1)),
                           std::max(0, std::min(input.MouseY(), height - 1)));
}

struct PointerSample {
    int x = 0, y = 0;
    bool left = false, right = false;
    bool operator==(const PointerSample&) const = default;
};

PointerSample TakePointerSample(InputDevices& input) {
    MouseState state;
    input.ReadMouseState(&state);
    ClampMousePosition(input);
    return {input.MouseX(), input.MouseY(), state.left != 0, state.right != 0};
}

// ---------------------------------------------------------------- joysticks

// Only the joysticks the record counts have a state worth reading: any other
// index would report a cleared record, whose hat reads as "up".
bool ReadCountedJoystick(int index, JoystickState* state) {
    InputDevices* input = gEngine.input;
    if (!input || index < 0 || index >= input->GetJoystickCount()) return false;
    return input->ReadJoystickState(index, state);
}

double ScaledAxis(int32_t value) {
    return std::clamp(value / kJoystickAxisScale, -1.0, 1.0);
}

double HatX(uint32_t hat) {
    return hat == 9000 ? 1 : hat == 27000 ? -1 : 0;
}
double HatY(uint32_t hat) {
    return hat == 0 ? -1 : hat == 18000 ? 1 : 0;
}

double AxisCommand(double index, int32_t JoystickState::*axis) {
    JoystickState state;
    if (!ReadCountedJoystick(TruncateInt32(index), &state)) return 0;
    return ScaledAxis(state.*axis);
}

bool JoystickActive(int index) {
    JoystickState state;
    if (!ReadCountedJoystick(index, &state)) return false;
    if (std::any_of(std::begin(state.buttons), std::end(state.buttons),
                    [](uint8_t button) { return button != 0; }))
        return true;
    for (int32_t axis : {state.x, state.y, state.z})
        if (std::abs(ScaledAxis(axis)) > kJoystickMovedBeyond) return true;
    return HatX(state.hats[0]) != 0 || HatY(state.hats[0]) != 0;
}

bool AnyJoystickActive(InputDevices& input) {
    for (int index = input.GetJoystickCount() - 1; index >= 0; --index)
        if (JoystickActive(index)) return true;
    return false;
}

// ---------------------------------------------------------------- waiting

// A window that reports failure while the program waits ends it.
void DispatchWindowMessages() {
    if (gEngine.device && !gEngine.device->PumpMessages()) EndProgram();
}

bool AnyKeyHeld(InputDevices& input) {
    for (int code = 0; code < 255; ++code)
        if (input.KeyHeld(code)) return true;
    return false;
}

// One round of the idle wait: true once any input activity is seen.
bool IdleRoundSawInput(InputDevices& input, const PointerSample& before) {
    MusicRestartCheck();
    DispatchWindowMessages();
    input.ReadKeyboard();
    input.StartFrame();
    if (gEngine.escapeQuits == 1 && input.KeyHeld(kKeyEscape)) EndProgram();
    if (AnyKeyHeld(input)) return true;
    if (TakePointerSample(input) != before) return true;
    return AnyJoystickActive(input);
}

}  // namespace

// ---------------------------------------------------------------- keyboard and mouse

double KeyState(double keyCode) {
    InputDevices* input = gEngine.input;
    if (!input) return 0;
    input->ReadKeyboard();
    return input->KeyHeld(TruncateInt32(keyCode) & 0xFF) ? 1 : 0;
}

void ReadMouse(double& x, double& y, double& left, double& right) {
    x = y = left = right = 0;
    InputDevices* input = gEngine.input;
    if (!input) return;
    const PointerSample sample = TakePointerSample(*input);
    x = sample.x;
    y = sample.y;
    left = sample.left ? 1 : 0;
    right = sample.right ? 1 : 0;
}

double ReadMouseAxis(double index) {
    InputDevices* input = gEngine.input;
    MouseState state;
    if (!input || !input->ReadMouseState(&state)) return 0;
    switch (TruncateInt32(index)) {
        case 0:
            return state.dx;
        case 1:
            return state.dy;
        case 2:
            return state.wheel;
        case 3:
            return state.left != 0 ? 1 : 0;
        case 4:
            return state.right != 0 ? 1 : 0;
        case 5:
            return state.middle != 0 ? 1 : 0;
        default:
            return 0;
    }
}

void SetMousePosition(double x, double y) {
    if (!gEngine.input) return;
    gEngine.input->SetMousePosition(TruncateInt32(x), TruncateInt32(y));
}

void ShowMousePointer(double shown) {
    if (gEngine.input) gEngine.input->SetPointerMode(shown != 0);
}

RtString TypedChar() {
    const uint8_t c = gEngine.input ? gEngine.input->NextTypedChar() : 0;
    if (c == 0) return RtString();
    const char text[2] = {static_cast<char>(c), 0};
    return RtString(text);
}

// ---------------------------------------------------------------- joysticks

double JoystickX(double index) {
    return AxisCommand(index, &JoystickState::x);
}
double JoystickY(double index) {
    return AxisCommand(index, &JoystickState::y);
}
double JoystickZ(double index) {
    return AxisCommand(index, &JoystickState::z);
}
double JoystickRX(double index) {
    return AxisCommand(index, &JoystickState::rx);
}
double JoystickRY(double index) {
    return AxisCommand(index, &JoystickState::ry);
}
double JoystickRZ(double index) {
    return AxisCommand(index, &JoystickState::rz);
}

double JoystickHatX(double index) {
    JoystickState state;
    if (!ReadCountedJoystick(TruncateInt32(index), &state)) return 0;
    return HatX(state.hats[0]);
}

double JoystickHatY(double index) {
    JoystickState state;
    if (!ReadCountedJoystick(TruncateInt32(index), &state)) return 0;
    return HatY(state.hats[0]);
}

// Whole steps of 30000 toward zero: -1, 0 or 1 over the axis range.
void ReadJoystick(double& x, double& y, double& button1, double& button2) {
    x = y = button1 = button2 = 0;
    JoystickState state;
    if (!ReadCountedJoystick(0, &state)) return;
    x = state.x / 30000;
    y = state.y / 30000;
    button1 = state.buttons[0];
    button2 = state.buttons[1];
}

RtString JoystickName(double index) {
    if (!gEngine.input) return RtString();
    char name[InputDevices::kJoystickNameSize];
    gEngine.input->GetJoystickName(TruncateInt32(index), name);
    return RtString(name);
}

double JoystickCount() {
    return gEngine.input ? gEngine.input->GetJoystickCount() : 0;
}

void JoystickRumble(double index, double seconds, double xForce, double yForce) {
    if (gEngine.input) gEngine.input->Rumble(TruncateInt32(index), seconds, xForce, yForce, 1);
}

// ---------------------------------------------------------------- waiting

void IdleForInput() {
    InputDevices* input = gEngine.input;
    if (!input) return;
    const PointerSample before = TakePointerSample(*input);
    for (int round = 0; round < kIdleRounds; ++round) {
        if (IdleRoundSawInput(*input, before)) return;
        platform::Sleep(kIdleSleepMs);
    }
}

// Ends on a key that types a character; one held on entry must come again.
void WaitForKey() {
    InputDevices* input = gEngine.input;
    if (!input) return;
    while (!input->TypedCharChanged()) {
        MusicRestartCheck();
        DispatchWindowMessages();
        IdleForInput();
    }
    while (input->TypedCharChanged()) {
    }
}

void WaitForMouseClick() {
    InputDevices* input = gEngine.input;
    if (!input) return;
    while (input->AnyMouseButton()) {
    }
    while (!input->AnyMouseButton()) IdleForInput();
}
