// Writing the generated media: pictures as 8-bit RGBA PNG and 24-bit BMP
// through the runtime's writers, sounds as 16-bit mono PCM WAV with the
// canonical 44-byte header.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Image.h"

namespace media {

constexpr int kSampleRate = 22050;

bool WritePng(const std::string& path, const Image& img);
// Transparent pixels become the key colour, since BMP has no alpha here.
bool WriteBmp24(const std::string& path, const Image& img, Rgba key);
bool WriteWav(const std::string& path, const std::vector<int16_t>& samples);

}  // namespace media
