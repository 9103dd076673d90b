// What tests and benchmarks use to put the 2D device into states a game
// cannot reach: a missed deadline, no pacing, a frame buffer without alpha.
// The runtime never calls these.
#pragma once

#include <vector>

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

    // What is gathered drawn, so that pixels read past the device see it.
    static void FlushDrawing(OpenGLRainbows& device) { device.backend.Flush(); }
    // The drawing rules in force for the next quad.
    static bool AlphaTestOn(const OpenGLRainbows& device) { return device.backend.alphaTest; }
    static bool TexturingOn(const OpenGLRainbows& device) { return device.backend.texturing; }
    static bool PixelCentreShifted(const OpenGLRainbows& device) {
        return device.backend.pixelCentreShift;
    }
    static bool FrontFaceClockwise(const OpenGLRainbows& device) {
        return device.backend.frontFaceClockwise;
    }
    static const float* CurrentColour(const OpenGLRainbows& device) {
        return device.backend.colour;
    }
    // Draw calls made since the last present, with the vertices of each
    // (after a flush), and those of the frame presented last.
    static int DrawCalls(const OpenGLRainbows& device) { return device.backend.drawCalls; }
    static std::vector<int> DrawCallVertices(const OpenGLRainbows& device) {
        return device.backend.drawCallVertices;
    }
    static int DrawCallsLastFrame(const OpenGLRainbows& device) {
        return device.backend.lastFrameDrawCalls;
    }
};
