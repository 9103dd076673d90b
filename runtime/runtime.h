// Quorbel runtime: every command a game may call, one line each, grouped by
// subsystem in the order of the runtime's folders. Game code includes this
// header and nothing else. docs/commands.md is generated from these comments
// (make docs), so every declaration stays on one line with its comment.
//
// Numbers arrive as doubles and are truncated toward zero where a command
// needs a whole number (a count, an index, a slot, a code, a pixel). Truth
// values are 1 and 0. Failure is a return value (0, -1, an empty text,
// "NO_DATA"), never an exception; the fatal conditions (a bad array index,
// too large an array or text, a file channel outside 0..7 or not open, a read
// past the end of a file, no more DATA items) are runtime errors, which end
// the program through EndProgram with exit code 0.
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
constexpr double RgbColour(double red, double green, double blue) { return red + 256 * green + 65536 * blue; }  // red, green, blue 0..255 each; the colour number red + 256 green + 65536 blue
constexpr double kColourBlack = RgbColour(0, 0, 0);  // black; what ClearScreen clears to
constexpr double kColourWhite = RgbColour(255, 255, 255);  // white, the largest colour number
constexpr double kColourGrey = RgbColour(128, 128, 128);  // middle grey
constexpr double kColourRed = RgbColour(255, 0, 0);  // red
constexpr double kColourGreen = RgbColour(0, 255, 0);  // green
constexpr double kColourBlue = RgbColour(0, 0, 255);  // blue
constexpr double kColourYellow = RgbColour(255, 255, 0);  // yellow
constexpr double kColourCyan = RgbColour(0, 255, 255);  // cyan
constexpr double kColourMagenta = RgbColour(255, 0, 255);  // magenta
constexpr double kColourTransparentKey = RgbColour(255, 0, 128);  // the transparency colour of sprites and fonts until SetTransparentColour changes it; also what SaveScreen writes for it in a BMP
constexpr double kNoTransparentColour = -1;  // SetTransparentColour: no colour is transparent

// ---------------------------------------------------------------- core: start-up, frames, the way out (runtime/core)
// The project settings a game writes before StartEngine.
struct ProjectSettings {
    int screenWidth = 320, screenHeight = 240;  // the screen in pixels
    int fullScreen = 0;                         // 1: full screen (at the desktop's own mode, the screen scaled, where no mode of its size is offered)
    int multisampleSamples = 0;                 // 0: no multisampling, else 2, 4, ... (halved until the display has it)
    int framesPerSecond = 60;                   // the frame pacing of PresentFrame (0 or less: a frame every 2 ms at most)
    int debugRun = 0;                           // 1: no auto-pause, the window raised every frame, an end-of-run report in the error log
    int captureMouse = 0;                       // 1: the pointer is hidden and the mouse captured
};
void SetProjectSettings(const ProjectSettings& settings);  // copies every field into the engine; StartEngine reads them, so call it first
bool StartEngine(void* instance, void* reserved, char* commandLine, int showCommand, const char* title);  // instance: the program's handle (null will do); reserved, commandLine: not read; showCommand 0: the window starts hidden; title: the caption. Opens window, input and sound, shows "Loading...", prints "Init OK"; true running; false: no window could be made (nothing runs)
const char* DeviceCreateError();                // after StartEngine failed: why the window could not be made, in one line; "" when nothing failed
intptr_t GetWindowHandle();                     // the game window's handle; 0 before start-up
double SetSourcePosition(double module, double line);  // records the game's current module and line for error reports; returns line
double SetRuntimeError(double number);          // records error number and the current line as the error line; the caller then ends with EndProgram; returns number
void ClearRuntimeError();                       // error number, error line and current line back to 0
void SetAutoPause(double on);                   // non-zero (the default from StartEngine on): the game pauses while its window is inactive ("<pause>" in the caption); 0: it runs on; no pausing in a debug run
void SetEscapeQuits(double on);                 // non-zero (the default): Escape ends the program in PresentFrame and the input waits; 0: Escape is an ordinary key
void PresentFrame();                            // the heartbeat, once a frame: shows the frame at its deadline (missed frames are skipped), pumps messages, waits while paused; ends the program on Escape (see SetEscapeQuits), Alt+F4 or the close box
double ElapsedMs();                             // milliseconds since start-up ended
double LastFrameMs();                           // milliseconds between the last two PresentFrame calls; 1 when none passed
[[noreturn]] void EndProgram();                 // writes back changed line files and INI tables, closes the file channels, releases every device in order (a debug run adds its report to the error log) and ends the process with exit code 0
[[noreturn]] void EndAndRun(const RtString& commandLine);  // the same write-back and release, then starts the command line through the shell in the background; exit code 0 either way ("" starts nothing)

// ---------------------------------------------------------------- core: music, movies, random numbers (runtime/core)
void PlayMusic(const RtString& fileName);       // stops any music, then loops the piece (a plain file, else the movie shoebox) at volume 1; restarts happen in PresentFrame and the waits; a missing file plays nothing
void StopMusic();                               // stops and closes the music; nothing when none plays
void SetMusicVolume(double volume);             // 0 (silent)..1 (full), clamped; lasts until the next PlayMusic, which starts at 1
void RestartMusic();                            // plays the piece from its start again (prints "kick" on standard output); nothing when no music is loaded
void PlayMovie(const RtString& fileName);       // plays the movie (a plain file, else the movie shoebox) once over the whole window, scaled to fit and centred; returns at its end or on a newly typed key or a click; a missing or undecodable file, or no window: returns at once (in a browser every file: it has no movie decoder)
void PlayMovieLooped(const RtString& fileName); // the same, starting again at its end until a newly typed key or a click
double RandomInt(double limit);                 // a whole number 0..limit inclusive (ISAAC; limit truncated to its low 32 bits, so up to 4294967295); 0 without drawing for limit <= 0

// ---------------------------------------------------------------- values: arrays, DATA, numbers and texts (runtime/values)
void DimArray(RtArray& array, double a, double b = 0, double c = 0, double d = 0);          // 1 to 4 dimensions of sizes a..d (indices 0..size - 1; a size of 0 after the first allows index 0 only; a < 1: no elements), every element 0; over 2,147,483,519 elements: runtime error 7
void DimTextArray(RtTextArray& array, double a, double b = 0, double c = 0, double d = 0);  // the same for texts, every element ""
void RedimArray(RtArray& array, double a, double b = 0, double c = 0, double d = 0);        // a new shape as DimArray, keeping the elements whose indices fit both shapes; the others 0
double ArrayBound(const RtArray& array, double dimension);          // the size of dimension 0..3 as dimensioned; 0 for any other dimension and for an array never dimensioned
double TextArrayBound(const RtTextArray& array, double dimension);  // the same for a text array
void FillArrayFromList(RtArray& array, double count, const double* list);               // dimensions the array as DimArray(array, count), then element i = list[i] for i 0..count - 1
void FillArrayFromList(RtArray& array, std::initializer_list<double> list);             // the same from a braced list, count its length
void FillTextArrayFromList(RtTextArray& array, double count, const RtString* list);     // the same for a text array
void FillTextArrayFromList(RtTextArray& array, std::initializer_list<RtString> list);   // the same from a braced list of texts
void CopyArrayRow(RtArray& array, double target, double source, ElementOperation operation = CopyElement);  // operation(array(target, j, k, l), array(source, j, k, l)) for every j, k, l of the shape; CopyElement copies; a row outside the array: runtime error 9
void CopyArray(RtArray& array, const RtArray& source);  // dimensions array as source and copies every element; an array onto itself: nothing
void RestoreData(DataList& list);               // makes the list the current one, read again from its first item
void ReadDataText(RtString& out);               // the current list's next item as text (a number as its number text); none left or no list: runtime error 20
void ReadDataNumber(double& out);               // the next item as a number (a text read by atof rules); none left or no list: runtime error 20
RtString NumberText(double value);              // ten significant digits, trailing zeros dropped: 0, 1, -2.5, 0.3333333333; exponential below 0.1 and from 1e10 on in size: 1.e+010, 5.e-002; infinities 1.#INF, -1.#INF; NaN -1.#IND (as 0 / 0 gives it) or 1.#QNAN
RtString IntegerText(int32_t value);            // plain decimal, "-" for a negative value
RtString FormatNumber(double width, double decimals, double value);  // as printf "%W.Df": width W (negative: left-aligned) and decimals D clipped to 511, D below 0 as 0; at most 511 characters, decimals cut to fit
double TextToNumber(const RtString& text);      // atof rules: leading blanks, sign, digits, point, exponent; the leading number, else 0; too large: infinity
double TextLength(const RtString& text);        // length in bytes
double NumberTextLength(double x);              // length in bytes of x's number text (see NumberText)
double SinDeg(double degrees);                  // sine of an angle in degrees
double CosDeg(double degrees);                  // cosine of an angle in degrees
double TanDeg(double degrees);                  // tangent of an angle in degrees
double Atan2Deg(double y, double x);            // the angle of the point (x, y) in degrees, -180..180
double AsinDeg(double x);                       // arc sine in degrees, -90..90; 90 from 1 up, -90 from -1 down
double AcosDeg(double x);                       // arc cosine in degrees, 0..180; 0 from 1 up, 180 from -1 down
double Power(double x, double y);               // x to the power y (pow rules)
double SquareRoot(double x);                    // the square root; NaN below 0
double AbsValue(double x);                      // x without its sign
double IntMod(double a, double b);              // remainder of a and b truncated to 32 bits, with the sign of a; 0 when b truncates to 0 or -1
double FloatMod(double a, double b);            // fmod, with the sign of a; 0 for b = 0
double CharCode(const RtString& text);          // the first byte, 0..255; "" gives 0
RtString CharText(double code);                 // the code's low 8 bits as a one-byte text; "" when they are 0
RtString UpperText(const RtString& text);       // a..z to A..Z, nothing else changes
RtString LowerText(const RtString& text);       // A..Z to a..z, nothing else changes
double FindText(const char* haystack, const char* needle);          // 0-based byte position of the needle's first occurrence; -1 absent; 0 for an empty needle; null reads as ""
double FindText(const RtString& haystack, const char* needle);      // the same
double FindText(const char* haystack, const RtString& needle);      // the same
double FindText(const RtString& haystack, const RtString& needle);  // the same
RtString HexText(const void* bytes, uint32_t count);  // two upper-case hexadecimal digits per byte of the count bytes; "" for count 0 or null bytes
void TrimControlTail(RtString& text);           // drops trailing bytes that read as signed <= 31: control bytes (line ends) and bytes 128..255

// clang-format on

// ---------------------------------------------------------------- 2D graphics (runtime/gfx2d)
// clang-format off
// Positions are in pixels of the current view (SetViewport; the whole screen
// by default) from its top left, x right, y down; colours are red + 256 green
// + 65536 blue (see RgbColour). Sprite slots are 0..65535 (65503..65535 are
// the runtime's: a scratch slot and the 32 fonts), backgrounds 0..7, off-screen
// targets 0..31; a number outside its table does nothing and returns the
// failure value, while font numbers are clamped to 0..31. Before StartEngine
// every command here does nothing and returns 0 (LoadFont and SetFont only
// choose the current font).
void SetViewport(double x, double y, double width, double height);  // the screen rectangle (pixels from its top left) all drawing goes to, with coordinates from its own top left; width or height <= 0: the whole screen; smoothing back on; until the next frame
void SetFrameRate(double framesPerSecond);      // frames a second PresentFrame keeps to; 0 or less: a frame every 2 ms at most
void GetScreenSize(double& width, double& height);  // the screen's width and height in pixels; 0, 0 before start-up
double IsFullScreen();                          // 1 in full screen (F11 and Alt+Enter switch it too), else 0

double LoadSprite(const RtString& file, double slot);     // a BMP or PNG picture (a plain file, else the media shoebox) into the slot, emptied first; pixels of the transparent colour load fully transparent; a picture over the largest texture (as GrabSprite) is cut to it, right and bottom lost; 1 loaded, 0 missing or unreadable (the slot left empty)
double LoadNormalMap(const RtString& file, double slot);  // the picture's blue read as heights, turned into a normal map in the slot; pixels 255, 0, 128 transparent whatever SetTransparentColour chose; 1 / 0 as LoadSprite
double LoadAnimation(const RtString& file, double slot, double frameWidth, double frameHeight);  // LoadSprite, then the picture is cut into frames of frameWidth x frameHeight pixels (see DrawAnimation); 1 / 0 as LoadSprite
void GetSpriteSize(double slot, double& width, double& height);  // the slot's picture size in pixels; 0, 0 for an empty slot
double GrabSprite(double slot, double x, double y, double width, double height);  // the screen's rectangle (screen pixels from the top left) replaces the slot's picture; 1 grabbed; 0 not, the slot left as it was, also for a width or height below 1 or over the largest texture (the driver's limit, at most 16,384)
void SetTransparentColour(double colour);       // the colour whose pixels load fully transparent in later sprite and font loads; -1 (kNoTransparentColour): none; kColourTransparentKey until changed

void DrawSprite(double slot, double x, double y);  // the slot's picture at its size, top-left at (ceil x, ceil y); an empty slot draws nothing
void StretchSprite(double slot, double x, double y, double width, double height);  // the picture at width x height pixels (each rounded up), top-left at (ceil x, ceil y); a negative width or height mirrors it to the left of x or above y
void ZoomSprite(double slot, double x, double y, double scaleX, double scaleY);  // the picture scaled by scaleX, scaleY about the centre it has drawn unscaled at (x, y); negative scales mirror
void RotateSprite(double slot, double x, double y, double angle);  // the picture turned by angle degrees counter-clockwise about (x + width / 2, y + height / 2), the halves in whole pixels
void RotoZoomSprite(double slot, double x, double y, double angle, double zoom);  // turned as RotateSprite and scaled by zoom about the same centre
void DrawAnimation(double slot, double frame, double x, double y);  // frame 0.. of the slot's frames (see LoadAnimation) at its size, top-left at (ceil x, ceil y); frames run left to right, then top to bottom; a slot without frames draws nothing
void StretchAnimation(double slot, double frame, double x, double y, double width, double height);  // one frame at width x height pixels, as StretchSprite
void RotoZoomAnimation(double slot, double frame, double x, double y, double angle, double zoom);  // one frame turned by angle degrees counter-clockwise and scaled by zoom about (x + frame width / 2, y + frame height / 2)
void StartPolygon(double slot);                 // begins a polygon textured with the slot's picture; -1 (or any slot outside the table): untextured
void PolygonVertex(double x, double y, double textureX, double textureY, double colour);  // a corner at (x, y) showing picture pixel (textureX, textureY) from the picture's top left, tinted by the colour at the alpha mode's opacity (opacity 0 for the transparent colour); corners past the 65,536th of a polygon are dropped
void EndPolygon();                              // draws the corners given since StartPolygon as one triangle fan; none: nothing
void SetSmoothing(double on);                   // 0: hard pixel edges where pictures are scaled or turned; non-zero (the default): smoothed; until the next frame or SetViewport

double SpriteCollision(double slot1, double x1, double y1, double slot2, double x2, double y2);  // 1 when the two slots' pictures, top-left at (x1, y1) and (x2, y2), share a pixel solid (alpha not 0) in both, else 0; 0 for an empty slot
double AnimationCollision(double slot1, double frame1, double x1, double y1, double slot2, double frame2, double x2, double y2);  // the same for one frame of each (a negative frame or a slot without frames: the whole picture)

void LoadFont(const RtString& fileName, double slot);  // a font picture (BMP or PNG; 16 cells a row, 16 rows for codes 0..255 when taller than wide, else 8 rows for 0..127) into font 0..31, made current; missing or unreadable: the built-in font (8 x 8 cells, codes 32..127)
void SetFont(double slot);                      // the current font 0..31 for PrintText, PrintNumber and GetFontSize
void GetFontSize(double& characterWidth, double& characterHeight);  // the current font's cell size in pixels; 0, 0 for an empty font
void PrintText(const RtString& text, double x, double y);  // one cell a byte in the current font, rightwards from top-left (ceil x, ceil y), no line breaks; an 8-row font shows codes modulo 128; at the alpha mode's opacity; cells wholly left of the view are skipped, and at most 65,536 drawn after them
void PrintNumber(double number, double x, double y);  // the number's text (see NumberText), as PrintText

void SetAlphaMode(double mode);                 // 0: opaque; > 0: additive, < 0: blended by transparency, at opacity |mode| (at most 1); for everything drawn until changed or the next frame, which starts opaque
void DrawPixel(double x, double y, double colour);  // one pixel in the colour, at the alpha mode's opacity
void DrawLine(double x1, double y1, double x2, double y2, double colour);  // a line from (x1, y1) to (x2, y2) with both end points set
void DrawRect(double x, double y, double width, double height, double colour);  // a filled width x height rectangle from (x, y); a negative width or height extends it left of x or above y, x or y included
double GetPixel(double x, double y);            // the colour at screen pixel (x, y), whatever the view, of the screen or the off-screen target in use; 0 outside it
void ClearScreen();                             // removes background image 0 and clears the drawing surface to black

void LoadBackground(const RtString& file);      // background 0 from a BMP or PNG (a plain file, else the media shoebox), drawn now and one to one at the start of every frame; missing or unreadable: ClearScreen
void BlendToBackground(const RtString& file);   // a 1.5-second cross-fade from the screen to the picture through PresentFrame (backgrounds 1 and 2 used and emptied), then background 0 as LoadBackground, alpha mode 0; a missing file: nothing
void GrabBackground();                          // the current screen becomes background 0
void FreeBackground(double image);              // background 0..7 emptied (0: no longer drawn each frame)

double CreateScreen(double target, double slot, double width, double height);  // off-screen target 0..31 draws into the slot, emptied and made width x height pixels of transparent black; drawing stays where it is; 1 set up; 0 for the scratch slot 65503 or a width or height below 1 or over the largest texture (as GrabSprite), nothing changed
void UseScreen(double target);                  // drawing goes into the target's slot, in a view of its size; negative: back to the screen; a target never created: nothing; PresentFrame also ends it

double SaveScreen(const RtString& file);        // the screen as PNG (name ending ".png", any letter case) or else 24-bit BMP; transparent-colour pixels become 255, 0, 128 in a BMP, alpha 0 in a PNG (for a colour with red in it); 1 written, 0 not
double SaveSprite(const RtString& file, double slot);  // the slot's picture, the same way; 0 also for an empty slot
// clang-format on

// clang-format off

// ---------------------------------------------------------------- sound (runtime/sound)
double LoadSoundFile(const RtString& fileName, double slot, double voices);  // a WAV file (8- or 16-bit PCM, mono or stereo; a plain file, else the media shoebox) into slot 0..127 (above: 127), emptied first, with voices 1..4 (clamped) able to sound at once; 1 loaded; 0 missing, unreadable or no sound device (the slot left empty), or a negative slot (nothing done)
double PlaySoundSlot(double slot, double pan, double volume);  // plays a voice of the slot (above 127: 127): pan -1 (left)..1 (right), 1 silencing the left; volume 0 (silent)..1 (full), linear in decibels; both clamped; returns the channel slot x 256 + voice; -1 for an empty or negative slot, no sound device, or a one-voice slot still sounding (with more voices the oldest gives way)
double IsChannelPlaying(double channel);        // 1 while the voice of a PlaySoundSlot channel (slot x 256 + voice) sounds, else 0 (also for -1)
void StopAllSounds();                           // stops and rewinds every voice of slots 0..127; the sounds stay loaded

// ---------------------------------------------------------------- input (runtime/input)
double KeyState(double keyCode);                // 1 while the key (a KeyCode; its low 8 bits count) is held, else 0; 0 before start-up
void ReadMouse(double& x, double& y, double& left, double& right);  // x, y in screen pixels, clamped to 0..width - 1, 0..height - 1; left, right 1 while held, else 0; all 0 before start-up
double ReadMouseAxis(double index);             // 0 dx, 1 dy: the motion since the previous frame in mouse counts; 2 the wheel (-1, 0, 1); 3 left, 4 right, 5 middle button 1 / 0; 0 for other indexes and before start-up
void SetMousePosition(double x, double y);      // sets the program's mouse position (clamped at the next ReadMouse); the system pointer does not move, and while shown its position replaces this one at the next sample
void ShowMousePointer(double shown);            // non-zero: the system pointer shown and shared, the position following it; 0: hidden, the mouse captured, the position moved by its motion
RtString TypedChar();                           // the character of a newly pressed key as a one-byte text, once per press; "" when none
double JoystickX(double index);                 // joystick index (0..JoystickCount() - 1): x axis -1..1; 0 without that joystick
double JoystickY(double index);                 // y axis -1..1, as JoystickX
double JoystickZ(double index);                 // z axis -1..1, as JoystickX
double JoystickRX(double index);                // rotation about x, -1..1, as JoystickX
double JoystickRY(double index);                // rotation about y, -1..1, as JoystickX
double JoystickRZ(double index);                // rotation about z, -1..1, as JoystickX
double JoystickHatX(double index);              // first hat: -1 left, 1 right, 0 otherwise (centred, diagonals, no such joystick)
double JoystickHatY(double index);              // first hat: -1 up, 1 down, 0 otherwise (centred, diagonals, no such joystick)
void ReadJoystick(double& x, double& y, double& button1, double& button2);  // joystick 0: x, y -1, 0 or 1 (the axis in whole steps of 30000 of 32767); buttons 1 and 2 as 0 or 128; all 0 without it
RtString JoystickName(double index);            // the name of joystick index 0..JoystickCount() - 1; "" for any other index
double JoystickCount();                         // attached joysticks, 0..10
void JoystickRumble(double index, double seconds, double xForce, double yForce);  // force feedback on joystick index for the seconds, strength (xForce² + yForce²) / 2 with forces -1..1 (clamped); no force or under 1 ms: stops it; nothing without force feedback
void IdleForInput();                            // returns on any input (a key held, the pointer moved or clicked, a joystick moved or pressed), else after about 75 ms; Escape ends the program (see SetEscapeQuits)
void WaitForKey();                              // waits for a newly pressed key that types a character; Escape ends the program (see SetEscapeQuits)
void WaitForMouseClick();                       // waits until no mouse button is held, then for a press of any
void InputText(RtString& text, double x, double y);    // the player edits text in place at (x, y) in the current font (Backspace deletes, a blinking "_" cursor), a frame each PresentFrame, until Return; background 3 holds the screen meanwhile, emptied after
void InputNumber(double& number, double x, double y);  // InputText on an empty line, read as a number by atof rules; "" gives 0

// ---------------------------------------------------------------- files (runtime/files)
double OpenFile(double channel, const RtString& path, double mode);  // channel 0..7 (else runtime error 7, as for every channel command), closing what it had open; mode 0: a new empty file to write (an old one deleted); any other mode: an existing file to read; 1 open, 0 not
void CloseFile(double channel);                 // closes the channel's file, if any
double FileAtEnd(double channel);               // 1 once every byte of a file opened for reading was read or skipped, else 0; 1 on a closed or writing channel
double ReadByte(double channel);                // 1 byte, 0..255; past the end or on a closed channel: runtime error 3
double ReadWord(double channel);                // 2 bytes little-endian, 0..65535; errors as ReadByte
double ReadLong(double channel);                // 4 bytes little-endian, unsigned 0..4294967295; errors as ReadByte
double ReadFloat(double channel);               // 4-byte little-endian IEEE single; errors as ReadByte
double ReadDouble(double channel);              // 8-byte little-endian IEEE double; errors as ReadByte
RtString ReadText(double channel, double count);  // the next count bytes as text; count <= 0: "" without reading; fewer bytes left or a closed channel: runtime error 3
RtString ReadLine(double channel);              // the bytes up to the next "\n" (dropped, with a "\r" before it), at most 1,024 (the rest is the next line); "" at the end; a closed channel: runtime error 3
double ReadLineNumber(double channel);          // ReadLine read as a number by atof rules
void WriteByte(double channel, double value);   // the low 8 bits of the truncated value; a closed channel: runtime error 3, as for every write
void WriteWord(double channel, double value);   // the low 16 bits, little-endian
void WriteLong(double channel, double value);   // the low 32 bits, little-endian
void WriteFloat(double channel, double value);  // 4-byte little-endian IEEE single
void WriteDouble(double channel, double value); // 8-byte little-endian IEEE double
void WriteLine(double channel, const RtString& text);  // the text and "\r\n"
void WriteLineNumber(double channel, double value);    // the number's text (see NumberText) and "\r\n"
void SeekFile(double channel, double offset, double origin);  // moves by offset bytes: origin 0 from the start, > 0 from here, < 0 from the end; a closed channel: runtime error 3; a failed move changes nothing
double FileSize(const RtString& path);          // the plain file's size in bytes; 0 when it cannot be opened
void DeleteFile(const RtString& path);          // deletes the file; nothing when it cannot
RtString CurrentDirectory();                    // the process's current directory as an absolute path without a trailing "/"; "" when it cannot be read
void SetDirectory(const RtString& path);        // changes the current directory (StartEngine makes it the program's); nothing when it cannot
double GetFileLine(const RtString& path, double line, RtString& text);  // line 0..255 of the line file at path into text, trailing control bytes dropped: 1; an empty line: 0, "NO_DATA"; a missing or unreadable file: 1, "NO_FILE"; a line outside 0..255: 0, "NO_DATA", error 7 recorded (the program runs on)
double GetFileLineNumber(const RtString& path, double line);            // GetFileLine read as a number by atof rules; 0 for "NO_DATA" and "NO_FILE"
void PutFileLine(const RtString& path, double line, const RtString& text);  // stores line 0..255 of the line file (outside: error 7 recorded, nothing stored); written back with "\r\n" line ends once another line file is used or the program ends, never over a file that could not be read
void PutFileLineNumber(const RtString& path, double line, double value);    // PutFileLine of the number's text (see NumberText)
void IniOpen(const RtString& fileName);         // writes back a changed table, then loads the INI file (a plain file, else the media shoebox; missing: an empty table), written back under this name at the next IniOpen or the end, never over a file that could not be read
RtString IniGet(const RtString& section, const RtString& key);  // the value of key in [section] (names without letter case; the first section of a name counts; "" for entries above any header); "NO_DATA" when missing
void IniPut(const RtString& section, const RtString& key, const RtString& value);  // sets the value, adding section or key; written back with the table
RtString PlatformInfo(RtString& key);           // upper-cases the key in place: "" gives "WIN32", "DEVICE" "DESKTOP", "TIME" the local "YYYY-MM-DD hh:mm:ss", "ID" this machine's 8 hexadecimal digits, "BATTERY" its charge 0..100 (255: no battery), "GLEXT:name" "1" / "0" for a GL extension or entry point; "NO_DATA" for any other key
RtString PlatformInfo(RtString&& key);          // the same for a key given as a literal
void SetShoebox(const RtString& mediaArchive, const RtString& movieArchive);  // the packed archives media names (pictures, fonts, sounds, INI files) and movie names (music, movies) are looked up in when no plain file opens, by the name's last part without letter case; "" or a path of 1,024 bytes or more: no archive

// ---------------------------------------------------------------- network (runtime/net)
double DownloadHttpFile(const RtString& server, const RtString& path, double port, const RtString& localFile);  // an HTTP/1.0 GET of path from server at port (its low 16 bits), the body into localFile (replaced once connected); waits until the server closes; 1 when it closed normally, 0 when the name does not resolve or the connection, request or transfer fails

// ---------------------------------------------------------------- path finding (runtime/pathfind)
double FindGridPath(RtArray& map, RtArray& path, double weight, double startX, double startY, double goalX, double goalY);  // A* over the 2-D map, map(x, y) the cost of entering cell x, y, <= 0 a wall; four-way moves; weight 0..1 (clamped; 0 cost so far alone, 1 distance to go alone); path becomes count x 2, path(i, 0), path(i, 1) the x, y of step i from start (0) to goal; returns count; 0 when there is no route (path emptied), or start or goal is outside the map or they are the same cell, or no cell is open (path unchanged)

// clang-format on
