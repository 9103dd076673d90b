// Off-screen targets: 32 targets that redirect drawing into a sprite slot,
// through framebuffer objects where the driver has them and otherwise by
// drawing in the window's top-left corner and grabbing it.
#pragma once

#include <cstdint>

// The framebuffer object a target draws through (size 0 x 0: emulated) and
// the slot that receives the drawing.
struct OffscreenTarget {
    uint32_t framebuffer = 0;
    uint32_t depthBuffer = 0;
    int width = 0, height = 0;
    int slot = -1;  // -1 until CreateScreen sets the target up
};

constexpr int kOffscreenTargetCount = 32;
