// What tests and benchmarks use to put the 2D device into states a game
// cannot reach: a missed deadline, no pacing, a frame buffer without alpha.
// The runtime never calls these.
#pragma once

#include "runtime/gfx2d/OpenGLRainbows.h"

struct OpenGLRainbowsTesting {
    // The scaled showing of the screen a Present makes, without the swap, so
    // the window's pixels can be read back.
    static void ShowFrame(OpenGLRainbows& device) { device.ShowFrame(); }
    static void SetNextFrameTime(OpenGLRainbows& device, double ms) { device.nextFrameTime = ms; }
    static void SetFrameInterval(OpenGLRainbows& device, double ms) { device.frameInterval = ms; }
    // Takes the frame buffer's alpha bits as known, so they are not asked.
    static void AssumeFrameBufferAlphaBits(OpenGLRainbows& device, int bits) {
        device.backend.frameBufferAlphaBits = bits;
    }
};
