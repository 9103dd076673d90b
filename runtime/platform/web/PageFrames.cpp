// Frames and waits in a browser page. The program runs on the page's own
// thread, so every wait gives the page its turn (the program is suspended
// and resumed around it). Frames are drawn into a back buffer of their own
// and copied to the canvas only when swapped, so a turn given in the middle
// of a frame never shows a half-drawn picture; a swap then waits for the
// page's next animation frame, which shows the frame once.
#include <SDL.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <array>

#include "runtime/platform/PlatformInternal.h"

namespace platform {

namespace {

// The engine clock runs this far ahead of the page's clock: a frame
// deadline that falls early in the time between two animation frames
// counts as reached by the first, and the clock is moved up to it.
double gClockLeadMs = 0;
double gLastAnimationFrameMs = -1e9;
double gLastTurnMs = 0;
double gLastSwapMs = 0;
std::array<double, 15> gFramePeriods{};
int gContextShownFrames = 0;
int gFramePeriodCount = 0;

constexpr double kUsualFramePeriodMs = 1000.0 / 60;
// Past a wait of this much, the clock lands beyond the deadline by a little
// more than the runtime's own wake margin, so the next frames find their
// deadlines passed at their animation frames however those jitter.
constexpr double kDeadlineCushionMs = 3.0;
// A program that pumps without giving the page a turn for this long gets
// one; one that has shown no frame for the second span waits in earnest.
constexpr double kTurnDueMs = 8.0;
constexpr double kIdleAfterMs = 100.0;

double PageNow() {
    return emscripten_get_now();
}

// Resolves at the page's next animation frame with its time stamp, or
// after 100 ms without one (a hidden page has none), with -1.
// clang-format off
EM_ASYNC_JS(double, NextAnimationFrame, (), {
    return await new Promise(resolve => {
        let settled = false;
        const settle = stamp => {
            if (!settled) {
                settled = true;
                resolve(stamp);
            }
        };
        requestAnimationFrame(settle);
        setTimeout(() => settle(-1), 100);
    });
});
// clang-format on

// Lets the page run its waiting tasks (input, timers, sound); after `ms`
// when positive, else as soon as the page has had its turn.
// clang-format off
EM_ASYNC_JS(void, PageTurn, (double ms), {
    await new Promise(resolve => {
        if (ms > 0) {
            setTimeout(resolve, ms);
            return;
        }
        const channel = new MessageChannel();
        channel.port1.onmessage = () => resolve();
        channel.port2.postMessage(0);
    });
});
// clang-format on

double FramePeriodMs() {
    if (gFramePeriodCount < 3) return kUsualFramePeriodMs;
    std::array<double, 15> sorted = gFramePeriods;
    const int n = std::min<int>(gFramePeriodCount, static_cast<int>(sorted.size()));
    std::sort(sorted.begin(), sorted.begin() + n);
    return std::clamp(sorted[n / 2], 4.0, 50.0);
}

void AwaitAnimationFrame() {
    const double stamp = NextAnimationFrame();
    const double now = PageNow();
    gLastTurnMs = now;
    if (stamp < 0) return;
    const double period = stamp - gLastAnimationFrameMs;
    if (period > 0 && period < 100) {
        gFramePeriods[gFramePeriodCount % gFramePeriods.size()] = period;
        ++gFramePeriodCount;
    }
    gLastAnimationFrameMs = stamp;
}

}  // namespace

namespace detail {

// Framebuffer 0 becomes a texture the size of the canvas, copied to the
// canvas by each commit (BackBuffer.js).
// clang-format off
EM_JS(void, UseOffscreenBackBuffer, (), {
    Module['quorbelUseBackBuffer']();
});
// clang-format on

void DrawIntoBackBuffer() {
    UseOffscreenBackBuffer();
    gContextShownFrames = 0;
}

// A new context's first frame goes to the canvas without a wait: the canvas
// showed nothing of the program before it, and whichever frame is there at
// the page's next animation frame is shown then.
void ShowFrameInPage(SDL_Window*) {
    emscripten_webgl_commit_frame();
    gLastSwapMs = PageNow();
    if (gContextShownFrames++ == 0) return;
    AwaitAnimationFrame();
}

void GivePageItsTurnWhenDue() {
    const double now = PageNow();
    if (now - gLastTurnMs < kTurnDueMs) return;
    PageTurn(now - gLastSwapMs > kIdleAfterMs ? 4 : 0);
    gLastTurnMs = PageNow();
}

uint64_t PageClock() {
    return static_cast<uint64_t>((PageNow() + gClockLeadMs) * 1e6);
}

uint64_t PageClockFrequency() {
    return 1000000000ULL;
}

// clang-format off
EM_JS(int, AskPageForFullScreen, (int on), {
    const page = Module['quorbelPage'];
    return page && page.fullScreen ? (page.fullScreen(!!on) ? 1 : 0) : 0;
});
// clang-format on

bool PageFullScreen(bool on) {
    return AskPageForFullScreen(on ? 1 : 0) != 0;
}

// clang-format off
EM_JS(void, TellPageTheProgramEnds, (int code), {
    const page = Module['quorbelPage'];
    if (page && page.programEnds) page.programEnds(code);
});
// clang-format on

void ProgramEndsInPage(int code) {
    TellPageTheProgramEnds(code);
}

}  // namespace detail

// ---------------------------------------------------------------- waits

// Frames can only be shown at the page's animation frames: a deadline in the
// first half of the time after one counts as met by it (the clock moves up);
// a later one is waited for by the animation frames to come.
bool WaitForEvent(double ms) {
    if (!Init()) return false;
    const double target = PageNow() + ms;
    if (target < gLastAnimationFrameMs + FramePeriodMs() / 2) {
        gClockLeadMs += ms + kDeadlineCushionMs;
        return true;
    }
    AwaitAnimationFrame();
    return true;
}

// The page's thread is never taken away while the program runs: it only
// gives its turns itself.
uint64_t TimesPreempted() {
    return 0;
}

}  // namespace platform

// The page tells the program when it is hidden and shown again, as a window
// loses and regains its activation.
extern "C" EMSCRIPTEN_KEEPALIVE void quorbel_page_shown(int shown) {
    if (SDL_WasInit(SDL_INIT_VIDEO)) platform::InjectFocus(shown != 0);
}
