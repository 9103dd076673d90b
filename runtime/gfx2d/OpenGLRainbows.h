// The one 2D device: the game window, its OpenGL context and all 2D state
// (sprite slots, font slots, background images, off-screen targets, opacity,
// transparency colours and the frame clock).
#pragma once

#include <cstdint>
#include <string>

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
    int slot = 0;
};

struct TextVertex {
    float x, y, u, v;
};

constexpr int kSpriteSlotCount = 65536;
constexpr int kFontSlotBase = 65504;
constexpr int kScratchSlot = 65503;
constexpr int kBackgroundCount = 8;
constexpr int kOffscreenTargetCount = 32;

class OpenGLRainbows {
public:
    OpenGLRainbows();
    virtual ~OpenGLRainbows();
    OpenGLRainbows(const OpenGLRainbows&) = delete;
    OpenGLRainbows& operator=(const OpenGLRainbows&) = delete;

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

private:
    bool CreateWindowAndFormat(int samples);
    bool ChooseMultisampleFormat();
    void WarnAboutSoftwareRendering();
    void LoadExtensionEntryPoints();
    void EmptySpriteSlots();
    void DeleteBackgroundImages();
};

// The device-level entry points the other 2D files provide.
void BindSprite(int slot);
void EndScreen();
void DrawBackground(int index);
void ClearScreen();
void FreeBackground(double index);
// Why the last Create failed, in one line.
const char* DeviceCreateError();

// Commands (arguments truncated toward zero).
void SetViewport(double x, double y, double width, double height);
void SetFrameRate(double framesPerSecond);
void GetScreenSize(double& width, double& height);
double IsFullScreen();
