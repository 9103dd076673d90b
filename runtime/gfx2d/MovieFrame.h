// Movie pictures drawn into the game window: one texture for the movie,
// stretched over the destination rectangle, the rest of the window black.
#pragma once

#include <cstdint>

struct MovieRect {
    int x = 0, y = 0, width = 0, height = 0;
};

class MovieFrame {
  public:
    MovieFrame() = default;
    ~MovieFrame();  // frees the texture and gives the 2D commands their state back
    MovieFrame(const MovieFrame&) = delete;
    MovieFrame& operator=(const MovieFrame&) = delete;

    void Upload(const uint8_t* rgba, int width, int height);  // rows top first
    void Draw(const MovieRect& destination);  // into the back buffer, nothing shown yet
    void Show();                              // swaps the drawn picture to the window

  private:
    uint32_t texture = 0;
    bool loaded = false;
};

// The game window's client area in pixels.
void MovieClientSize(int* width, int* height);
