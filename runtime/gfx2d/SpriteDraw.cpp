// Sprites are drawn as one immediate-mode quad each, the picture's texture
// coordinates running 0..w/W and 0..h/H, t = h/H being its top edge.
#include "runtime/gfx2d/SpriteDraw.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "runtime/core/EngineState.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/values/Truncate.h"

namespace {

struct PolygonPoint {
    float x, y, s, t, red, green, blue, alpha;
};

// The polygon being built: one list for the process, reused and only grown.
struct PolygonList {
    std::vector<PolygonPoint> vertices;
    int count = 0;
    int slot = -1;
} gPolygon;

struct FrameCoordinates {
    float s0, s1, t0, t1;
};

// Texture coordinates of an animation frame; false when the slot has no frames.
bool FrameOf(const SpriteSlot& record, int frame, FrameCoordinates& out) {
    const int fw = record.frameWidth, fh = record.frameHeight;
    if (fw == 0 || fh == 0) return false;
    const int perRow = std::max(1, record.width / fw);
    const int row = frame / perRow, column = frame % perRow;
    const float textureWidth = record.textureWidth, textureHeight = record.textureHeight;
    out.s0 = column * fw / textureWidth;
    out.s1 = out.s0 + fw / textureWidth;
    // Wide enough for any frame number a command can give.
    out.t0 = (record.height - fh * (int64_t{row} + 1)) / textureHeight;
    out.t1 = out.t0 + fh / textureHeight;
    return true;
}

void Corner(float s, float t, float x, float y) {
    glTexCoord2f(s, t);
    glVertex2f(x, y);
}

}  // namespace

// A slot outside the table binds no texture, as a negative one does.
void OpenGLRainbows::BindSprite(int slot, int secondSlot, bool scaled) {
    if (!ValidSlot(slot)) slot = -1;
    if (!ValidSlot(secondSlot)) secondSlot = -1;
    boundSlot = slot;
    boundSecondSlot = secondSlot;
    boundScaled = scaled ? 1 : 0;
    gPolygon.slot = slot;
    auto textureOf = [&](int s) {
        return scaled ? spriteSlots[s].scaledTexture : spriteSlots[s].texture;
    };
    auto activeTexture = reinterpret_cast<PFNGLACTIVETEXTUREARBPROC>(gEngine.gl.activeTexture);
    if (!activeTexture) {
        if (slot < 0) {
            glDisable(GL_TEXTURE_2D);
            glEnable(GL_COLOR_MATERIAL);
            return;
        }
        glBindTexture(GL_TEXTURE_2D, textureOf(slot));
        glEnable(GL_TEXTURE_2D);
        return;
    }
    // Switching units ends the driver's batch of quads, so unit 1 is only
    // visited when it has to change.
    const bool unitOne = slot >= 0 && secondSlot >= 0;
    if (unitOne || textureUnitOneOn) {
        activeTexture(GL_TEXTURE1_ARB);
        if (unitOne) {
            glBindTexture(GL_TEXTURE_2D, textureOf(slot));
            glEnable(GL_TEXTURE_2D);
        } else {
            glDisable(GL_TEXTURE_2D);
        }
        textureUnitOneOn = unitOne ? 1 : 0;
        activeTexture(GL_TEXTURE0_ARB);
    }
    if (slot < 0) {
        glDisable(GL_TEXTURE_2D);
        return;
    }
    glBindTexture(GL_TEXTURE_2D, textureOf(secondSlot >= 0 ? secondSlot : slot));
    glEnable(GL_TEXTURE_2D);
}

void BindSprite(int slot, int secondSlot, bool scaled) {
    if (gEngine.device) gEngine.device->BindSprite(slot, secondSlot, scaled);
}

// Every pixel of a one-to-one quad samples a texel's centre, where linear
// filtering returns that texel alone: nearest gives the same pixels and
// spares the software rasteriser a quarter of its work per sprite.
void OpenGLRainbows::ApplySmoothing(bool oneToOne) {
    const GLint filter = smoothFlag && !oneToOne ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
}

// The software rasteriser starts on a frame's quads only when they are
// flushed, and stalls the game once its queue is full; handing them over in
// parts lets it draw while the game goes on submitting the rest.
void OpenGLRainbows::CountQuads(int quads) {
    quadsSinceFlush += quads;
    if (quadsSinceFlush < kQuadsPerFlush) return;
    glFlush();
    quadsSinceFlush = 0;
}

void OpenGLRainbows::DrawSprite(int slot, float x, float y) {
    if (!ValidSlot(slot)) return;
    const SpriteSlot& record = spriteSlots[slot];
    BindSprite(slot);
    ApplySmoothing(true);
    const float X = std::ceil(x), Y = std::ceil(y);
    const float w = record.width, h = record.height;
    const float s = w / record.textureWidth, t = h / record.textureHeight;
    glBegin(GL_QUADS);
    Corner(s, t, X + w, Y);
    Corner(0, t, X, Y);
    Corner(0, 0, X, Y + h);
    Corner(s, 0, X + w, Y + h);
    glEnd();
    CountQuads(1);
}

void OpenGLRainbows::StretchSprite(int slot, float x, float y, float width, float height) {
    if (!ValidSlot(slot)) return;
    const SpriteSlot& record = spriteSlots[slot];
    BindSprite(slot);
    const float X = std::ceil(x), Y = std::ceil(y), Wd = std::ceil(width), Ht = std::ceil(height);
    ApplySmoothing(std::abs(Wd) == record.width && std::abs(Ht) == record.height);
    const float s = static_cast<float>(record.width) / record.textureWidth;
    const float t = static_cast<float>(record.height) / record.textureHeight;
    // A mirrored quad turns its back to the viewer; a half turn does not.
    const bool mirrored = (Wd < 0) != (Ht < 0);
    if (mirrored) glFrontFace(GL_CW);
    glBegin(GL_QUADS);
    Corner(0, 0, X, Y + Ht);
    Corner(s, 0, X + Wd, Y + Ht);
    Corner(s, t, X + Wd, Y);
    Corner(0, t, X, Y);
    glEnd();
    CountQuads(1);
    if (mirrored) glFrontFace(GL_CCW);
}

void OpenGLRainbows::ZoomSprite(int slot, float x, float y, float scaleX, float scaleY) {
    if (!ValidSlot(slot)) return;
    const float w = spriteSlots[slot].width, h = spriteSlots[slot].height;
    StretchSprite(slot, x - (scaleX * w - w) / 2, y - (scaleY * h - h) / 2, scaleX * w, scaleY * h);
}

void OpenGLRainbows::RotoZoomSprite(int slot, float x, float y, float angle, float zoom) {
    if (!ValidSlot(slot)) return;
    const SpriteSlot& record = spriteSlots[slot];
    BindSprite(slot);
    ApplySmoothing();
    const int w = record.width, h = record.height;
    const float W = record.textureWidth, H = record.textureHeight;
    const float a = zoom * w / 2, b = zoom * h / 2;
    glPushMatrix();
    glTranslatef(w / 2 + x, h / 2 + y, 0);
    glRotatef(angle, 0, 0, -1);
    glBegin(GL_QUADS);
    Corner(0.5f / W, 0.5f / H, -a, b);
    Corner((w - 0.5f) / W, 0.5f / H, a, b);
    Corner((w - 0.5f) / W, (h - 0.5f) / H, a, -b);
    Corner(0.5f / W, (h - 0.5f) / H, -a, -b);
    glEnd();
    CountQuads(1);
    glPopMatrix();
}

void OpenGLRainbows::DrawAnimation(int slot, int frame, float x, float y) {
    if (!ValidSlot(slot)) return;
    const SpriteSlot& record = spriteSlots[slot];
    FrameCoordinates f;
    if (!FrameOf(record, frame, f)) return;
    BindSprite(slot);
    ApplySmoothing(true);
    const float X = std::ceil(x), Y = std::ceil(y);
    const float fw = record.frameWidth, fh = record.frameHeight;
    glBegin(GL_QUADS);
    Corner(f.s1, f.t1, X + fw, Y);
    Corner(f.s0, f.t1, X, Y);
    Corner(f.s0, f.t0, X, Y + fh);
    Corner(f.s1, f.t0, X + fw, Y + fh);
    glEnd();
    CountQuads(1);
}

void OpenGLRainbows::StretchAnimation(int slot, int frame, float x, float y, float width,
                                      float height) {
    if (!ValidSlot(slot)) return;
    const SpriteSlot& record = spriteSlots[slot];
    FrameCoordinates f;
    if (!FrameOf(record, frame, f)) return;
    BindSprite(slot);
    ApplySmoothing();
    const float X = std::ceil(x), Y = std::ceil(y), Wd = std::ceil(width), Ht = std::ceil(height);
    const bool mirrored = (Wd < 0) != (Ht < 0);
    if (mirrored) glFrontFace(GL_CW);
    glBegin(GL_QUADS);
    Corner(f.s0, f.t1, X, Y);
    Corner(f.s0, f.t0, X, Y + Ht + 0.1f);
    Corner(f.s1, f.t0, X + Wd + 0.1f, Y + Ht + 0.1f);
    Corner(f.s1, f.t1, X + Wd + 0.1f, Y);
    glEnd();
    CountQuads(1);
    if (mirrored) glFrontFace(GL_CCW);
}

void OpenGLRainbows::RotoZoomAnimation(int slot, int frame, float x, float y, float angle,
                                       float zoom) {
    if (!ValidSlot(slot)) return;
    const SpriteSlot& record = spriteSlots[slot];
    FrameCoordinates f;
    if (!FrameOf(record, frame, f)) return;
    BindSprite(slot);
    ApplySmoothing();
    const float r = angle * 0.017453292f;
    const float sn = std::sin(r), cs = std::cos(r);
    const int fw = record.frameWidth, fh = record.frameHeight;
    const float cx = fw / 2 + x, cy = fh / 2 + y;
    const float a = fw * zoom / 2, b = fh * zoom / 2;
    glBegin(GL_QUADS);
    Corner(f.s0, f.t1, std::ceil(cx - cs * a - sn * b), std::ceil(cy + sn * a - cs * b));
    Corner(f.s0, f.t0, std::ceil(cx - cs * a + sn * b), std::ceil(cy + cs * b + sn * a));
    Corner(f.s1, f.t0, std::ceil(cx + cs * a + sn * b), std::ceil(cy + cs * b - sn * a));
    Corner(f.s1, f.t1, std::ceil(cx + cs * a - sn * b), std::ceil(cy - cs * b - sn * a));
    glEnd();
    CountQuads(1);
}

// ---------------------------------------------------------------- commands

namespace {
OpenGLRainbows* Device() {
    return gEngine.device;
}
int Whole(double value) {
    return TruncateInt32(value);
}
float Coordinate(double value) {
    return static_cast<float>(value);
}
}  // namespace

void DrawSprite(double slot, double x, double y) {
    if (Device()) Device()->DrawSprite(Whole(slot), Coordinate(x), Coordinate(y));
}

void StretchSprite(double slot, double x, double y, double width, double height) {
    if (Device())
        Device()->StretchSprite(Whole(slot), Coordinate(x), Coordinate(y), Coordinate(width),
                                Coordinate(height));
}

void ZoomSprite(double slot, double x, double y, double scaleX, double scaleY) {
    if (Device())
        Device()->ZoomSprite(Whole(slot), Coordinate(x), Coordinate(y), Coordinate(scaleX),
                             Coordinate(scaleY));
}

void RotateSprite(double slot, double x, double y, double angle) {
    RotoZoomSprite(slot, x, y, angle, 1);
}

void RotoZoomSprite(double slot, double x, double y, double angle, double zoom) {
    if (Device())
        Device()->RotoZoomSprite(Whole(slot), Coordinate(x), Coordinate(y), Coordinate(angle),
                                 Coordinate(zoom));
}

void DrawAnimation(double slot, double frame, double x, double y) {
    if (Device()) Device()->DrawAnimation(Whole(slot), Whole(frame), Coordinate(x), Coordinate(y));
}

void StretchAnimation(double slot, double frame, double x, double y, double width, double height) {
    if (Device())
        Device()->StretchAnimation(Whole(slot), Whole(frame), Coordinate(x), Coordinate(y),
                                   Coordinate(width), Coordinate(height));
}

void RotoZoomAnimation(double slot, double frame, double x, double y, double angle, double zoom) {
    if (Device())
        Device()->RotoZoomAnimation(Whole(slot), Whole(frame), Coordinate(x), Coordinate(y),
                                    Coordinate(angle), Coordinate(zoom));
}

void StartPolygon(double slot) {
    if (!Device()) return;
    Device()->BindSprite(Whole(slot));
    gPolygon.count = 0;
}

void PolygonVertex(double x, double y, double textureX, double textureY, double colour) {
    OpenGLRainbows* device = Device();
    if (!device) return;
    PolygonPoint point{Coordinate(x), Coordinate(y), 0, 0, 0, 0, 0, 0};
    if (const SpriteSlot* record = device->Sprite(gPolygon.slot)) {
        point.s = Coordinate(textureX) / record->textureWidth;
        point.t = (record->height - Coordinate(textureY)) / record->textureHeight;
    }
    const int32_t value = Whole(colour);
    point.red = (value & 255) / 255.0f;
    point.green = (value >> 8 & 255) / 255.0f;
    point.blue = (value >> 16 & 255) / 255.0f;
    point.alpha = static_cast<uint32_t>(value) == device->spriteTransparentColour
                      ? 0.0f
                      : device->currentOpacity;
    if (gPolygon.count >= static_cast<int>(gPolygon.vertices.size()))
        gPolygon.vertices.resize(std::max<size_t>(16, gPolygon.vertices.size() * 2));
    gPolygon.vertices[gPolygon.count++] = point;
}

void EndPolygon() {
    OpenGLRainbows* device = Device();
    if (!device || gPolygon.count == 0) return;
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_DITHER);
    glShadeModel(GL_SMOOTH);
    const PolygonPoint* first = gPolygon.vertices.data();
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(PolygonPoint), &first->x);
    if (gPolygon.slot >= 0) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, sizeof(PolygonPoint), &first->s);
    }
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, sizeof(PolygonPoint), &first->red);
    device->ApplySmoothing();
    glDrawArrays(GL_TRIANGLE_FAN, 0, gPolygon.count);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glShadeModel(GL_FLAT);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, device->currentOpacity);
    glDisable(GL_DITHER);
    glDisable(GL_COLOR_MATERIAL);
}

void SetSmoothing(double on) {
    if (Device()) Device()->smoothFlag = on != 0 ? 1 : 0;
}
