#include "runtime/gfx2d/OpenGLRainbows.h"

#define GL_GLEXT_PROTOTYPES 0
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/core/Engine.h"
#include "runtime/core/EngineState.h"
#include "runtime/files/ErrorLog.h"
#include "runtime/platform/Platform.h"

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
    collisionMasks = new uint8_t*[kSpriteSlotCount]();
    for (auto& target : offscreenTargets) target = OffscreenTarget{};
    for (auto& image : backgroundImages) image = BackgroundImage{};
    ProbeEngineClock();
    nextFrameTime = EngineNow();
}

OpenGLRainbows::~OpenGLRainbows() {
    EndScreen();
    if (initialisedFlag) {
        auto deleteFramebuffers =
            reinterpret_cast<PFNGLDELETEFRAMEBUFFERSEXTPROC>(gEngine.gl.deleteFramebuffers);
        auto deleteRenderbuffers =
            reinterpret_cast<PFNGLDELETERENDERBUFFERSEXTPROC>(gEngine.gl.deleteRenderbuffers);
        for (auto& target : offscreenTargets) {
            if (target.framebuffer && deleteFramebuffers)
                deleteFramebuffers(1, &target.framebuffer);
            if (target.depthBuffer && deleteRenderbuffers)
                deleteRenderbuffers(1, &target.depthBuffer);
            target = OffscreenTarget{};
        }
    }
    CloseWindow();
    if (renderingContext) {
        platform::DeleteGlContext(renderingContext);
        renderingContext = nullptr;
    }
    delete[] spriteSlots;
    spriteSlots = nullptr;
    for (int i = 0; i < kSpriteSlotCount; ++i) std::free(collisionMasks[i]);
    delete[] collisionMasks;
    collisionMasks = nullptr;
    std::free(vertexBuffer);
    vertexBuffer = nullptr;
}

bool OpenGLRainbows::CreateWindowAndFormat(int samples) {
    platform::PixelFormatRequest format;
    format.colourBits = colourBits;
    format.samples = samples;
    const int x = (platform::DesktopWidth() - width) / 2;
    const int y = (platform::DesktopHeight() - height) / 2;
    std::string error;
    window = platform::CreateGameWindow(
        kWindowClass, x, y, width,
        height + platform::CaptionHeight() + 6 * platform::BorderHeight(), format, &error);
    if (!window) {
        gCreateError = error;
        return false;
    }
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
    }
    fullScreenFlag = 0;

    if (!renderingContext) renderingContext = platform::CreateGlContext(window);
    if (!renderingContext || !platform::MakeCurrent(window, renderingContext)) {
        platform::DeleteGlContext(renderingContext);
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
    LoadExtensionEntryPoints();
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
    renderingContext = platform::CreateGlContext(window);
    if (!renderingContext || !platform::MakeCurrent(window, renderingContext)) return false;
    multisampleSamples = n;
    return true;
}

void OpenGLRainbows::WarnAboutSoftwareRendering() {
    if (gSoftwareWarningShown) return;
    gSoftwareWarningShown = true;
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (!IsSoftwareRenderer(renderer)) return;
    gSoftwareRendering = true;
    platform::WarningBox("!!OpenGL Software Emulation!!",
                         "Please update your GFX adapter's driver\nso it can render OpenGL by "
                         "HARDWARE\n\n\nBitte aktualisieren Sie Ihren\nGrafkkartentreiber, damit "
                         "er OpenGL\nper HARDWARE unterst\xC3\xBCtzt!");
    AppendErrorLog("OpenGL Software Emulation");
}

void OpenGLRainbows::LoadExtensionEntryPoints() {
    GlEntryPoints& gl = gEngine.gl;
    // An address alone proves nothing: the entry point counts only when its
    // extension is in the context's list.
    auto load = [](const char* extension, const char* name) -> void* {
        return platform::GlExtensionSupported(extension) ? platform::GlProcAddress(name) : nullptr;
    };
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    const std::string all = extensions ? extensions : "";
    if (all.find("GL_ARB_multitexture") != std::string::npos) {
        gl.activeTexture = load("GL_ARB_multitexture", "glActiveTextureARB");
        gl.multiTexCoord2f = load("GL_ARB_multitexture", "glMultiTexCoord2fARB");
        gl.clientActiveTexture = load("GL_ARB_multitexture", "glClientActiveTextureARB");
        gl.genBuffers = load("GL_ARB_vertex_buffer_object", "glGenBuffersARB");
        gl.bindBuffer = load("GL_ARB_vertex_buffer_object", "glBindBufferARB");
        gl.bufferData = load("GL_ARB_vertex_buffer_object", "glBufferDataARB");
        gl.deleteBuffers = load("GL_ARB_vertex_buffer_object", "glDeleteBuffersARB");
        gl.mapBuffer = load("GL_ARB_vertex_buffer_object", "glMapBufferARB");
        gl.unmapBuffer = load("GL_ARB_vertex_buffer_object", "glUnmapBufferARB");
        gl.getBufferParameteriv = load("GL_ARB_vertex_buffer_object", "glGetBufferParameterivARB");
    }
    if (all.find("GL_ARB_fragment_program") != std::string::npos) {
        const char* so = "GL_ARB_shader_objects";
        gl.createProgramObject = load(so, "glCreateProgramObjectARB");
        gl.deleteObject = load(so, "glDeleteObjectARB");
        gl.createShaderObject = load(so, "glCreateShaderObjectARB");
        gl.shaderSource = load(so, "glShaderSourceARB");
        gl.compileShader = load(so, "glCompileShaderARB");
        gl.getObjectParameteriv = load(so, "glGetObjectParameterivARB");
        gl.attachObject = load(so, "glAttachObjectARB");
        gl.getInfoLog = load(so, "glGetInfoLogARB");
        gl.linkProgram = load(so, "glLinkProgramARB");
        gl.useProgramObject = load(so, "glUseProgramObjectARB");
        gl.getUniformLocation = load(so, "glGetUniformLocationARB");
        gl.uniform1f = load(so, "glUniform1fARB");
        gl.uniform1i = load(so, "glUniform1iARB");
        gl.getAttribLocation = load("GL_ARB_vertex_shader", "glGetAttribLocationARB");
        gl.vertexAttrib1f = load("GL_ARB_vertex_shader", "glVertexAttrib1fARB");
    }
    const char* fbo = "GL_EXT_framebuffer_object";
    gl.bindRenderbuffer = load(fbo, "glBindRenderbufferEXT");
    gl.deleteRenderbuffers = load(fbo, "glDeleteRenderbuffersEXT");
    gl.genRenderbuffers = load(fbo, "glGenRenderbuffersEXT");
    gl.renderbufferStorage = load(fbo, "glRenderbufferStorageEXT");
    gl.bindFramebuffer = load(fbo, "glBindFramebufferEXT");
    gl.deleteFramebuffers = load(fbo, "glDeleteFramebuffersEXT");
    gl.genFramebuffers = load(fbo, "glGenFramebuffersEXT");
    gl.checkFramebufferStatus = load(fbo, "glCheckFramebufferStatusEXT");
    gl.framebufferTexture2D = load(fbo, "glFramebufferTexture2DEXT");
    gl.framebufferRenderbuffer = load(fbo, "glFramebufferRenderbufferEXT");
}

bool OpenGLRainbows::EnterFullScreen() {
    const bool askBits = colourBits != 0 && colourBits != platform::DesktopBitsPerPixel();
    bool available = platform::DisplayModeAvailable(width, height, askBits ? colourBits : 0);
    if (!available && askBits) available = platform::DisplayModeAvailable(width, height, 0);
    if (!available) {
        platform::Beep();
        AppendErrorLog("No Fullscreen Mode available");
        EnterWindowed();
        return false;
    }
    platform::Window* oldWindow = window;
    const std::string caption = platform::GetCaption(oldWindow).substr(0, 512);
    const double interval = frameInterval;
    if (!Create(programInstance, width, height, colourBits,
                interval > 0 ? static_cast<int>(1000.0 / interval + 0.5) : 0, multisampleSamples)) {
        window = oldWindow;
        return false;
    }
    frameInterval = interval;
    platform::SetCaption(window, caption.c_str());
    if (oldWindow != window) platform::DestroyGameWindow(oldWindow);
    SetView(0, 0, 0, 0);
    platform::SetWindowPosition(window, 0, 0);
    platform::SetFullScreen(window, true, width, height, colourBits);
    platform::RaiseGameWindow(window);
    fullScreenFlag = 1;
    return true;
}

bool OpenGLRainbows::EnterWindowed() {
    if (fullScreenFlag) {
        platform::SetFullScreen(window, false, width, height, colourBits);
        platform::Sleep(500);
    }
    int x = 0, y = 0;
    if (!platform::GetWindowPosition(window, &x, &y) || fullScreenFlag) {
        x = (platform::DesktopWidth() - width) / 2;
        y = (platform::DesktopHeight() - height) / 2;
    }
    platform::SetWindowSize(window, width + 6 * platform::BorderWidth(),
                            height + platform::CaptionHeight() + 6 * platform::BorderHeight());
    platform::SetWindowPosition(window, x, y);
    platform::ShowGameWindow(window, true);
    platform::RaiseGameWindow(window);
    SetView(0, 0, 0, 0);
    fullScreenFlag = 0;
    return true;
}

bool OpenGLRainbows::HideWindow() {
    if (fullScreenFlag) platform::SetFullScreen(window, false, width, height, colourBits);
    platform::ShowGameWindow(window, false);
    fullScreenFlag = 0;
    return true;
}

bool OpenGLRainbows::ChangeMode(int newWidth, int newHeight, int newColourBits, int fullScreen) {
    if (newWidth) width = newWidth;
    if (newHeight) height = newHeight;
    if (newColourBits) colourBits = newColourBits;
    return fullScreen ? EnterFullScreen() : EnterWindowed();
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
    glViewport(x, height - h - y, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, w, h, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.05f);
    glColor4f(1, 1, 1, 1);
    glClearColor(0, 0, 0, 1);
    for (GLenum cap : {GL_FOG, GL_LINE_SMOOTH, GL_POINT_SMOOTH, GL_POLYGON_SMOOTH, GL_STENCIL_TEST,
                       GL_POLYGON_OFFSET_POINT, GL_AUTO_NORMAL, GL_NORMALIZE, GL_LIGHTING,
                       GL_COLOR_MATERIAL, GL_DITHER})
        glDisable(cap);
    glShadeModel(GL_FLAT);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_FASTEST);
    smoothFlag = 1;
    BindSprite(-1);
}

double OpenGLRainbows::Present() {
    EndScreen();
    platform::SwapBuffers(window);
    quadsSinceFlush = 0;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const double start = EngineNow();
    double now = start;
    for (;;) {
        PumpMessages();
        now = EngineNow();
        if (now > nextFrameTime) break;
    }
    nextFrameTime += frameInterval;
    // Missed frames are skipped, not caught up.
    while (frameInterval > 0 && nextFrameTime < now) nextFrameTime += frameInterval;
    return now - start + 1;
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

void OpenGLRainbows::EmptySpriteSlots() {
    for (int i = 0; i < kSpriteSlotCount; ++i) {
        SpriteSlot& slot = spriteSlots[i];
        if (slot.texture) glDeleteTextures(1, &slot.texture);
        if (slot.scaledTexture) glDeleteTextures(1, &slot.scaledTexture);
        slot = SpriteSlot{};
        std::free(collisionMasks[i]);
        collisionMasks[i] = nullptr;
    }
}

void OpenGLRainbows::DeleteBackgroundImages() {
    for (auto& image : backgroundImages) {
        for (uint32_t& texture : image.tileTextures)
            if (texture) glDeleteTextures(1, &texture);
        image = BackgroundImage{};
    }
}

void OpenGLRainbows::CloseWindow() {
    if (!window) return;
    if (initialisedFlag) {
        EmptySpriteSlots();
        DeleteBackgroundImages();
    }
    EnterWindowed();
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
    if (!gEngine.device) return;
    gEngine.device->SetView(static_cast<int>(x), static_cast<int>(y), static_cast<int>(width),
                            static_cast<int>(height));
}

void SetFrameRate(double framesPerSecond) {
    if (gEngine.device) gEngine.device->SetFrameRate(static_cast<int>(framesPerSecond));
}

void GetScreenSize(double& width, double& height) {
    width = gEngine.device ? gEngine.device->width : 0;
    height = gEngine.device ? gEngine.device->height : 0;
}

double IsFullScreen() {
    return gEngine.device && gEngine.device->fullScreenFlag ? 1 : 0;
}
