// The grandstand behind the crowd in four moods (day, sunset, night under
// floodlights, rain). The stand is kept muted and a little dark so the
// portraits stand out; its seat rows lie under the board's rows (30 pixels
// apart, spreading wider toward the bottom like the board itself).
#pragma once

#include "Image.h"

namespace media {

enum Mood { Day, Sunset, Night, Rain, Moods };

Image Grandstand(Mood mood);

}  // namespace media
