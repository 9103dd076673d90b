// What the runtime needs from the operating system: one window with an OpenGL
// context, a message queue, a clock, keyboard/mouse/joystick state, files,
// processes and a few machine facts. The one implementation is SDL2 + POSIX;
// nothing outside this folder includes SDL or calls POSIX directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// ---------------------------------------------------------------- start-up
bool Init();                              // SDL video, events, joystick; idempotent
void Quit();                              // closes everything SDL opened
[[noreturn]] void ExitProcess(int code);  // flushes stdio, ends the process

// Tests observe what the runtime asks of the system (windows destroyed,
// contexts deleted, the pointer shown, files deleted, the process ended) by
// installing a trace hook; each such call reports one short line.
using TraceHook = void (*)(const char* event);
void SetTraceHook(TraceHook hook);
void Trace(const char* event);

// ---------------------------------------------------------------- clock
uint64_t PerformanceCounter();
uint64_t PerformanceFrequency();  // 0 when there is no counter
uint32_t TimeGetTime();           // milliseconds since an arbitrary origin
void Sleep(uint32_t ms);
void ForceNoPerformanceCounter(bool on);  // test switch: the multimedia timer path

// ---------------------------------------------------------------- window
struct Window;  // opaque; an SDL window with an OpenGL flag
struct GlContext;

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

// Creates a hidden window with a GL-capable surface of the given format.
// Returns null and fills `error` when the window or the format is refused.
Window* CreateGameWindow(const char* caption, int x, int y, int width, int height,
                         const PixelFormatRequest& format, std::string* error);
void DestroyGameWindow(Window* window);
void SetCaption(Window* window, const char* caption);
std::string GetCaption(Window* window);
void ShowGameWindow(Window* window, bool shown);
bool IsWindowShown(Window* window);
void RaiseGameWindow(Window* window);
void SetWindowPosition(Window* window, int x, int y);
bool GetWindowPosition(Window* window, int* x, int* y);
void SetWindowSize(Window* window, int width, int height);
// Whether the display offers a mode of exactly this size (and depth, when non-zero).
bool DisplayModeAvailable(int width, int height, int bits);
bool SetFullScreen(Window* window, bool on, int width, int height, int bits);
void GetDrawableSize(Window* window, int* width, int* height);
void DisableScreenSaver();
bool ScreenSaverEnabled();

// Multisample formats: asks whether a format with this many samples exists.
bool MultisampleFormatAvailable(int samples);

GlContext* CreateGlContext(Window* window);
bool MakeCurrent(Window* window, GlContext* context);
void DeleteGlContext(GlContext* context);
void SwapBuffers(Window* window);
// Address of a GL entry point, or null when the driver does not export it.
void* GlProcAddress(const char* name);
// Whole-word search in the extension string of the current context.
bool GlExtensionSupported(const char* name);

// A modal box with a warning icon; returns at once where no display exists.
void WarningBox(const char* caption, const char* utf8Text);
void Beep();

// ---------------------------------------------------------------- messages
// The window procedure's messages, numbered as the runtime has always numbered them.
enum : uint32_t {
    kMsgActivate = 0x0006,
    kMsgClose = 0x0010,
    kMsgEraseBackground = 0x0014,
    kMsgKeyDown = 0x0100,
    kMsgKeyUp = 0x0101,
    kMsgChar = 0x0102,
    kMsgSysKeyDown = 0x0104,
    kMsgSysKeyUp = 0x0105,
    kMsgSysCommand = 0x0112,
    kMsgMouseMove = 0x0200,
    kMsgButtonDown = 0x0201,
    kMsgButtonUp = 0x0202,
    kMsgMouseWheel = 0x020A,
    kMsgQuit = 0x0012,
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
WindowProcedure GetWindowProcedure();
intptr_t DefaultWindowProcedure(Window*, uint32_t, uintptr_t, intptr_t);

// Reads every waiting SDL event into the key/mouse/joystick state and the
// message queue. Every query below pumps first.
void PumpEvents();
// Takes the next message within [first, last] (0, 0 = any) from the queue.
bool PeekMessage(Message* out, uint32_t first = 0, uint32_t last = 0, bool remove = true);
bool QueueHoldsInput();
void DispatchMessage(const Message& message);
void PostQuitMessage(int code);

// Called at the start of every pump; tests use it to script input by time.
using PumpHook = void (*)();
void SetPumpHook(PumpHook hook);

// Synthetic input, pushed through the SDL queue as real events are.
void InjectKey(int sdlScancode, bool down);
void InjectKeyCode(int keyCode, bool down);  // by the runtime's key code
void InjectMouseMotion(int x, int y, int dx, int dy);
void InjectMouseButton(int button, bool down, int x, int y);  // 1 left, 2 middle, 3 right
void InjectMouseWheel(int amount);
void InjectFocus(bool gained);
void InjectCloseRequest();
void InjectSysCommand(uint32_t code);
void InjectText(const char* utf8);

// ---------------------------------------------------------------- keyboard
// Key codes are the PC set-1 scan codes (extended keys 128 + code).
bool KeyDownByCode(int keyCode);           // from the pumped events
void ReadKeyCodeState(uint8_t out[256]);   // bit 7 set = held
int KeyCodeFromScancode(int sdlScancode);  // 0 when the key has no code
int ScancodeFromKeyCode(int keyCode);      // 0 when unknown
// Virtual-key view of the same state, for the fallback paths.
bool AsyncKeyState(int virtualKey);  // held, or pressed since the last query
void ReadVirtualKeyState(uint8_t out[256]);
int VirtualKeyFromKeyCode(int keyCode);
// The layout's character for a key code (0 when it has none), shifted or not.
int KeyCodeCharacter(int keyCode, bool shift);
// The event layer that stands in for the input devices: true when events and
// joysticks are up. Key events can be switched off (the keyboard then cannot
// be acquired).
bool DeviceInputAvailable();
bool KeyboardEventsEnabled();
void EnableKeyboardEvents(bool on);

// ---------------------------------------------------------------- mouse
struct MouseSample {
    int x = 0, y = 0;    // pointer position in client pixels
    int dx = 0, dy = 0;  // relative motion since the last sample
    int wheel = 0;       // wheel steps since the last sample
    bool left = false, right = false, middle = false;
};
MouseSample TakeMouseSample();  // pumps, returns and clears the motion
void PeekMousePosition(int* x, int* y);
bool MouseButtonDown(int button);  // 1 left, 2 right, 3 middle
void WarpMouse(Window* window, int x, int y);
void ShowCursor(bool shown);
bool CursorShown();
void SetRelativeMouse(bool on);
bool RelativeMouse();
// The system pointer in screen pixels (client position plus window position).
void CursorPosition(int* x, int* y);
void SetCursorPosition(int x, int y);
// Mouse events can be switched off (the mouse then cannot be acquired).
bool MouseEventsEnabled();
void EnableMouseEvents(bool on);

// ---------------------------------------------------------------- joysticks
int JoystickCount();  // attached devices
void* OpenJoystick(int index);
void CloseJoystick(void* joystick);
std::string JoystickName(void* joystick);
int JoystickAxisCount(void* joystick);
int JoystickAxis(void* joystick, int axis);  // -32768..32767
int JoystickHatCount(void* joystick);
int JoystickHat(void* joystick, int hat);  // hundredths of a degree, -1 centred
int JoystickButtonCount(void* joystick);
bool JoystickButton(void* joystick, int button);
bool JoystickHasRumble(void* joystick);
bool JoystickRumble(void* joystick, uint16_t low, uint16_t high, uint32_t ms);
bool PollJoystick(void* joystick);  // refreshes its state; false once it is unplugged
// The multimedia-joystick view: by device index, nothing kept open; raw axes
// 0..65535, a button bit mask, the hat in hundredths of a degree, 0xFFFF centred.
struct JoystickPosition {
    uint32_t x = 0, y = 0, z = 0;
    uint32_t buttons = 0;
    uint32_t pov = 0xFFFF;
};
bool ReadJoystickPosition(int index, JoystickPosition* out);
std::string JoystickNameAt(int index);
// A virtual joystick for tests; returns its device index or -1.
int AttachVirtualJoystick(int axes, int buttons, int hats);
bool DetachVirtualJoystick(int index);
bool SetVirtualJoystickAxis(void* joystick, int axis, int value);
bool SetVirtualJoystickButton(void* joystick, int button, bool down);
bool SetVirtualJoystickHat(void* joystick, int hat, int sdlHatValue);
// The last motor speeds a virtual joystick was asked for (0, 0 once stopped).
bool VirtualJoystickRumble(void* joystick, uint16_t* low, uint16_t* high);

// ---------------------------------------------------------------- files
// Paths may hold "\\"; every one becomes "/" here.
std::string NativePath(const char* path);
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
// on the system's audio thread. SDL_AUDIODRIVER chooses the driver as usual.
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
void CloseAudio(AudioOutput* output);  // waits for the callback to end; traces "close audio"
std::string AudioDriverName();         // the driver in use, empty when none

// ---------------------------------------------------------------- music
// A piece of music streamed from a file (WAV, OGG, MP3, FLAC, modules), on an
// output of its own. Each request traces one line ("music play", "music
// rewind", "music stop", "music volume N", "music close").
struct MusicStream;                        // opaque
MusicStream* OpenMusic(const char* path);  // null when no decoder takes the file
void CloseMusic(MusicStream* music);
double MusicLengthMs(MusicStream* music);  // 0 when the length is unknown
void PlayMusicStream(MusicStream* music);
void RewindMusicStream(MusicStream* music);
void StopMusicStream(MusicStream* music);
void SetMusicStreamVolume(MusicStream* music, int volume);  // 0..1000, 1000 = as recorded
bool MusicStreamPlaying(MusicStream* music);

// ---------------------------------------------------------------- movies
// A video file read through the decoder library, frame by frame on request;
// its sound track is not played. Open and close trace "movie open" and
// "movie close"; the decoder's own log is silenced.
struct MovieStream;                        // opaque
MovieStream* OpenMovie(const char* path);  // null when no decoder takes the file
void CloseMovie(MovieStream* movie);
void MovieSize(MovieStream* movie, int* width, int* height);  // the natural size in pixels
double MovieLengthMs(MovieStream* movie);                     // 0 when the length is unknown
// The picture showing at `ms` from the start as RGBA rows, top row first,
// width x height x 4 bytes; null when it is the picture returned last time.
const uint8_t* MovieFrameAt(MovieStream* movie, double ms);
void RewindMovie(MovieStream* movie);  // back to the first picture

// ---------------------------------------------------------------- processes, machine
bool StartProcess(const char* commandLine);  // through /bin/sh -c, detached
uint32_t MachineSerial();                    // stable per machine
int BatteryPercent();                        // 0..100, or 255 when unknown

// ---------------------------------------------------------------- sockets
// A small TCP layer over POSIX sockets in place of the original socket
// library: IPv4 only, blocking reads and writes. Init, shutdown, connect and
// close each trace one line ("socket layer init", "socket close"...).
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
int SocketLayerUsers();  // InitSockets calls not yet balanced by ShutdownSockets
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

}  // namespace platform
