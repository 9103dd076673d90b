// How the 2D commands hand their double arguments to the device: whole
// numbers through TruncateInt32, positions and sizes as floats.
#pragma once

#include "runtime/values/Truncate.h"

inline float Coordinate(double value) {
    return static_cast<float>(value);
}
