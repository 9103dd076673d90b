// An HTTP download into a file: the day's news fetched before the first frame,
// then shown a line at a time. DownloadHttpFile waits until the server has
// sent everything and closed, so a game calls it where a pause is fine.
//
//   example_download [--frames N] [--server HOST] [--port P] [--path /PATH] [--file NAME]
//   N frames, then download.png and the end; else until Escape.
//   Defaults: 127.0.0.1, port 8000, /news.txt into news.txt
#include "examples/ExampleStart.h"

namespace {

constexpr double kShownLines = 12;

}  // namespace

int main(int argc, char** argv) {
    const double frames = FramesWanted(argc, argv);
    const RtString server = Argument(argc, argv, "--server", "127.0.0.1");
    const double port = TextToNumber(Argument(argc, argv, "--port", "8000"));
    const RtString path = Argument(argc, argv, "--path", "/news.txt");
    const RtString file = Argument(argc, argv, "--file", "news.txt");
    if (!StartExample("Download")) return 1;

    PrintText(RtString("fetching http://") + server + ":" + NumberText(port) + path, 8, 8);
    PresentFrame();
    const double started = ElapsedMs();
    const double fetched = DownloadHttpFile(server, path, port, file);
    const double took = ElapsedMs() - started;

    // The first lines of the file, and how many there are in all.
    RtTextArray lines;
    DimTextArray(lines, kShownLines);
    double lineCount = 0;
    if (fetched != 0 && OpenFile(0, file, 1) != 0) {
        while (FileAtEnd(0) == 0) {
            const RtString line = ReadLine(0);
            if (lineCount < kShownLines) lines(lineCount) = line;
            lineCount = lineCount + 1;
        }
        CloseFile(0);
    }

    for (double frame = 0;; ++frame) {
        DrawRect(0, 0, 320, 240, RgbColour(16, 20, 28));
        DrawRect(8, 8, 12, 12, fetched != 0 ? kColourGreen : kColourRed);
        if (fetched != 0) {
            PrintText(file + ": " + NumberText(FileSize(file)) + " bytes, " +
                          NumberText(lineCount) + " lines",
                      28, 10);
            PrintText(RtString("in ") + FormatNumber(0, 0, took) + " ms", 28, 22);
            for (double i = 0; i < kShownLines && i < lineCount; ++i)
                PrintText(lines(i), 8, 40 + i * 14);
        } else {
            PrintText("no download: is a server listening", 28, 10);
            PrintText(RtString("at ") + server + " port " + NumberText(port) + "?", 28, 22);
        }

        if (frame + 1 == frames) {
            SaveScreen("download.png");
            EndProgram();
        }
        PresentFrame();
    }
}
