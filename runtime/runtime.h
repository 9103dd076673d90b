// Quorbel runtime: every command a game may call, one line each, grouped by
// subsystem in the order of the runtime's folders. Game code includes this
// header and nothing else.
//
// Numbers arrive as doubles and are truncated toward zero where a command
// needs a whole number (a count, an index, a slot, a code, a pixel). Truth
// values are 1 and 0. Failure is a return value (0, -1, an empty text,
// "NO_DATA"), never an exception; the fatal conditions (a bad array index, a
// bad file channel, a read past the end of a file, no more DATA items) are
// runtime errors, which end the program through EndProgram with exit code 0.
// Colours are whole numbers red + 256 green + 65536 blue.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime/input/KeyCode.h"    // KeyCode: kKeyEscape, kKeyA, kKeyUp, ... (PC scan codes)
#include "runtime/values/DataList.h"  // DataItem, DataList: the constant items of DATA statements
#include "runtime/values/RtArray.h"   // RtArray, RtTextArray: arrays of numbers and texts
#include "runtime/values/RtString.h"  // RtString: the text value; +, comparisons as 1.0 / 0.0

// clang-format off
// ---------------------------------------------------------------- colours
constexpr double RgbColour(double red, double green, double blue) { return red + 256 * green + 65536 * blue; }
constexpr double kColourBlack = RgbColour(0, 0, 0);
constexpr double kColourWhite = RgbColour(255, 255, 255);  // 16777215
constexpr double kColourGrey = RgbColour(128, 128, 128);
constexpr double kColourRed = RgbColour(255, 0, 0);
constexpr double kColourGreen = RgbColour(0, 255, 0);
constexpr double kColourBlue = RgbColour(0, 0, 255);
constexpr double kColourYellow = RgbColour(255, 255, 0);
constexpr double kColourCyan = RgbColour(0, 255, 255);
constexpr double kColourMagenta = RgbColour(255, 0, 255);
constexpr double kColourTransparentKey = RgbColour(255, 0, 128);  // the sprite transparency colour until changed
constexpr double kNoTransparentColour = -1;  // SetTransparentColour: no colour is transparent

// ---------------------------------------------------------------- core: start-up, frames, the way out (runtime/core)
// The project settings a game writes before StartEngine.
struct ProjectSettings {
    int screenWidth = 320, screenHeight = 240;  // the screen in pixels
    int fullScreen = 0;                         // 1: full screen
    int multisampleSamples = 0;                 // 0: no multisampling, else 2, 4, ...
    int framesPerSecond = 60;                   // the frame pacing of PresentFrame
    int debugRun = 0;                           // 1: no auto-pause, an end-of-run report in the error log
    int captureMouse = 0;                       // 1: the pointer is hidden and the mouse captured
};
void SetProjectSettings(const ProjectSettings& settings);  // written into the engine before StartEngine
bool StartEngine(void* instance, void* reserved, char* commandLine, int showCommand, const char* title);  // window, devices, "Loading...", "Init OK"; false: no window could be made (nothing runs)
const char* DeviceCreateError();                // after StartEngine failed: why the window could not be made, in one line
intptr_t GetWindowHandle();                     // the game window's handle; 0 before start-up
double SetSourcePosition(double module, double line);  // the game's current module and line, for error reports; returns line
double SetRuntimeError(double number);          // records error number and line; the caller then ends with EndProgram; returns number
void ClearRuntimeError();                       // error number, error line and current line back to 0
void SetAutoPause(double on);                   // 1: the game pauses while its window is inactive ("<pause>" in the caption)
void SetEscapeQuits(double on);                 // 1 (the default): Escape ends the program in PresentFrame and the waits
void PresentFrame();                            // the heartbeat: shows the frame at its deadline, pumps messages, ends on Escape / Alt+F4 / close
double ElapsedMs();                             // milliseconds since start-up ended
double LastFrameMs();                           // milliseconds between the last two frames; 1 when none passed
[[noreturn]] void EndProgram();                 // releases every device in order and ends the process with exit code 0
[[noreturn]] void EndAndRun(const RtString& commandLine);  // the same release, then starts the command line; exit code 0 either way

// ---------------------------------------------------------------- core: music, movies, random numbers
void PlayMusic(const RtString& fileName);       // loops the piece (through the movie shoebox); a missing file plays nothing
void StopMusic();                               // stops and closes the music
void SetMusicVolume(double volume);             // 0..1
void RestartMusic();                            // plays the piece from its start again
void PlayMovie(const RtString& fileName);       // plays full-window once, scaled and centred; a new key or click ends it
void PlayMovieLooped(const RtString& fileName); // plays again at its end until a key or click
double RandomInt(double limit);                 // a whole number 0..limit (ISAAC); 0 without drawing for limit <= 0

// ---------------------------------------------------------------- values: arrays, DATA, numbers and texts (runtime/values)
void DimArray(RtArray& array, double a, double b = 0, double c = 0, double d = 0);          // 1 to 4 dimensions of sizes a..d, every element 0; over 32 bits: error 7
void DimTextArray(RtTextArray& array, double a, double b = 0, double c = 0, double d = 0);  // the same for texts, every element ""
void RedimArray(RtArray& array, double a, double b = 0, double c = 0, double d = 0);        // a new shape keeping the overlapping elements
double ArrayBound(const RtArray& array, double dimension);          // the size of dimension 0..3; 0 outside
double TextArrayBound(const RtTextArray& array, double dimension);  // the same for a text array
void FillArrayFromList(RtArray& array, double count, const double* list);               // elements 0.. from the list, in storage order
void FillArrayFromList(RtArray& array, std::initializer_list<double> list);             // the same from a braced list
void FillTextArrayFromList(RtTextArray& array, double count, const RtString* list);     // texts from a list
void FillTextArrayFromList(RtTextArray& array, std::initializer_list<RtString> list);   // texts from a braced list
void CopyArrayRow(RtArray& array, double target, double source, ElementOperation operation = CopyElement);  // operation(target row's element, source row's element) for every (j, k, l)
void CopyArray(RtArray& array, const RtArray& source);  // the same shape and elements as source
void RestoreData(DataList& list);               // makes the list current, from its first item
void ReadDataText(RtString& out);               // the next item as text (a number as its number text); none left: error 20
void ReadDataNumber(double& out);               // the next item as a number (a text through atof); none left: error 20
RtString NumberText(double value);              // ten significant digits: 0, 1, -2.5, 0.3333333333, 1.e+010, 5.e-002
RtString IntegerText(int32_t value);            // plain decimal
RtString FormatNumber(double width, double decimals, double value);  // as printf "%W.Df"
double TextToNumber(const RtString& text);      // atof rules: leading number, else 0
double TextLength(const RtString& text);        // length in bytes
double NumberTextLength(double x);              // length of x's number text
double SinDeg(double degrees);                  // sine of an angle in degrees
double CosDeg(double degrees);                  // cosine of an angle in degrees
double TanDeg(double degrees);                  // tangent of an angle in degrees
double Atan2Deg(double y, double x);            // the angle of (x, y) in degrees, -180..180
double AsinDeg(double x);                       // degrees; 90 from 1 up, -90 from -1 down
double AcosDeg(double x);                       // degrees; 0 from 1 up, 180 from -1 down
double Power(double x, double y);               // x to the power y
double SquareRoot(double x);                    // NaN below 0
double AbsValue(double x);                      // |x|
double IntMod(double a, double b);              // remainder of the truncated 32-bit values, sign of a; 0 for b = 0
double FloatMod(double a, double b);            // fmod; 0 for b = 0
double CharCode(const RtString& text);          // first byte 0..255; "" gives 0
RtString CharText(double code);                 // the code's low byte as one character; 0 gives ""
RtString UpperText(const RtString& text);       // a..z to A..Z, nothing else changes
RtString LowerText(const RtString& text);       // A..Z to a..z, nothing else changes
double FindText(const char* haystack, const char* needle);          // 0-based position of the first occurrence; -1 absent; 0 for ""
double FindText(const RtString& haystack, const char* needle);      // the same
double FindText(const char* haystack, const RtString& needle);      // the same
double FindText(const RtString& haystack, const RtString& needle);  // the same
RtString HexText(const void* bytes, uint32_t count);  // two upper-case hexadecimal digits per byte
void TrimControlTail(RtString& text);           // drops trailing bytes that read as signed <= 31 (line ends)

// clang-format on

// ---------------------------------------------------------------- 2D graphics (runtime/gfx2d)
// clang-format off
// Positions are in screen pixels from the top left, x right, y down; colours are
// red + 256 green + 65536 blue (see RgbColour); slots are 0..65535.
void SetViewport(double x, double y, double width, double height);  // the view all drawing is placed in, until the next frame
void SetFrameRate(double framesPerSecond);      // frames a second PresentFrame keeps to; 0 or less: no pacing
void GetScreenSize(double& width, double& height);  // the screen's size in pixels
double IsFullScreen();                          // 1 in full screen, else 0

double LoadSprite(const RtString& file, double slot);     // the picture (BMP or PNG, through the media shoebox) into the slot; 1 loaded, 0 not found or unreadable
double LoadNormalMap(const RtString& file, double slot);  // a normal map made from the picture's blue; 1 / 0
double LoadAnimation(const RtString& file, double slot, double frameWidth, double frameHeight);  // the picture cut into frames of that size; 1 / 0
void GetSpriteSize(double slot, double& width, double& height);  // the picture's size in pixels; 0, 0 for an empty slot
double GrabSprite(double slot, double x, double y, double width, double height);  // the screen's rectangle into the slot; 1 / 0
void SetTransparentColour(double colour);       // the colour that loads fully transparent; -1 none

void DrawSprite(double slot, double x, double y);  // at its size, top-left at (ceil x, ceil y)
void StretchSprite(double slot, double x, double y, double width, double height);  // to that size; negative sizes mirror
void ZoomSprite(double slot, double x, double y, double scaleX, double scaleY);  // scaled about its centre
void RotateSprite(double slot, double x, double y, double angle);  // turned by angle degrees, counter-clockwise, about its centre
void RotoZoomSprite(double slot, double x, double y, double angle, double zoom);  // turned and scaled about its centre
void DrawAnimation(double slot, double frame, double x, double y);  // one frame; frames run left to right, top to bottom
void StretchAnimation(double slot, double frame, double x, double y, double width, double height);  // one frame stretched
void RotoZoomAnimation(double slot, double frame, double x, double y, double angle, double zoom);  // one frame turned and scaled
void StartPolygon(double slot);                 // begins a polygon textured with the slot; -1: untextured
void PolygonVertex(double x, double y, double textureX, double textureY, double colour);  // a corner; texture x, y in picture pixels
void EndPolygon();                              // draws the corners as one triangle fan
void SetSmoothing(double on);                   // 0: hard pixel edges when scaled, until the next frame; 1: smoothed

double SpriteCollision(double slot1, double x1, double y1, double slot2, double x2, double y2);  // 1 when the two placed pictures share a solid pixel, else 0
double AnimationCollision(double slot1, double frame1, double x1, double y1, double slot2, double frame2, double x2, double y2);  // the same for two frames (-1: the whole picture)

void LoadFont(const RtString& fileName, double slot);  // a font picture (16 x 16 cells) into font 0..31, made current; the built-in font when unreadable
void SetFont(double slot);                      // the current font, 0..31
void GetFontSize(double& characterWidth, double& characterHeight);  // the current font's cell in pixels
void PrintText(const RtString& text, double x, double y);  // one cell a byte, top-left at (ceil x, ceil y), in the alpha mode's opacity
void PrintNumber(double number, double x, double y);  // the number's text form, as PrintText

void SetAlphaMode(double mode);                 // 0 opaque; > 0 additive, < 0 transparent, at opacity |mode| (at most 1)
void DrawPixel(double x, double y, double colour);  // one pixel
void DrawLine(double x1, double y1, double x2, double y2, double colour);  // both end points set
void DrawRect(double x, double y, double width, double height, double colour);  // filled; negative sizes turn round
double GetPixel(double x, double y);            // the colour of the drawing surface at (x, y); 0 outside it
void ClearScreen();                             // removes background image 0 and clears to black

void LoadBackground(const RtString& file);      // background 0 from a file, drawn at the start of every frame; a cleared screen when missing
void BlendToBackground(const RtString& file);   // a 1.5-second cross-fade from the screen to the picture, then background 0
void GrabBackground();                          // the current screen becomes background 0
void FreeBackground(double image);              // background 0..7 emptied

void CreateScreen(double target, double slot, double width, double height);  // off-screen target 0..31 draws into the slot, width x height pixels
void UseScreen(double target);                  // drawing goes to the target (its picture lands in its slot); negative: back to the screen

double SaveScreen(const RtString& file);        // the screen as PNG (name ends ".png") or 24-bit BMP; 1 written, 0 not
double SaveSprite(const RtString& file, double slot);  // the slot's picture, the same way; 1 / 0
// clang-format on

// clang-format off

// ---------------------------------------------------------------- sound (runtime/sound)
double LoadSoundFile(const RtString& fileName, double slot, double voices);  // slot 0..127 (more: 127; negative: 0), voices 1..4; 1 loaded, 0 left empty
double PlaySoundSlot(double slot, double pan, double volume);  // pan -1..1 (1 silences the left), volume 0..1; channel slot x 256 + voice, or -1
double IsChannelPlaying(double channel);        // 1 while that voice sounds, else 0
void StopAllSounds();                           // stops and rewinds every voice of slots 0..127

// ---------------------------------------------------------------- input (runtime/input)
double KeyState(double keyCode);                // 1 while the key (a KeyCode, low 8 bits) is held, else 0
void ReadMouse(double& x, double& y, double& left, double& right);  // position in screen pixels, clamped to the screen; buttons 1 / 0
double ReadMouseAxis(double index);             // 0 dx, 1 dy, 2 wheel (-1, 0, 1), 3 left, 4 right, 5 middle; 0 for others
void SetMousePosition(double x, double y);      // the program's mouse position; the system pointer stays
void ShowMousePointer(double shown);            // 1: the system pointer shown and shared; 0: hidden, the mouse captured
RtString TypedChar();                           // a newly typed character, or ""
double JoystickX(double index);                 // joystick index (0..9): x axis -1..1; 0 without that joystick
double JoystickY(double index);                 // y axis -1..1
double JoystickZ(double index);                 // z axis -1..1
double JoystickRX(double index);                // rotation about x, -1..1
double JoystickRY(double index);                // rotation about y, -1..1
double JoystickRZ(double index);                // rotation about z, -1..1
double JoystickHatX(double index);              // first hat: -1 left, 1 right, 0 otherwise (diagonals too)
double JoystickHatY(double index);              // first hat: -1 up, 1 down, 0 otherwise
void ReadJoystick(double& x, double& y, double& button1, double& button2);  // joystick 0: x, y -1, 0, 1; buttons 0 or 128
RtString JoystickName(double index);            // "" for an unknown index
double JoystickCount();                         // attached joysticks, at most 10
void JoystickRumble(double index, double seconds, double xForce, double yForce);  // forces -1..1; nothing without force feedback
void IdleForInput();                            // returns on any input activity, or after about 75 ms
void WaitForKey();                              // waits for a newly pressed key that types a character
void WaitForMouseClick();                       // waits for a button press (one held on entry must be released first)
void InputText(RtString& text, double x, double y);    // lets the player edit the text at (x, y) until Return
void InputNumber(double& number, double x, double y);  // a typed line read as a number; "" gives 0

// ---------------------------------------------------------------- files (runtime/files)
double OpenFile(double channel, const RtString& path, double mode);  // channel 0..7 (else error 7); mode 0: a new empty file to write, else an existing one to read; 1 / 0
void CloseFile(double channel);                 // closes and clears the channel
double FileAtEnd(double channel);               // 1 once every byte was read
double ReadByte(double channel);                // 1 byte, 0..255; past the end or closed: error 3
double ReadWord(double channel);                // 2 bytes little-endian, 0..65535
double ReadLong(double channel);                // 4 bytes little-endian, unsigned
double ReadFloat(double channel);               // 4-byte IEEE single
double ReadDouble(double channel);              // 8-byte IEEE double
RtString ReadText(double channel, double count);  // the next count bytes
RtString ReadLine(double channel);              // up to "\n" (without "\r"), at most 1,024 bytes
double ReadLineNumber(double channel);          // ReadLine read as a number
void WriteByte(double channel, double value);   // the low 8 bits
void WriteWord(double channel, double value);   // the low 16 bits, little-endian
void WriteLong(double channel, double value);   // the low 32 bits, little-endian
void WriteFloat(double channel, double value);  // 4-byte IEEE single
void WriteDouble(double channel, double value); // 8-byte IEEE double
void WriteLine(double channel, const RtString& text);  // the text and "\r\n"
void WriteLineNumber(double channel, double value);    // the number's text and "\r\n"
void SeekFile(double channel, double offset, double origin);  // bytes; origin 0 from the start, > 0 from here, < 0 from the end
double FileSize(const RtString& path);          // bytes; 0 when it cannot be opened
void DeleteFile(const RtString& path);          // deletes the file
RtString CurrentDirectory();                    // the process's current directory
void SetDirectory(const RtString& path);        // changes the current directory
double GetFileLine(const RtString& path, double line, RtString& text);  // line 0..255 of a line file: 1 with it; 0 "NO_DATA" (empty, or outside: error 7 recorded); 1 "NO_FILE"
double GetFileLineNumber(const RtString& path, double line);            // GetFileLine read as a number
void PutFileLine(const RtString& path, double line, const RtString& text);  // stores line 0..255 (else error 7 recorded); written back later
void PutFileLineNumber(const RtString& path, double line, double value);    // PutFileLine of the number's text
void IniOpen(const RtString& fileName);         // writes back a changed table, then loads the file (through the media shoebox)
RtString IniGet(const RtString& section, const RtString& key);  // the value (names without letter case); "NO_DATA" when missing
void IniPut(const RtString& section, const RtString& key, const RtString& value);  // sets it, adding section or key; written back later
RtString PlatformInfo(RtString& key);           // "", "DEVICE", "TIME", "ID", "BATTERY", "GLEXT:name"; upper-cases the key; "NO_DATA" for others
RtString PlatformInfo(RtString&& key);          // the same for a key given as a literal
void SetShoebox(const RtString& mediaArchive, const RtString& movieArchive);  // the packed archives media and movie names resolve in, after plain files

// ---------------------------------------------------------------- network (runtime/net)
double DownloadHttpFile(const RtString& server, const RtString& path, double port, const RtString& localFile);  // HTTP/1.0 GET into the file; 1 when the server ended normally, 0 on failure

// ---------------------------------------------------------------- path finding (runtime/pathfind)
double FindGridPath(RtArray& map, RtArray& path, double weight, double startX, double startY, double goalX, double goalY);  // map(x, y) cost, <= 0 wall; weight 0..1; path(i, 0..1) = x, y; its length, or 0

// clang-format on
