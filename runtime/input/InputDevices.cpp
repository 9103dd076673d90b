#include "runtime/input/InputDevices.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/files/ErrorLog.h"
#include "runtime/input/KeyCode.h"
#include "runtime/platform/Platform.h"

// The devices of the event layer. Each keeps the steps a device goes
// through (data format, cooperation with a window, acquisition) so that the
// record's retry paths stay real: a device that cannot be acquired is tried
// again on its next read.
struct WindowDeviceSteps {
    bool formatSet = false;
    int cooperation = 0;
    bool acquired = false;

    bool SetDataFormat() { return formatSet = true; }
    // Foreground cooperation needs a window to follow.
    bool SetCooperativeLevel(platform::Window* window, int level) {
        if (!window) return false;
        cooperation = level;
        return true;
    }
};

struct KeyboardDevice : WindowDeviceSteps {
    bool Acquire() {
        acquired = formatSet && cooperation != 0 && platform::KeyboardEventsEnabled();
        return acquired;
    }
    bool GetDeviceState(uint8_t state[256]) {
        if (!acquired) return false;
        platform::ReadKeyCodeState(state);
        return true;
    }
};

struct MouseDevice : WindowDeviceSteps {
    struct State {
        int dx = 0, dy = 0, wheel = 0;
        uint8_t buttons[4] = {};
    };

    // A freshly acquired mouse reports only the motion that comes after.
    bool Acquire() {
        bool wasAcquired = acquired;
        acquired = formatSet && cooperation != 0 && platform::MouseEventsEnabled();
        if (!acquired) return false;
        platform::SetRelativeMouse(cooperation == InputDevices::kExclusiveForeground);
        if (!wasAcquired) platform::TakeMouseSample();
        return true;
    }
    void Unacquire() {
        if (acquired) platform::SetRelativeMouse(false);
        acquired = false;
    }
    // Motion is taken (and cleared) only when asked for, so a second read in
    // the same frame leaves the motion that came since for the next frame.
    bool GetDeviceState(State* out, bool takeMotion) {
        if (acquired && !platform::MouseEventsEnabled()) Unacquire();
        if (!acquired) return false;
        *out = State{};
        if (takeMotion) {
            platform::MouseSample sample = platform::TakeMouseSample();
            out->dx = sample.dx;
            out->dy = sample.dy;
            out->wheel = sample.wheel;
        }
        out->buttons[0] = platform::MouseButtonDown(1) ? 0x80 : 0;
        out->buttons[1] = platform::MouseButtonDown(2) ? 0x80 : 0;
        out->buttons[2] = platform::MouseButtonDown(3) ? 0x80 : 0;
        return true;
    }
};

struct JoystickDevice {
    platform::Joystick* handle = nullptr;
    int cooperation = 0;
    bool acquired = false;

    explicit JoystickDevice(platform::Joystick* joystick) : handle(joystick) {}
    ~JoystickDevice() { platform::CloseJoystick(handle); }
    JoystickDevice(const JoystickDevice&) = delete;
    JoystickDevice& operator=(const JoystickDevice&) = delete;

    bool SetDataFormat() { return true; }
    bool SetCooperativeLevel(platform::Window*, int level) {
        cooperation = level;
        return true;
    }
    // Range and dead zone are settings of one axis: a joystick without that
    // axis refuses them.
    bool SetRange(int axis) { return axis < platform::JoystickAxisCount(handle); }
    bool SetDeadZone(int axis) { return axis < platform::JoystickAxisCount(handle); }
    bool Acquire() { return acquired = handle != nullptr; }
    bool Poll() { return platform::PollJoystick(handle); }
    bool HasForceFeedback() { return platform::JoystickHasRumble(handle); }

    void GetDeviceState(InputDevices::JoystickState* out) {
        *out = InputDevices::JoystickState{};
        int32_t* axes[6] = {&out->x, &out->y, &out->z, &out->rx, &out->ry, &out->rz};
        int axisCount = platform::JoystickAxisCount(handle);
        for (int axis = 0; axis < std::min(axisCount, 6); ++axis)
            *axes[axis] = ScaledAxis(platform::JoystickAxis(handle, axis));
        // sliders keep their unset range, 0..65535
        for (int slider = 0; slider < 2 && 6 + slider < axisCount; ++slider)
            out->sliders[slider] = platform::JoystickAxis(handle, 6 + slider) + 32768;
        int hatCount = platform::JoystickHatCount(handle);
        for (int hat = 0; hat < 4; ++hat)
            out->hats[hat] = hat < hatCount
                                 ? static_cast<uint32_t>(platform::JoystickHat(handle, hat))
                                 : 0xFFFFFFFFu;
        int buttonCount = std::min(platform::JoystickButtonCount(handle), 32);
        for (int button = 0; button < buttonCount; ++button)
            out->buttons[button] = platform::JoystickButton(handle, button) ? 0x80 : 0;
    }

    // -32768..32767 onto the range set at start-up, -32768..32768.
    static int32_t ScaledAxis(int value) { return value > 0 ? value * 32768 / 32767 : value; }
};

bool InputDevices::forceFallback = false;

namespace {

constexpr int kRecentreX = 200, kRecentreY = 200;

// Virtual keys the record asks for by name.
enum : int {
    kVkLeftButton = 0x01,
    kVkRightButton = 0x02,
    kVkMiddleButton = 0x04,
    kVkShift = 0x10,
    kVkControl = 0x11,
    kVkCapsLock = 0x14,
};

// Key code → virtual key for the keyboard fallback; the letter row follows a
// German board (code 21 gives 'Z', code 44 gives 'Y').
struct FallbackKey {
    uint8_t keyCode;
    uint8_t virtualKey;
};
constexpr FallbackKey kFallbackKeyMap[] = {
    {0, 0x0D},   {1, 0x1B},   {2, 0x31},   {3, 0x32},   {4, 0x33},   {5, 0x34},   {6, 0x35},
    {7, 0x36},   {8, 0x37},   {9, 0x38},   {10, 0x39},  {11, 0x30},  {12, 0xDB},  {13, 0xDD},
    {14, 0x08},  {15, 0x09},  {16, 0x51},  {17, 0x57},  {18, 0x45},  {19, 0x52},  {20, 0x54},
    {21, 0x5A},  {22, 0x55},  {23, 0x49},  {24, 0x4F},  {25, 0x50},  {26, 0xBA},  {27, 0xBB},
    {28, 0x0D},  {29, 0x11},  {30, 0x41},  {31, 0x53},  {32, 0x44},  {33, 0x46},  {34, 0x47},
    {35, 0x48},  {36, 0x4A},  {37, 0x4B},  {38, 0x4C},  {39, 0xC0},  {40, 0xDE},  {41, 0xDC},
    {42, 0x10},  {43, 0xBF},  {44, 0x59},  {45, 0x58},  {46, 0x43},  {47, 0x56},  {48, 0x42},
    {49, 0x4E},  {50, 0x4D},  {51, 0xBC},  {52, 0xBE},  {53, 0xBD},  {54, 0x10},  {55, 0x6A},
    {56, 0x12},  {57, 0x20},  {58, 0x00},  {59, 0x70},  {60, 0x71},  {61, 0x72},  {62, 0x73},
    {63, 0x74},  {64, 0x75},  {65, 0x76},  {66, 0x77},  {67, 0x78},  {68, 0x79},  {69, 0x90},
    {70, 0x91},  {71, 0x67},  {72, 0x68},  {73, 0x69},  {74, 0x6D},  {75, 0x64},  {76, 0x65},
    {77, 0x66},  {78, 0x6B},  {79, 0x61},  {80, 0x62},  {81, 0x63},  {82, 0x60},  {83, 0x6E},
    {86, 0xE2},  {87, 0x7A},  {88, 0x7B},  {156, 0x1C}, {157, 0x11}, {181, 0x6F}, {184, 0x12},
    {199, 0x24}, {200, 0x26}, {201, 0x21}, {203, 0x25}, {205, 0x27}, {207, 0x23}, {208, 0x28},
    {209, 0x22}, {210, 0x2D}, {211, 0x2E}, {219, 0x5B}, {220, 0x5C}, {221, 0x5D},
};

// Beside the record, process-wide: the keyboard state used for character
// translation and the last character reported by the typed-character scan.
uint8_t gCharKeyState[256];
uint8_t gLastTypedChar = 0;

// The layout's character for a key under the given keyboard state: Shift and
// Caps Lock as the layout applies them; with Control held a key types a
// control code or nothing.
int TranslateKey(int keyCode, const uint8_t state[256]) {
    if (state[kVkControl] & 0x80) return 0;
    bool shift = (state[kVkShift] & 0x80) != 0;
    int plain = platform::KeyCodeCharacter(keyCode, false);
    if (plain >= 'a' && plain <= 'z') {
        bool upper = shift != ((state[kVkCapsLock] & 1) != 0);
        return upper ? plain - 'a' + 'A' : plain;
    }
    return platform::KeyCodeCharacter(keyCode, shift);
}

}  // namespace

InputDevices::InputDevices() = default;

InputDevices::~InputDevices() {
    if (mouseDevice) {
        mouseDevice->Unacquire();
        mouseCooperation = kSharedForeground;
        mouseDevice->SetCooperativeLevel(window, mouseCooperation);
        mouseDevice->Acquire();
    }
    if (!pointerShown) platform::WarpMouse(window, mouseX, mouseY);
    platform::ShowCursor(true);
    pointerShown = 1;
    ReleaseDevices();
}

void InputDevices::ReleaseDevices() {
    if (mouseDevice) mouseDevice->Unacquire();
    delete mouseDevice;
    mouseDevice = nullptr;
    delete keyboardDevice;
    keyboardDevice = nullptr;
    for (JoystickDevice*& joystick : joystickDevices) {
        delete joystick;
        joystick = nullptr;
    }
    directInput = false;
}

// ---------------------------------------------------------------- start-up

void InputDevices::Initialise(platform::Window* newWindow, void* /*instance*/, bool captureMouse) {
    ReleaseDevices();
    directInput = !forceFallback && platform::DeviceInputAvailable();
    if (!directInput) AppendErrorLog("No DX_Input");
    window = newWindow;
    platform::PeekMousePosition(&mouseX, &mouseY);
    if (!directInput) {
        InitialiseFallback();
        return;
    }
    CreateKeyboard();
    BuildKeyMap();
    pointerShown = 0;
    if (captureMouse)
        CreateMouse();
    else
        ShowPointerAtMouse();
    EnumerateJoysticks();
}

void InputDevices::CreateKeyboard() {
    keyboardDevice = new KeyboardDevice;
    keyboardDevice->SetDataFormat();
    if (keyboardDevice->SetCooperativeLevel(window, kForeground) && !keyboardDevice->Acquire())
        AppendErrorLog("No DX_KB");  // kept: every read tries again
}

void InputDevices::BuildKeyMap() {
    if (keyboardDevice) {
        for (int code = 0; code < 256; ++code) keyMap[code] = static_cast<uint16_t>(code);
        return;
    }
    std::fill(std::begin(keyMap), std::end(keyMap), kNoKey);
    for (const FallbackKey& key : kFallbackKeyMap) keyMap[key.keyCode] = key.virtualKey;
}

void InputDevices::CreateMouse() {
    mouseDevice = new MouseDevice;
    mouseDevice->SetDataFormat();
    mouseCooperation = kExclusiveForeground;
    if (mouseDevice->SetCooperativeLevel(window, mouseCooperation) && mouseDevice->Acquire())
        return;
    AppendErrorLog("No DX_Mouse");
    // the system pointer takes over
    delete mouseDevice;
    mouseDevice = nullptr;
}

void InputDevices::ShowPointerAtMouse() {
    platform::WarpMouse(window, mouseX, mouseY);
    platform::ShowCursor(true);
    pointerShown = 1;
}

void InputDevices::EnumerateJoysticks() {
    int kept = 0;
    int attached = platform::JoystickCount();
    for (int index = 0; index < attached && kept < kMaxJoysticks; ++index) {
        platform::Joystick* handle = platform::OpenJoystick(index);
        if (!handle) continue;
        // a joystick refused last round leaves its slot to this one
        JoystickDevice*& slot = joystickDevices[kept];
        delete slot;
        slot = new JoystickDevice(handle);
        slot->SetDataFormat();
        slot->SetCooperativeLevel(window, kExclusiveForeground);
        for (int axis = 0; axis < 6; ++axis) slot->SetRange(axis);
        bool xDeadZone = slot->SetDeadZone(0);
        bool yDeadZone = slot->SetDeadZone(1);
        if (!xDeadZone || !yDeadZone) continue;
        slot->Acquire();
        std::string name = platform::JoystickName(handle);
        name += ", " + platform::JoystickName(handle);
        std::snprintf(joystickNames[kept], kJoystickNameSize, "%s", name.c_str());
        ++kept;
    }
    joystickCount = kept;
}

void InputDevices::InitialiseFallback() {
    joystickCount = std::min(platform::JoystickCount(), kMaxJoysticks);
    joystickDevices[0] = joystickDevices[1] = nullptr;
    for (int index = 0; index < joystickCount; ++index)
        std::snprintf(joystickNames[index], kJoystickNameSize, "%s",
                      platform::JoystickNameAt(index).c_str());
    BuildKeyMap();
}

// ---------------------------------------------------------------- keyboard

void InputDevices::ReadKeyboard() {
    platform::PumpEvents();
    if (!keyboardDevice) {
        platform::ReadVirtualKeyState(keyboardState);
        return;
    }
    // the keys are read as a device: their messages never reach the window procedure
    if (platform::QueueHoldsInput()) {
        platform::Message message;
        while (
            platform::PeekMessage(&message, platform::kMsgKeyFirst, platform::kMsgKeyLast, true)) {
        }
    }
    if (!keyboardDevice->Acquire()) {
        keyboardDevice->SetDataFormat();
        keyboardDevice->SetCooperativeLevel(window, kForeground);
        keyboardDevice->Acquire();
    }
    keyboardDevice->GetDeviceState(keyboardState);
}

bool InputDevices::KeyHeld(int keyCode) {
    if (keyCode < 0 || keyCode > 255) return false;
    if (keyboardDevice) return (keyboardState[keyCode] & 0x80) != 0;
    return platform::AsyncKeyState(keyMap[keyCode]);
}

// ---------------------------------------------------------------- mouse

void InputDevices::StoreMotion(MouseState* out, int dx, int dy, int wheel) {
    out->dx = static_cast<int16_t>(dx);
    out->dy = static_cast<int16_t>(dy);
    out->wheel = static_cast<int16_t>(wheel);
    motionCache[0] = out->dx;
    motionCache[1] = out->dy;
    motionCache[2] = out->wheel;
}

// Captured without a device: the pointer is put back to a fixed screen point
// after every sample, so the distance from that point is the motion.
void InputDevices::RecentrePointer(int* dx, int* dy) {
    int x, y;
    platform::CursorPosition(&x, &y);
    platform::SetCursorPosition(kRecentreX, kRecentreY);
    *dx = x - kRecentreX;
    *dy = y - kRecentreY;
    mouseX += *dx;
    mouseY += *dy;
}

// Shown: the mouse is where the pointer is.
void InputDevices::FollowPointer(int* dx, int* dy) {
    int x, y;
    platform::PeekMousePosition(&x, &y);
    *dx = x - mouseX;
    *dy = y - mouseY;
    mouseX = x;
    mouseY = y;
}

bool InputDevices::ReadMouseState(MouseState* out) {
    if (!newFrame) {
        out->dx = motionCache[0];
        out->dy = motionCache[1];
        out->wheel = motionCache[2];
    }
    if (!mouseDevice) {
        if (newFrame) {
            newFrame = 0;
            int dx, dy;
            if (!pointerShown)
                RecentrePointer(&dx, &dy);
            else
                FollowPointer(&dx, &dy);
            StoreMotion(out, dx, dy, 0);
        }
        out->left = platform::AsyncKeyState(kVkLeftButton) ? 1 : 0;
        out->right = platform::AsyncKeyState(kVkRightButton) ? 1 : 0;
        out->middle = platform::AsyncKeyState(kVkMiddleButton) ? 1 : 0;
        return true;
    }

    bool fresh = newFrame != 0;
    MouseDevice::State state;
    if (!mouseDevice->GetDeviceState(&state, fresh)) {
        if (!mouseDevice->Acquire()) {
            mouseDevice->SetDataFormat();
            mouseDevice->SetCooperativeLevel(window, mouseCooperation);
            mouseDevice->Acquire();
            *out = MouseState{};
            return false;
        }
        if (!mouseDevice->GetDeviceState(&state, fresh)) return true;
    }
    if (fresh) {
        newFrame = 0;
        int wheel = (state.wheel > 0) - (state.wheel < 0);
        int dx = state.dx, dy = state.dy;
        if (!pointerShown) {
            mouseX += dx;
            mouseY += dy;
        } else {
            FollowPointer(&dx, &dy);
        }
        StoreMotion(out, dx, dy, wheel);
    }
    out->left = state.buttons[0] ? 1 : 0;
    out->right = state.buttons[1] ? 1 : 0;
    out->middle = state.buttons[2] ? 1 : 0;
    return true;
}

bool InputDevices::AnyMouseButton() {
    newFrame = 1;
    MouseState state;
    ReadMouseState(&state);
    return state.left || state.right || state.middle;
}

void InputDevices::SetPointerMode(bool shown) {
    if (mouseDevice) {
        mouseDevice->Unacquire();
        mouseCooperation = shown ? kSharedForeground : kExclusiveForeground;
        mouseDevice->SetCooperativeLevel(window, mouseCooperation);
        mouseDevice->Acquire();
    }
    if (shown) {
        if (!pointerShown) platform::WarpMouse(window, mouseX, mouseY);
        platform::ShowCursor(true);
    } else {
        platform::ShowCursor(false);
    }
    pointerShown = shown ? 1 : 0;
}

// ---------------------------------------------------------------- joysticks

bool InputDevices::ReadJoystickState(int index, JoystickState* out) {
    if (index >= 0 && index < kMaxJoysticks && joystickDevices[index]) {
        JoystickDevice* joystick = joystickDevices[index];
        if (!joystick->Poll()) {
            joystick->SetDataFormat();
            joystick->SetCooperativeLevel(window, kExclusiveForeground);
            joystick->Acquire();
            joystick->Poll();
        }
        joystick->GetDeviceState(out);
        return true;
    }
    if (index == 0 || index == 1) return ReadFallbackJoystick(index, out);
    return false;
}

bool InputDevices::ReadFallbackJoystick(int index, JoystickState* out) {
    *out = JoystickState{};
    platform::JoystickPosition position;
    if (!platform::ReadJoystickPosition(index, &position)) return true;
    out->x = static_cast<int32_t>(position.x);
    out->y = static_cast<int32_t>(position.y);
    out->z = static_cast<int32_t>(position.z);
    for (int button = 0; button < 4; ++button)
        out->buttons[button] = (position.buttons & (1u << button)) ? 0x80 : 0;
    for (int button = 4; button < 8; ++button) out->buttons[button] = out->buttons[0];
    out->hats[0] = position.pov;
    return true;
}

void InputDevices::GetJoystickName(int index, char out[kJoystickNameSize]) const {
    if (index >= 0 && index < joystickCount)
        std::memcpy(out, joystickNames[index], kJoystickNameSize);
    else
        out[0] = 0;
}

void InputDevices::Rumble(int index, double seconds, double xForce, double yForce,
                          int repeatCount) {
    if (index < 0 || index >= kMaxJoysticks || !joystickDevices[index]) return;
    JoystickDevice* joystick = joystickDevices[index];
    if (!joystick->HasForceFeedback()) return;
    joystick->Acquire();
    platform::JoystickRumble(joystick->handle, 0, 0, 0);
    xForce = std::isnan(xForce) ? 0.0 : std::clamp(xForce, -1.0, 1.0);
    yForce = std::isnan(yForce) ? 0.0 : std::clamp(yForce, -1.0, 1.0);
    int magnitude = static_cast<int>((xForce * xForce + yForce * yForce) * 10000 * 0.5);
    // The effect lasts the seconds asked for (seconds × 1000 milliseconds),
    // played repeat-count times in a row.
    double durationMs = std::max(0.0, seconds) * 1000;
    if (repeatCount <= 0 || magnitude <= 0 || durationMs < 1) return;
    auto strength = static_cast<uint16_t>(std::min(65535, magnitude * 65535 / 10000));
    double totalMs = durationMs * repeatCount;
    auto ms = static_cast<uint32_t>(std::clamp(totalMs, 1.0, 4294967295.0));
    platform::JoystickRumble(joystick->handle, strength, strength, ms);
}

// ---------------------------------------------------------------- characters

uint8_t InputDevices::KeyChar(int keyCode) {
    switch (keyCode) {
        case 42:   // left Shift
        case 54:   // right Shift
        case 29:   // left Control
        case 56:   // left Alt
        case 58:   // Caps Lock
        case 69:   // Num Lock
        case 221:  // Applications
            return 0;
        case 28:   // Return
        case 156:  // keypad Enter
            return 10;
        case 14:  // Backspace
            return 8;
        default:
            break;
    }
    platform::ReadVirtualKeyState(gCharKeyState);
    if (!platform::VirtualKeyFromKeyCode(keyCode)) return 0;
    int c = TranslateKey(keyCode, gCharKeyState);
    if (c < 32 && c != 8 && c != 10) return 0;
    return static_cast<uint8_t>(c);
}

uint8_t InputDevices::ScanTypedChar() {
    ReadKeyboard();
    uint8_t c = 0;
    for (int code = 0; code < 255 && !c; ++code)
        if (KeyHeld(code)) c = KeyChar(code);
    if (c >= 'a' && c <= 'z' && (KeyHeld(kKeyLeftShift) || KeyHeld(kKeyRightShift)))
        c = static_cast<uint8_t>(c - 'a' + 'A');
    return c;
}

uint8_t InputDevices::NextTypedChar() {
    uint8_t c = ScanTypedChar();
    if (c == gLastTypedChar) return 0;
    gLastTypedChar = c;
    return c;
}

bool InputDevices::TypedCharChanged() {
    uint8_t c = ScanTypedChar();
    if (c == gLastTypedChar) return false;
    gLastTypedChar = c;
    return c != 0;
}
