#include "runtime/gfx2d/MovieFrame.h"

#include <GL/gl.h>

#include "runtime/core/EngineState.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/platform/Platform.h"

MovieFrame::~MovieFrame() {
    if (!gEngine.device || !gEngine.device->window) return;
    if (texture) glDeleteTextures(1, &texture);
    gEngine.device->SetView(0, 0, 0, 0);
}

void MovieFrame::Upload(const uint8_t* rgba, int width, int height) {
    if (!gEngine.device || !gEngine.device->window || !rgba) return;
    if (!texture) glGenTextures(1, &texture);
    // Unit 1 may carry a second sprite; the movie uses unit 0 alone.
    gEngine.device->BindSprite(-1);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    loaded = true;
}

void MovieFrame::Draw(const MovieRect& destination) {
    if (!gEngine.device || !gEngine.device->window) return;
    // A game drawing into an off-screen target would hide the movie.
    gEngine.device->EndScreen();
    int clientWidth = 0, clientHeight = 0;
    MovieClientSize(&clientWidth, &clientHeight);
    glViewport(0, 0, clientWidth, clientHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, clientWidth, clientHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!loaded) return;

    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_TEXTURE_BIT);
    gEngine.device->BindSprite(-1);
    for (GLenum cap : {GL_BLEND, GL_ALPHA_TEST, GL_CULL_FACE, GL_DEPTH_TEST, GL_LIGHTING})
        glDisable(cap);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glColor4f(1, 1, 1, 1);
    const float left = static_cast<float>(destination.x);
    const float top = static_cast<float>(destination.y);
    const float right = left + static_cast<float>(destination.width);
    const float bottom = top + static_cast<float>(destination.height);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(left, top);
    glTexCoord2f(0, 1);
    glVertex2f(left, bottom);
    glTexCoord2f(1, 1);
    glVertex2f(right, bottom);
    glTexCoord2f(1, 0);
    glVertex2f(right, top);
    glEnd();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glPopAttrib();
}

void MovieFrame::Show() {
    if (gEngine.device && gEngine.device->window) platform::SwapBuffers(gEngine.device->window);
}

void MovieClientSize(int* width, int* height) {
    *width = 0;
    *height = 0;
    if (!gEngine.device) return;
    platform::GetDrawableSize(gEngine.device->window, width, height);
    if (*width <= 0 || *height <= 0) {
        *width = gEngine.device->width;
        *height = gEngine.device->height;
    }
}
