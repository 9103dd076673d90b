// Showing the frame on today's displays: the whole-number scale, the window's
// start-up size, desktop full screen, the mouse mapping and the frame wait.
#include <SDL.h>
#ifndef __EMSCRIPTEN__
#include <sys/prctl.h>
#include <sys/resource.h>
#endif

#include <algorithm>
#include <chrono>
#include <thread>

#include "runtime/platform/PlatformInternal.h"

namespace platform {

namespace {

int gForcedScale = 0;

Window* FromSdl(SDL_Window* sdl) {
    return sdl ? static_cast<Window*>(SDL_GetWindowData(sdl, detail::kWindowDataName)) : nullptr;
}

// Rounds toward minus infinity, so a position left of the frame stays left of it.
int FloorDivide(int value, int divisor) {
    const int quotient = value / divisor;
    return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? quotient - 1 : quotient;
}

FrameLayout LayoutOf(SDL_Window* sdl, int frameWidth, int frameHeight) {
    FrameLayout layout;
    if (!sdl) return layout;
    SDL_GL_GetDrawableSize(sdl, &layout.drawableWidth, &layout.drawableHeight);
    if (frameWidth <= 0 || frameHeight <= 0) return layout;
    const int scale =
        std::min(layout.drawableWidth / frameWidth, layout.drawableHeight / frameHeight);
    if (scale < 1) return layout;  // smaller than the frame: shown as drawn
    layout.scale = scale;
    layout.x = (layout.drawableWidth - frameWidth * scale) / 2;
    layout.y = (layout.drawableHeight - frameHeight * scale) / 2;
    layout.direct =
        scale == 1 && layout.drawableWidth == frameWidth && layout.drawableHeight == frameHeight;
    return layout;
}

// Drawable pixels per window unit, as a fraction (HiDPI displays give 2 / 1).
void PixelRatio(SDL_Window* sdl, int drawableWidth, int drawableHeight, int* numeratorX,
                int* numeratorY, int* denominatorX, int* denominatorY) {
    int width = 0, height = 0;
    SDL_GetWindowSize(sdl, &width, &height);
    *numeratorX = drawableWidth > 0 && width > 0 ? drawableWidth : 1;
    *denominatorX = drawableWidth > 0 && width > 0 ? width : 1;
    *numeratorY = drawableHeight > 0 && height > 0 ? drawableHeight : 1;
    *denominatorY = drawableHeight > 0 && height > 0 ? height : 1;
}

}  // namespace

void SetFrameSize(Window* window, int width, int height) {
    SDL_Window* sdl = detail::NativeWindow(window);
    if (!sdl || width <= 0 || height <= 0) return;
    window->frameWidth = width;
    window->frameHeight = height;
    window->motionRestX = window->motionRestY = 0;
    SDL_SetWindowMinimumSize(sdl, width, height);
    SDL_SetWindowMaximumSize(sdl, 0, 0);
    SDL_SetWindowResizable(sdl, SDL_TRUE);
}

FrameLayout GetFrameLayout(Window* window) {
    SDL_Window* sdl = detail::NativeWindow(window);
    return sdl ? LayoutOf(sdl, window->frameWidth, window->frameHeight) : FrameLayout{};
}

int WindowedScale(int width, int height) {
    if (gForcedScale > 0) return gForcedScale;
#ifdef __EMSCRIPTEN__
    // A page shows the canvas scaled itself: the canvas has the frame's own
    // pixels, so the program draws no more than them.
    return 1;
#endif
    if (width <= 0 || height <= 0 || !Init()) return 1;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0)
        return 1;
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
    // The window is not shown yet, so its frame is not known: a title bar of
    // this height is allowed for, as desktops draw them.
    constexpr int kDecorationHeight = 40;
    const int scale = std::min(usable.w / width, (usable.h - kDecorationHeight) / height);
    return std::max(1, scale);
}

void ForceWindowScale(int scale) {
    gForcedScale = scale;
}

bool SetDesktopFullScreen(Window* window, bool on) {
    SDL_Window* sdl = detail::NativeWindow(window);
    if (!sdl) return false;
#ifdef __EMSCRIPTEN__
    return detail::PageFullScreen(on);  // the page's stage, with its bars and buttons
#endif
    return SDL_SetWindowFullscreen(sdl, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) == 0;
}

#ifndef __EMSCRIPTEN__  // a browser page waits for its animation frames (web/PageFrames.cpp)
// SDL's own wait counts whole milliseconds and, on drivers without a wait of
// their own, polls once a millisecond anyway; this one sleeps to the
// microsecond, looking at the queue at least every 4 ms.
bool WaitForEvent(double ms) {
    using Clock = std::chrono::steady_clock;
    if (!Init()) return false;
    // The kernel may let a sleep run 50 microseconds over by default, to
    // gather wake-ups; a frame deadline wants its wake-up on time.
    static const bool kPreciseSleeps = prctl(PR_SET_TIMERSLACK, 1000UL, 0, 0, 0) == 0;
    (void)kPreciseSleeps;
    const Clock::time_point end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                     std::chrono::duration<double, std::milli>(ms));
    for (;;) {
        if (SDL_PollEvent(nullptr) == 1) return true;
        const Clock::duration left = end - Clock::now();
        if (left <= Clock::duration::zero()) return false;
        std::this_thread::sleep_for(std::min<Clock::duration>(left, std::chrono::milliseconds(4)));
    }
}

uint64_t TimesPreempted() {
    rusage usage{};
    if (getrusage(RUSAGE_THREAD, &usage) != 0) return 0;
    return static_cast<uint64_t>(usage.ru_nivcsw);
}
#endif

namespace detail {

void FrameSizeOf(SDL_Window* sdl, int* width, int* height) {
    Window* window = FromSdl(sdl);
    if (window && window->frameWidth > 0) {
        *width = window->frameWidth;
        *height = window->frameHeight;
    } else if (sdl) {
        SDL_GetWindowSize(sdl, width, height);
    }
}

namespace {

// A scaled window's mapping between its own units and frame pixels: the
// layout, and drawable pixels per window unit as numerator / denominator.
struct Mapping {
    Window* window = nullptr;
    FrameLayout layout;
    int nx = 1, ny = 1, dx = 1, dy = 1;
};

// False where positions need no mapping: no frame, or the frame shown as drawn.
bool MappingOf(SDL_Window* sdl, Mapping* mapping) {
    mapping->window = FromSdl(sdl);
    if (!mapping->window || mapping->window->frameWidth <= 0) return false;
    mapping->layout = LayoutOf(sdl, mapping->window->frameWidth, mapping->window->frameHeight);
    if (mapping->layout.direct) return false;
    PixelRatio(sdl, mapping->layout.drawableWidth, mapping->layout.drawableHeight, &mapping->nx,
               &mapping->ny, &mapping->dx, &mapping->dy);
    return true;
}

}  // namespace

void WindowToFrame(uint32_t windowId, int* x, int* y) {
    Mapping m;
    if (!MappingOf(SDL_GetWindowFromID(windowId), &m)) return;
    *x = FloorDivide(FloorDivide(*x * m.nx, m.dx) - m.layout.x, m.layout.scale);
    *y = FloorDivide(FloorDivide(*y * m.ny, m.dy) - m.layout.y, m.layout.scale);
}

void MotionToFrame(uint32_t windowId, int* dx, int* dy) {
    Mapping m;
    if (!MappingOf(SDL_GetWindowFromID(windowId), &m)) return;
    // Motion in drawable pixels, carried over until it makes a whole frame pixel.
    const int unitsX = *dx * m.nx + m.window->motionRestX;
    const int unitsY = *dy * m.ny + m.window->motionRestY;
    const int stepX = m.layout.scale * m.dx, stepY = m.layout.scale * m.dy;
    *dx = unitsX / stepX;
    *dy = unitsY / stepY;
    m.window->motionRestX = unitsX - *dx * stepX;
    m.window->motionRestY = unitsY - *dy * stepY;
}

void FrameToWindow(SDL_Window* sdl, int* x, int* y) {
    Mapping m;
    if (!MappingOf(sdl, &m)) return;
    *x = FloorDivide((m.layout.x + *x * m.layout.scale + m.layout.scale / 2) * m.dx, m.nx);
    *y = FloorDivide((m.layout.y + *y * m.layout.scale + m.layout.scale / 2) * m.dy, m.ny);
}

}  // namespace detail

}  // namespace platform
