// Sprites are drawn as one quad each, the picture's texture coordinates
// running 0..w/W and 0..h/H, t = h/H being its top edge.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "runtime/core/EngineState.h"
#include "runtime/gfx2d/CommandArguments.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/runtime.h"

struct OpenGLRainbows::PolygonList {
    std::vector<PolygonPoint> vertices;
    int count = 0;
    int slot = -1;
};

OpenGLRainbows::PolygonList OpenGLRainbows::polygon;

namespace {

// Corners past this many in one polygon are dropped, so a game that never
// ends its polygon cannot grow the list without bound.
constexpr int kMaxPolygonCorners = 65536;

}  // namespace

void OpenGLRainbows::RecordBinding(int slot, int secondSlot, bool scaled) {
    boundSlot = slot;
    boundSecondSlot = secondSlot;
    boundScaled = scaled ? 1 : 0;
    polygon.slot = slot;
}

// A slot outside the table binds no texture, as a negative one does.
void OpenGLRainbows::BindSprite(int slot, int secondSlot, bool scaled) {
    if (!ValidSlot(slot)) slot = -1;
    if (!ValidSlot(secondSlot)) secondSlot = -1;
    RecordBinding(slot, secondSlot, scaled);
    auto textureOf = [&](int s) -> std::optional<uint32_t> {
        if (s < 0) return std::nullopt;
        return scaled ? spriteSlots[s].scaledTexture : spriteSlots[s].texture;
    };
    backend.BindTextures(textureOf(slot), textureOf(secondSlot));
}

// Every pixel of a one-to-one quad samples a texel's centre, where linear
// filtering returns that texel alone: nearest gives the same pixels and
// spares the software rasteriser a quarter of its work per sprite.
void OpenGLRainbows::ApplySmoothing(bool oneToOne) {
    backend.SetFilter(smoothFlag && !oneToOne ? TextureFilter::Linear : TextureFilter::Nearest);
}

void OpenGLRainbows::DrawSprite(int slot, float x, float y) {
    if (!ValidSlot(slot)) return;
    const SpriteSlot& record = spriteSlots[slot];
    BindSprite(slot);
    ApplySmoothing(true);
    const float X = std::ceil(x), Y = std::ceil(y);
    const float w = record.width, h = record.height;
    const float s = w / record.textureWidth, t = h / record.textureHeight;
    backend.DrawQuad({{{s, t, X + w, Y}, {0, t, X, Y}, {0, 0, X, Y + h}, {s, 0, X + w, Y + h}}});
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
    if (mirrored) backend.SetFrontFaceClockwise(true);
    backend.DrawQuad(Quad::Rectangle(X, Y, Wd, Ht, s, t));
    if (mirrored) backend.SetFrontFaceClockwise(false);
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
    backend.DrawRotatedQuad({{{0.5f / W, 0.5f / H, -a, b},
                              {(w - 0.5f) / W, 0.5f / H, a, b},
                              {(w - 0.5f) / W, (h - 0.5f) / H, a, -b},
                              {0.5f / W, (h - 0.5f) / H, -a, -b}}},
                            w / 2 + x, h / 2 + y, angle);
}

// The slot bound for drawing one of its frames, with the frame's texture
// coordinates; null when the slot has no frames.
const SpriteSlot* OpenGLRainbows::BindFrame(int slot, int frame, FrameCoordinates& coordinates,
                                            bool oneToOne) {
    if (!ValidSlot(slot)) return nullptr;
    const SpriteSlot& record = spriteSlots[slot];
    const int fw = record.frameWidth, fh = record.frameHeight;
    if (fw == 0 || fh == 0) return nullptr;
    const int perRow = std::max(1, record.width / fw);
    const int row = frame / perRow, column = frame % perRow;
    const float textureWidth = record.textureWidth, textureHeight = record.textureHeight;
    coordinates.s0 = column * fw / textureWidth;
    coordinates.s1 = coordinates.s0 + fw / textureWidth;
    // Wide enough for any frame number a command can give.
    coordinates.t0 = (record.height - fh * (int64_t{row} + 1)) / textureHeight;
    coordinates.t1 = coordinates.t0 + fh / textureHeight;
    BindSprite(slot);
    ApplySmoothing(oneToOne);
    return &record;
}

void OpenGLRainbows::DrawAnimation(int slot, int frame, float x, float y) {
    FrameCoordinates f;
    const SpriteSlot* record = BindFrame(slot, frame, f, true);
    if (!record) return;
    const float X = std::ceil(x), Y = std::ceil(y);
    const float fw = record->frameWidth, fh = record->frameHeight;
    backend.DrawQuad({{{f.s1, f.t1, X + fw, Y},
                       {f.s0, f.t1, X, Y},
                       {f.s0, f.t0, X, Y + fh},
                       {f.s1, f.t0, X + fw, Y + fh}}});
}

void OpenGLRainbows::StretchAnimation(int slot, int frame, float x, float y, float width,
                                      float height) {
    FrameCoordinates f;
    if (!BindFrame(slot, frame, f, false)) return;
    const float X = std::ceil(x), Y = std::ceil(y), Wd = std::ceil(width), Ht = std::ceil(height);
    const bool mirrored = (Wd < 0) != (Ht < 0);
    if (mirrored) backend.SetFrontFaceClockwise(true);
    backend.DrawQuad({{{f.s0, f.t1, X, Y},
                       {f.s0, f.t0, X, Y + Ht + 0.1f},
                       {f.s1, f.t0, X + Wd + 0.1f, Y + Ht + 0.1f},
                       {f.s1, f.t1, X + Wd + 0.1f, Y}}});
    if (mirrored) backend.SetFrontFaceClockwise(false);
}

void OpenGLRainbows::RotoZoomAnimation(int slot, int frame, float x, float y, float angle,
                                       float zoom) {
    FrameCoordinates f;
    const SpriteSlot* record = BindFrame(slot, frame, f, false);
    if (!record) return;
    const float r = angle * 0.017453292f;
    const float sn = std::sin(r), cs = std::cos(r);
    const int fw = record->frameWidth, fh = record->frameHeight;
    const float cx = fw / 2 + x, cy = fh / 2 + y;
    const float a = fw * zoom / 2, b = fh * zoom / 2;
    backend.DrawQuad(
        {{{f.s0, f.t1, std::ceil(cx - cs * a - sn * b), std::ceil(cy + sn * a - cs * b)},
          {f.s0, f.t0, std::ceil(cx - cs * a + sn * b), std::ceil(cy + cs * b + sn * a)},
          {f.s1, f.t0, std::ceil(cx + cs * a + sn * b), std::ceil(cy + cs * b - sn * a)},
          {f.s1, f.t1, std::ceil(cx + cs * a - sn * b), std::ceil(cy - cs * b - sn * a)}}});
}

void OpenGLRainbows::StartPolygon(int slot) {
    BindSprite(slot);
    polygon.count = 0;
}

void OpenGLRainbows::PolygonVertex(float x, float y, float textureX, float textureY,
                                   int32_t colour) {
    if (polygon.count >= kMaxPolygonCorners) return;
    PolygonPoint point{x, y, 0, 0, 0, 0, 0, 0};
    if (const SpriteSlot* record = Sprite(polygon.slot)) {
        point.s = textureX / record->textureWidth;
        point.t = (record->height - textureY) / record->textureHeight;
    }
    point.red = (colour & 255) / 255.0f;
    point.green = (colour >> 8 & 255) / 255.0f;
    point.blue = (colour >> 16 & 255) / 255.0f;
    point.alpha = static_cast<uint32_t>(colour) == spriteTransparentColour ? 0.0f : currentOpacity;
    if (polygon.count >= static_cast<int>(polygon.vertices.size()))
        polygon.vertices.resize(std::max<size_t>(16, polygon.vertices.size() * 2));
    polygon.vertices[polygon.count++] = point;
}

void OpenGLRainbows::EndPolygon() {
    if (polygon.count == 0) return;
    backend.DrawPolygon(polygon.vertices.data(), polygon.count, polygon.slot >= 0,
                        smoothFlag ? TextureFilter::Linear : TextureFilter::Nearest,
                        currentOpacity);
}

void OpenGLRainbows::SetSmoothing(bool on) {
    smoothFlag = on ? 1 : 0;
}

// ---------------------------------------------------------------- commands

void DrawSprite(double slot, double x, double y) {
    if (OpenGLRainbows* device = gEngine.device)
        device->DrawSprite(TruncateInt32(slot), Coordinate(x), Coordinate(y));
}

void StretchSprite(double slot, double x, double y, double width, double height) {
    if (OpenGLRainbows* device = gEngine.device)
        device->StretchSprite(TruncateInt32(slot), Coordinate(x), Coordinate(y), Coordinate(width),
                              Coordinate(height));
}

void ZoomSprite(double slot, double x, double y, double scaleX, double scaleY) {
    if (OpenGLRainbows* device = gEngine.device)
        device->ZoomSprite(TruncateInt32(slot), Coordinate(x), Coordinate(y), Coordinate(scaleX),
                           Coordinate(scaleY));
}

void RotateSprite(double slot, double x, double y, double angle) {
    RotoZoomSprite(slot, x, y, angle, 1);
}

void RotoZoomSprite(double slot, double x, double y, double angle, double zoom) {
    if (OpenGLRainbows* device = gEngine.device)
        device->RotoZoomSprite(TruncateInt32(slot), Coordinate(x), Coordinate(y), Coordinate(angle),
                               Coordinate(zoom));
}

void DrawAnimation(double slot, double frame, double x, double y) {
    if (OpenGLRainbows* device = gEngine.device)
        device->DrawAnimation(TruncateInt32(slot), TruncateInt32(frame), Coordinate(x),
                              Coordinate(y));
}

void StretchAnimation(double slot, double frame, double x, double y, double width, double height) {
    if (OpenGLRainbows* device = gEngine.device)
        device->StretchAnimation(TruncateInt32(slot), TruncateInt32(frame), Coordinate(x),
                                 Coordinate(y), Coordinate(width), Coordinate(height));
}

void RotoZoomAnimation(double slot, double frame, double x, double y, double angle, double zoom) {
    if (OpenGLRainbows* device = gEngine.device)
        device->RotoZoomAnimation(TruncateInt32(slot), TruncateInt32(frame), Coordinate(x),
                                  Coordinate(y), Coordinate(angle), Coordinate(zoom));
}

void StartPolygon(double slot) {
    if (gEngine.device) gEngine.device->StartPolygon(TruncateInt32(slot));
}

void PolygonVertex(double x, double y, double textureX, double textureY, double colour) {
    if (OpenGLRainbows* device = gEngine.device)
        device->PolygonVertex(Coordinate(x), Coordinate(y), Coordinate(textureX),
                              Coordinate(textureY), TruncateInt32(colour));
}

void EndPolygon() {
    if (gEngine.device) gEngine.device->EndPolygon();
}

void SetSmoothing(double on) {
    if (gEngine.device) gEngine.device->SetSmoothing(on != 0);
}
