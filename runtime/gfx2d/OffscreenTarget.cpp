#include "runtime/gfx2d/OffscreenTarget.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <vector>

#include "runtime/core/EngineState.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/gfx2d/TextureTexels.h"
#include "runtime/values/Truncate.h"

namespace {

struct FramebufferCalls {
    PFNGLBINDRENDERBUFFEREXTPROC bindRenderbuffer;
    PFNGLDELETERENDERBUFFERSEXTPROC deleteRenderbuffers;
    PFNGLGENRENDERBUFFERSEXTPROC genRenderbuffers;
    PFNGLRENDERBUFFERSTORAGEEXTPROC renderbufferStorage;
    PFNGLBINDFRAMEBUFFEREXTPROC bindFramebuffer;
    PFNGLDELETEFRAMEBUFFERSEXTPROC deleteFramebuffers;
    PFNGLGENFRAMEBUFFERSEXTPROC genFramebuffers;
    PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC checkFramebufferStatus;
    PFNGLFRAMEBUFFERTEXTURE2DEXTPROC framebufferTexture2D;
    PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC framebufferRenderbuffer;

    bool Complete() const {
        return bindRenderbuffer && deleteRenderbuffers && genRenderbuffers && renderbufferStorage &&
               bindFramebuffer && deleteFramebuffers && genFramebuffers && checkFramebufferStatus &&
               framebufferTexture2D && framebufferRenderbuffer;
    }
};

FramebufferCalls Calls() {
    const GlEntryPoints& gl = gEngine.gl;
    return {reinterpret_cast<PFNGLBINDRENDERBUFFEREXTPROC>(gl.bindRenderbuffer),
            reinterpret_cast<PFNGLDELETERENDERBUFFERSEXTPROC>(gl.deleteRenderbuffers),
            reinterpret_cast<PFNGLGENRENDERBUFFERSEXTPROC>(gl.genRenderbuffers),
            reinterpret_cast<PFNGLRENDERBUFFERSTORAGEEXTPROC>(gl.renderbufferStorage),
            reinterpret_cast<PFNGLBINDFRAMEBUFFEREXTPROC>(gl.bindFramebuffer),
            reinterpret_cast<PFNGLDELETEFRAMEBUFFERSEXTPROC>(gl.deleteFramebuffers),
            reinterpret_cast<PFNGLGENFRAMEBUFFERSEXTPROC>(gl.genFramebuffers),
            reinterpret_cast<PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC>(gl.checkFramebufferStatus),
            reinterpret_cast<PFNGLFRAMEBUFFERTEXTURE2DEXTPROC>(gl.framebufferTexture2D),
            reinterpret_cast<PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC>(gl.framebufferRenderbuffer)};
}

void Attach(const FramebufferCalls& fbo, const OffscreenTarget& target, uint32_t texture) {
    fbo.bindFramebuffer(GL_FRAMEBUFFER_EXT, target.framebuffer);
    fbo.bindRenderbuffer(GL_RENDERBUFFER_EXT, target.depthBuffer);
    fbo.framebufferTexture2D(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, texture,
                             0);
    fbo.framebufferRenderbuffer(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                target.depthBuffer);
}

}  // namespace

// The completeness check is made on the attached framebuffer, so a driver
// that refuses the combination falls back to the emulation.
void OpenGLRainbows::CreateScreen(int index, int slot, int w, int h) {
    if (index < 0 || index >= kOffscreenTargetCount || !ValidSlot(slot)) return;
    // The emulation keeps the window's content in the scratch slot.
    if (slot == kScratchSlot) return;
    const int textureWidth = PowerOfTwoSide(w, 2), textureHeight = PowerOfTwoSide(h, 2);
    FreeSprite(slot);
    SpriteSlot& record = spriteSlots[slot];
    glGenTextures(1, &record.texture);
    glBindTexture(GL_TEXTURE_2D, record.texture);
    const std::vector<uint8_t> clear(static_cast<size_t>(textureWidth) * textureHeight * 4, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, textureWidth, textureHeight, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, clear.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    record.textureWidth = static_cast<int16_t>(textureWidth);
    record.textureHeight = static_cast<int16_t>(textureHeight);
    record.width = static_cast<int16_t>(w);
    record.height = static_cast<int16_t>(h);

    OffscreenTarget& target = offscreenTargets[index];
    const FramebufferCalls fbo = Calls();
    if (target.framebuffer && fbo.deleteFramebuffers)
        fbo.deleteFramebuffers(1, &target.framebuffer);
    if (target.depthBuffer && fbo.deleteRenderbuffers)
        fbo.deleteRenderbuffers(1, &target.depthBuffer);
    target = OffscreenTarget{};
    if (fbo.Complete()) {
        fbo.genFramebuffers(1, &target.framebuffer);
        fbo.genRenderbuffers(1, &target.depthBuffer);
        fbo.bindRenderbuffer(GL_RENDERBUFFER_EXT, target.depthBuffer);
        fbo.renderbufferStorage(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, textureWidth,
                                textureHeight);
        Attach(fbo, target, record.texture);
        if (fbo.checkFramebufferStatus(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT) {
            target.width = textureWidth;
            target.height = textureHeight;
        }
        // Drawing stays where it was: on the active target, or the window.
        GLuint current = 0;
        if (currentOffscreenTarget >= 0)
            current = offscreenTargets[currentOffscreenTarget].framebuffer;
        fbo.bindFramebuffer(GL_FRAMEBUFFER_EXT, current);
        fbo.bindRenderbuffer(GL_RENDERBUFFER_EXT, 0);
    }
    target.slot = slot;
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
    const FramebufferCalls fbo = Calls();
    if (target.width != 0 && fbo.Complete()) {
        Attach(fbo, target, record.texture);
        SetView(0, 0, w, h);
        glViewport(0, 0, w, h);
        return;
    }
    SetView(0, 0, w, h);
    GrabScreen(kScratchSlot, 0, 0, w, h);
    DrawRect(0, 0, w, h, static_cast<int32_t>(spriteTransparentColour));
    DrawSprite(target.slot, 0, 0);
}

// Drawing returns to the window; an emulated target takes the area it drew
// in as its picture and puts the window's content back.
void OpenGLRainbows::FinishTarget() {
    if (currentOffscreenTarget < 0) return;
    const OffscreenTarget& target = offscreenTargets[currentOffscreenTarget];
    const FramebufferCalls fbo = Calls();
    if (target.width != 0 && fbo.Complete()) {
        fbo.bindFramebuffer(GL_FRAMEBUFFER_EXT, 0);
        fbo.bindRenderbuffer(GL_RENDERBUFFER_EXT, 0);
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

void EndScreen() {
    if (gEngine.device) gEngine.device->EndScreen();
}

// ---------------------------------------------------------------- commands

void CreateScreen(double target, double slot, double width, double height) {
    if (gEngine.device)
        gEngine.device->CreateScreen(TruncateInt32(target), TruncateInt32(slot),
                                     TruncateInt32(width), TruncateInt32(height));
}

void UseScreen(double target) {
    if (gEngine.device) gEngine.device->UseScreen(TruncateInt32(target));
}
