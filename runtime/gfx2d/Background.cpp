#include "runtime/gfx2d/Background.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>

#include "runtime/core/Engine.h"
#include "runtime/core/EngineState.h"
#include "runtime/files/ErrorLog.h"
#include "runtime/files/Shoebox.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/gfx2d/Primitives.h"
#include "runtime/values/Truncate.h"

namespace {

constexpr int kTileGrid = 8;
constexpr double kBlendMs = 1500;

int MaxTextureSize() {
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    return size > 0 ? size : 1024;
}

// For the bound tile. Tiles are only ever drawn one to one, where nearest
// and linear filtering give the same pixels and nearest costs less.
void FilterTileNearest() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
}

int TileIndex(int column, int row) {
    return column * kTileGrid + row;
}

}  // namespace

void OpenGLRainbows::FreeBackground(int index) {
    if (!ValidBackground(index)) return;
    BackgroundImage& image = backgroundImages[index];
    if (initialisedFlag)
        for (uint32_t& texture : image.tileTextures)
            if (texture) glDeleteTextures(1, &texture);
    image = BackgroundImage{};
}

// A picture needing more than 8 tiles either way keeps its first 8 x 8.
bool OpenGLRainbows::LoadBackgroundFile(int index, const char* path) {
    if (!ValidBackground(index)) return false;
    DecodedImage picture;
    if (!DecodeImageFile(&picture, path, kNoColourKey) || picture.width == 0 ||
        picture.height == 0) {
        ReleaseDecodedImage(&picture);
        return false;
    }
    const int tile = std::min(MaxTextureSize(), 512);
    FreeBackground(index);
    BackgroundImage& image = backgroundImages[index];
    bool loaded = true;
    for (int row = 0; row < kTileGrid && row * tile < picture.height && loaded; ++row) {
        int columns = 0;
        for (int column = 0; column < kTileGrid && column * tile < picture.width; ++column) {
            const int i = TileIndex(column, row);
            if (!UploadPicture(picture, column * tile, row * tile, tile, tile,
                               &image.tileTextures[i], nullptr, false, false)) {
                loaded = false;
                break;
            }
            FilterTileNearest();
            image.tileTextureWidths[i] = image.tileTextureHeights[i] = tile;
            image.tileUsedWidths[i] = image.tileUsedHeights[i] = tile;
            columns = column + 1;
        }
        image.columnCount = std::max(image.columnCount, columns);
        image.rowCount = row + 1;
    }
    ReleaseDecodedImage(&picture);
    if (!loaded) FreeBackground(index);
    return loaded;
}

void OpenGLRainbows::GrabToBackground(int index) {
    if (!ValidBackground(index)) return;
    const int w = width, h = height;
    const int maxSize = MaxTextureSize();
    int tile = 128;
    while (tile < std::max(w, h) && tile < maxSize) tile *= 2;
    BackgroundImage& image = backgroundImages[index];
    int rows = 0, columns = 0;
    for (int y = 0; y < h && rows < kTileGrid; y += tile, ++rows) {
        columns = 0;
        for (int x = 0; x < w && columns < kTileGrid; x += tile, ++columns) {
            const int i = TileIndex(columns, rows);
            uint32_t& texture = image.tileTextures[i];
            if (texture && image.tileTextureWidths[i] == tile &&
                image.tileTextureHeights[i] == tile) {
                glBindTexture(GL_TEXTURE_2D, texture);
            } else {
                if (texture) glDeleteTextures(1, &texture);
                glGenTextures(1, &texture);
                glBindTexture(GL_TEXTURE_2D, texture);
                glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tile, tile, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                             nullptr);
                FilterTileNearest();
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
            }
            const int usedWidth = std::min(tile, w - x), usedHeight = std::min(tile, h - y);
            glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, x, h - y - usedHeight, usedWidth,
                                usedHeight);
            image.tileTextureWidths[i] = image.tileTextureHeights[i] = tile;
            image.tileUsedWidths[i] = usedWidth;
            image.tileUsedHeights[i] = usedHeight;
        }
    }
    image.columnCount = columns;
    image.rowCount = rows;
}

void OpenGLRainbows::DrawBackground(int index) {
    if (!ValidBackground(index)) return;
    const BackgroundImage& image = backgroundImages[index];
    if (image.columnCount == 0) return;
    glDisable(GL_ALPHA_TEST);
    auto activeTexture = reinterpret_cast<PFNGLACTIVETEXTUREARBPROC>(gEngine.gl.activeTexture);
    if (activeTexture && textureUnitOneOn) {
        activeTexture(GL_TEXTURE1_ARB);
        glDisable(GL_TEXTURE_2D);
        textureUnitOneOn = 0;
        activeTexture(GL_TEXTURE0_ARB);
    }
    glEnable(GL_TEXTURE_2D);
    float x = 0;
    for (int column = 0; column < image.columnCount; ++column) {
        float y = 0;
        for (int row = 0; row < image.rowCount; ++row) {
            const int i = TileIndex(column, row);
            const float w = image.tileUsedWidths[i], h = image.tileUsedHeights[i];
            const float s = w / image.tileTextureWidths[i], t = h / image.tileTextureHeights[i];
            glBindTexture(GL_TEXTURE_2D, image.tileTextures[i]);
            glBegin(GL_QUADS);
            glTexCoord2f(0, 0);
            glVertex2f(x, y + h);
            glTexCoord2f(s, 0);
            glVertex2f(x + w, y + h);
            glTexCoord2f(s, t);
            glVertex2f(x + w, y);
            glTexCoord2f(0, t);
            glVertex2f(x, y);
            glEnd();
            y += image.tileTextureHeights[i];
        }
        x += image.tileTextureWidths[TileIndex(column, 0)];
    }
    glEnable(GL_ALPHA_TEST);
    BindSprite(-1);
    ApplySmoothing();
}

void DrawBackground(int index) {
    if (gEngine.device) gEngine.device->DrawBackground(index);
}

void FreeBackground(double index) {
    if (gEngine.device) gEngine.device->FreeBackground(TruncateInt32(index));
}

// ---------------------------------------------------------------- commands

void LoadBackground(const RtString& file) {
    OpenGLRainbows* device = gEngine.device;
    if (!device) return;
    AppendErrorLog("Loadbmp");
    AppendErrorLog("Shoeboxing");
    char path[1024];
    if (ShoeboxFind(gEngine.mediaShoebox, file.CStr(), path, sizeof path)) {
        AppendErrorLog("OK?");
        if (device->LoadBackgroundFile(0, path)) {
            device->DrawBackground(0);
            return;
        }
    } else {
        AppendErrorLog("failed");
    }
    device->FreeBackground(0);
    glClear(GL_COLOR_BUFFER_BIT);
}

// The old screen fades out while the picture fades in; the two weights sum
// to 1 in every frame.
void BlendToBackground(const RtString& file) {
    OpenGLRainbows* device = gEngine.device;
    if (!device) return;
    char path[1024];
    if (!ShoeboxFind(gEngine.mediaShoebox, file.CStr(), path, sizeof path)) return;
    device->GrabToBackground(2);
    device->LoadBackgroundFile(1, path);
    device->FreeBackground(0);
    glClear(GL_COLOR_BUFFER_BIT);
    const double end = EngineNow() + kBlendMs;
    double f = 0.9;
    do {
        device->SetAlphaMode(static_cast<float>(f));
        device->DrawBackground(2);
        device->SetAlphaMode(static_cast<float>(1 - f));
        device->DrawBackground(1);
        PresentFrame();
        f = (end - EngineNow()) / kBlendMs;
    } while (f > 0 && f < 1);
    device->FreeBackground(1);
    device->FreeBackground(2);
    device->LoadBackgroundFile(0, path);
    device->SetAlphaMode(0);
    device->DrawBackground(0);
    PresentFrame();
}

void GrabBackground() {
    if (gEngine.device) gEngine.device->GrabToBackground(0);
}
