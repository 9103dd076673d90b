// The runtime's one process-wide record: project settings, device pointers,
// the window, the pause and escape switches, the engine clock's stamps and the
// last runtime error. Exactly one instance exists: gEngine.
#pragma once

#include <cstdint>

#include "runtime/values/RtString.h"

namespace platform {
struct Window;
}
class OpenGLRainbows;
class InputDevices;
class SoundDevice;
struct SoundSlot;
struct Shoebox;

// Entry points of the optional OpenGL extensions, null when missing. The
// types are GL's own, spelt in plain C++ as GL defines them on this platform;
// the graphics backend checks each against GL's declaration.
struct GlEntryPoints {
    using Enum = unsigned int;
    using Uint = unsigned int;
    using Int = int;
    using Sizei = int;
    using SizeiPtr = long;
    using Float = float;
    using Boolean = unsigned char;
    using Char = char;
    using Handle = unsigned int;

    // GL_ARB_multitexture and buffer objects
    void (*activeTexture)(Enum texture) = nullptr;
    void (*multiTexCoord2f)(Enum target, Float s, Float t) = nullptr;
    void (*clientActiveTexture)(Enum texture) = nullptr;
    void (*genBuffers)(Sizei n, Uint* buffers) = nullptr;
    void (*bindBuffer)(Enum target, Uint buffer) = nullptr;
    void (*bufferData)(Enum target, SizeiPtr size, const void* data, Enum usage) = nullptr;
    void (*deleteBuffers)(Sizei n, const Uint* buffers) = nullptr;
    void* (*mapBuffer)(Enum target, Enum access) = nullptr;
    Boolean (*unmapBuffer)(Enum target) = nullptr;
    void (*getBufferParameteriv)(Enum target, Enum name, Int* values) = nullptr;
    // shader objects
    Handle (*createProgramObject)() = nullptr;
    void (*deleteObject)(Handle object) = nullptr;
    Handle (*createShaderObject)(Enum shaderType) = nullptr;
    void (*shaderSource)(Handle shader, Sizei count, const Char** text,
                         const Int* lengths) = nullptr;
    void (*compileShader)(Handle shader) = nullptr;
    void (*getObjectParameteriv)(Handle object, Enum name, Int* values) = nullptr;
    void (*attachObject)(Handle container, Handle object) = nullptr;
    void (*getInfoLog)(Handle object, Sizei maxLength, Sizei* length, Char* log) = nullptr;
    void (*linkProgram)(Handle program) = nullptr;
    void (*useProgramObject)(Handle program) = nullptr;
    Int (*getUniformLocation)(Handle program, const Char* name) = nullptr;
    void (*uniform1f)(Int location, Float value) = nullptr;
    void (*uniform1i)(Int location, Int value) = nullptr;
    Int (*getAttribLocation)(Handle program, const Char* name) = nullptr;
    void (*vertexAttrib1f)(Uint index, Float value) = nullptr;
    // framebuffer objects
    void (*bindRenderbuffer)(Enum target, Uint renderbuffer) = nullptr;
    void (*deleteRenderbuffers)(Sizei n, const Uint* renderbuffers) = nullptr;
    void (*genRenderbuffers)(Sizei n, Uint* renderbuffers) = nullptr;
    void (*renderbufferStorage)(Enum target, Enum format, Sizei width, Sizei height) = nullptr;
    void (*bindFramebuffer)(Enum target, Uint framebuffer) = nullptr;
    void (*deleteFramebuffers)(Sizei n, const Uint* framebuffers) = nullptr;
    void (*genFramebuffers)(Sizei n, Uint* framebuffers) = nullptr;
    Enum (*checkFramebufferStatus)(Enum target) = nullptr;
    void (*framebufferTexture2D)(Enum target, Enum attachment, Enum textureTarget, Uint texture,
                                 Int level) = nullptr;
    void (*framebufferRenderbuffer)(Enum target, Enum attachment, Enum renderbufferTarget,
                                    Uint renderbuffer) = nullptr;
};

struct EngineState {
    double musicVolume = -1.0;
    uint8_t escapeQuits = 1;
    double musicRestartTime = 0;
    void* mediaWindow = nullptr;  // the music player while music is loaded
    platform::Window* mainWindow = nullptr;
    RtString windowTitle;
    uint8_t autoPause = 0;
    uint8_t paused = 0;
    int captureMouse = 0;
    int framesPerSecond = 0;
    int fullScreen = 0;
    int debugRun = 0;
    int multisampleSamples = 0;
    int screenHeight = 0;
    int screenWidth = 0;
    double errorLine = 0;
    double errorNumber = 0;
    double currentModule = 0;
    double currentLine = 0;
    SoundSlot* soundSlots = nullptr;
    SoundDevice* soundDevice = nullptr;
    InputDevices* input = nullptr;
    void* renderer3D = nullptr;  // no 3D renderer in this build
    OpenGLRainbows* device = nullptr;
    void* network = nullptr;  // no multi-player layer in this build
    int currentFont = 0;
    double frameTime = 0;
    double previousFrameTime = 0;
    double clockOrigin = 0;
    Shoebox* movieShoebox = nullptr;
    Shoebox* mediaShoebox = nullptr;
    uint8_t clockAvailable = 0;
    double counterFrequency = 0;
    GlEntryPoints gl;
};

extern EngineState gEngine;

// The engine clock: raw milliseconds, from the performance counter when there
// is one, else from the multimedia timer.
double EngineNow();
void ProbeEngineClock();  // fills clock available and counter frequency
