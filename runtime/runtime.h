// Every command a game may call, grouped by subsystem. Game code includes
// nothing else. Arguments arrive as doubles and are truncated where the
// command needs a whole number; failure is a return value, never an exception.
#pragma once

// ---------------------------------------------------------------- core
#include "runtime/core/Engine.h"  // StartEngine, PresentFrame, ElapsedMs, LastFrameMs, EndProgram, SetRuntimeError...
#include "runtime/core/EngineState.h"  // gEngine: project settings, devices, clock stamps
#include "runtime/core/Movie.h"        // PlayMovie, PlayMovieLooped, PlayMovieFile
#include "runtime/core/Music.h"        // PlayMusic, StopMusic, SetMusicVolume, RestartMusic
#include "runtime/core/Random.h"       // SeedRandom, NextRandomWord, RandomInt

// ---------------------------------------------------------------- values
#include "runtime/values/DataList.h"  // RestoreData, ReadDataText, ReadDataNumber
#include "runtime/values/MathCommands.h"  // SinDeg, CosDeg, Atan2Deg, Power, IntMod, FloatMod, TextLength...
#include "runtime/values/NumberText.h"  // NumberText, IntegerText, FormatNumber, TextToNumber
#include "runtime/values/RtArray.h"  // RtArray, RtTextArray, DimArray, RedimArray, ArrayBound, CopyArrayRow...
#include "runtime/values/RtString.h"  // RtString: text value, +, +=, comparisons as 1.0/0.0
#include "runtime/values/TextCommands.h"  // CharCode, CharText, UpperText, LowerText, FindText, HexText, TrimControlTail

// ---------------------------------------------------------------- 2D graphics
#include "runtime/gfx2d/Background.h"  // LoadBackground, BlendToBackground, GrabBackground
#include "runtime/gfx2d/Collision.h"   // SpriteCollision, AnimationCollision
#include "runtime/gfx2d/Font.h"        // LoadFont, SetFont, GetFontSize, PrintText, PrintNumber
#include "runtime/gfx2d/OffscreenTarget.h"  // CreateScreen, UseScreen
#include "runtime/gfx2d/OpenGLRainbows.h"  // SetViewport, SetFrameRate, GetScreenSize, IsFullScreen
#include "runtime/gfx2d/Primitives.h"  // SetAlphaMode, DrawPixel, DrawLine, DrawRect, GetPixel, ClearScreen
#include "runtime/gfx2d/SaveImage.h"   // SaveScreen, SaveSprite
#include "runtime/gfx2d/SpriteDraw.h"  // DrawSprite, StretchSprite, ZoomSprite, RotateSprite, RotoZoomSprite, DrawAnimation, StretchAnimation, RotoZoomAnimation, StartPolygon, PolygonVertex, EndPolygon, SetSmoothing
#include "runtime/gfx2d/SpriteSlots.h"  // LoadSprite, LoadNormalMap, LoadAnimation, GetSpriteSize, GrabSprite, SetTransparentColour

// ---------------------------------------------------------------- sound
#include "runtime/sound/SoundCommands.h"  // LoadSoundFile, PlaySoundSlot, IsChannelPlaying, StopAllSounds

// ---------------------------------------------------------------- input
#include "runtime/input/InputCommands.h"  // KeyState, ReadMouse, ReadMouseAxis, SetMousePosition, ShowMousePointer, TypedChar, JoystickX..JoystickRZ, JoystickHatX, JoystickHatY, ReadJoystick, JoystickName, JoystickCount, JoystickRumble, IdleForInput, WaitForKey, WaitForMouseClick, InputText, InputNumber
#include "runtime/input/InputDevices.h"  // InputDevices: keyboard, mouse, up to ten joysticks, typed characters

// ---------------------------------------------------------------- files
#include "runtime/files/BmpDecoder.h"  // DecodeBmp
#include "runtime/files/ErrorLog.h"    // AppendErrorLog
#include "runtime/files/FileChannels.h"  // OpenFile, ReadByte..ReadLine, WriteByte..WriteLine, SeekFile, FileSize...
#include "runtime/files/FileCommands.h"  // FlushFileCommands
#include "runtime/files/ImageFile.h"     // DecodedImage, DecodeImageFile
#include "runtime/files/IniFile.h"       // IniOpen, IniGet, IniPut
#include "runtime/files/LineFile.h"  // GetFileLine, GetFileLineNumber, PutFileLine, PutFileLineNumber
#include "runtime/files/PlatformInfo.h"  // PlatformInfo: "", "DEVICE", "TIME", "ID", "BATTERY", "GLEXT:"
#include "runtime/files/PngCodec.h"  // DecodePng, EncodePng
#include "runtime/files/Shoebox.h"   // ShoeboxFind, SetShoebox

// ---------------------------------------------------------------- network
#include "runtime/net/HttpDownload.h"  // DownloadHttpFile: one HTTP/1.0 GET into a local file

// ---------------------------------------------------------------- path finding
#include "runtime/pathfind/FindGridPath.h"  // FindGridPath: weighted A* route over a cost-grid array
