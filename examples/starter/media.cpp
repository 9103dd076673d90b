// The starter's media, made at build time into the folder given: ship.bmp
// and coin.bmp (24-bit BMP pictures; 255, 0, 128 is the runtime's transparent
// colour) and blip.wav (16-bit mono PCM). A plain C++ program: the build runs
// it before the game is packed.
//
//   media FOLDER
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

struct Rgb {
    uint8_t red, green, blue;
};
constexpr Rgb kSeeThrough{255, 0, 128};
constexpr Rgb kHull{90, 200, 255}, kCockpit{240, 240, 255}, kFlame{255, 140, 30};
constexpr Rgb kGold{255, 210, 40}, kRim{200, 140, 20};
constexpr double kFullTurn = 6.283185307179586;  // radians

void Put(std::ofstream& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.put(static_cast<char>(value >> (8 * i) & 255));
}

// A 24-bit BMP: a 54-byte header, then the rows bottom-up, each padded to
// a multiple of four bytes.
template <typename Picture>
bool WriteBmp(const std::string& file, int width, int height, Picture pixel) {
    const int row = (3 * width + 3) / 4 * 4;
    std::ofstream out(file, std::ios::binary);
    out.write("BM", 2);
    Put(out, 54 + row * height, 4);
    Put(out, 0, 4);
    Put(out, 54, 4);  // where the pixels start
    Put(out, 40, 4);  // the size of the rest of the header
    Put(out, width, 4);
    Put(out, height, 4);
    Put(out, 1, 2);   // planes
    Put(out, 24, 2);  // bits per pixel
    for (int i = 0; i < 6; ++i) Put(out, 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const Rgb colour = pixel(x, y);
            out.put(static_cast<char>(colour.blue));
            out.put(static_cast<char>(colour.green));
            out.put(static_cast<char>(colour.red));
        }
        for (int pad = 3 * width; pad < row; ++pad) out.put(0);
    }
    return static_cast<bool>(out);
}

// 16 x 16: a hull widening from the nose down, a round cockpit, a flame.
Rgb Ship(int x, int y) {
    const int half = std::abs(2 * x - 15);  // twice the distance from the middle
    const double cx = x - 7.5, cy = y - 8;
    if (y < 14 && cx * cx + cy * cy < 5) return kCockpit;
    if (y < 14 && half <= y + 1) return kHull;
    if (y >= 14 && half <= 5) return kFlame;
    return kSeeThrough;
}

// 12 x 12: a gold disc with a darker rim.
Rgb Coin(int x, int y) {
    const double cx = x - 5.5, cy = y - 5.5, r2 = cx * cx + cy * cy;
    if (r2 < 20) return kGold;
    if (r2 < 33) return kRim;
    return kSeeThrough;
}

// A 0.12-second chirp rising from 600 to 1200 Hz and fading out, at 22,050
// samples a second.
bool WriteBlip(const std::string& file) {
    const int rate = 22050, count = rate * 12 / 100;
    std::ofstream out(file, std::ios::binary);
    out.write("RIFF", 4);
    Put(out, 36 + 2 * count, 4);
    out.write("WAVEfmt ", 8);
    Put(out, 16, 4);
    Put(out, 1, 2);  // PCM
    Put(out, 1, 2);  // mono
    Put(out, rate, 4);
    Put(out, 2 * rate, 4);
    Put(out, 2, 2);
    Put(out, 16, 2);
    out.write("data", 4);
    Put(out, 2 * count, 4);
    double phase = 0;
    for (int i = 0; i < count; ++i) {
        const double done = static_cast<double>(i) / count;
        phase += (600 + 600 * done) / rate;
        const double level = 8000 * (1 - done) * std::sin(kFullTurn * phase);
        Put(out, static_cast<uint16_t>(static_cast<int16_t>(level)), 2);
    }
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: media FOLDER\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    if (!WriteBmp(folder + "ship.bmp", 16, 16, Ship) ||
        !WriteBmp(folder + "coin.bmp", 12, 12, Coin) || !WriteBlip(folder + "blip.wav")) {
        std::fprintf(stderr, "media: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
