// Movie pictures in the game window: the device draws them over its whole
// client area, outside the 2D view, which the end of the movie restores.
#include "runtime/gfx2d/MovieFrame.h"

#include "runtime/core/EngineState.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/platform/Platform.h"

// Unit 1 may carry a second sprite; the movie uses unit 0 alone.
void OpenGLRainbows::UploadMoviePicture(uint32_t* texture, const uint8_t* rgba, int w, int h) {
    BindSprite(-1);
    backend.UploadClampedTexture(texture, rgba, w, h);
}

// A game drawing into an off-screen target would hide the movie.
void OpenGLRainbows::DrawMoviePicture(uint32_t texture, const MovieRect& destination) {
    EndScreen();
    int clientWidth = 0, clientHeight = 0;
    MovieClientSize(&clientWidth, &clientHeight);
    backend.SetViewport(0, 0, clientWidth, clientHeight);
    backend.SetProjection(clientWidth, clientHeight);
    backend.ClearToBlack();
    if (!texture) return;
    const float left = static_cast<float>(destination.x);
    const float top = static_cast<float>(destination.y);
    const float right = left + static_cast<float>(destination.width);
    const float bottom = top + static_cast<float>(destination.height);
    RecordBinding(-1, -1, false);
    backend.DrawPicture(texture, left, top, right, bottom);
}

void OpenGLRainbows::EndMoviePictures(uint32_t* texture) {
    backend.DeleteTexture(texture);
    SetView(0, 0, 0, 0);
}

MovieFrame::~MovieFrame() {
    if (gEngine.device && gEngine.device->Window()) gEngine.device->EndMoviePictures(&texture);
}

void MovieFrame::Upload(const uint8_t* rgba, int width, int height) {
    if (!gEngine.device || !gEngine.device->Window() || !rgba) return;
    gEngine.device->UploadMoviePicture(&texture, rgba, width, height);
    loaded = true;
}

void MovieFrame::Draw(const MovieRect& destination) {
    if (gEngine.device && gEngine.device->Window())
        gEngine.device->DrawMoviePicture(loaded ? texture : 0, destination);
}

void MovieFrame::Show() {
    if (gEngine.device && gEngine.device->Window()) platform::SwapBuffers(gEngine.device->Window());
}

void MovieClientSize(int* width, int* height) {
    *width = 0;
    *height = 0;
    if (!gEngine.device) return;
    platform::GetDrawableSize(gEngine.device->Window(), width, height);
    if (*width <= 0 || *height <= 0) {
        *width = gEngine.device->Width();
        *height = gEngine.device->Height();
    }
}
