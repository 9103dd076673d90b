// Full-window movies: the program waits inside the command while the movie
// plays, scaled to fit the window and centred, until it ends or the player
// presses a new key or a mouse button.
#pragma once

#include "runtime/gfx2d/MovieFrame.h"
#include "runtime/runtime.h"

// PlayMovie and PlayMovieLooped: loop 1 plays again at the end.
void PlayMovieFile(const RtString& fileName, int loop);
// The rectangle a source x sourceHeight movie is drawn into in the client area.
MovieRect MovieDestination(int sourceWidth, int sourceHeight, int clientWidth, int clientHeight);
