// The alpha mode every 2D command draws under, and the untextured
// primitives drawn in a colour of their own.

#include <algorithm>

#include "runtime/core/EngineState.h"
#include "runtime/gfx2d/CommandArguments.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/runtime.h"

void OpenGLRainbows::SetAlphaMode(float mode) {
    if (mode == 0) {
        backend.SetBlending(false);
        currentOpacity = 1;
    } else if (mode > 0) {
        backend.SetBlending(true);
        backend.SetBlendFunction(BlendFunction::Additive);
        currentOpacity = std::min(mode, 1.0f);
    } else {
        backend.SetBlending(true);
        backend.SetBlendFunction(BlendFunction::Transparent);
        currentOpacity = std::min(-mode, 1.0f);
    }
    backend.SetColour(1, 1, 1, currentOpacity);
}

void OpenGLRainbows::BeginPrimitive(int32_t colour) {
    backend.SetAlphaTest(false);
    const uint8_t alpha = static_cast<uint32_t>(colour) == spriteTransparentColour
                              ? 0
                              : static_cast<uint8_t>(static_cast<int>(currentOpacity * 255));
    backend.SetColourBytes(colour & 255, colour >> 8 & 255, colour >> 16 & 255, alpha);
    BindSprite(-1);
    backend.BeginPixelCentreShift();
}

void OpenGLRainbows::EndPrimitive() {
    backend.EndPixelCentreShift();
    backend.SetColour(1, 1, 1, currentOpacity);
    backend.SetAlphaTest(true);
}

void OpenGLRainbows::DrawPixel(float x, float y, int32_t colour) {
    BeginPrimitive(colour);
    backend.DrawPoint(x, y);
    EndPrimitive();
}

// The point at the end sets the last pixel, which the line itself may leave out.
void OpenGLRainbows::DrawLine(float x1, float y1, float x2, float y2, int32_t colour) {
    BeginPrimitive(colour);
    backend.DrawLine(x1, y1, x2, y2);
    backend.DrawPoint(x2, y2);
    EndPrimitive();
}

void OpenGLRainbows::DrawRect(float x, float y, float w, float h, int32_t colour) {
    if (w < 0) {
        x = x + w + 1;
        w = -w;
    }
    if (h < 0) {
        y = y + h + 1;
        h = -h;
    }
    BeginPrimitive(colour);
    backend.DrawRectangle(x, y, w, h);
    EndPrimitive();
}

// On a framebuffer-object target the row is the one drawing at y wrote;
// an emulated target draws into the window, so the window row is read.
// Pixels off the frame buffer are black without asking the driver, whose
// clipping overflows for coordinates near the integer limits.
uint32_t OpenGLRainbows::GetPixel(int x, int y) {
    if (x < 0 || y < 0) return 0;
    int columns = width, row = height - 1 - y;
    if (currentOffscreenTarget >= 0) {
        const OffscreenTarget& target = offscreenTargets[currentOffscreenTarget];
        if (target.width != 0 && GlBackend::HasFramebufferObjects()) {
            columns = target.width;
            row = spriteSlots[target.slot].height - 1 - y;
        }
    }
    if (x >= columns || row < 0) return 0;
    return backend.ReadPixel(x, row);
}

void OpenGLRainbows::ClearScreen() {
    FreeBackground(0);
    backend.ClearColour();
}

// ---------------------------------------------------------------- commands

void SetAlphaMode(double mode) {
    if (gEngine.device) gEngine.device->SetAlphaMode(static_cast<float>(mode));
}

void DrawPixel(double x, double y, double colour) {
    if (gEngine.device)
        gEngine.device->DrawPixel(Coordinate(x), Coordinate(y), TruncateInt32(colour));
}

void DrawLine(double x1, double y1, double x2, double y2, double colour) {
    if (OpenGLRainbows* device = gEngine.device)
        device->DrawLine(Coordinate(x1), Coordinate(y1), Coordinate(x2), Coordinate(y2),
                         TruncateInt32(colour));
}

void DrawRect(double x, double y, double width, double height, double colour) {
    if (OpenGLRainbows* device = gEngine.device)
        device->DrawRect(Coordinate(x), Coordinate(y), Coordinate(width), Coordinate(height),
                         TruncateInt32(colour));
}

double GetPixel(double x, double y) {
    return gEngine.device ? gEngine.device->GetPixel(TruncateInt32(x), TruncateInt32(y)) : 0;
}

void ClearScreen() {
    if (gEngine.device) gEngine.device->ClearScreen();
}
