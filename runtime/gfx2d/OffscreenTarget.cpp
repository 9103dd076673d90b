// Off-screen targets: drawing into a sprite slot through a framebuffer
// object, or, without one, in the window's top-left corner, grabbed when the
// target ends while the window's content waits in the scratch slot.
#include "runtime/gfx2d/OffscreenTarget.h"

#include <vector>

#include "runtime/core/EngineState.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/gfx2d/TextureTexels.h"
#include "runtime/runtime.h"
#include "runtime/values/Truncate.h"

// The completeness check is made on the attached framebuffer, so a driver
// that refuses the combination falls back to the emulation. A size the slot
// cannot hold changes nothing.
bool OpenGLRainbows::CreateScreen(int index, int slot, int w, int h) {
    if (index < 0 || index >= kOffscreenTargetCount || !ValidSlot(slot)) return false;
    // The emulation keeps the window's content in the scratch slot.
    if (slot == kScratchSlot) return false;
    if (w < 1 || h < 1 || w > MaxSlotSide() || h > MaxSlotSide()) return false;
    const int textureWidth = PowerOfTwoSide(w, 2), textureHeight = PowerOfTwoSide(h, 2);
    std::vector<uint8_t> clear;
    if (!ResizeTexels(clear, textureWidth, textureHeight)) return false;
    FreeSprite(slot);
    SpriteSlot& record = spriteSlots[slot];
    backend.CreateTexture(&record.texture, textureWidth, textureHeight, clear.data(),
                          TextureFilter::Linear);
    record.textureWidth = static_cast<int16_t>(textureWidth);
    record.textureHeight = static_cast<int16_t>(textureHeight);
    record.width = static_cast<int16_t>(w);
    record.height = static_cast<int16_t>(h);

    OffscreenTarget& target = offscreenTargets[index];
    backend.DeleteFramebuffer(&target.framebuffer, &target.depthBuffer);
    target = OffscreenTarget{};
    if (GlBackend::HasFramebufferObjects()) {
        if (backend.CreateFramebuffer(&target.framebuffer, &target.depthBuffer, record.texture,
                                      textureWidth, textureHeight)) {
            target.width = textureWidth;
            target.height = textureHeight;
        }
        // Drawing stays where it was: on the active target, or the window.
        uint32_t current = 0;
        if (currentOffscreenTarget >= 0)
            current = offscreenTargets[currentOffscreenTarget].framebuffer;
        backend.BindFramebuffer(current);
    }
    target.slot = slot;
    return true;
}

void OpenGLRainbows::UseScreen(int index) {
    if (index < 0) {
        EndScreen();
        return;
    }
    // A target CreateScreen never set up has no slot to draw into.
    if (!TargetCreated(index)) return;
    if (currentOffscreenTarget >= 0) {
        FinishTarget();
        SetView(0, 0, 0, 0);
    }
    currentOffscreenTarget = index;
    const OffscreenTarget& target = offscreenTargets[index];
    const SpriteSlot& record = spriteSlots[target.slot];
    const int w = record.width, h = record.height;
    if (target.width != 0 && GlBackend::HasFramebufferObjects()) {
        backend.AttachFramebuffer(target.framebuffer, target.depthBuffer, record.texture);
        SetView(0, 0, w, h);
        backend.SetViewport(0, 0, w, h);
        return;
    }
    SetView(0, 0, w, h);
    // Nothing stale may be put back when the target ends.
    if (!GrabScreen(kScratchSlot, 0, 0, w, h)) FreeSprite(kScratchSlot);
    DrawRect(0, 0, w, h, static_cast<int32_t>(spriteTransparentColour));
    DrawSprite(target.slot, 0, 0);
}

// Drawing returns to the window; an emulated target takes the area it drew
// in as its picture and puts the window's content back.
void OpenGLRainbows::FinishTarget() {
    if (currentOffscreenTarget < 0) return;
    const OffscreenTarget& target = offscreenTargets[currentOffscreenTarget];
    if (target.width != 0 && GlBackend::HasFramebufferObjects()) {
        backend.BindFramebuffer(0);
        return;
    }
    const int slot = target.slot;
    const int w = spriteSlots[slot].width, h = spriteSlots[slot].height;
    GrabScreen(slot, 0, 0, w, h);
    DrawRect(0, 0, spriteSlots[slot].textureWidth, spriteSlots[slot].textureHeight, 0);
    DrawSprite(kScratchSlot, 0, 0);
}

void OpenGLRainbows::EndScreen() {
    if (currentOffscreenTarget >= 0) FinishTarget();
    SetView(0, 0, 0, 0);
    currentOffscreenTarget = -1;
}

// ---------------------------------------------------------------- commands

double CreateScreen(double target, double slot, double width, double height) {
    OpenGLRainbows* device = gEngine.device;
    return device && device->CreateScreen(TruncateInt32(target), TruncateInt32(slot),
                                          TruncateInt32(width), TruncateInt32(height))
               ? 1
               : 0;
}

void UseScreen(double target) {
    if (gEngine.device) gEngine.device->UseScreen(TruncateInt32(target));
}
