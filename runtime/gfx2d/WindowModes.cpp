// The window's display modes: full screen at the stored size (a new window
// on the same context, so textures survive), windowed, hidden.
#include <string>

#include "runtime/files/ErrorLog.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/platform/Platform.h"

bool OpenGLRainbows::EnterFullScreen() {
    const bool askBits = colourBits != 0 && colourBits != platform::DesktopBitsPerPixel();
    bool available = platform::DisplayModeAvailable(width, height, askBits ? colourBits : 0);
    if (!available && askBits) available = platform::DisplayModeAvailable(width, height, 0);
    // Today's displays rarely offer a mode of the screen's size: full screen
    // is then the desktop's own mode with the screen scaled.
    if (!available) return EnterDesktopFullScreen();
    if (desktopFullScreen) EnterWindowed();
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

bool OpenGLRainbows::EnterDesktopFullScreen() {
    if (!platform::SetDesktopFullScreen(window, true)) {
        platform::Beep();
        AppendErrorLog("No Fullscreen Mode available");
        return false;
    }
    platform::RaiseGameWindow(window);
    SetView(0, 0, 0, 0);
    fullScreenFlag = 1;
    desktopFullScreen = 1;
    return true;
}

void OpenGLRainbows::ToggleFullScreen() {
    if (fullScreenFlag)
        EnterWindowed();
    else
        EnterDesktopFullScreen();
}

bool OpenGLRainbows::EnterWindowed() {
    if (desktopFullScreen) {
        platform::SetDesktopFullScreen(window, false);  // no mode came, so none goes
        desktopFullScreen = 0;
    } else if (fullScreenFlag) {
        platform::SetFullScreen(window, false, width, height, colourBits);
        platform::Sleep(500);
    }
    int x = 0, y = 0;
    if (!platform::GetWindowPosition(window, &x, &y) || fullScreenFlag) {
        x = (platform::DesktopWidth() - width * windowedScale) / 2;
        y = (platform::DesktopHeight() - height * windowedScale) / 2;
    }
    platform::SetWindowSize(
        window, width * windowedScale + 6 * platform::BorderWidth(),
        height * windowedScale + platform::CaptionHeight() + 6 * platform::BorderHeight());
    platform::SetWindowPosition(window, x, y);
    platform::ShowGameWindow(window, true);
    platform::RaiseGameWindow(window);
    SetView(0, 0, 0, 0);
    fullScreenFlag = 0;
    return true;
}

bool OpenGLRainbows::HideWindow() {
    if (desktopFullScreen)
        platform::SetDesktopFullScreen(window, false);
    else if (fullScreenFlag)
        platform::SetFullScreen(window, false, width, height, colourBits);
    desktopFullScreen = 0;
    platform::ShowGameWindow(window, false);
    fullScreenFlag = 0;
    return true;
}

bool OpenGLRainbows::ChangeMode(int newWidth, int newHeight, int newColourBits, int fullScreen) {
    if ((newWidth && newWidth != width) || (newHeight && newHeight != height))
        backend.DeleteTexture(&frameTexture);
    if (newWidth) width = newWidth;
    if (newHeight) height = newHeight;
    platform::SetFrameSize(window, width, height);
    if (newColourBits) colourBits = newColourBits;
    return fullScreen ? EnterFullScreen() : EnterWindowed();
}
