// Pixel-exact collision: boxes first, then the alpha of both textures.

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "runtime/core/EngineState.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/runtime.h"
#include "runtime/values/Truncate.h"

namespace {

// One operand: its box on the screen and where picture (0, 0) lies, wide
// enough for any position and frame number a command can give.
struct Operand {
    int64_t x, y, width, height;
    int64_t originX, originY;
    const SpriteSlot* record;
    const uint8_t* mask;

    // A frame number past the picture's frames reads outside it: not solid.
    bool Solid(int64_t sx, int64_t sy) const {
        const int64_t px = sx - originX, row = record->height - 1 - (sy - originY);
        if (px < 0 || px >= record->textureWidth || row < 0 || row >= record->textureHeight)
            return false;
        return mask[px + record->textureWidth * row] != 0;
    }
};

Operand Place(const SpriteSlot& record, int frame, int x, int y) {
    Operand o{x, y, record.width, record.height, x, y, &record, nullptr};
    if (frame >= 0 && record.frameWidth != 0) {
        const int perRow = std::max(1, record.width / record.frameWidth);
        o.width = record.frameWidth;
        o.height = record.frameHeight;
        o.originX = x - int64_t{record.frameWidth} * (frame % perRow);
        o.originY = y - int64_t{frame / perRow} * record.frameHeight;
    }
    return o;
}

}  // namespace

// The alpha channel as one byte per texel, row 0 the texture's bottom row,
// read once and kept until the slot's texture changes.
uint8_t* OpenGLRainbows::CollisionMask(int slot) {
    if (!ValidSlot(slot)) return nullptr;
    if (collisionMasks[slot]) return collisionMasks[slot];
    const SpriteSlot& record = spriteSlots[slot];
    if (!record.texture || record.textureWidth <= 0 || record.textureHeight <= 0) return nullptr;
    auto* mask = static_cast<uint8_t*>(
        std::calloc(static_cast<size_t>(record.textureWidth) * record.textureHeight, 1));
    if (!mask) return nullptr;
    backend.ReadTextureAlpha(record.texture, mask);
    BindSprite(-1);
    collisionMasks[slot] = mask;
    return mask;
}

// The intersection is visited on a two-pixel grid first (even rows and
// columns, then the other three phases), which finds large overlaps soon.
bool OpenGLRainbows::Collide(int slot1, int frame1, int x1, int y1, int slot2, int frame2, int x2,
                             int y2) {
    if (!ValidSlot(slot1) || !ValidSlot(slot2)) return false;
    Operand a = Place(spriteSlots[slot1], frame1, x1, y1);
    Operand b = Place(spriteSlots[slot2], frame2, x2, y2);
    const int64_t left = std::max(a.x, b.x), right = std::min(a.x + a.width, b.x + b.width);
    if (right < left) return false;
    const int64_t top = std::max(a.y, b.y), bottom = std::min(a.y + a.height, b.y + b.height);
    if (bottom < top) return false;
    if (right == left || bottom == top) return false;
    a.mask = CollisionMask(slot1);
    b.mask = CollisionMask(slot2);
    if (!a.mask || !b.mask) return false;
    for (int rowPhase = 0; rowPhase < 2; ++rowPhase)
        for (int columnPhase = 0; columnPhase < 2; ++columnPhase)
            for (int64_t sy = top + rowPhase; sy < bottom; sy += 2)
                for (int64_t sx = left + columnPhase; sx < right; sx += 2)
                    if (a.Solid(sx, sy) && b.Solid(sx, sy)) return true;
    return false;
}

// ---------------------------------------------------------------- commands

double SpriteCollision(double slot1, double x1, double y1, double slot2, double x2, double y2) {
    return AnimationCollision(slot1, -1, x1, y1, slot2, -1, x2, y2);
}

double AnimationCollision(double slot1, double frame1, double x1, double y1, double slot2,
                          double frame2, double x2, double y2) {
    OpenGLRainbows* device = gEngine.device;
    return device && device->Collide(TruncateInt32(slot1), TruncateInt32(frame1), TruncateInt32(x1),
                                     TruncateInt32(y1), TruncateInt32(slot2), TruncateInt32(frame2),
                                     TruncateInt32(x2), TruncateInt32(y2))
               ? 1
               : 0;
}
