// Background images: eight screen-sized pictures in square tiles; image 0 is
// drawn at the start of every frame.
#pragma once

#include "runtime/values/RtString.h"

void LoadBackground(
    const RtString& file);  // background 0 from a file (cleared screen when missing)
void BlendToBackground(
    const RtString& file);  // 1.5-second cross-fade from the screen to the picture
void GrabBackground();      // the current screen becomes background 0
