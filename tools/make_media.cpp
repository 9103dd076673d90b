// make_media: draws the game's media into a folder (the program's folder at
// build time): portraits, backgrounds, menu pictures, fonts and sounds.
//
//   make_media OUTDIR              write every media file under OUTDIR
//   make_media OUTDIR --sheet PNG  also write a contact sheet for looking at the art
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "media/Characters.h"
#include "media/ContactSheets.h"
#include "media/FontPicture.h"
#include "media/MediaFiles.h"
#include "media/MediaImage.h"
#include "media/Portraits.h"
#include "media/Scenes.h"
#include "media/Sounds.h"

namespace {

using namespace media;

std::string PortraitName(int n) {
    char name[16];
    std::snprintf(name, sizeof name, "vux/%02d.png", n);
    return name;
}

bool WriteAll(const std::filesystem::path& out, const std::string& sheetPath) {
    std::error_code ec;
    std::filesystem::create_directories(out / "vux", ec);
    std::filesystem::create_directories(out / "menu", ec);
    bool ok = true;
    const std::vector<Character> cast = CastOfCharacters();
    std::vector<Image> portraits;
    for (int i = 0; i < kPortraitCount; ++i) {
        portraits.push_back(PaintPortrait(cast[size_t(i)]));
        ok = WritePng((out / PortraitName(i)).string(), portraits.back()) && ok;
    }
    std::vector<Image> scenes;
    for (int mood = 0; mood < Moods; ++mood) {
        scenes.push_back(Grandstand(Mood(mood)));
        ok = WritePng((out / ("back" + std::to_string(mood) + ".png")).string(), scenes.back()) &&
             ok;
    }
    const Image menu = MenuBackground(portraits);
    const Image icon = MenuIcon();
    ok = WritePng((out / "menu" / "back.png").string(), menu) && ok;
    ok = WritePng((out / "menu" / "icon.png").string(), icon) && ok;
    const Image font = FontPicture();
    ok = WritePng((out / "smalfont.png").string(), font) && ok;
    ok = WriteBmp24((out / "smalfont.bmp").string(), font, Colour(255, 0, 128)) && ok;
    ok = WriteWav((out / "blip.wav").string(), Blip()) && ok;
    ok = WriteWav((out / "cheer.wav").string(), Cheer()) && ok;
    if (!sheetPath.empty()) {
        ok = WritePng(sheetPath, ContactSheet(portraits)) && ok;
        ok = WritePng(sheetPath + ".badges.png", BadgeSheet(portraits)) && ok;
        ok = WritePng(sheetPath + ".scenes.png", SceneSheet(portraits, scenes, menu, icon)) && ok;
        for (int first = 0; first < kPortraitCount; first += 18)
            ok = WritePng(sheetPath + ".zoom" + std::to_string(first / 18) + ".png",
                          ZoomSheet(portraits, first, 18)) &&
                 ok;
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--sheet")) {
        std::fprintf(stderr, "usage: make_media OUTDIR [--sheet PNG]\n");
        return 2;
    }
    if (!WriteAll(argv[1], argc == 4 ? argv[3] : "")) {
        std::fprintf(stderr, "make_media: could not write the media into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
