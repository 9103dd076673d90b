// SDL2 behind the window, the GL context, the clock and the message queue.
#include <SDL.h>
#include <SDL_opengl.h>
#include <signal.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "runtime/platform/PlatformInternal.h"

namespace platform {

struct GlContext {
    SDL_GLContext sdl = nullptr;
};

namespace {

bool gInitialised = false;
bool gNoCounter = false;
std::deque<Message> gQueue;
WindowProcedure gProcedure = nullptr;
PumpHook gPumpHook = nullptr;
Window* gLastWindow = nullptr;  // the window messages are addressed to
// Window handles behave as the system's own do: a call naming a window that
// was destroyed finds no window and does nothing, instead of touching freed
// memory.
std::vector<Window*> gLiveWindows;
int gLastOriginX = 0, gLastOriginY = 0;  // where the last destroyed window stood
uint32_t gSysCommandEvent = 0;
TraceHook gTraceHook = nullptr;
int gForcedWidth = 0, gForcedHeight = 0;
std::string gHiddenGlFunction;  // a test's driver without this function
volatile std::sig_atomic_t gTerminationSignal = 0;

// Ctrl+C in a terminal and the session's SIGTERM at logout close the window
// as its close box does, so the program ends through its one way out and
// writes its files back. Once the pump has taken the request, a further
// signal finds the default action restored and ends the program at once.
extern "C" void OnTerminationSignal(int) {
    gTerminationSignal = 1;
}

void CatchTerminationSignals() {
    for (int signal : {SIGINT, SIGTERM}) {
        struct sigaction current = {};
        // A signal someone already handles or ignores stays theirs.
        if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
            std::signal(signal, OnTerminationSignal);
    }
}

void Post(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    gQueue.push_back(Message{window, message, wParam, lParam});
}

// F11 and Alt+Enter switch desktop full screen, as on every desktop. F11 is
// still held in the key state; Alt+Enter is not seen at all, so it does not
// also press Return.
enum class Toggle { None, F11, AltEnter };

Toggle FullScreenToggle(const SDL_Event& e) {
    if (e.type != SDL_KEYDOWN && e.type != SDL_KEYUP) return Toggle::None;
    const SDL_Scancode key = e.key.keysym.scancode;
    const uint16_t mod = e.key.keysym.mod;
    if (key == SDL_SCANCODE_F11 && (mod & (KMOD_CTRL | KMOD_SHIFT | KMOD_ALT | KMOD_GUI)) == 0)
        return Toggle::F11;
    if ((key == SDL_SCANCODE_RETURN || key == SDL_SCANCODE_KP_ENTER) && (mod & KMOD_ALT) &&
        !(mod & (KMOD_CTRL | KMOD_SHIFT | KMOD_GUI)))
        return Toggle::AltEnter;
    return Toggle::None;
}

// There is one game window: every event is addressed to it.
void Translate(const SDL_Event& e) {
    Window* w = gLastWindow;
    switch (e.type) {
        case SDL_QUIT:
            Post(w, kMsgClose, 0, 0);
            break;
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
                case SDL_WINDOWEVENT_CLOSE:
                    Post(w, kMsgClose, 0, 0);
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    Post(w, kMsgActivate, 0, 0);
                    break;
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    Post(w, kMsgActivate, 1, 0);
                    break;
                case SDL_WINDOWEVENT_EXPOSED:
                    Post(w, kMsgEraseBackground, 0, 0);
                    break;
                default:
                    break;
            }
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const bool alt = (e.key.keysym.mod & KMOD_ALT) != 0;
            uint32_t msg = e.type == SDL_KEYDOWN ? (alt ? kMsgSysKeyDown : kMsgKeyDown)
                                                 : (alt ? kMsgSysKeyUp : kMsgKeyUp);
            Post(w, msg, static_cast<uintptr_t>(KeyCodeFromScancode(e.key.keysym.scancode)), 0);
            break;
        }
        case SDL_MOUSEMOTION:
            Post(w, kMsgMouseMove, 0, (e.motion.x & 0xFFFF) | ((e.motion.y & 0xFFFF) << 16));
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            Post(w, e.type == SDL_MOUSEBUTTONDOWN ? kMsgButtonDown : kMsgButtonUp, e.button.button,
                 (e.button.x & 0xFFFF) | ((e.button.y & 0xFFFF) << 16));
            break;
        case SDL_MOUSEWHEEL:
            Post(w, kMsgMouseWheel, static_cast<uintptr_t>(e.wheel.y * 120), 0);
            break;
        default:
            if (gSysCommandEvent && e.type == gSysCommandEvent)
                Post(w, kMsgSysCommand, static_cast<uintptr_t>(e.user.code), 0);
            break;
    }
}

}  // namespace

namespace detail {
SDL_Window* NativeWindow(Window* window) {
    if (!window ||
        std::find(gLiveWindows.begin(), gLiveWindows.end(), window) == gLiveWindows.end())
        return nullptr;
    return window->sdl;
}
void LastWindowOrigin(int* x, int* y) {
    *x = gLastOriginX;
    *y = gLastOriginY;
}
}  // namespace detail

namespace {
SDL_Window* Sdl(Window* window) {
    return detail::NativeWindow(window);
}
}  // namespace

// ---------------------------------------------------------------- start-up

void SetTraceHook(TraceHook hook) {
    gTraceHook = hook;
}
void Trace(const char* event) {
    if (gTraceHook) gTraceHook(event);
}

bool Init() {
    if (gInitialised) return true;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) return false;
    // Joysticks are optional: a machine without them still runs.
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    gSysCommandEvent = SDL_RegisterEvents(1);
    if (gSysCommandEvent == static_cast<uint32_t>(-1)) gSysCommandEvent = 0;
    gInitialised = true;
    CatchTerminationSignals();
    detail::InputStartup();
    return true;
}

static void Quit() {
    if (!gInitialised) return;
    detail::InputShutdown();
    gQueue.clear();
    gLastWindow = nullptr;
    gLiveWindows.clear();
    SDL_Quit();
    gInitialised = false;
}

void ExitProcess(int code) {
    Trace(code == 0 ? "exit 0" : "exit non-zero");
    std::fflush(stdout);
    std::fflush(stderr);
#ifdef __EMSCRIPTEN__
    detail::ProgramEndsInPage(code);
#endif
    Quit();
    std::exit(code);
}

// ---------------------------------------------------------------- clock

uint64_t PerformanceCounter() {
#ifdef __EMSCRIPTEN__
    return detail::PageClock();
#endif
    return SDL_GetPerformanceCounter();
}
uint64_t PerformanceFrequency() {
#ifdef __EMSCRIPTEN__
    return gNoCounter ? 0 : detail::PageClockFrequency();
#endif
    return gNoCounter ? 0 : SDL_GetPerformanceFrequency();
}
uint32_t TimeGetTime() {
    return SDL_GetTicks();
}
void Sleep(uint32_t ms) {
    SDL_Delay(ms);
}
void ForceNoPerformanceCounter(bool on) {
    gNoCounter = on;
}

// ---------------------------------------------------------------- window

int DesktopWidth() {
    Init();
    SDL_DisplayMode mode;
    return SDL_GetDesktopDisplayMode(0, &mode) == 0 ? mode.w : 1024;
}
int DesktopHeight() {
    Init();
    SDL_DisplayMode mode;
    return SDL_GetDesktopDisplayMode(0, &mode) == 0 ? mode.h : 768;
}
int DesktopBitsPerPixel() {
    Init();
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return 32;
    const int bits = SDL_BITSPERPIXEL(mode.format);
    return bits == 24 ? 32 : (bits ? bits : 32);
}
// SDL sizes the client area itself and the window manager adds the frame.
int CaptionHeight() {
    return 0;
}
int BorderWidth() {
    return 0;
}
int BorderHeight() {
    return 0;
}

static void ApplyFormat(const PixelFormatRequest& format) {
    SDL_GL_ResetAttributes();
    // The 2D backend draws with OpenGL 2.1's shaders and buffer objects; the
    // compatibility profile keeps every driver's default framebuffer as it was.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
#ifdef __EMSCRIPTEN__
    // A browser's WebGL 1 is OpenGL ES 2.0.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
#endif
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, format.doubleBuffer ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, format.depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, format.stencilBits);
    const int channel = format.colourBits == 16 ? 5 : 8;
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, format.colourBits == 16 ? 6 : 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, format.samples > 0 ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, format.samples > 0 ? format.samples : 0);
}

Window* CreateGameWindow(const char* caption, int x, int y, int width, int height,
                         const PixelFormatRequest& format, std::string* error) {
    if (!Init()) {
        if (error) *error = std::string("cannot start the video system: ") + SDL_GetError();
        return nullptr;
    }
    ApplyFormat(format);
    if (gForcedWidth > 0 && gForcedHeight > 0) {
        width = gForcedWidth;
        height = gForcedHeight;
    }
    SDL_Window* sdl =
        SDL_CreateWindow(caption, x, y, width > 0 ? width : 640, height > 0 ? height : 480,
                         SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!sdl) {
        if (error) *error = std::string("cannot create the window: ") + SDL_GetError();
        return nullptr;
    }
    auto* window = new Window{sdl};
    SDL_SetWindowData(sdl, detail::kWindowDataName, window);
    gLiveWindows.push_back(window);
    gLastWindow = window;
    return window;
}

void ForceWindowSize(int width, int height) {
    gForcedWidth = width;
    gForcedHeight = height;
}

void DestroyGameWindow(Window* window) {
    SDL_Window* sdl = Sdl(window);
    if (!sdl) return;
    Trace("destroy window");
    SDL_GetWindowPosition(sdl, &gLastOriginX, &gLastOriginY);
    SDL_DestroyWindow(sdl);
    gLiveWindows.erase(std::find(gLiveWindows.begin(), gLiveWindows.end(), window));
    // Messages still queued for it have nowhere to go.
    for (auto& m : gQueue)
        if (m.window == window) m.window = nullptr;
    if (gLastWindow == window) gLastWindow = nullptr;
    delete window;
}

void SetCaption(Window* window, const char* caption) {
    if (SDL_Window* sdl = Sdl(window)) SDL_SetWindowTitle(sdl, caption ? caption : "");
}
std::string GetCaption(Window* window) {
    SDL_Window* sdl = Sdl(window);
    return sdl ? SDL_GetWindowTitle(sdl) : "";
}
void ShowGameWindow(Window* window, bool shown) {
    SDL_Window* sdl = Sdl(window);
    if (!sdl) return;
    if (shown) {
        SDL_ShowWindow(sdl);
        gLastWindow = window;
    } else {
        SDL_HideWindow(sdl);
    }
}
bool IsWindowShown(Window* window) {
    SDL_Window* sdl = Sdl(window);
    return sdl && (SDL_GetWindowFlags(sdl) & SDL_WINDOW_SHOWN);
}
void RaiseGameWindow(Window* window) {
    if (SDL_Window* sdl = Sdl(window)) SDL_RaiseWindow(sdl);
}
void SetWindowPosition(Window* window, int x, int y) {
    if (SDL_Window* sdl = Sdl(window)) SDL_SetWindowPosition(sdl, x, y);
}
bool GetWindowPosition(Window* window, int* x, int* y) {
    SDL_Window* sdl = Sdl(window);
    if (!sdl) return false;
    SDL_GetWindowPosition(sdl, x, y);
    return true;
}
void SetWindowSize(Window* window, int width, int height) {
    if (gForcedWidth > 0 && gForcedHeight > 0) return;  // a test holds the window at its size
#ifdef __EMSCRIPTEN__
    return;  // the canvas keeps the frame's size: the page shows it scaled
#endif
    if (SDL_Window* sdl = Sdl(window)) SDL_SetWindowSize(sdl, width, height);
}

bool DisplayModeAvailable(int width, int height, int bits) {
    if (!Init()) return false;
    const int modes = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < modes; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) != 0) continue;
        if (mode.w != width || mode.h != height) continue;
        if (bits && static_cast<int>(SDL_BITSPERPIXEL(mode.format)) != bits &&
            !(bits == 32 && SDL_BITSPERPIXEL(mode.format) == 24))
            continue;
        return true;
    }
    return false;
}

bool SetFullScreen(Window* window, bool on, int width, int height, int bits) {
    SDL_Window* sdl = Sdl(window);
    if (!sdl) return false;
    if (!on) return SDL_SetWindowFullscreen(sdl, 0) == 0;
    SDL_DisplayMode want{};
    want.w = width;
    want.h = height;
    if (bits == 16) want.format = SDL_PIXELFORMAT_RGB565;
    SDL_DisplayMode closest;
    if (!SDL_GetClosestDisplayMode(0, &want, &closest)) return false;
    if (closest.w != width || closest.h != height) return false;
    if (SDL_SetWindowDisplayMode(sdl, &closest) != 0) return false;
    return SDL_SetWindowFullscreen(sdl, SDL_WINDOW_FULLSCREEN) == 0;
}

void GetDrawableSize(Window* window, int* width, int* height) {
    if (SDL_Window* sdl = Sdl(window)) SDL_GL_GetDrawableSize(sdl, width, height);
}

void DisableScreenSaver() {
    SDL_DisableScreenSaver();
}
bool ScreenSaverEnabled() {
    return SDL_IsScreenSaverEnabled() == SDL_TRUE;
}

bool MultisampleFormatAvailable(int samples) {
    if (!Init()) return false;
    PixelFormatRequest format;
    format.samples = samples;
    ApplyFormat(format);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_Window* probe = SDL_CreateWindow("", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!probe) return false;
    SDL_Window* oldWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext oldContext = SDL_GL_GetCurrentContext();
    SDL_GLContext context = SDL_GL_CreateContext(probe);
    int got = 0;
    if (context) SDL_GL_GetAttribute(SDL_GL_MULTISAMPLESAMPLES, &got);
    if (context) SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(probe);
    if (oldContext) SDL_GL_MakeCurrent(oldWindow, oldContext);
    return context && got >= samples;
}

GlContext* CreateGlContext(Window* window) {
    SDL_Window* sdl = Sdl(window);
    if (!sdl) return nullptr;
    SDL_GLContext context = SDL_GL_CreateContext(sdl);
#ifdef __EMSCRIPTEN__
    if (context) detail::DrawIntoBackBuffer();
#endif
    return context ? new GlContext{context} : nullptr;
}
bool MakeCurrent(Window* window, GlContext* context) {
    return SDL_GL_MakeCurrent(Sdl(window), context ? context->sdl : nullptr) == 0;
}
void DeleteGlContext(GlContext* context) {
    if (!context) return;
    Trace("delete context");
    if (SDL_GL_GetCurrentContext() == context->sdl) SDL_GL_MakeCurrent(nullptr, nullptr);
    SDL_GL_DeleteContext(context->sdl);
    delete context;
}
void SwapBuffers(Window* window) {
    SDL_Window* sdl = Sdl(window);
    if (!sdl) return;
#ifdef __EMSCRIPTEN__
    detail::ShowFrameInPage(sdl);
    return;
#endif
    // A swap of an offscreen surface does not flush: without this the driver
    // keeps every frame's commands queued and memory grows without bound.
    glFlush();
    SDL_GL_SwapWindow(sdl);
}
void* GlProcAddress(const char* name) {
    if (!gHiddenGlFunction.empty() && name && gHiddenGlFunction == name) return nullptr;
    return SDL_GL_GetCurrentContext() ? SDL_GL_GetProcAddress(name) : nullptr;
}
void HideGlFunction(const char* name) {
    gHiddenGlFunction = name ? name : "";
}

bool GlExtensionSupported(const char* name) {
    if (!name || !*name || !SDL_GL_GetCurrentContext()) return false;
    return SDL_GL_ExtensionSupported(name) == SDL_TRUE;
}

void WarningBox(const char* caption, const char* utf8Text) {
    // Without a display SDL would still start the desktop's dialog helpers,
    // twice, only for them to find nothing to show on.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0))
        return;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, caption, utf8Text, nullptr);
}

void Beep() {
    std::fputc('\a', stderr);
    std::fflush(stderr);
}

// ---------------------------------------------------------------- messages

void SetWindowProcedure(WindowProcedure procedure) {
    gProcedure = procedure;
}
intptr_t DefaultWindowProcedure(Window*, uint32_t, uintptr_t, intptr_t) {
    return 0;
}

void SetPumpHook(PumpHook hook) {
    gPumpHook = hook;
}

void PumpEvents() {
    if (gPumpHook) gPumpHook();
    if (!gInitialised) return;
#ifdef __EMSCRIPTEN__
    detail::GivePageItsTurnWhenDue();
#endif
    if (gTerminationSignal) {
        gTerminationSignal = 0;
        for (int signal : {SIGINT, SIGTERM}) std::signal(signal, SIG_DFL);
        Post(gLastWindow, kMsgClose, 0, 0);
    }
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        if (const Toggle toggle = FullScreenToggle(e); toggle != Toggle::None) {
            if (e.type == SDL_KEYDOWN && !e.key.repeat)
                Post(gLastWindow, kMsgToggleFullScreen, 0, 0);
            if (toggle == Toggle::F11) detail::InputHandleEvent(e);
            continue;
        }
        detail::InputHandleEvent(e);
        Translate(e);
    }
}

bool PeekMessage(Message* out, uint32_t first, uint32_t last, bool remove) {
    PumpEvents();
    for (auto it = gQueue.begin(); it != gQueue.end(); ++it) {
        if ((first || last) && (it->message < first || it->message > last)) continue;
        if (out) *out = *it;
        if (remove) gQueue.erase(it);
        return true;
    }
    return false;
}

bool QueueHoldsInput() {
    PumpEvents();
    for (const auto& m : gQueue)
        if ((m.message >= kMsgKeyFirst && m.message <= kMsgKeyLast) ||
            (m.message >= kMsgMouseMove && m.message <= kMsgMouseWheel))
            return true;
    return false;
}

void DispatchMessage(const Message& message) {
    if (gProcedure)
        gProcedure(message.window, message.message, message.wParam, message.lParam);
    else
        DefaultWindowProcedure(message.window, message.message, message.wParam, message.lParam);
}

void PostQuitMessage(int code) {
    Post(nullptr, kMsgQuit, static_cast<uintptr_t>(code), 0);
}

static uint32_t FocusWindowId() {
    SDL_Window* sdl = Sdl(gLastWindow);
    return sdl ? SDL_GetWindowID(sdl) : 0;
}

void InjectKeyCode(int keyCode, bool down) {
    const int scancode = ScancodeFromKeyCode(keyCode);
    if (scancode) InjectKey(scancode, down);
}

void InjectFocus(bool gained) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
    e.window.windowID = FocusWindowId();
    SDL_PushEvent(&e);
}

void InjectCloseRequest() {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    e.window.windowID = FocusWindowId();
    SDL_PushEvent(&e);
}

void InjectSysCommand(uint32_t code) {
    if (!gSysCommandEvent) return;
    SDL_Event e{};
    e.type = gSysCommandEvent;
    e.user.code = static_cast<int32_t>(code);
    e.user.windowID = FocusWindowId();
    SDL_PushEvent(&e);
}

}  // namespace platform
