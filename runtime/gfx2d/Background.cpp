// Background images: screen-sized pictures in square tiles, drawn one to one
// with the alpha test off.
#include "runtime/gfx2d/Background.h"

#include <algorithm>

#include "runtime/core/Engine.h"
#include "runtime/core/EngineState.h"
#include "runtime/files/ErrorLog.h"
#include "runtime/files/Shoebox.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/runtime.h"
#include "runtime/values/Truncate.h"

namespace {

constexpr int kTileGrid = 8;
constexpr double kBlendMs = 1500;

int TileIndex(int column, int row) {
    return column * kTileGrid + row;
}

}  // namespace

void OpenGLRainbows::FreeBackground(int index) {
    if (!ValidBackground(index)) return;
    BackgroundImage& image = backgroundImages[index];
    if (initialisedFlag)
        for (uint32_t& texture : image.tileTextures) backend.DeleteTexture(&texture);
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
    const int tile = std::min(GlBackend::MaxTextureSize(), 512);
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
            // Tiles are only ever drawn one to one, where nearest and linear
            // filtering give the same pixels and nearest costs less.
            backend.SetFilter(TextureFilter::Nearest);
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
    const int maxSize = GlBackend::MaxTextureSize();
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
                image.tileTextureHeights[i] == tile)
                backend.BindTexture(texture);
            else
                backend.CreateTexture(&texture, tile, tile, nullptr, TextureFilter::Nearest);
            const int usedWidth = std::min(tile, w - x), usedHeight = std::min(tile, h - y);
            backend.CopyFrameBuffer(x, h - y - usedHeight, usedWidth, usedHeight);
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
    backend.SetAlphaTest(false);
    backend.UseTextureUnitZeroOnly();
    float x = 0;
    for (int column = 0; column < image.columnCount; ++column) {
        float y = 0;
        for (int row = 0; row < image.rowCount; ++row) {
            const int i = TileIndex(column, row);
            const float w = image.tileUsedWidths[i], h = image.tileUsedHeights[i];
            const float s = w / image.tileTextureWidths[i], t = h / image.tileTextureHeights[i];
            backend.BindTexture(image.tileTextures[i]);
            backend.DrawTile(Quad::Rectangle(x, y, w, h, s, t));
            y += image.tileTextureHeights[i];
        }
        x += image.tileTextureWidths[TileIndex(column, 0)];
    }
    backend.SetAlphaTest(true);
    BindSprite(-1);
    ApplySmoothing();
}

void OpenGLRainbows::LoadBackground(const char* file) {
    AppendErrorLog("Loadbmp");
    AppendErrorLog("Shoeboxing");
    char path[1024];
    if (ShoeboxFind(gEngine.mediaShoebox, file, path, sizeof path)) {
        AppendErrorLog("OK?");
        if (LoadBackgroundFile(0, path)) {
            DrawBackground(0);
            return;
        }
    } else {
        AppendErrorLog("failed");
    }
    ClearScreen();
}

// The old screen fades out while the picture fades in; the two weights sum
// to 1 in every frame.
void OpenGLRainbows::BlendToBackground(const char* file) {
    char path[1024];
    if (!ShoeboxFind(gEngine.mediaShoebox, file, path, sizeof path)) return;
    GrabToBackground(2);
    LoadBackgroundFile(1, path);
    ClearScreen();
    const double end = EngineNow() + kBlendMs;
    double f = 0.9;
    do {
        SetAlphaMode(static_cast<float>(f));
        DrawBackground(2);
        SetAlphaMode(static_cast<float>(1 - f));
        DrawBackground(1);
        PresentFrame();
        f = (end - EngineNow()) / kBlendMs;
    } while (f > 0 && f < 1);
    FreeBackground(1);
    FreeBackground(2);
    LoadBackgroundFile(0, path);
    SetAlphaMode(0);
    DrawBackground(0);
    PresentFrame();
}

// ---------------------------------------------------------------- commands

void LoadBackground(const RtString& file) {
    if (gEngine.device) gEngine.device->LoadBackground(file.CStr());
}

void BlendToBackground(const RtString& file) {
    if (gEngine.device) gEngine.device->BlendToBackground(file.CStr());
}

void GrabBackground() {
    if (gEngine.device) gEngine.device->GrabToBackground(0);
}

void FreeBackground(double image) {
    if (gEngine.device) gEngine.device->FreeBackground(TruncateInt32(image));
}
