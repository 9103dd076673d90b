// The one 2D device: the game window, its OpenGL context and all 2D state
// (sprite slots, font slots, background images, off-screen targets, opacity,
// transparency colours and the frame clock).
#pragma once

#include <cstdint>
#include <string>

#include "runtime/files/ImageFile.h"

namespace platform {
struct Window;
struct GlContext;
}  // namespace platform

struct SpriteSlot {
    uint32_t texture = 0;
    uint32_t scaledTexture = 0;
    int16_t textureWidth = -1;
    int16_t textureHeight = -1;
    int16_t width = 0;
    int16_t height = 0;
    int16_t frameWidth = 0;
    int16_t frameHeight = 0;
};

struct BackgroundImage {
    uint32_t tileTextures[64] = {};
    int tileTextureWidths[64] = {};
    int tileTextureHeights[64] = {};
    int tileUsedWidths[64] = {};
    int tileUsedHeights[64] = {};
    int columnCount = 0;
    int rowCount = 0;
};

struct OffscreenTarget {
    uint32_t framebuffer = 0;
    uint32_t depthBuffer = 0;
    int width = 0;
    int height = 0;
    int slot = -1;  // -1 until CreateScreen sets the target up
};

struct TextVertex {
    float x, y, z, s, t;
};

constexpr int kSpriteSlotCount = 65536;
constexpr int kFontSlotBase = 65504;
constexpr int kFontCount = 32;
constexpr int kScratchSlot = 65503;
constexpr int kBackgroundCount = 8;
constexpr int kOffscreenTargetCount = 32;

class OpenGLRainbows {
  public:
    OpenGLRainbows();
    virtual ~OpenGLRainbows();
    OpenGLRainbows(const OpenGLRainbows&) = delete;
    OpenGLRainbows& operator=(const OpenGLRainbows&) = delete;

    // The bounds of the device's tables. Every operation that takes a number
    // from a command asks here before it touches a record.
    static bool ValidSlot(int slot) { return slot >= 0 && slot < kSpriteSlotCount; }
    static bool ValidFont(int font) { return font >= 0 && font < kFontCount; }
    static bool ValidBackground(int image) { return image >= 0 && image < kBackgroundCount; }
    bool TargetCreated(int target) const {
        return target >= 0 && target < kOffscreenTargetCount &&
               ValidSlot(offscreenTargets[target].slot);
    }
    // The slot's record; null outside the table.
    const SpriteSlot* Sprite(int slot) const {
        return ValidSlot(slot) ? &spriteSlots[slot] : nullptr;
    }

    bool Create(void* instance, int width, int height, int colourBits, int framesPerSecond,
                int samples);
    bool EnterFullScreen();
    bool EnterWindowed();
    bool HideWindow();
    bool ChangeMode(int width, int height, int colourBits, int fullScreen);
    void SetView(int x, int y, int width, int height);
    double Present();
    bool PumpMessages();
    void SetFrameRate(int framesPerSecond);
    void CloseWindow();

    // Sprite slots and textures.
    bool LoadSpriteFile(int slot, const char* path, int32_t transparentColour, bool normalMap);
    // A texture of the rectangle (0 = up to the picture's edge); the scaled
    // texture (mip-mapped) only when scaledTextureOut is given.
    bool UploadPicture(const DecodedImage& picture, int left, int top, int width, int height,
                       uint32_t* textureOut, uint32_t* scaledTextureOut, bool normalMap,
                       bool nearest);
    void FreeSprite(int slot);
    bool GrabScreen(int slot, int x, int y, int width, int height);
    void SpriteSize(int slot, int& width, int& height) const;
    void SetFrameSize(int slot, int frameWidth, int frameHeight);
    // The sprite transparent colour as the frame buffer stores it.
    uint32_t TransparentColourOnScreen();
    bool FrameBufferHasAlpha();

    // Sprite drawing, in the current view.
    void DrawSprite(int slot, float x, float y);
    void StretchSprite(int slot, float x, float y, float width, float height);
    void ZoomSprite(int slot, float x, float y, float scaleX, float scaleY);
    void RotoZoomSprite(int slot, float x, float y, float angle, float zoom);
    void DrawAnimation(int slot, int frame, float x, float y);
    void StretchAnimation(int slot, int frame, float x, float y, float width, float height);
    void RotoZoomAnimation(int slot, int frame, float x, float y, float angle, float zoom);
    // The bound texture's filters from the smooth flag. A quad that maps
    // texels one to one to pixels passes oneToOne and always gets nearest.
    void ApplySmoothing(bool oneToOne = false);
    void CountQuads(int quads);  // flushes after every kQuadsPerFlush
    void BindSprite(int slot, int secondSlot = -1, bool scaled = false);

    // Fonts.
    bool LoadFontFile(int font, const char* path);
    bool InstallBuiltInFont(int font);
    int DrawText(int font, const char* text, float x, float y, float z);
    void FontCellSize(int font, int& width, int& height) const;

    // Alpha mode and primitives.
    void SetAlphaMode(float mode);
    void DrawPixel(float x, float y, int32_t colour);
    void DrawLine(float x1, float y1, float x2, float y2, int32_t colour);
    void DrawRect(float x, float y, float width, float height, int32_t colour);
    uint32_t GetPixel(int x, int y);

    // Collision of two placed pictures (frame -1: the whole picture).
    bool Collide(int slot1, int frame1, int x1, int y1, int slot2, int frame2, int x2, int y2);

    // Background images, off-screen targets, saving.
    bool LoadBackgroundFile(int image, const char* path);
    void GrabToBackground(int image);
    void DrawBackground(int image);
    void FreeBackground(int image);
    void CreateScreen(int target, int slot, int width, int height);
    void UseScreen(int target);
    void EndScreen();
    // Pixels: bufferWidth x bufferHeight, rows bottom-up, blue-green-red bytes
    // with rows padded to 4 bytes; the lower-left width x height are written.
    bool SaveImage(const char* path, const uint8_t* pixels, int width, int height, int bufferWidth,
                   int bufferHeight);

    // Fields, in the order the device has always kept them.
    TextVertex* vertexBuffer = nullptr;
    int vertexCount = 0;
    int vertexCapacity = 0;
    int bufferGrowStep = 128;
    int bufferInitialSize = 512;
    SpriteSlot* spriteSlots = nullptr;
    float currentOpacity = 0;
    OffscreenTarget offscreenTargets[kOffscreenTargetCount];
    int currentOffscreenTarget = -1;
    uint8_t** collisionMasks = nullptr;
    BackgroundImage backgroundImages[kBackgroundCount];
    uint8_t smoothFlag = 1;
    platform::Window* window = nullptr;
    int width = 0;
    int height = 0;
    int colourBits = 0;
    uint8_t fullScreenFlag = 0;
    int multisampleSamples = 0;
    int viewX = 0, viewY = 0, viewWidth = 0, viewHeight = 0;
    uint32_t spriteTransparentColour = 0x8000FF;
    uint32_t fontTransparentColour = 0x8000FF;
    uint8_t initialisedFlag = 0;
    double nextFrameTime = 0;
    double frameInterval = 2.0;
    void* programInstance = nullptr;
    platform::GlContext* renderingContext = nullptr;

    // Bound-texture record.
    int boundSlot = -1;
    int boundSecondSlot = -1;
    uint8_t boundScaled = 0;
    uint8_t textureUnitOneOn = 0;  // only the 2D device switches unit 1
    static constexpr int kQuadsPerFlush = 5000;
    int quadsSinceFlush = 0;
    int frameBufferAlphaBits = -1;  // -1 until first asked

  private:
    uint8_t* CollisionMask(int slot);
    void BeginPrimitive(int32_t colour);
    void EndPrimitive();
    void FinishTarget();

    bool CreateWindowAndFormat(int samples);
    bool ChooseMultisampleFormat();
    void WarnAboutSoftwareRendering();
    void LoadExtensionEntryPoints();
    void EmptySpriteSlots();
    void DeleteBackgroundImages();
};

// The device-level entry points the other 2D files provide.
// A slot's texture means its scaled texture when `scaled` is set; slot -1:
// no texture.
void BindSprite(int slot, int secondSlot = -1, bool scaled = false);
void EndScreen();
void DrawBackground(int index);
void ClearScreen();
void FreeBackground(double index);
// Why the last Create failed, in one line.
const char* DeviceCreateError();
// True once the software-rendering warning has been given in this process.
bool SoftwareRenderingWarned();

// Commands (arguments truncated toward zero).
void SetViewport(double x, double y, double width, double height);
void SetFrameRate(double framesPerSecond);
void GetScreenSize(double& width, double& height);
double IsFullScreen();
