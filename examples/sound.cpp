// Sound slots with volume and pan. A quarter-second tone is written as a WAV
// file with the file commands and loaded into two slots: slot 0 with one
// voice, slot 1 with two. Each step plays once the one before has ended;
// sounds.txt records every channel PlaySoundSlot returned.
//
//   example_sound [--frames N]   N frames, then sound.png and the end; else until Escape
#include "examples/ExampleStart.h"

namespace {

constexpr double kRate = 22050, kFrames = 5512, kLevel = 8000, kPeriod = 50;
constexpr double kSteps = 5;
constexpr double kBackground = RgbColour(24, 20, 32);

void WriteTag(double channel, const char* tag) {
    for (int i = 0; i < 4; ++i) WriteByte(channel, tag[i]);
}

// 16-bit mono PCM: a square wave of 441 Hz at kLevel.
void WriteTone(const RtString& file) {
    OpenFile(0, file, 0);
    WriteTag(0, "RIFF");
    WriteLong(0, 36 + kFrames * 2);
    WriteTag(0, "WAVE");
    WriteTag(0, "fmt ");
    WriteLong(0, 16);
    WriteWord(0, 1);  // PCM
    WriteWord(0, 1);  // one channel
    WriteLong(0, kRate);
    WriteLong(0, kRate * 2);  // bytes a second
    WriteWord(0, 2);          // bytes a frame
    WriteWord(0, 16);         // bits a sample
    WriteTag(0, "data");
    WriteLong(0, kFrames * 2);
    for (double i = 0; i < kFrames; ++i)
        WriteWord(0, IntMod(i, kPeriod) < kPeriod / 2 ? kLevel : -kLevel);  // low 16 bits
    CloseFile(0);
}

}  // namespace

int main(int argc, char** argv) {
    const double frames = FramesWanted(argc, argv);
    if (!StartExample("Sound")) return 1;

    WriteTone("tone.wav");
    const double loaded = LoadSoundFile("tone.wav", 0, 1) + LoadSoundFile("tone.wav", 1, 2);
    RtArray pan, volume, channel;
    FillArrayFromList(pan, {-1, 1, 0, 0.2, 0});
    FillArrayFromList(volume, {1, 1, 0.8, 1, 1});  // 0.8: 20 dB down, a tenth of the level
    RtTextArray label;
    FillTextArrayFromList(label, {"left", "right", "quiet", "pan 0.2", "voices"});
    DimArray(channel, kSteps, 3);
    OpenFile(1, "sounds.txt", 0);

    double step = 0, quietFrames = 0;
    for (double frame = 0;; ++frame) {
        // Channels are slot x 256 + voice, so later steps reuse the earlier ones.
        double playing = 0;
        for (double c = 0; c < 3 && step > 0; ++c)
            playing += IsChannelPlaying(channel(step - 1, c));
        quietFrames = playing > 0 ? 0 : quietFrames + 1;
        if (step < kSteps && quietFrames >= 6) {
            // The last step plays slot 1 three times at once: both voices, then
            // the older gives way. Step 0 tries slot 0 twice: its one voice is busy.
            for (double c = 0; c < 3; ++c) channel(step, c) = -1;
            const double slot = step == kSteps - 1 ? 1 : 0;
            const double plays = step == kSteps - 1 ? 3 : (step == 0 ? 2 : 1);
            RtString line = RtString("slot ") + NumberText(slot) + " pan " + NumberText(pan(step)) +
                            " volume " + NumberText(volume(step)) + ":";
            for (double c = 0; c < plays; ++c) {
                channel(step, c) = PlaySoundSlot(slot, pan(step), volume(step));
                line += RtString(" ") + NumberText(channel(step, c));
            }
            WriteLine(1, line);
            step = step + 1;
            quietFrames = 0;
        }

        DrawRect(0, 0, 320, 240, kBackground);
        PrintText(loaded == 2 ? "SOUND: two slots loaded" : "SOUND: no sound device", 8, 8);
        PrintText("pan", 96, 28);
        PrintText("volume", 208, 28);
        for (double s = 0; s < kSteps; ++s) {
            const double y = 48 + s * 32;
            double lamp = s < step ? kColourGreen : kColourGrey;
            if (s == step - 1 && playing > 0) lamp = kColourYellow;
            DrawRect(8, y, 12, 12, lamp);
            PrintText(label(s), 24, y + 2);
            DrawRect(96, y + 5, 96, 2, kColourGrey);  // pan -1..1 along the bar
            DrawRect(96 + (pan(s) + 1) * 44, y, 8, 12, kColourCyan);
            DrawRect(208, y, volume(s) * 96, 12, RgbColour(200, 90, 40));
            for (double c = 0; c < 3 && s < step; ++c)
                if (channel(s, c) != -1) PrintNumber(channel(s, c), 96 + c * 40, y + 16);
        }

        if (frame + 1 == frames) {
            SaveScreen("sound.png");
            EndProgram();  // closes sounds.txt
        }
        PresentFrame();
    }
}
