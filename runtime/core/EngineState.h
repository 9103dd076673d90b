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
struct SoundDevice;
struct SoundSlot;
struct Shoebox;

// Entry points of the optional OpenGL extensions; null when missing.
struct GlEntryPoints {
    // GL_ARB_multitexture and buffer objects
    void* activeTexture = nullptr;
    void* multiTexCoord2f = nullptr;
    void* clientActiveTexture = nullptr;
    void* genBuffers = nullptr;
    void* bindBuffer = nullptr;
    void* bufferData = nullptr;
    void* deleteBuffers = nullptr;
    void* mapBuffer = nullptr;
    void* unmapBuffer = nullptr;
    void* getBufferParameteriv = nullptr;
    // shader objects
    void* createProgramObject = nullptr;
    void* deleteObject = nullptr;
    void* createShaderObject = nullptr;
    void* shaderSource = nullptr;
    void* compileShader = nullptr;
    void* getObjectParameteriv = nullptr;
    void* attachObject = nullptr;
    void* getInfoLog = nullptr;
    void* linkProgram = nullptr;
    void* useProgramObject = nullptr;
    void* getUniformLocation = nullptr;
    void* uniform1f = nullptr;
    void* uniform1i = nullptr;
    void* getAttribLocation = nullptr;
    void* vertexAttrib1f = nullptr;
    // framebuffer objects
    void* bindRenderbuffer = nullptr;
    void* deleteRenderbuffers = nullptr;
    void* genRenderbuffers = nullptr;
    void* renderbufferStorage = nullptr;
    void* bindFramebuffer = nullptr;
    void* deleteFramebuffers = nullptr;
    void* genFramebuffers = nullptr;
    void* checkFramebufferStatus = nullptr;
    void* framebufferTexture2D = nullptr;
    void* framebufferRenderbuffer = nullptr;
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
