// The keyboard, the mouse and up to ten joysticks. Each is read as a device of
// the event layer when that is up, else through its plain fallback: the
// virtual-key state through the key map, the system pointer, and the
// multimedia-style joysticks with raw 0..65535 axes.
#pragma once

#include <cstdint>

namespace platform {
struct Window;
}

struct KeyboardDevice;
struct MouseDevice;
struct JoystickDevice;

class InputDevices {
  public:
    static constexpr int kMaxJoysticks = 10;
    static constexpr int kJoystickNameSize = 522;
    // Mouse cooperation levels (and 4, foreground only, for the keyboard).
    static constexpr int kForeground = 4;
    static constexpr int kExclusiveForeground = 5;
    static constexpr int kSharedForeground = 6;
    static constexpr uint16_t kNoKey = 0xFF;

    // Left, right, middle (non-zero = down), then the motion of the frame.
    struct MouseState {
        int16_t left = 0, right = 0, middle = 0;
        int16_t dx = 0, dy = 0, wheel = 0;
    };
    // Axes -32768..32768 (raw 0..65535 on the fallback), sliders 0..65535,
    // hats in hundredths of a degree clockwise from forward (0xFFFFFFFF
    // centred), buttons 0x80 when down.
    struct JoystickState {
        int32_t x = 0, y = 0, z = 0;
        int32_t rx = 0, ry = 0, rz = 0;
        int32_t sliders[2] = {};
        uint32_t hats[4] = {};
        uint8_t buttons[32] = {};
    };
    static_assert(sizeof(JoystickState) == 80);

    // Test switch: Initialise then behaves as if the event layer were missing.
    static bool forceFallback;

    InputDevices();
    ~InputDevices();  // shuts down: pointer shown again, every device released
    InputDevices(const InputDevices&) = delete;
    InputDevices& operator=(const InputDevices&) = delete;

    void Initialise(platform::Window* window, void* instance, bool captureMouse);
    void SetWindow(platform::Window* newWindow) { window = newWindow; }
    void ReadKeyboard();        // refreshes the keyboard state
    bool KeyHeld(int keyCode);  // after ReadKeyboard
    bool ReadMouseState(MouseState* out);
    bool AnyMouseButton();
    bool ReadJoystickState(int index, JoystickState* out);
    void GetJoystickName(int index, char out[kJoystickNameSize]) const;
    int GetJoystickCount() const { return joystickCount; }
    void Rumble(int index, double seconds, double xForce, double yForce, int repeatCount);
    void SetPointerMode(bool shown);
    uint8_t KeyChar(int keyCode);  // the layout's character, 0 when none
    uint8_t NextTypedChar();       // a held key's character, once per press
    bool TypedCharChanged();

    // The mouse position the commands report, in client pixels.
    int MouseX() const { return mouseX; }
    int MouseY() const { return mouseY; }
    void SetMousePosition(int x, int y) {
        mouseX = x;
        mouseY = y;
    }
    // The next mouse query takes a fresh sample (once a frame).
    void StartFrame() { newFrame = 1; }
    bool PointerShown() const { return pointerShown != 0; }
    int MouseCooperation() const { return mouseCooperation; }
    bool UsesEventLayer() const { return directInput; }

  private:
    friend struct InputDevicesTesting;

    void CreateKeyboard();
    void BuildKeyMap();
    void CreateMouse();
    void ShowPointerAtMouse();
    void EnumerateJoysticks();
    void InitialiseFallback();
    void RecentrePointer(int* dx, int* dy);
    void FollowPointer(int* dx, int* dy);
    void StoreMotion(MouseState* out, int dx, int dy, int wheel);
    bool ReadFallbackJoystick(int index, JoystickState* out);
    void ReleaseDevices();
    uint8_t ScanTypedChar();

    int mouseX = 100, mouseY = 100;  // client pixels
    bool directInput = false;        // the event layer is up
    KeyboardDevice* keyboardDevice = nullptr;
    MouseDevice* mouseDevice = nullptr;
    JoystickDevice* joystickDevices[kMaxJoysticks] = {};
    char joystickNames[kMaxJoysticks][kJoystickNameSize] = {};
    uint8_t keyboardState[256] = {};  // bit 7 = held
    platform::Window* window = nullptr;
    uint8_t pointerShown = 0;
    int mouseCooperation = 0;
    int joystickCount = 0;
    uint8_t newFrame = 1;         // the next mouse query takes a fresh sample
    int16_t motionCache[3] = {};  // dx, dy, wheel of the last fresh sample
    uint16_t keyMap[256] = {};    // key code → virtual key, for the fallback
};
