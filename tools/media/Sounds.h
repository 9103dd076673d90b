// The game's two sounds, synthesised at 22,050 Hz: a short blip for a click
// and a cheering crowd (roar, claps, whoops) for a found triplet. The sine is
// our own polynomial so that no library function can change a sample.
#pragma once

#include <cstdint>
#include <vector>

namespace media {

std::vector<int16_t> Blip();   // samples at kSampleRate, mono
std::vector<int16_t> Cheer();  // likewise

}  // namespace media
