#include "runtime/gfx2d/Primitives.h"

#include <GL/gl.h>

#include <algorithm>

#include "runtime/core/EngineState.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/values/Truncate.h"

void OpenGLRainbows::SetAlphaMode(float mode) {
    if (mode == 0) {
        glDisable(GL_BLEND);
        currentOpacity = 1;
    } else if (mode > 0) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        currentOpacity = std::min(mode, 1.0f);
    } else {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        currentOpacity = std::min(-mode, 1.0f);
    }
    glColor4f(1, 1, 1, currentOpacity);
}

// Integer coordinates hit pixel centres through the 0.375 shift.
void OpenGLRainbows::BeginPrimitive(int32_t colour) {
    glDisable(GL_ALPHA_TEST);
    const GLubyte alpha = static_cast<uint32_t>(colour) == spriteTransparentColour
                              ? 0
                              : static_cast<GLubyte>(static_cast<int>(currentOpacity * 255));
    glColor4ub(colour & 255, colour >> 8 & 255, colour >> 16 & 255, alpha);
    BindSprite(-1);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glTranslatef(0.375f, 0.375f, 0);
    glMatrixMode(GL_MODELVIEW);
}

void OpenGLRainbows::EndPrimitive() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glColor4f(1, 1, 1, currentOpacity);
    glEnable(GL_ALPHA_TEST);
}

void OpenGLRainbows::DrawPixel(float x, float y, int32_t colour) {
    BeginPrimitive(colour);
    glBegin(GL_POINTS);
    glVertex2f(x, y);
    glEnd();
    EndPrimitive();
}

void OpenGLRainbows::DrawLine(float x1, float y1, float x2, float y2, int32_t colour) {
    BeginPrimitive(colour);
    glBegin(GL_LINES);
    glVertex2f(x1, y1);
    glVertex2f(x2, y2);
    glEnd();
    glBegin(GL_POINTS);
    glVertex2f(x2, y2);
    glEnd();
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
    glBegin(GL_QUADS);
    glVertex2f(x, y + h);
    glVertex2f(x + w, y + h);
    glVertex2f(x + w, y);
    glVertex2f(x, y);
    glEnd();
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
        if (target.width != 0 && gEngine.gl.bindFramebuffer) {
            columns = target.width;
            row = spriteSlots[target.slot].height - 1 - y;
        }
    }
    if (x >= columns || row < 0) return 0;
    GLubyte rgb[3] = {0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, row, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return rgb[0] | rgb[1] << 8 | rgb[2] << 16;
}

// ---------------------------------------------------------------- commands

void SetAlphaMode(double mode) {
    if (gEngine.device) gEngine.device->SetAlphaMode(static_cast<float>(mode));
}

void DrawPixel(double x, double y, double colour) {
    if (gEngine.device)
        gEngine.device->DrawPixel(static_cast<float>(x), static_cast<float>(y),
                                  TruncateInt32(colour));
}

void DrawLine(double x1, double y1, double x2, double y2, double colour) {
    if (gEngine.device)
        gEngine.device->DrawLine(static_cast<float>(x1), static_cast<float>(y1),
                                 static_cast<float>(x2), static_cast<float>(y2),
                                 TruncateInt32(colour));
}

void DrawRect(double x, double y, double width, double height, double colour) {
    if (gEngine.device)
        gEngine.device->DrawRect(static_cast<float>(x), static_cast<float>(y),
                                 static_cast<float>(width), static_cast<float>(height),
                                 TruncateInt32(colour));
}

double GetPixel(double x, double y) {
    if (!gEngine.device) return 0;
    return gEngine.device->GetPixel(TruncateInt32(x), TruncateInt32(y));
}

void ClearScreen() {
    if (!gEngine.device) return;
    gEngine.device->FreeBackground(0);
    glClear(GL_COLOR_BUFFER_BIT);
}
