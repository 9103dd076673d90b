// Every command a game may call, grouped by subsystem. Game code includes
// nothing else. Arguments arrive as doubles and are truncated where the
// command needs a whole number; failure is a return value, never an exception.
#pragma once

// ---------------------------------------------------------------- core
#include "runtime/core/Engine.h"       // StartEngine, PresentFrame, ElapsedMs, LastFrameMs, EndProgram, SetRuntimeError...
#include "runtime/core/EngineState.h"  // gEngine: project settings, devices, clock stamps

// ---------------------------------------------------------------- values

// ---------------------------------------------------------------- 2D graphics
#include "runtime/gfx2d/OpenGLRainbows.h"  // SetViewport, SetFrameRate, GetScreenSize, IsFullScreen

// ---------------------------------------------------------------- sound

// ---------------------------------------------------------------- input
#include "runtime/input/InputDevices.h"

// ---------------------------------------------------------------- files
#include "runtime/files/ErrorLog.h"  // AppendErrorLog
#include "runtime/files/Shoebox.h"   // ShoeboxFind, SetShoebox

// ---------------------------------------------------------------- network

// ---------------------------------------------------------------- path finding
