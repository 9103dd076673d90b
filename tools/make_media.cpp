// make_media: draws the game's media into a folder (the program's folder at
// build time): portraits, backgrounds, menu pictures, fonts and sounds, and
// the desktop's icons under icons/hicolor/ for installing.
//
//   make_media OUTDIR              write every media file under OUTDIR
//   make_media OUTDIR --sheet PNG  also write a contact sheet for looking at the art
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "media/AppIcon.h"
#include "media/Characters.h"
#include "media/ContactSheets.h"
#include "media/FontPicture.h"
#include "media/Grandstand.h"
#include "media/MediaFiles.h"
#include "media/MenuPictures.h"
#include "media/Portraits.h"
#include "media/Sounds.h"

namespace {

using namespace media;
namespace fs = std::filesystem;

// The pictures that others are drawn from, kept for the contact sheets.
struct Drawn {
    std::vector<Image> portraits;
    std::vector<Image> scenes;
    Image menu, icon;
};

std::string PortraitName(int n) {
    char name[16];
    std::snprintf(name, sizeof name, "vux/%02d.png", n);
    return name;
}

bool WritePortraits(const fs::path& out, Drawn& drawn) {
    bool ok = true;
    const std::vector<Character> cast = CastOfCharacters();
    for (int i = 0; i < kPortraitCount; ++i) {
        drawn.portraits.push_back(PaintPortrait(cast[size_t(i)]));
        ok = WritePng((out / PortraitName(i)).string(), drawn.portraits.back()) && ok;
    }
    return ok;
}

bool WriteScenes(const fs::path& out, Drawn& drawn) {
    bool ok = true;
    for (int mood = 0; mood < Moods; ++mood) {
        drawn.scenes.push_back(Grandstand(Mood(mood)));
        ok = WritePng((out / ("back" + std::to_string(mood) + ".png")).string(),
                      drawn.scenes.back()) &&
             ok;
    }
    return ok;
}

bool WriteMenu(const fs::path& out, Drawn& drawn) {
    drawn.menu = MenuBackground(drawn.portraits);
    drawn.icon = MenuIcon();
    const bool back = WritePng((out / "menu" / "back.png").string(), drawn.menu);
    return WritePng((out / "menu" / "icon.png").string(), drawn.icon) && back;
}

bool WriteFont(const fs::path& out) {
    const Image font = FontPicture();
    const bool png = WritePng((out / "smalfont.png").string(), font);
    return WriteBmp24((out / "smalfont.bmp").string(), font, Colour(255, 0, 128)) && png;
}

bool WriteSounds(const fs::path& out) {
    const bool blip = WriteWav((out / "blip.wav").string(), Blip());
    return WriteWav((out / "cheer.wav").string(), Cheer()) && blip;
}

bool WriteIcons(const fs::path& out, const Drawn& drawn) {
    bool ok = true;
    for (int size : kAppIconSizes) {
        const std::string edge = std::to_string(size);
        const fs::path folder = out / "icons" / "hicolor" / (edge + "x" + edge) / "apps";
        std::error_code ec;
        fs::create_directories(folder, ec);
        ok = WritePng((folder / "quorbel.png").string(), AppIcon(drawn.portraits, size)) && ok;
    }
    return ok;
}

bool WriteSheets(const std::string& sheetPath, const Drawn& drawn) {
    bool ok = WritePng(sheetPath, ContactSheet(drawn.portraits));
    ok = WritePng(sheetPath + ".badges.png", BadgeSheet(drawn.portraits)) && ok;
    ok = WritePng(sheetPath + ".scenes.png",
                  SceneSheet(drawn.portraits, drawn.scenes, drawn.menu, drawn.icon)) &&
         ok;
    for (int first = 0; first < kPortraitCount; first += 18)
        ok = WritePng(sheetPath + ".zoom" + std::to_string(first / 18) + ".png",
                      ZoomSheet(drawn.portraits, first, 18)) &&
             ok;
    return ok;
}

bool WriteAll(const fs::path& out, const std::string& sheetPath) {
    std::error_code ec;
    fs::create_directories(out / "vux", ec);
    fs::create_directories(out / "menu", ec);
    Drawn drawn;
    bool ok = WritePortraits(out, drawn);
    ok = WriteScenes(out, drawn) && ok;
    ok = WriteMenu(out, drawn) && ok;
    ok = WriteFont(out) && ok;
    ok = WriteSounds(out) && ok;
    ok = WriteIcons(out, drawn) && ok;
    if (!sheetPath.empty()) ok = WriteSheets(sheetPath, drawn) && ok;
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
