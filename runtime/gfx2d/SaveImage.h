// Saving the screen or a sprite: PNG when the name ends in ".png" (any
// letter case), else a 24-bit BMP.
#pragma once

#include "runtime/values/RtString.h"

double SaveScreen(const RtString& file);               // the whole back buffer; 1 when written
double SaveSprite(const RtString& file, double slot);  // the slot's picture; 1 when written
