// What the runtime needs from the system underneath it: one window with an
// OpenGL context, its messages, a clock, keyboard/mouse/joystick state, files,
// sound, music, movies, sockets and a few machine facts. A backend implements
// every function here; the one backend is SDL2 + POSIX (the Platform*.cpp
// files beside this header), and nothing else includes SDL or calls POSIX.
// Tests drive and watch a backend through PlatformTesting.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// ---------------------------------------------------------------- start-up
// The backend starts itself on the first call that needs it.
[[noreturn]] void ExitProcess(int code);  // flushes stdio, closes the backend, ends the process

// ---------------------------------------------------------------- clock
uint64_t PerformanceCounter();
uint64_t PerformanceFrequency();  // 0 when there is no counter
uint32_t TimeGetTime();           // milliseconds since an arbitrary origin
void Sleep(uint32_t ms);

// ---------------------------------------------------------------- window
struct Window;  // opaque; a call naming a destroyed window does nothing

struct PixelFormatRequest {
    int colourBits = 0;  // 0: desktop depth
    int depthBits = 24;
    int stencilBits = 8;
    int samples = 0;  // 0: no multisampling
    bool doubleBuffer = true;
};

int DesktopWidth();
int DesktopHeight();
int DesktopBitsPerPixel();
int CaptionHeight();  // the window frame's decoration sizes (0 where the
int BorderWidth();    // window manager draws them itself)
int BorderHeight();
// A hidden window with a GL-capable surface of the given format; null (and
// `error` filled) when the window or the format is refused.
Window* CreateGameWindow(const char* caption, int x, int y, int width, int height,
                         const PixelFormatRequest& format, std::string* error);
void DestroyGameWindow(Window* window);
void SetCaption(Window* window, const char* caption);
std::string GetCaption(Window* window);
void ShowGameWindow(Window* window, bool shown);
void RaiseGameWindow(Window* window);
void SetWindowPosition(Window* window, int x, int y);
bool GetWindowPosition(Window* window, int* x, int* y);
void SetWindowSize(Window* window, int width, int height);
// Whether the display offers a mode of exactly this size (and depth, when non-zero).
bool DisplayModeAvailable(int width, int height, int bits);
bool SetFullScreen(Window* window, bool on, int width, int height, int bits);
void GetDrawableSize(Window* window, int* width, int* height);
void DisableScreenSaver();

// ---------------------------------------------------------------- showing the screen
// The runtime draws a frame of the screen's size into the lower-left corner
// of the window's drawable area; the window shows it scaled by the largest
// whole number that fits, centred between black bars. Mouse positions are
// reported in frame pixels, so the runtime never sees the scale.
struct FrameLayout {
    int drawableWidth = 0, drawableHeight = 0;  // the window's drawable pixels
    int scale = 1;
    int x = 0, y = 0;  // the scaled frame's top-left corner, in drawable pixels
    // The frame fills the drawable area exactly: it is shown where it is drawn.
    bool direct = true;
};
// The frame the window shows; the window becomes resizable down to that size.
void SetFrameSize(Window* window, int width, int height);
FrameLayout GetFrameLayout(Window* window);
// The largest whole multiple of the frame that fits the display's usable
// area with the window's decorations; 1 where there is no desktop.
int WindowedScale(int width, int height);
// Full screen at the desktop's own mode: no mode change, the frame scaled.
bool SetDesktopFullScreen(Window* window, bool on);
// Waits for an event to arrive, at most `ms` milliseconds; true when one is
// waiting. The event stays queued for the next pump.
bool WaitForEvent(double ms);
// How often the system has taken the processor from this thread while it
// could still run; a spin that sees it rise shared its core.
uint64_t TimesPreempted();
// A modal box with a warning icon; returns at once where no display exists.
void WarningBox(const char* caption, const char* utf8Text);
void Beep();

// ---------------------------------------------------------------- GL context
struct GlContext;  // opaque

bool MultisampleFormatAvailable(int samples);  // a format with this many samples exists
GlContext* CreateGlContext(Window* window);
bool MakeCurrent(Window* window, GlContext* context);
void DeleteGlContext(GlContext* context);
void SwapBuffers(Window* window);
void* GlProcAddress(const char* name);        // null when the driver does not export it
bool GlExtensionSupported(const char* name);  // whole word, in the current context's list

// ---------------------------------------------------------------- messages
// The window procedure's messages, numbered as the runtime has always numbered them.
enum : uint32_t {
    kMsgActivate = 0x0006,
    kMsgClose = 0x0010,
    kMsgEraseBackground = 0x0014,
    kMsgKeyDown = 0x0100,
    kMsgKeyUp = 0x0101,
    kMsgSysKeyDown = 0x0104,
    kMsgSysKeyUp = 0x0105,
    kMsgSysCommand = 0x0112,
    kMsgMouseMove = 0x0200,
    kMsgButtonDown = 0x0201,
    kMsgButtonUp = 0x0202,
    kMsgMouseWheel = 0x020A,
    kMsgQuit = 0x0012,
    kMsgToggleFullScreen = 0x8001,  // F11 or Alt+Enter: desktop full screen on or off
    kMsgKeyFirst = 0x0100,
    kMsgKeyLast = 0x0109,
};
enum : uint32_t {
    kSysCommandClose = 0xF060,
    kSysCommandScreenSave = 0xF140,
    kSysCommandMonitorPower = 0xF170,
};

struct Message {
    Window* window = nullptr;
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

using WindowProcedure = intptr_t (*)(Window*, uint32_t, uintptr_t, intptr_t);
void SetWindowProcedure(WindowProcedure procedure);
intptr_t DefaultWindowProcedure(Window*, uint32_t, uintptr_t, intptr_t);
// Reads every waiting event into the key/mouse/joystick state and the message
// queue. The message, key and mouse queries pump first.
void PumpEvents();
// Takes the next message within [first, last] (0, 0 = any) from the queue.
bool PeekMessage(Message* out, uint32_t first = 0, uint32_t last = 0, bool remove = true);
bool QueueHoldsInput();
void DispatchMessage(const Message& message);
void PostQuitMessage(int code);

// ---------------------------------------------------------------- keyboard
// Key codes are the PC set-1 scan codes (extended keys 128 + code).
void ReadKeyCodeState(uint8_t out[256]);  // bit 7 set = held
// Virtual-key view of the same state, for the fallback paths.
bool AsyncKeyState(int virtualKey);  // held, or pressed since the last query
void ReadVirtualKeyState(uint8_t out[256]);
int VirtualKeyFromKeyCode(int keyCode);
int KeyCodeCharacter(int keyCode, bool shift);  // the layout's character, 0 when none
bool DeviceInputAvailable();   // the event layer standing in for the input devices is up
bool KeyboardEventsEnabled();  // off: the keyboard cannot be acquired

// ---------------------------------------------------------------- mouse
struct MouseSample {
    int x = 0, y = 0;    // pointer position in client pixels
    int dx = 0, dy = 0;  // relative motion since the last sample
    int wheel = 0;       // wheel steps since the last sample
    bool left = false, right = false, middle = false;
};
MouseSample TakeMouseSample();  // returns and clears the motion
void PeekMousePosition(int* x, int* y);
bool MouseButtonDown(int button);  // 1 left, 2 right, 3 middle
void WarpMouse(Window* window, int x, int y);
void ShowCursor(bool shown);
void SetRelativeMouse(bool on);
// The system pointer in screen pixels (client position plus window position).
void CursorPosition(int* x, int* y);
void SetCursorPosition(int x, int y);
bool MouseEventsEnabled();  // off: the mouse cannot be acquired

// ---------------------------------------------------------------- joysticks
struct Joystick;  // opaque; one handle per device, its opens counted

int JoystickCount();  // attached devices
Joystick* OpenJoystick(int index);
void CloseJoystick(Joystick* joystick);
std::string JoystickName(Joystick* joystick);
int JoystickAxisCount(Joystick* joystick);
int JoystickAxis(Joystick* joystick, int axis);  // -32768..32767
int JoystickHatCount(Joystick* joystick);
int JoystickHat(Joystick* joystick, int hat);  // hundredths of a degree, -1 centred
int JoystickButtonCount(Joystick* joystick);
bool JoystickButton(Joystick* joystick, int button);
bool JoystickHasRumble(Joystick* joystick);
bool JoystickRumble(Joystick* joystick, uint16_t low, uint16_t high, uint32_t ms);
bool PollJoystick(Joystick* joystick);  // refreshes its state; false once it is unplugged
// The multimedia-joystick view: by device index, nothing kept open; raw axes
// 0..65535, a button bit mask, the hat in hundredths of a degree, 0xFFFF centred.
struct JoystickPosition {
    uint32_t x = 0, y = 0, z = 0;
    uint32_t buttons = 0;
    uint32_t pov = 0xFFFF;
};
bool ReadJoystickPosition(int index, JoystickPosition* out);
std::string JoystickNameAt(int index);

// ---------------------------------------------------------------- files
// Paths may separate their parts with "\\" as well as "/".
using FileHandle = int;  // -1 = none
constexpr FileHandle kNoFile = -1;
enum class OpenMode { Read, ReadWrite, CreateAlways, OpenAlways };
FileHandle OpenFile(const char* path, OpenMode mode);
long long ReadFile(FileHandle file, void* buffer, size_t bytes);
long long WriteFile(FileHandle file, const void* buffer, size_t bytes);
long long SeekFile(FileHandle file, long long offset, int whence);  // 0 set, 1 cur, 2 end
long long FileSize(FileHandle file);
void CloseFile(FileHandle file);
bool SyncFile(FileHandle file);  // its bytes reach the disk before this returns
bool DeleteFile(const char* path);
bool RenameFile(const char* from, const char* to);
// A new empty file, open for writing, in the folder of `beside` under a short
// name of its own however long the other's is, to be renamed over it later.
// When `beside` is a file, the new one has its permission bits, and its owner
// and group where the process may give them. kNoFile when none can be made.
FileHandle CreateFileBeside(const char* beside, std::string* path);
std::string LastFileError();  // why the last file call that failed failed, in words
bool FileExists(const char* path);
bool PathExists(const char* path);            // anything at that name: file, folder, link
bool MakePrivateDirectory(const char* path);  // mode 0700; true when it exists as ours
bool RemoveDirectory(const char* path);       // only an empty one
std::string TempFolder();                     // $TMPDIR or /tmp, with a trailing "/"
std::string ProgramPath();                    // the running executable
bool ChangeDirectory(const char* path);
std::string CurrentDirectory();
int ProcessId();

// ---------------------------------------------------------------- audio
// One output device, 22,050 frames a second, 16-bit stereo, fed by a callback
// on the system's audio thread.
constexpr int kAudioRate = 22050;
constexpr int kAudioChannels = 2;
struct AudioOutput;  // opaque
// Fills `frameCount` frames, each a left and a right sample.
using AudioCallback = void (*)(void* user, int16_t* frames, int frameCount);
// Opens the default device, paused until PauseAudio(output, false); null (and
// `error` filled) when there is no device, which the runtime takes as silence.
AudioOutput* OpenAudio(AudioCallback callback, void* user, std::string* error);
void LockAudio(AudioOutput* output);  // the callback does not run while locked
void UnlockAudio(AudioOutput* output);
void PauseAudio(AudioOutput* output, bool paused);  // paused: silence, no callbacks
void CloseAudio(AudioOutput* output);               // waits for the callback to end

// ---------------------------------------------------------------- music
// A piece of music streamed from a file (WAV, OGG, MP3, FLAC, modules),
// mixed into the audio output.
struct MusicStream;                        // opaque
MusicStream* OpenMusic(const char* path);  // null when no decoder takes the file
void CloseMusic(MusicStream* music);
double MusicLengthMs(MusicStream* music);  // 0 when the length is unknown
void PlayMusicStream(MusicStream* music);
void RewindMusicStream(MusicStream* music);
void StopMusicStream(MusicStream* music);
void SetMusicStreamVolume(MusicStream* music, int volume);  // 0..1000, 1000 = as recorded

// ---------------------------------------------------------------- movies
// A video file decoded frame by frame on request; its sound track is not played.
struct MovieStream;                        // opaque
MovieStream* OpenMovie(const char* path);  // null when no decoder takes the file
void CloseMovie(MovieStream* movie);
void MovieSize(MovieStream* movie, int* width, int* height);  // the natural size in pixels
double MovieLengthMs(MovieStream* movie);                     // 0 when the length is unknown
// The picture showing at `ms` from the start as RGBA rows, top row first,
// width x height x 4 bytes; null when it is the picture returned last time.
const uint8_t* MovieFrameAt(MovieStream* movie, double ms);
void RewindMovie(MovieStream* movie);  // back to the first picture

// ---------------------------------------------------------------- network
// TCP over IPv4 with blocking reads and writes, in place of the original
// socket library.
struct NetAddress {
    uint32_t ipv4 = 0;  // host byte order
    uint16_t port = 0;
    bool valid = false;
};
using Socket = int;  // -1 = none
constexpr Socket kNoSocket = -1;
constexpr long long kSocketError = -1;       // a read or write that failed
constexpr long long kSocketPeerClosed = -2;  // the peer ended the connection in order

bool InitSockets();  // counted; each success wants one ShutdownSockets
void ShutdownSockets();
// A host name or dotted numeric address; false when it does not resolve.
bool ResolveAddress(const char* name, NetAddress* out);
void SetAddressPort(NetAddress* address, uint16_t port);
Socket ConnectTcp(const NetAddress& address);  // kNoSocket when refused or unreachable
// Blocks until at least one byte arrives; returns the count, kSocketPeerClosed
// at an orderly end of the stream, kSocketError on anything else (a reset).
long long ReadSocket(Socket socket, void* buffer, size_t bytes);
// Blocks until every byte is sent; the count, or kSocketError.
long long WriteSocket(Socket socket, const void* buffer, size_t bytes);
void CloseSocket(Socket socket);

// ---------------------------------------------------------------- machine
bool StartProcess(const char* commandLine);  // through /bin/sh -c, detached
uint32_t MachineSerial();                    // stable per machine
int BatteryPercent();                        // 0..100, or 255 when unknown

}  // namespace platform
