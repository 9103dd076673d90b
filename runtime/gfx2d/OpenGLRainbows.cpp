// The device's life: the window and its context, the 2D view, presenting
// and pacing frames, and the tear-down.
#include "runtime/gfx2d/OpenGLRainbows.h"

#include <cstdlib>
#include <new>
#include <string>

#include "runtime/core/Engine.h"
#include "runtime/core/EngineState.h"
#include "runtime/files/ErrorLog.h"
#include "runtime/gfx2d/TextureTexels.h"
#include "runtime/platform/Platform.h"
#include "runtime/runtime.h"
#include "runtime/values/Truncate.h"

namespace {

bool gWindowClassRegistered = false;
bool gSoftwareWarningShown = false;
bool gSoftwareRendering = false;
std::string gCreateError;

constexpr const char* kWindowClass = "Kestrin";

bool IsSoftwareRenderer(const char* renderer) {
    if (!renderer) return false;
    const std::string r = renderer;
    return r == "Mesa Windows GDI Driver" || r.find("llvmpipe") != std::string::npos ||
           r.find("softpipe") != std::string::npos ||
           r.find("Software Rasterizer") != std::string::npos;
}

}  // namespace

OpenGLRainbows::OpenGLRainbows() {
    spriteSlots = new SpriteSlot[kSpriteSlotCount];
    // calloc leaves the fresh pages untouched until a mask is kept; new[]() would write them all.
    collisionMasks = static_cast<uint8_t**>(std::calloc(kSpriteSlotCount, sizeof(uint8_t*)));
    if (!collisionMasks) throw std::bad_alloc();
    for (auto& target : offscreenTargets) target = OffscreenTarget{};
    for (auto& image : backgroundImages) image = BackgroundImage{};
    ProbeEngineClock();
    nextFrameTime = EngineNow();
}

OpenGLRainbows::~OpenGLRainbows() {
    EndScreen();
    if (initialisedFlag) {
        for (auto& target : offscreenTargets) {
            backend.DeleteFramebuffer(&target.framebuffer, &target.depthBuffer);
            target = OffscreenTarget{};
        }
    }
    CloseWindow();
    if (renderingContext) {
        platform::DeleteGlContext(renderingContext);
        backend.ContextLost();
        renderingContext = nullptr;
    }
    delete[] spriteSlots;
    spriteSlots = nullptr;
    for (int i = 0; i < kSpriteSlotCount; ++i) std::free(collisionMasks[i]);
    std::free(collisionMasks);
    collisionMasks = nullptr;
    std::free(vertexBuffer);
    vertexBuffer = nullptr;
}

bool OpenGLRainbows::CreateWindowAndFormat(int samples) {
    platform::PixelFormatRequest format;
    format.colourBits = colourBits;
    format.samples = samples;
    // The window opens at the largest whole multiple of the screen that fits
    // the display; it is made at that size, as some drawing surfaces keep the
    // size they were made with.
    windowedScale = width > 0 && height > 0 ? platform::WindowedScale(width, height) : 1;
    const int windowWidth = width * windowedScale, windowHeight = height * windowedScale;
    const int x = (platform::DesktopWidth() - windowWidth) / 2;
    const int y = (platform::DesktopHeight() - windowHeight) / 2;
    std::string error;
    window = platform::CreateGameWindow(
        kWindowClass, x, y, windowWidth,
        windowHeight + platform::CaptionHeight() + 6 * platform::BorderHeight(), format, &error);
    if (!window) {
        gCreateError = error;
        return false;
    }
    if (width > 0 && height > 0) platform::SetFrameSize(window, width, height);
    return true;
}

bool OpenGLRainbows::Create(void* instance, int newWidth, int newHeight, int newColourBits,
                            int framesPerSecond, int samples) {
    programInstance = instance;
    SetFrameRate(framesPerSecond);
    if (!gWindowClassRegistered) {
        platform::SetWindowProcedure(WindowProcedure);
        gWindowClassRegistered = true;
    }
    width = newWidth;
    height = newHeight;
    colourBits = newColourBits ? newColourBits : platform::DesktopBitsPerPixel();
    multisampleSamples = samples;
    if (!CreateWindowAndFormat(0)) return false;
    if (width == 0 || height == 0) {
        int w = 0, h = 0;
        platform::GetDrawableSize(window, &w, &h);
        if (width == 0) width = w;
        if (height == 0) height = h;
        platform::SetFrameSize(window, width, height);
    }
    fullScreenFlag = 0;

    if (!renderingContext) renderingContext = platform::CreateGlContext(window);
    if (!renderingContext || !platform::MakeCurrent(window, renderingContext)) {
        platform::DeleteGlContext(renderingContext);
        backend.ContextLost();
        renderingContext = platform::CreateGlContext(window);
        if (!renderingContext || !platform::MakeCurrent(window, renderingContext)) {
            gCreateError = "cannot create an OpenGL context for the window";
            platform::DestroyGameWindow(window);
            window = nullptr;
            return false;
        }
    }

    if (samples != 0 && !ChooseMultisampleFormat()) multisampleSamples = 0;
    WarnAboutSoftwareRendering();

    fullScreenFlag = 0;
    nextFrameTime = EngineNow();
    GlBackend::LoadEntryPoints(gEngine.gl);
    std::string error;
    if (!backend.Start(&error)) {
        gCreateError = error;
        CloseWindow();
        return false;
    }
    platform::ShowGameWindow(window, true);
    SetView(0, 0, 0, 0);
    initialisedFlag = 1;
    return true;
}

// Looks for a multisampled format with the requested samples, halving the
// count down to one; with one found the window and context are made anew.
bool OpenGLRainbows::ChooseMultisampleFormat() {
    int n = multisampleSamples;
    while (n >= 1 && !platform::MultisampleFormatAvailable(n)) n /= 2;
    if (n < 1) return false;
    CloseWindow();
    if (!CreateWindowAndFormat(n)) return false;
    platform::DeleteGlContext(renderingContext);
    backend.ContextLost();
    renderingContext = platform::CreateGlContext(window);
    if (!renderingContext || !platform::MakeCurrent(window, renderingContext)) return false;
    multisampleSamples = n;
    return true;
}

void OpenGLRainbows::WarnAboutSoftwareRendering() {
    if (gSoftwareWarningShown) return;
    gSoftwareWarningShown = true;
    if (!IsSoftwareRenderer(GlBackend::RendererName())) return;
    gSoftwareRendering = true;
    platform::WarningBox("!!OpenGL Software Emulation!!",
                         "Please update your GFX adapter's driver\nso it can render OpenGL by "
                         "HARDWARE\n\n\nBitte aktualisieren Sie Ihren\nGrafkkartentreiber, damit "
                         "er OpenGL\nper HARDWARE unterst\xC3\xBCtzt!");
    AppendErrorLog("OpenGL Software Emulation");
}

void OpenGLRainbows::SetView(int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) {
        w = width;
        h = height;
    }
    viewX = x;
    viewY = y;
    viewWidth = w;
    viewHeight = h;
    if (!window) return;
    backend.SetViewport(x, height - h - y, w, h);
    backend.SetProjection(w, h);
    backend.ResetTwoDState();
    smoothFlag = 1;
    BindSprite(-1);
}

void OpenGLRainbows::ShowFrame() {
    const platform::FrameLayout layout = platform::GetFrameLayout(window);
    if (layout.direct) return;
    FrameShowing showing;
    showing.frameWidth = width;
    showing.frameHeight = height;
    showing.textureWidth = PowerOfTwoSide(width, 1);
    showing.textureHeight = PowerOfTwoSide(height, 1);
    showing.drawableWidth = layout.drawableWidth;
    showing.drawableHeight = layout.drawableHeight;
    showing.scale = layout.scale;
    showing.x = layout.x;
    showing.y = layout.y;
    backend.ShowFrameScaled(&frameTexture, showing);
}

double OpenGLRainbows::Present() {
    EndScreen();
    ShowFrame();
    backend.Present(window);
    const double start = EngineNow();
    double now = start;
    bool spinning = false;
    uint64_t preemptedBefore = 0;
    for (;;) {
        PumpMessages();
        now = EngineNow();
        if (now > nextFrameTime) break;
        // Asleep until shortly before the deadline, woken by any message;
        // only the last stretch is spun, as a sleep may come back late.
        const double sleep = nextFrameTime - now - wakeMargin.Ms();
        if (sleep > 0) {
            if (!platform::WaitForEvent(sleep)) wakeMargin.Record(EngineNow() - now - sleep);
        } else if (!spinning) {
            spinning = true;
            preemptedBefore = platform::TimesPreempted();
        }
    }
    if (spinning) wakeMargin.RecordSpin(platform::TimesPreempted() != preemptedBefore);
    nextFrameTime += frameInterval;
    // Missed frames are skipped, not caught up.
    while (frameInterval > 0 && nextFrameTime < now) nextFrameTime += frameInterval;
    return now - start + 1;
}

void OpenGLRainbows::RestartPacing() {
    nextFrameTime = EngineNow();
}

void OpenGLRainbows::PrepareNextFrame() {
    backend.ResetBlendingAndColour();
    currentOpacity = 1.0f;
    DrawBackground(0);
    SetView(0, 0, 0, 0);
}

bool OpenGLRainbows::PumpMessages() {
    platform::Message message;
    while (platform::PeekMessage(&message)) {
        if (message.message == platform::kMsgQuit) continue;
        platform::DispatchMessage(message);
    }
    return true;
}

void OpenGLRainbows::SetFrameRate(int framesPerSecond) {
    frameInterval = framesPerSecond <= 0 ? 2.0 : 1000.0 / framesPerSecond;
}

// Frame sizes go too, as nothing of the slot's picture is left.
void OpenGLRainbows::EmptySpriteSlots() {
    for (int i = 0; i < kSpriteSlotCount; ++i) {
        FreeSprite(i);
        spriteSlots[i] = SpriteSlot{};
    }
}

void OpenGLRainbows::CloseWindow() {
    if (!window) return;
    if (initialisedFlag) {
        EmptySpriteSlots();
        for (int image = 0; image < kBackgroundCount; ++image) FreeBackground(image);
    }
    EnterWindowed();
    backend.DeleteTexture(&frameTexture);
    platform::MakeCurrent(nullptr, nullptr);
    platform::DestroyGameWindow(window);
    window = nullptr;
}

const char* DeviceCreateError() {
    return gCreateError.c_str();
}
bool SoftwareRenderingWarned() {
    return gSoftwareRendering;
}

// ---------------------------------------------------------------- commands

void SetViewport(double x, double y, double width, double height) {
    if (gEngine.device)
        gEngine.device->SetView(TruncateInt32(x), TruncateInt32(y), TruncateInt32(width),
                                TruncateInt32(height));
}

void SetFrameRate(double framesPerSecond) {
    if (gEngine.device) gEngine.device->SetFrameRate(TruncateInt32(framesPerSecond));
}

void GetScreenSize(double& width, double& height) {
    width = gEngine.device ? gEngine.device->Width() : 0;
    height = gEngine.device ? gEngine.device->Height() : 0;
}

double IsFullScreen() {
    return gEngine.device && gEngine.device->FullScreen() ? 1 : 0;
}
