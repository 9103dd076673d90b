// Sprite slots: pictures become power-of-two textures with the picture in the
// lower-left corner, and a mip-mapped copy for scaled drawing.
#include "runtime/gfx2d/SpriteSlots.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "runtime/core/EngineState.h"
#include "runtime/files/Shoebox.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/gfx2d/TextureTexels.h"
#include "runtime/runtime.h"
#include "runtime/values/Truncate.h"

namespace {

constexpr int32_t kNormalMapTransparentColour = 0x8000FF;

// The read-back buffer of grabs on frame buffers without alpha: it only grows.
std::vector<uint8_t> gGrabBuffer;

constexpr int kLargestSixteenBitSide = 16384;
// Grab corners are kept this near the screen; pixels beyond it are undefined
// wherever they are.
constexpr int64_t kFarOutside = int64_t{1} << 24;

bool SideFits(int side) {
    return side >= 1 && side <= MaxSlotSide();
}

int NearTheScreen(int64_t position) {
    return static_cast<int>(std::clamp(position, -kFarOutside, kFarOutside));
}

}  // namespace

int MaxSlotSide() {
    return std::min(GlBackend::MaxTextureSize(), kLargestSixteenBitSide);
}

bool OpenGLRainbows::UploadPicture(const DecodedImage& picture, int left, int top, int w, int h,
                                   uint32_t* textureOut, uint32_t* scaledTextureOut, bool normalMap,
                                   bool nearest) {
    if (w == 0) w = picture.width - left;
    if (h == 0) h = picture.height - top;
    if (w < 1 || h < 1) return false;
    w = std::min(w, MaxSlotSide());
    h = std::min(h, MaxSlotSide());
    const int textureWidth = PowerOfTwoSide(w, 2), textureHeight = PowerOfTwoSide(h, 2);
    std::vector<uint8_t> texels;
    if (!ResizeTexels(texels, textureWidth, textureHeight)) return false;
    CopyPictureIntoTexels(picture, left, top, w, h, texels.data(), textureWidth);
    if (!nearest) BleedColourIntoTransparentTexels(texels.data(), textureWidth, textureHeight);
    if (normalMap) ConvertToNormalMap(texels.data(), textureWidth, textureHeight);
    backend.CreateTexture(textureOut, textureWidth, textureHeight, texels.data(),
                          nearest ? TextureFilter::Nearest : TextureFilter::Linear);
    if (scaledTextureOut)
        backend.CreateScaledTexture(scaledTextureOut, texels.data(), textureWidth, textureHeight);
    return true;
}

void OpenGLRainbows::FreeSprite(int slot) {
    if (!ValidSlot(slot)) return;
    SpriteSlot& record = spriteSlots[slot];
    if (initialisedFlag) {
        backend.DeleteTexture(&record.texture);
        backend.DeleteTexture(&record.scaledTexture);
    }
    record.texture = record.scaledTexture = 0;
    record.textureWidth = record.textureHeight = -1;
    record.width = record.height = 0;
    std::free(collisionMasks[slot]);
    collisionMasks[slot] = nullptr;
}

bool OpenGLRainbows::LoadSpriteFile(int slot, const char* path, int32_t transparentColour,
                                    bool normalMap) {
    if (!ValidSlot(slot)) return false;
    FreeSprite(slot);
    DecodedImage picture;
    if (!DecodeImageFile(&picture, path, transparentColour) || picture.width == 0 ||
        picture.height == 0) {
        ReleaseDecodedImage(&picture);
        return false;
    }
    const bool uploaded = LoadSpritePicture(slot, picture, normalMap);
    ReleaseDecodedImage(&picture);
    return uploaded;
}

bool OpenGLRainbows::LoadSpritePicture(int slot, const DecodedImage& picture, bool normalMap) {
    if (!ValidSlot(slot)) return false;
    SpriteSlot& record = spriteSlots[slot];
    const bool font = slot >= kFontSlotBase;
    const bool uploaded =
        UploadPicture(picture, 0, 0, 0, 0, &record.texture, font ? nullptr : &record.scaledTexture,
                      font ? false : normalMap, font);
    if (uploaded) {
        // A larger picture is cut to the largest side (right and bottom lost).
        const int w = std::min(picture.width, MaxSlotSide());
        const int h = std::min(picture.height, MaxSlotSide());
        record.textureWidth = static_cast<int16_t>(PowerOfTwoSide(w, 2));
        record.textureHeight = static_cast<int16_t>(PowerOfTwoSide(h, 2));
        record.width = static_cast<int16_t>(w);
        record.height = static_cast<int16_t>(h);
    }
    return uploaded;
}

// On a frame buffer with fewer colour bits the colour comes back rounded, as
// the frame buffer stores it.
uint32_t OpenGLRainbows::TransparentColourOnScreen() {
    const uint32_t colour = spriteTransparentColour;
    if (colour == 0) return 0;
    if (colour > 0xFFFFFF) return colour;  // none: matches no pixel
    return backend.ColourAsStored(colour);
}

// A grab fills the slot or leaves it as it was: a side below 1 or over the
// largest a slot holds grabs nothing.
bool OpenGLRainbows::GrabScreen(int slot, int x, int y, int w, int h) {
    if (!ValidSlot(slot) || !SideFits(w) || !SideFits(h)) return false;
    const int textureWidth = PowerOfTwoSide(w, 32), textureHeight = PowerOfTwoSide(h, 32);
    const bool readBack = !backend.FrameBufferHasAlpha();
    if (readBack && gGrabBuffer.size() < static_cast<size_t>(textureWidth) * textureHeight * 4 &&
        !ResizeTexels(gGrabBuffer, textureWidth, textureHeight))
        return false;
    SpriteSlot& record = spriteSlots[slot];
    if (record.texture && record.textureWidth == textureWidth &&
        record.textureHeight == textureHeight) {
        backend.BindTexture(record.texture);
    } else {
        backend.DeleteTexture(&record.texture);
        backend.DeleteTexture(&record.scaledTexture);
        backend.CreateTexture(&record.texture, textureWidth, textureHeight, nullptr,
                              TextureFilter::Linear);
    }
    const int left = NearTheScreen(x), bottom = NearTheScreen(int64_t{height} - y - h);
    if (!readBack) {
        backend.CopyFrameBuffer(left, bottom, w, h);
    } else {
        const size_t bytes = static_cast<size_t>(textureWidth) * textureHeight * 4;
        backend.ReadPixelsBgra(left, bottom, textureWidth, textureHeight, gGrabBuffer.data());
        const uint32_t key = TransparentColourOnScreen();
        for (size_t i = 0; i < bytes; i += 4) {
            uint8_t* p = &gGrabBuffer[i];
            const uint32_t colour = p[2] | p[1] << 8 | p[0] << 16;
            p[3] = colour == key ? 0 : 255;
        }
        backend.UploadBgraTexels(textureWidth, textureHeight, gGrabBuffer.data());
    }
    std::free(collisionMasks[slot]);
    collisionMasks[slot] = nullptr;
    record.textureWidth = static_cast<int16_t>(textureWidth);
    record.textureHeight = static_cast<int16_t>(textureHeight);
    record.width = static_cast<int16_t>(w);
    record.height = static_cast<int16_t>(h);
    return true;
}

void OpenGLRainbows::SpriteSize(int slot, int& w, int& h) const {
    const SpriteSlot* record = Sprite(slot);
    w = record ? record->width : 0;
    h = record ? record->height : 0;
}

void OpenGLRainbows::SetFrameSize(int slot, int frameWidth, int frameHeight) {
    if (!ValidSlot(slot)) return;
    spriteSlots[slot].frameWidth = static_cast<int16_t>(frameWidth);
    spriteSlots[slot].frameHeight = static_cast<int16_t>(frameHeight);
}

void OpenGLRainbows::SetTransparentColour(uint32_t colour) {
    spriteTransparentColour = colour;
    fontTransparentColour = colour;
}

bool OpenGLRainbows::LoadResolved(int slot, const char* file, int32_t transparentColour,
                                  bool normalMap) {
    if (!ValidSlot(slot)) return false;
    FreeSprite(slot);
    char path[1024];
    if (!ShoeboxFind(gEngine.mediaShoebox, file, path, sizeof path)) return false;
    return LoadSpriteFile(slot, path, transparentColour, normalMap);
}

bool OpenGLRainbows::LoadSprite(int slot, const char* file) {
    return LoadResolved(slot, file, static_cast<int32_t>(spriteTransparentColour), false);
}

bool OpenGLRainbows::LoadNormalMap(int slot, const char* file) {
    return LoadResolved(slot, file, kNormalMapTransparentColour, true);
}

bool OpenGLRainbows::LoadAnimation(int slot, const char* file, int frameWidth, int frameHeight) {
    const bool loaded = LoadSprite(slot, file);
    int w = 0, h = 0;
    SpriteSize(slot, w, h);
    if (w > 0) SetFrameSize(slot, frameWidth, frameHeight);
    return loaded;
}

// ---------------------------------------------------------------- commands

double LoadSprite(const RtString& file, double slot) {
    OpenGLRainbows* device = gEngine.device;
    return device && device->LoadSprite(TruncateInt32(slot), file.CStr()) ? 1 : 0;
}

double LoadNormalMap(const RtString& file, double slot) {
    OpenGLRainbows* device = gEngine.device;
    return device && device->LoadNormalMap(TruncateInt32(slot), file.CStr()) ? 1 : 0;
}

double LoadAnimation(const RtString& file, double slot, double frameWidth, double frameHeight) {
    OpenGLRainbows* device = gEngine.device;
    return device && device->LoadAnimation(TruncateInt32(slot), file.CStr(),
                                           TruncateInt32(frameWidth), TruncateInt32(frameHeight))
               ? 1
               : 0;
}

void GetSpriteSize(double slot, double& width, double& height) {
    int w = 0, h = 0;
    if (gEngine.device) gEngine.device->SpriteSize(TruncateInt32(slot), w, h);
    width = w;
    height = h;
}

double GrabSprite(double slot, double x, double y, double width, double height) {
    OpenGLRainbows* device = gEngine.device;
    return device && device->GrabScreen(TruncateInt32(slot), TruncateInt32(x), TruncateInt32(y),
                                        TruncateInt32(width), TruncateInt32(height))
               ? 1
               : 0;
}

void SetTransparentColour(double colour) {
    if (gEngine.device)
        gEngine.device->SetTransparentColour(static_cast<uint32_t>(TruncateInt32(colour)));
}
