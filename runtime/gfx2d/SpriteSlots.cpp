// Sprite slots: pictures become power-of-two textures with the picture in the
// lower-left corner, and a mip-mapped copy for scaled drawing.
#include "runtime/gfx2d/SpriteSlots.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "runtime/core/EngineState.h"
#include "runtime/files/Shoebox.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/gfx2d/TextureTexels.h"
#include "runtime/values/Truncate.h"

namespace {

constexpr int32_t kNormalMapTransparentColour = 0x8000FF;

// The read-back buffer of grabs on frame buffers without alpha: it only grows.
std::vector<uint8_t> gGrabBuffer;

void SetTextureParameters(GLint filter) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
}

void UploadScaledTexture(const uint8_t* texels, int textureWidth, int textureHeight,
                         uint32_t* scaledTexture) {
    if (*scaledTexture) glDeleteTextures(1, scaledTexture);
    glGenTextures(1, scaledTexture);
    glBindTexture(GL_TEXTURE_2D, *scaledTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    std::vector<uint8_t> level, next;
    int side = SquareScaledLevel(texels, textureWidth, textureHeight, level);
    for (int index = 0;; ++index) {
        glTexImage2D(GL_TEXTURE_2D, index, GL_RGBA8, side, side, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     level.data());
        if (side <= 1) break;
        NextMipLevel(level.data(), side, next);
        level.swap(next);
        side /= 2;
    }
}

int MaxTextureSize() {
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    return size > 0 ? size : 1024;
}

int32_t KeyOf(uint32_t colour) {
    return static_cast<int32_t>(colour);
}

}  // namespace

bool OpenGLRainbows::UploadPicture(const DecodedImage& picture, int left, int top, int w, int h,
                                   uint32_t* textureOut, uint32_t* scaledTextureOut, bool normalMap,
                                   bool nearest) {
    if (w == 0) w = picture.width - left;
    if (h == 0) h = picture.height - top;
    if (w < 1 || h < 1) return false;
    const int maxSize = MaxTextureSize();
    w = std::min(w, maxSize);
    h = std::min(h, maxSize);
    const int textureWidth = PowerOfTwoSide(w, 2), textureHeight = PowerOfTwoSide(h, 2);
    std::vector<uint8_t> texels(static_cast<size_t>(textureWidth) * textureHeight * 4, 0);
    CopyPictureIntoTexels(picture, left, top, w, h, texels.data(), textureWidth);
    if (!nearest) BleedColourIntoTransparentTexels(texels.data(), textureWidth, textureHeight);

    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    if (*textureOut) glDeleteTextures(1, textureOut);
    glGenTextures(1, textureOut);
    glBindTexture(GL_TEXTURE_2D, *textureOut);
    SetTextureParameters(nearest ? GL_NEAREST : GL_LINEAR);
    if (normalMap) ConvertToNormalMap(texels.data(), textureWidth, textureHeight);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, textureWidth, textureHeight, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, texels.data());
    if (scaledTextureOut)
        UploadScaledTexture(texels.data(), textureWidth, textureHeight, scaledTextureOut);
    return true;
}

void OpenGLRainbows::FreeSprite(int slot) {
    if (!ValidSlot(slot)) return;
    SpriteSlot& record = spriteSlots[slot];
    if (initialisedFlag) {
        if (record.texture) glDeleteTextures(1, &record.texture);
        if (record.scaledTexture) glDeleteTextures(1, &record.scaledTexture);
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
    SpriteSlot& record = spriteSlots[slot];
    const bool font = slot >= kFontSlotBase;
    const bool uploaded =
        UploadPicture(picture, 0, 0, 0, 0, &record.texture, font ? nullptr : &record.scaledTexture,
                      font ? false : normalMap, font);
    if (uploaded) {
        const int maxSize = MaxTextureSize();
        record.textureWidth =
            static_cast<int16_t>(PowerOfTwoSide(std::min(picture.width, maxSize), 2));
        record.textureHeight =
            static_cast<int16_t>(PowerOfTwoSide(std::min(picture.height, maxSize), 2));
        record.width = static_cast<int16_t>(picture.width);
        record.height = static_cast<int16_t>(picture.height);
    }
    ReleaseDecodedImage(&picture);
    return uploaded;
}

bool OpenGLRainbows::FrameBufferHasAlpha() {
    if (frameBufferAlphaBits < 0) {
        GLint bits = 0;
        glGetIntegerv(GL_ALPHA_BITS, &bits);
        frameBufferAlphaBits = bits;
    }
    return frameBufferAlphaBits > 0;
}

// The colour is written into one pixel and read back, so a frame buffer with
// fewer colour bits reports it as rounded as it stores it; the pixel is then
// put back as it was.
uint32_t OpenGLRainbows::TransparentColourOnScreen() {
    const uint32_t colour = spriteTransparentColour;
    if (colour == 0) return 0;
    if (colour > 0xFFFFFF) return colour;  // none: matches no pixel
    GLubyte saved[4] = {}, seen[4] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(4, 4, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, saved);
    GLfloat clearColour[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    GLint box[4];
    glGetIntegerv(GL_SCISSOR_BOX, box);
    glEnable(GL_SCISSOR_TEST);
    glScissor(4, 4, 1, 1);
    glClearColor((colour & 255) / 255.0f, (colour >> 8 & 255) / 255.0f,
                 (colour >> 16 & 255) / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glReadPixels(4, 4, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, seen);
    glClearColor(saved[0] / 255.0f, saved[1] / 255.0f, saved[2] / 255.0f, saved[3] / 255.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
    glScissor(box[0], box[1], box[2], box[3]);
    if (!scissor) glDisable(GL_SCISSOR_TEST);
    return seen[0] | seen[1] << 8 | seen[2] << 16;
}

bool OpenGLRainbows::GrabScreen(int slot, int x, int y, int w, int h) {
    if (!ValidSlot(slot)) return false;
    w = std::max(w, 0);
    h = std::max(h, 0);
    const int textureWidth = PowerOfTwoSide(w, 32), textureHeight = PowerOfTwoSide(h, 32);
    SpriteSlot& record = spriteSlots[slot];
    if (record.texture && record.textureWidth == textureWidth &&
        record.textureHeight == textureHeight) {
        glBindTexture(GL_TEXTURE_2D, record.texture);
    } else {
        if (record.texture) glDeleteTextures(1, &record.texture);
        if (record.scaledTexture) glDeleteTextures(1, &record.scaledTexture);
        record.texture = record.scaledTexture = 0;
        glGenTextures(1, &record.texture);
        glBindTexture(GL_TEXTURE_2D, record.texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, textureWidth, textureHeight, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, nullptr);
        SetTextureParameters(GL_LINEAR);
    }
    const int bottom = height - y - h;
    if (FrameBufferHasAlpha()) {
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, x, bottom, w, h);
    } else {
        const size_t bytes = static_cast<size_t>(textureWidth) * textureHeight * 4;
        if (gGrabBuffer.size() < bytes) gGrabBuffer.resize(bytes);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, bottom, textureWidth, textureHeight, GL_BGRA, GL_UNSIGNED_BYTE,
                     gGrabBuffer.data());
        const uint32_t key = TransparentColourOnScreen();
        for (size_t i = 0; i < bytes; i += 4) {
            uint8_t* p = &gGrabBuffer[i];
            const uint32_t colour = p[2] | p[1] << 8 | p[0] << 16;
            p[3] = colour == key ? 0 : 255;
        }
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, textureWidth, textureHeight, GL_BGRA,
                        GL_UNSIGNED_BYTE, gGrabBuffer.data());
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

// ---------------------------------------------------------------- commands

namespace {

double LoadSlot(const RtString& file, int slot, int32_t transparentColour, bool normalMap) {
    OpenGLRainbows* device = gEngine.device;
    if (!device || !OpenGLRainbows::ValidSlot(slot)) return 0;
    device->FreeSprite(slot);
    char path[1024];
    if (!ShoeboxFind(gEngine.mediaShoebox, file.CStr(), path, sizeof path)) return 0;
    return device->LoadSpriteFile(slot, path, transparentColour, normalMap) ? 1 : 0;
}

}  // namespace

double LoadSprite(const RtString& file, double slot) {
    if (!gEngine.device) return 0;
    return LoadSlot(file, TruncateInt32(slot), KeyOf(gEngine.device->spriteTransparentColour),
                    false);
}

double LoadNormalMap(const RtString& file, double slot) {
    return LoadSlot(file, TruncateInt32(slot), kNormalMapTransparentColour, true);
}

double LoadAnimation(const RtString& file, double slot, double frameWidth, double frameHeight) {
    const double loaded = LoadSprite(file, slot);
    OpenGLRainbows* device = gEngine.device;
    const int s = TruncateInt32(slot);
    int w = 0, h = 0;
    if (device) device->SpriteSize(s, w, h);
    if (w > 0) device->SetFrameSize(s, TruncateInt32(frameWidth), TruncateInt32(frameHeight));
    return loaded;
}

void GetSpriteSize(double slot, double& width, double& height) {
    int w = 0, h = 0;
    if (gEngine.device) gEngine.device->SpriteSize(TruncateInt32(slot), w, h);
    width = w;
    height = h;
}

double GrabSprite(double slot, double x, double y, double width, double height) {
    if (!gEngine.device) return 0;
    return gEngine.device->GrabScreen(TruncateInt32(slot), TruncateInt32(x), TruncateInt32(y),
                                      TruncateInt32(width), TruncateInt32(height))
               ? 1
               : 0;
}

void SetTransparentColour(double colour) {
    if (!gEngine.device) return;
    const uint32_t value = static_cast<uint32_t>(TruncateInt32(colour));
    gEngine.device->spriteTransparentColour = value;
    gEngine.device->fontTransparentColour = value;
}
