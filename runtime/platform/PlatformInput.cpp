// Keyboard, mouse and joysticks over SDL. The key and mouse state is our own,
// built from every pumped event, because SDL's own state does not see events
// pushed into the queue (and the tests drive the program with pushed events).
#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <memory>
#include <thread>
#include <vector>

#include "runtime/input/KeyCode.h"
#include "runtime/platform/PlatformInternal.h"

namespace platform {
namespace {

// ---------------------------------------------------------------- key table

// One row per key: its SDL scancode, its PC scan code (extended keys 128 +
// code) and the virtual key a US layout gives it.
struct KeyRow {
    SDL_Scancode scancode;
    uint8_t keyCode;
    uint8_t virtualKey;
};

constexpr KeyRow kKeyTable[] = {
    {SDL_SCANCODE_ESCAPE, kKeyEscape, 0x1B},
    {SDL_SCANCODE_1, kKey1, 0x31},
    {SDL_SCANCODE_2, kKey2, 0x32},
    {SDL_SCANCODE_3, kKey3, 0x33},
    {SDL_SCANCODE_4, kKey4, 0x34},
    {SDL_SCANCODE_5, kKey5, 0x35},
    {SDL_SCANCODE_6, kKey6, 0x36},
    {SDL_SCANCODE_7, kKey7, 0x37},
    {SDL_SCANCODE_8, kKey8, 0x38},
    {SDL_SCANCODE_9, kKey9, 0x39},
    {SDL_SCANCODE_0, kKey0, 0x30},
    {SDL_SCANCODE_MINUS, kKeyMinus, 0xBD},
    {SDL_SCANCODE_EQUALS, kKeyEquals, 0xBB},
    {SDL_SCANCODE_BACKSPACE, kKeyBackspace, 0x08},
    {SDL_SCANCODE_TAB, kKeyTab, 0x09},
    {SDL_SCANCODE_Q, kKeyQ, 'Q'},
    {SDL_SCANCODE_W, kKeyW, 'W'},
    {SDL_SCANCODE_E, kKeyE, 'E'},
    {SDL_SCANCODE_R, kKeyR, 'R'},
    {SDL_SCANCODE_T, kKeyT, 'T'},
    {SDL_SCANCODE_Y, kKeyY, 'Y'},
    {SDL_SCANCODE_U, kKeyU, 'U'},
    {SDL_SCANCODE_I, kKeyI, 'I'},
    {SDL_SCANCODE_O, kKeyO, 'O'},
    {SDL_SCANCODE_P, kKeyP, 'P'},
    {SDL_SCANCODE_LEFTBRACKET, kKeyLeftBracket, 0xDB},
    {SDL_SCANCODE_RIGHTBRACKET, kKeyRightBracket, 0xDD},
    {SDL_SCANCODE_RETURN, kKeyReturn, 0x0D},
    {SDL_SCANCODE_LCTRL, kKeyLeftControl, 0xA2},
    {SDL_SCANCODE_A, kKeyA, 'A'},
    {SDL_SCANCODE_S, kKeyS, 'S'},
    {SDL_SCANCODE_D, kKeyD, 'D'},
    {SDL_SCANCODE_F, kKeyF, 'F'},
    {SDL_SCANCODE_G, kKeyG, 'G'},
    {SDL_SCANCODE_H, kKeyH, 'H'},
    {SDL_SCANCODE_J, kKeyJ, 'J'},
    {SDL_SCANCODE_K, kKeyK, 'K'},
    {SDL_SCANCODE_L, kKeyL, 'L'},
    {SDL_SCANCODE_SEMICOLON, kKeySemicolon, 0xBA},
    {SDL_SCANCODE_APOSTROPHE, kKeyApostrophe, 0xDE},
    {SDL_SCANCODE_GRAVE, kKeyGrave, 0xC0},
    {SDL_SCANCODE_LSHIFT, kKeyLeftShift, 0xA0},
    {SDL_SCANCODE_BACKSLASH, kKeyBackslash, 0xDC},
    {SDL_SCANCODE_NONUSHASH, kKeyBackslash, 0xDC},  // the same key position on ISO boards
    {SDL_SCANCODE_Z, kKeyZ, 'Z'},
    {SDL_SCANCODE_X, kKeyX, 'X'},
    {SDL_SCANCODE_C, kKeyC, 'C'},
    {SDL_SCANCODE_V, kKeyV, 'V'},
    {SDL_SCANCODE_B, kKeyB, 'B'},
    {SDL_SCANCODE_N, kKeyN, 'N'},
    {SDL_SCANCODE_M, kKeyM, 'M'},
    {SDL_SCANCODE_COMMA, kKeyComma, 0xBC},
    {SDL_SCANCODE_PERIOD, kKeyPeriod, 0xBE},
    {SDL_SCANCODE_SLASH, kKeySlash, 0xBF},
    {SDL_SCANCODE_RSHIFT, kKeyRightShift, 0xA1},
    {SDL_SCANCODE_KP_MULTIPLY, kKeyPadMultiply, 0x6A},
    {SDL_SCANCODE_LALT, kKeyLeftAlt, 0xA4},
    {SDL_SCANCODE_SPACE, kKeySpace, 0x20},
    {SDL_SCANCODE_CAPSLOCK, kKeyCapsLock, 0x14},
    {SDL_SCANCODE_F1, kKeyF1, 0x70},
    {SDL_SCANCODE_F2, kKeyF2, 0x71},
    {SDL_SCANCODE_F3, kKeyF3, 0x72},
    {SDL_SCANCODE_F4, kKeyF4, 0x73},
    {SDL_SCANCODE_F5, kKeyF5, 0x74},
    {SDL_SCANCODE_F6, kKeyF6, 0x75},
    {SDL_SCANCODE_F7, kKeyF7, 0x76},
    {SDL_SCANCODE_F8, kKeyF8, 0x77},
    {SDL_SCANCODE_F9, kKeyF9, 0x78},
    {SDL_SCANCODE_F10, kKeyF10, 0x79},
    {SDL_SCANCODE_NUMLOCKCLEAR, kKeyNumLock, 0x90},
    {SDL_SCANCODE_SCROLLLOCK, kKeyScrollLock, 0x91},
    {SDL_SCANCODE_KP_7, kKeyPad7, 0x67},
    {SDL_SCANCODE_KP_8, kKeyPad8, 0x68},
    {SDL_SCANCODE_KP_9, kKeyPad9, 0x69},
    {SDL_SCANCODE_KP_MINUS, kKeyPadMinus, 0x6D},
    {SDL_SCANCODE_KP_4, kKeyPad4, 0x64},
    {SDL_SCANCODE_KP_5, kKeyPad5, 0x65},
    {SDL_SCANCODE_KP_6, kKeyPad6, 0x66},
    {SDL_SCANCODE_KP_PLUS, kKeyPadPlus, 0x6B},
    {SDL_SCANCODE_KP_1, kKeyPad1, 0x61},
    {SDL_SCANCODE_KP_2, kKeyPad2, 0x62},
    {SDL_SCANCODE_KP_3, kKeyPad3, 0x63},
    {SDL_SCANCODE_KP_0, kKeyPad0, 0x60},
    {SDL_SCANCODE_KP_PERIOD, kKeyPadPeriod, 0x6E},
    {SDL_SCANCODE_NONUSBACKSLASH, kKeyOem102, 0xE2},
    {SDL_SCANCODE_F11, kKeyF11, 0x7A},
    {SDL_SCANCODE_F12, kKeyF12, 0x7B},
    {SDL_SCANCODE_F13, kKeyF13, 0x7C},
    {SDL_SCANCODE_F14, kKeyF14, 0x7D},
    {SDL_SCANCODE_F15, kKeyF15, 0x7E},
    {SDL_SCANCODE_INTERNATIONAL2, kKeyKana, 0x15},
    {SDL_SCANCODE_INTERNATIONAL1, kKeyAbntC1, 0xC1},
    {SDL_SCANCODE_INTERNATIONAL4, kKeyConvert, 0x1C},
    {SDL_SCANCODE_INTERNATIONAL5, kKeyNoConvert, 0x1D},
    {SDL_SCANCODE_INTERNATIONAL3, kKeyYen, 0xDC},
    {SDL_SCANCODE_KP_EQUALS, kKeyPadEquals, 0x92},
    {SDL_SCANCODE_AUDIOPREV, kKeyPreviousTrack, 0xB1},
    {SDL_SCANCODE_AUDIONEXT, kKeyNextTrack, 0xB0},
    {SDL_SCANCODE_KP_ENTER, kKeyPadEnter, 0x0D},
    {SDL_SCANCODE_RCTRL, kKeyRightControl, 0xA3},
    {SDL_SCANCODE_AUDIOMUTE, kKeyMute, 0xAD},
    {SDL_SCANCODE_CALCULATOR, kKeyCalculator, 0xB7},
    {SDL_SCANCODE_AUDIOPLAY, kKeyPlayPause, 0xB3},
    {SDL_SCANCODE_AUDIOSTOP, kKeyMediaStop, 0xB2},
    {SDL_SCANCODE_VOLUMEDOWN, kKeyVolumeDown, 0xAE},
    {SDL_SCANCODE_VOLUMEUP, kKeyVolumeUp, 0xAF},
    {SDL_SCANCODE_AC_HOME, kKeyWebHome, 0xAC},
    {SDL_SCANCODE_KP_COMMA, kKeyPadComma, 0x6C},
    {SDL_SCANCODE_KP_DIVIDE, kKeyPadDivide, 0x6F},
    {SDL_SCANCODE_PRINTSCREEN, kKeyPrintScreen, 0x2C},
    {SDL_SCANCODE_RALT, kKeyRightAlt, 0xA5},
    {SDL_SCANCODE_PAUSE, kKeyPause, 0x13},
    {SDL_SCANCODE_HOME, kKeyHome, 0x24},
    {SDL_SCANCODE_UP, kKeyUp, 0x26},
    {SDL_SCANCODE_PAGEUP, kKeyPageUp, 0x21},
    {SDL_SCANCODE_LEFT, kKeyLeft, 0x25},
    {SDL_SCANCODE_RIGHT, kKeyRight, 0x27},
    {SDL_SCANCODE_END, kKeyEnd, 0x23},
    {SDL_SCANCODE_DOWN, kKeyDown, 0x28},
    {SDL_SCANCODE_PAGEDOWN, kKeyPageDown, 0x22},
    {SDL_SCANCODE_INSERT, kKeyInsert, 0x2D},
    {SDL_SCANCODE_DELETE, kKeyDelete, 0x2E},
    {SDL_SCANCODE_LGUI, kKeyLeftWindows, 0x5B},
    {SDL_SCANCODE_RGUI, kKeyRightWindows, 0x5C},
    {SDL_SCANCODE_APPLICATION, kKeyApplications, 0x5D},
    {SDL_SCANCODE_POWER, kKeyPower, 0x00},
    {SDL_SCANCODE_SLEEP, kKeySleep, 0x5F},
    {SDL_SCANCODE_AC_SEARCH, kKeyWebSearch, 0xAA},
    {SDL_SCANCODE_AC_BOOKMARKS, kKeyWebFavourites, 0xAB},
    {SDL_SCANCODE_AC_REFRESH, kKeyWebRefresh, 0xA8},
    {SDL_SCANCODE_AC_STOP, kKeyWebStop, 0xA9},
    {SDL_SCANCODE_AC_FORWARD, kKeyWebForward, 0xA7},
    {SDL_SCANCODE_AC_BACK, kKeyWebBack, 0xA6},
    {SDL_SCANCODE_COMPUTER, kKeyMyComputer, 0xB6},
    {SDL_SCANCODE_MAIL, kKeyMail, 0xB4},
    {SDL_SCANCODE_MEDIASELECT, kKeyMediaSelect, 0xB5},
};

// Virtual keys that the key table does not name.
enum : uint8_t {
    kVkLeftButton = 0x01,
    kVkRightButton = 0x02,
    kVkMiddleButton = 0x04,
    kVkExtraButton1 = 0x05,
    kVkExtraButton2 = 0x06,
    kVkShift = 0x10,
    kVkControl = 0x11,
    kVkAlt = 0x12,
    kVkCapsLock = 0x14,
    kVkNumLock = 0x90,
    kVkScrollLock = 0x91,
    kVkLeftShift = 0xA0,
    kVkRightShift = 0xA1,
    kVkLeftControl = 0xA2,
    kVkRightControl = 0xA3,
    kVkLeftAlt = 0xA4,
    kVkRightAlt = 0xA5,
};

struct KeyTables {
    uint8_t keyCode[SDL_NUM_SCANCODES] = {};
    uint8_t virtualKey[SDL_NUM_SCANCODES] = {};
    uint16_t scancode[256] = {};  // the first scancode of each key code
    KeyTables() {
        for (const KeyRow& row : kKeyTable) {
            keyCode[row.scancode] = row.keyCode;
            virtualKey[row.scancode] = row.virtualKey;
            if (!scancode[row.keyCode]) scancode[row.keyCode] = static_cast<uint16_t>(row.scancode);
        }
    }
};
const KeyTables kTables;

// ---------------------------------------------------------------- state

struct KeyboardState {
    bool held[SDL_NUM_SCANCODES] = {};
    bool pressedSinceQuery[256] = {};  // by virtual key
    bool capsLock = false, numLock = false, scrollLock = false;
    bool eventsEnabled = true;
};

struct PointerState {
    int x = 0, y = 0;  // client pixels
    int dx = 0, dy = 0, wheel = 0;
    bool buttons[6] = {};  // by SDL button number
    bool cursorShown = true;
    bool relative = false;
    bool eventsEnabled = true;
};

struct VirtualRumble {
    SDL_JoystickID instance = -1;
    uint16_t low = 0, high = 0;
};

KeyboardState gKeys;
PointerState gPointer;
std::atomic<uint32_t> gGameWindowId{0};
std::thread::id gInputThread;                 // the thread that pumps; others only push events
std::map<SDL_Joystick*, int> gOpenJoysticks;  // handles given out, with their open counts
std::vector<std::unique_ptr<VirtualRumble>> gVirtualRumbles;

bool Ready(uint32_t subsystem) {
    return SDL_WasInit(subsystem) == subsystem;
}

// A Joystick handle is the SDL joystick itself; only one given out and still
// open is used.
SDL_Joystick* Handle(Joystick* joystick) {
    auto* native = reinterpret_cast<SDL_Joystick*>(joystick);
    return native && gOpenJoysticks.count(native) != 0 ? native : nullptr;
}

// The window that injected events are addressed to and that screen
// positions are measured from: the last window that events came from, else
// any window that exists.
SDL_Window* GameWindow() {
    if (!Ready(SDL_INIT_VIDEO)) return nullptr;
    if (SDL_Window* window = SDL_GetWindowFromID(gGameWindowId.load())) return window;
    SDL_Window* window = SDL_GetKeyboardFocus();
    if (!window) window = SDL_GetMouseFocus();
    for (uint32_t id = 1; !window && id <= 64; ++id) window = SDL_GetWindowFromID(id);
    if (window) gGameWindowId = SDL_GetWindowID(window);
    return window;
}
// Injection may come from any thread: only the pumping thread looks windows up.
uint32_t GameWindowId() {
    if (std::this_thread::get_id() != gInputThread) return gGameWindowId.load();
    SDL_Window* window = GameWindow();
    return window ? SDL_GetWindowID(window) : 0;
}
void WindowOrigin(int* x, int* y) {
    *x = *y = 0;
    if (SDL_Window* window = GameWindow()) SDL_GetWindowPosition(window, x, y);
}

// ---------------------------------------------------------------- key state

// The layout decides the virtual key of letter and digit keys (a German board
// gives 'Z' for the key beside T); every other key keeps its table entry.
uint8_t VirtualKeyOfScancode(int scancode) {
    if (scancode <= 0 || scancode >= SDL_NUM_SCANCODES) return 0;
    uint8_t fixed = kTables.virtualKey[scancode];
    if (!kTables.keyCode[scancode]) return 0;
    SDL_Keycode key = SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(scancode));
    if (key >= 'a' && key <= 'z') return static_cast<uint8_t>(key - 'a' + 'A');
    if (key >= '0' && key <= '9' && fixed >= '0' && fixed <= '9') return static_cast<uint8_t>(key);
    return fixed;
}

bool VirtualKeyHeld(int virtualKey) {
    switch (virtualKey) {
        case kVkLeftButton:
            return gPointer.buttons[SDL_BUTTON_LEFT];
        case kVkRightButton:
            return gPointer.buttons[SDL_BUTTON_RIGHT];
        case kVkMiddleButton:
            return gPointer.buttons[SDL_BUTTON_MIDDLE];
        case kVkExtraButton1:
            return gPointer.buttons[SDL_BUTTON_X1];
        case kVkExtraButton2:
            return gPointer.buttons[SDL_BUTTON_X2];
        case kVkShift:
            return VirtualKeyHeld(kVkLeftShift) || VirtualKeyHeld(kVkRightShift);
        case kVkControl:
            return VirtualKeyHeld(kVkLeftControl) || VirtualKeyHeld(kVkRightControl);
        case kVkAlt:
            return VirtualKeyHeld(kVkLeftAlt) || VirtualKeyHeld(kVkRightAlt);
        default:
            break;
    }
    if (virtualKey <= 0 || virtualKey > 0xFE) return false;
    for (int scancode = 1; scancode < SDL_NUM_SCANCODES; ++scancode)
        if (gKeys.held[scancode] && VirtualKeyOfScancode(scancode) == virtualKey) return true;
    return false;
}

uint8_t GenericModifier(uint8_t virtualKey) {
    switch (virtualKey) {
        case kVkLeftShift:
        case kVkRightShift:
            return kVkShift;
        case kVkLeftControl:
        case kVkRightControl:
            return kVkControl;
        case kVkLeftAlt:
        case kVkRightAlt:
            return kVkAlt;
        default:
            return 0;
    }
}

void HandleKey(const SDL_KeyboardEvent& key, bool down) {
    if (!gKeys.eventsEnabled) return;
    int scancode = key.keysym.scancode;
    if (scancode <= 0 || scancode >= SDL_NUM_SCANCODES) return;
    bool wasHeld = gKeys.held[scancode];
    gKeys.held[scancode] = down;
    if (!down || wasHeld) return;
    uint8_t virtualKey = VirtualKeyOfScancode(scancode);
    gKeys.pressedSinceQuery[virtualKey] = true;
    gKeys.pressedSinceQuery[GenericModifier(virtualKey)] = true;
    if (virtualKey == kVkCapsLock) gKeys.capsLock = !gKeys.capsLock;
    if (virtualKey == kVkNumLock) gKeys.numLock = !gKeys.numLock;
    if (virtualKey == kVkScrollLock) gKeys.scrollLock = !gKeys.scrollLock;
}

// ---------------------------------------------------------------- pointer state

void NoteWindow(uint32_t windowId) {
    if (windowId) gGameWindowId = windowId;
}

void HandleButton(const SDL_MouseButtonEvent& button, bool down) {
    if (!gPointer.eventsEnabled) return;
    NoteWindow(button.windowID);
    if (button.button >= 1 && button.button <= 5) {
        gPointer.buttons[button.button] = down;
        if (down) {
            static constexpr uint8_t kButtonKey[6] = {0,
                                                      kVkLeftButton,
                                                      kVkMiddleButton,
                                                      kVkRightButton,
                                                      kVkExtraButton1,
                                                      kVkExtraButton2};
            gKeys.pressedSinceQuery[kButtonKey[button.button]] = true;
        }
    }
    gPointer.x = button.x;
    gPointer.y = button.y;
    detail::WindowToFrame(button.windowID, &gPointer.x, &gPointer.y);
}

void HandleMotion(const SDL_MouseMotionEvent& motion) {
    if (!gPointer.eventsEnabled) return;
    NoteWindow(motion.windowID);
    gPointer.x = motion.x;
    gPointer.y = motion.y;
    detail::WindowToFrame(motion.windowID, &gPointer.x, &gPointer.y);
    int dx = motion.xrel, dy = motion.yrel;
    detail::MotionToFrame(motion.windowID, &dx, &dy);
    gPointer.dx += dx;
    gPointer.dy += dy;
}

void HandleWheel(const SDL_MouseWheelEvent& wheel) {
    if (!gPointer.eventsEnabled) return;
    NoteWindow(wheel.windowID);
    gPointer.wheel += wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -wheel.y : wheel.y;
}

// ---------------------------------------------------------------- characters

// What Shift does to the keys of a US layout; SDL names only the unshifted
// character of a key.
int ShiftedCharacter(int c) {
    static constexpr char kPlain[] = "1234567890-=[]\\;',./`";
    static constexpr char kShifted[] = "!@#$%^&*()_+{}|:\"<>?~";
    if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;  // Latin-1 letters
    if (c > 0 && c < 128)
        if (const char* at = std::strchr(kPlain, c)) return kShifted[at - kPlain];
    return c;
}

int KeypadCharacter(SDL_Keycode key) {
    switch (key) {
        case SDLK_KP_0:
            return '0';
        case SDLK_KP_1:
            return '1';
        case SDLK_KP_2:
            return '2';
        case SDLK_KP_3:
            return '3';
        case SDLK_KP_4:
            return '4';
        case SDLK_KP_5:
            return '5';
        case SDLK_KP_6:
            return '6';
        case SDLK_KP_7:
            return '7';
        case SDLK_KP_8:
            return '8';
        case SDLK_KP_9:
            return '9';
        case SDLK_KP_PERIOD:
            return '.';
        case SDLK_KP_DIVIDE:
            return '/';
        case SDLK_KP_MULTIPLY:
            return '*';
        case SDLK_KP_MINUS:
            return '-';
        case SDLK_KP_PLUS:
            return '+';
        case SDLK_KP_ENTER:
            return '\r';
        default:
            return 0;
    }
}

// ---------------------------------------------------------------- virtual joysticks

int SDLCALL VirtualRumbleCallback(void* userdata, Uint16 low, Uint16 high) {
    auto* rumble = static_cast<VirtualRumble*>(userdata);
    rumble->low = low;
    rumble->high = high;
    return 0;
}

int32_t HatHundredths(Uint8 hat) {
    switch (hat) {
        case SDL_HAT_UP:
            return 0;
        case SDL_HAT_RIGHTUP:
            return 4500;
        case SDL_HAT_RIGHT:
            return 9000;
        case SDL_HAT_RIGHTDOWN:
            return 13500;
        case SDL_HAT_DOWN:
            return 18000;
        case SDL_HAT_LEFTDOWN:
            return 22500;
        case SDL_HAT_LEFT:
            return 27000;
        case SDL_HAT_LEFTUP:
            return 31500;
        default:
            return -1;
    }
}

}  // namespace

// ---------------------------------------------------------------- pump side

namespace detail {

void InputHandleEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
            HandleKey(event.key, true);
            break;
        case SDL_KEYUP:
            HandleKey(event.key, false);
            break;
        case SDL_MOUSEMOTION:
            HandleMotion(event.motion);
            break;
        case SDL_MOUSEBUTTONDOWN:
            HandleButton(event.button, true);
            break;
        case SDL_MOUSEBUTTONUP:
            HandleButton(event.button, false);
            break;
        case SDL_MOUSEWHEEL:
            HandleWheel(event.wheel);
            break;
        case SDL_WINDOWEVENT:
            NoteWindow(event.window.windowID);
            break;
        default:
            break;
    }
}

void InputStartup() {
    // the joysticks of the last session went with SDL; their callbacks cannot come any more
    gVirtualRumbles.clear();
    gKeys = KeyboardState{};
    gPointer = PointerState{};
    gGameWindowId = 0;
    gInputThread = std::this_thread::get_id();
    SDL_Keymod mod = SDL_GetModState();
    gKeys.capsLock = (mod & KMOD_CAPS) != 0;
    gKeys.numLock = (mod & KMOD_NUM) != 0;
    gKeys.scrollLock = (mod & KMOD_SCROLL) != 0;
    SDL_GetMouseState(&gPointer.x, &gPointer.y);
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
}

void InputShutdown() {
    for (auto [joystick, opens] : gOpenJoysticks)
        while (opens-- > 0) SDL_JoystickClose(joystick);
    gOpenJoysticks.clear();
    if (gPointer.relative) SDL_SetRelativeMouseMode(SDL_FALSE);
    gPointer.relative = false;
    gGameWindowId = 0;
}

}  // namespace detail

// ---------------------------------------------------------------- synthetic input

// The modifiers held by injected keys, carried in each injected key event as
// the system's own events carry them.
std::atomic<uint16_t> gInjectedModifiers{0};

uint16_t ModifierOfScancode(int scancode) {
    switch (scancode) {
        case SDL_SCANCODE_LALT:
            return KMOD_LALT;
        case SDL_SCANCODE_RALT:
            return KMOD_RALT;
        case SDL_SCANCODE_LCTRL:
            return KMOD_LCTRL;
        case SDL_SCANCODE_RCTRL:
            return KMOD_RCTRL;
        case SDL_SCANCODE_LSHIFT:
            return KMOD_LSHIFT;
        case SDL_SCANCODE_RSHIFT:
            return KMOD_RSHIFT;
        case SDL_SCANCODE_LGUI:
            return KMOD_LGUI;
        case SDL_SCANCODE_RGUI:
            return KMOD_RGUI;
        default:
            return 0;
    }
}

void InjectKey(int sdlScancode, bool down) {
    if (const uint16_t modifier = ModifierOfScancode(sdlScancode)) {
        if (down)
            gInjectedModifiers |= modifier;
        else
            gInjectedModifiers &= static_cast<uint16_t>(~modifier);
    }
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.timestamp = SDL_GetTicks();
    e.key.windowID = GameWindowId();
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = static_cast<SDL_Scancode>(sdlScancode);
    e.key.keysym.sym = SDL_GetKeyFromScancode(e.key.keysym.scancode);
    e.key.keysym.mod = gInjectedModifiers.load();
    SDL_PushEvent(&e);
}

void ScreenToWindowPosition(int* x, int* y) {
    if (SDL_Window* window = GameWindow()) detail::FrameToWindow(window, x, y);
}

void InjectMouseMotion(int x, int y, int dx, int dy) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.timestamp = SDL_GetTicks();
    e.motion.windowID = GameWindowId();
    e.motion.x = x;
    e.motion.y = y;
    e.motion.xrel = dx;
    e.motion.yrel = dy;
    SDL_PushEvent(&e);
}

void InjectMouseButton(int button, bool down, int x, int y) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.timestamp = SDL_GetTicks();
    e.button.windowID = GameWindowId();
    e.button.button = static_cast<Uint8>(button);
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
}

void InjectMouseWheel(int amount) {
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.timestamp = SDL_GetTicks();
    e.wheel.windowID = GameWindowId();
    e.wheel.y = amount;
    e.wheel.preciseY = static_cast<float>(amount);
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    SDL_PushEvent(&e);
}

// ---------------------------------------------------------------- keyboard

bool KeyDownByCode(int keyCode) {
    PumpEvents();
    if (keyCode < 0 || keyCode > 255) return false;
    for (const KeyRow& row : kKeyTable)
        if (row.keyCode == keyCode && gKeys.held[row.scancode]) return true;
    return false;
}

void ReadKeyCodeState(uint8_t out[256]) {
    PumpEvents();
    std::memset(out, 0, 256);
    for (const KeyRow& row : kKeyTable)
        if (gKeys.held[row.scancode]) out[row.keyCode] = 0x80;
}

int KeyCodeFromScancode(int sdlScancode) {
    if (sdlScancode <= 0 || sdlScancode >= SDL_NUM_SCANCODES) return 0;
    return kTables.keyCode[sdlScancode];
}

int ScancodeFromKeyCode(int keyCode) {
    if (keyCode <= 0 || keyCode > 255) return 0;
    return kTables.scancode[keyCode];
}

bool AsyncKeyState(int virtualKey) {
    PumpEvents();
    if (virtualKey <= 0 || virtualKey > 255) return false;
    bool result = VirtualKeyHeld(virtualKey) || gKeys.pressedSinceQuery[virtualKey];
    gKeys.pressedSinceQuery[virtualKey] = false;
    return result;
}

void ReadVirtualKeyState(uint8_t out[256]) {
    PumpEvents();
    std::memset(out, 0, 256);
    for (int scancode = 1; scancode < SDL_NUM_SCANCODES; ++scancode) {
        if (!gKeys.held[scancode]) continue;
        uint8_t virtualKey = VirtualKeyOfScancode(scancode);
        if (!virtualKey) continue;
        out[virtualKey] = 0x80;
        if (uint8_t generic = GenericModifier(virtualKey)) out[generic] = 0x80;
    }
    for (uint8_t virtualKey :
         {kVkLeftButton, kVkRightButton, kVkMiddleButton, kVkExtraButton1, kVkExtraButton2})
        if (VirtualKeyHeld(virtualKey)) out[virtualKey] = 0x80;
    if (gKeys.capsLock) out[kVkCapsLock] |= 1;
    if (gKeys.numLock) out[kVkNumLock] |= 1;
    if (gKeys.scrollLock) out[kVkScrollLock] |= 1;
}

int VirtualKeyFromKeyCode(int keyCode) {
    return VirtualKeyOfScancode(ScancodeFromKeyCode(keyCode));
}

int KeyCodeCharacter(int keyCode, bool shift) {
    int scancode = ScancodeFromKeyCode(keyCode);
    if (!scancode || !Ready(SDL_INIT_VIDEO)) return 0;
    SDL_Keycode key = SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(scancode));
    if (int c = KeypadCharacter(key)) return c;
    // the Delete key types nothing; SDL still names it by its character
    if (key <= 0 || key > 0xFF || key == SDLK_DELETE) return 0;
    return shift ? ShiftedCharacter(key) : key;
}

bool DeviceInputAvailable() {
    return Ready(SDL_INIT_EVENTS) && Ready(SDL_INIT_JOYSTICK);
}

bool KeyboardEventsEnabled() {
    return Ready(SDL_INIT_EVENTS) && gKeys.eventsEnabled;
}

void EnableKeyboardEvents(bool on) {
    gKeys.eventsEnabled = on;
    if (!on) std::fill(std::begin(gKeys.held), std::end(gKeys.held), false);
}

// ---------------------------------------------------------------- mouse

MouseSample TakeMouseSample() {
    PumpEvents();
    MouseSample sample;
    sample.x = gPointer.x;
    sample.y = gPointer.y;
    sample.dx = gPointer.dx;
    sample.dy = gPointer.dy;
    sample.wheel = gPointer.wheel;
    sample.left = gPointer.buttons[SDL_BUTTON_LEFT];
    sample.right = gPointer.buttons[SDL_BUTTON_RIGHT];
    sample.middle = gPointer.buttons[SDL_BUTTON_MIDDLE];
    gPointer.dx = gPointer.dy = gPointer.wheel = 0;
    return sample;
}

void PeekMousePosition(int* x, int* y) {
    PumpEvents();
    if (x) *x = gPointer.x;
    if (y) *y = gPointer.y;
}

bool MouseButtonDown(int button) {
    PumpEvents();
    switch (button) {
        case 1:
            return gPointer.buttons[SDL_BUTTON_LEFT];
        case 2:
            return gPointer.buttons[SDL_BUTTON_RIGHT];
        case 3:
            return gPointer.buttons[SDL_BUTTON_MIDDLE];
        default:
            return false;
    }
}

// Once the window is gone (the input shutdown runs after the device has
// destroyed it) the pointer is moved on the desktop, to where that point of
// the window stood; no window is touched.
void WarpMouse(Window* window, int x, int y) {
    gPointer.x = x;
    gPointer.y = y;
    SDL_Window* native = detail::NativeWindow(window);
    if (!native) {
        int originX, originY;
        detail::LastWindowOrigin(&originX, &originY);
        if (Ready(SDL_INIT_VIDEO)) SDL_WarpMouseGlobal(originX + x, originY + y);
        return;
    }
    gGameWindowId = SDL_GetWindowID(native);
    detail::FrameToWindow(native, &x, &y);
    SDL_WarpMouseInWindow(native, x, y);
}

void ShowCursor(bool shown) {
    Trace(shown ? "show cursor" : "hide cursor");
    gPointer.cursorShown = shown;
    if (Ready(SDL_INIT_VIDEO)) SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
}

bool CursorShown() {
    return gPointer.cursorShown;
}

// SDL refuses relative mode where the video driver has none (offscreen);
// motion then still arrives as relative steps in the events, so the mode is
// kept as our own.
void SetRelativeMouse(bool on) {
    if (Ready(SDL_INIT_VIDEO)) SDL_SetRelativeMouseMode(on ? SDL_TRUE : SDL_FALSE);
    gPointer.relative = on;
}

bool RelativeMouse() {
    return gPointer.relative;
}

void CursorPosition(int* x, int* y) {
    PumpEvents();
    int originX, originY;
    WindowOrigin(&originX, &originY);
    if (x) *x = gPointer.x + originX;
    if (y) *y = gPointer.y + originY;
}

void SetCursorPosition(int x, int y) {
    int originX, originY;
    WindowOrigin(&originX, &originY);
    gPointer.x = x - originX;
    gPointer.y = y - originY;
    SDL_Window* window = GameWindow();
    if (!window) return;
    int width = 0, height = 0;
    detail::FrameSizeOf(window, &width, &height);
    if (gPointer.x >= 0 && gPointer.y >= 0 && gPointer.x < width && gPointer.y < height) {
        int windowX = gPointer.x, windowY = gPointer.y;
        detail::FrameToWindow(window, &windowX, &windowY);
        SDL_WarpMouseInWindow(window, windowX, windowY);
    } else
        SDL_WarpMouseGlobal(x, y);  // refused where there is no desktop; our position stands
}

bool MouseEventsEnabled() {
    return Ready(SDL_INIT_EVENTS) && gPointer.eventsEnabled;
}

void EnableMouseEvents(bool on) {
    gPointer.eventsEnabled = on;
    if (!on) {
        std::fill(std::begin(gPointer.buttons), std::end(gPointer.buttons), false);
        gPointer.dx = gPointer.dy = gPointer.wheel = 0;
    }
}

// ---------------------------------------------------------------- joysticks

int JoystickCount() {
    if (!Ready(SDL_INIT_JOYSTICK)) return 0;
    return std::max(0, SDL_NumJoysticks());
}

Joystick* OpenJoystick(int index) {
    if (!Ready(SDL_INIT_JOYSTICK)) return nullptr;
    // SDL hands out one handle per device and counts the opens; so do we
    SDL_Joystick* joystick = SDL_JoystickOpen(index);
    if (joystick) ++gOpenJoysticks[joystick];
    return reinterpret_cast<Joystick*>(joystick);
}

void CloseJoystick(Joystick* joystick) {
    SDL_Joystick* handle = Handle(joystick);
    if (!handle) return;
    if (--gOpenJoysticks[handle] == 0) gOpenJoysticks.erase(handle);
    SDL_JoystickClose(handle);
}

std::string JoystickName(Joystick* joystick) {
    SDL_Joystick* handle = Handle(joystick);
    const char* name = handle ? SDL_JoystickName(handle) : nullptr;
    return name ? name : "";
}

int JoystickAxisCount(Joystick* joystick) {
    SDL_Joystick* handle = Handle(joystick);
    return handle ? std::max(0, SDL_JoystickNumAxes(handle)) : 0;
}

int JoystickAxis(Joystick* joystick, int axis) {
    SDL_Joystick* handle = Handle(joystick);
    return handle ? SDL_JoystickGetAxis(handle, axis) : 0;
}

int JoystickHatCount(Joystick* joystick) {
    SDL_Joystick* handle = Handle(joystick);
    return handle ? std::max(0, SDL_JoystickNumHats(handle)) : 0;
}

int JoystickHat(Joystick* joystick, int hat) {
    SDL_Joystick* handle = Handle(joystick);
    return handle && hat < SDL_JoystickNumHats(handle)
               ? HatHundredths(SDL_JoystickGetHat(handle, hat))
               : -1;
}

int JoystickButtonCount(Joystick* joystick) {
    SDL_Joystick* handle = Handle(joystick);
    return handle ? std::max(0, SDL_JoystickNumButtons(handle)) : 0;
}

bool JoystickButton(Joystick* joystick, int button) {
    SDL_Joystick* handle = Handle(joystick);
    return handle && SDL_JoystickGetButton(handle, button) != 0;
}

bool JoystickHasRumble(Joystick* joystick) {
    SDL_Joystick* handle = Handle(joystick);
    return handle && SDL_JoystickHasRumble(handle) == SDL_TRUE;
}

bool JoystickRumble(Joystick* joystick, uint16_t low, uint16_t high, uint32_t ms) {
    SDL_Joystick* handle = Handle(joystick);
    return handle && SDL_JoystickRumble(handle, low, high, ms) == 0;
}

bool PollJoystick(Joystick* joystick) {
    SDL_Joystick* handle = Handle(joystick);
    if (!handle) return false;
    SDL_JoystickUpdate();
    return SDL_JoystickGetAttached(handle) == SDL_TRUE;
}

bool ReadJoystickPosition(int index, JoystickPosition* out) {
    if (!out || !Ready(SDL_INIT_JOYSTICK) || index < 0 || index >= SDL_NumJoysticks()) return false;
    SDL_Joystick* joystick = SDL_JoystickOpen(index);
    if (!joystick) return false;
    SDL_JoystickUpdate();
    *out = JoystickPosition{};
    uint32_t* axes[3] = {&out->x, &out->y, &out->z};
    int axisCount = std::min(3, SDL_JoystickNumAxes(joystick));
    for (int axis = 0; axis < axisCount; ++axis)
        *axes[axis] = static_cast<uint32_t>(SDL_JoystickGetAxis(joystick, axis) + 32768);
    int buttonCount = std::min(32, SDL_JoystickNumButtons(joystick));
    for (int button = 0; button < buttonCount; ++button)
        if (SDL_JoystickGetButton(joystick, button)) out->buttons |= 1u << button;
    if (SDL_JoystickNumHats(joystick) > 0) {
        int32_t hat = HatHundredths(SDL_JoystickGetHat(joystick, 0));
        out->pov = hat < 0 ? 0xFFFF : static_cast<uint32_t>(hat);
    }
    SDL_JoystickClose(joystick);
    return true;
}

std::string JoystickNameAt(int index) {
    if (!Ready(SDL_INIT_JOYSTICK)) return "";
    const char* name = SDL_JoystickNameForIndex(index);
    return name ? name : "";
}

int AttachVirtualJoystick(int axes, int buttons, int hats) {
    if (!Ready(SDL_INIT_JOYSTICK)) return -1;
    auto rumble = std::make_unique<VirtualRumble>();
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = static_cast<Uint16>(axes);
    desc.nbuttons = static_cast<Uint16>(buttons);
    desc.nhats = static_cast<Uint16>(hats);
    desc.name = "Virtual Joystick";
    desc.userdata = rumble.get();
    desc.Rumble = VirtualRumbleCallback;
    int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index < 0) return -1;
    rumble->instance = SDL_JoystickGetDeviceInstanceID(index);
    gVirtualRumbles.push_back(std::move(rumble));
    return index;
}

bool DetachVirtualJoystick(int index) {
    return Ready(SDL_INIT_JOYSTICK) && SDL_JoystickDetachVirtual(index) == 0;
}

bool SetVirtualJoystickAxis(Joystick* joystick, int axis, int value) {
    SDL_Joystick* handle = Handle(joystick);
    value = std::clamp(value, -32768, 32767);
    return handle && SDL_JoystickSetVirtualAxis(handle, axis, static_cast<Sint16>(value)) == 0;
}

bool SetVirtualJoystickButton(Joystick* joystick, int button, bool down) {
    SDL_Joystick* handle = Handle(joystick);
    return handle && SDL_JoystickSetVirtualButton(handle, button, down ? 1 : 0) == 0;
}

bool SetVirtualJoystickHat(Joystick* joystick, int hat, int sdlHatValue) {
    SDL_Joystick* handle = Handle(joystick);
    return handle && SDL_JoystickSetVirtualHat(handle, hat, static_cast<Uint8>(sdlHatValue)) == 0;
}

bool VirtualJoystickRumble(Joystick* joystick, uint16_t* low, uint16_t* high) {
    SDL_Joystick* handle = Handle(joystick);
    if (!handle) return false;
    SDL_JoystickID instance = SDL_JoystickInstanceID(handle);
    for (const auto& rumble : gVirtualRumbles) {
        if (rumble->instance != instance) continue;
        if (low) *low = rumble->low;
        if (high) *high = rumble->high;
        return true;
    }
    return false;
}

}  // namespace platform
