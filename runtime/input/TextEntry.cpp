#include "runtime/input/TextEntry.h"

#include "runtime/core/Engine.h"
#include "runtime/core/EngineState.h"
#include "runtime/gfx2d/Font.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/input/InputDevices.h"
#include "runtime/runtime.h"
#include "runtime/values/NumberText.h"
#include "runtime/values/Truncate.h"

namespace {

constexpr uint8_t kReturn = 10;
constexpr uint8_t kBackspace = 8;
// The screen as it was when the entry began, drawn under the text every frame.
constexpr int kEntryBackground = 3;

}  // namespace

bool TextEntry::Type(uint8_t c) {
    if (c == kReturn) return true;
    if (c == kBackspace) {
        if (text.Length() > 0) text.CutAt(text.Length() - 1);
    } else if (c != 0) {
        const char typed[2] = {static_cast<char>(c), 0};
        text += typed;
    } else if (++blinkCounter > kBlinkRounds) {
        blinkCounter = 0;
        cursorShown = !cursorShown;
    }
    return false;
}

RtString TextEntry::Shown() const {
    return cursorShown ? text + "_" : text;
}

// The text is placed at whole pixels from the first frame on, so it does not
// move when the first key is typed.
void InputText(RtString& text, double x, double y) {
    OpenGLRainbows* device = gEngine.device;
    InputDevices* input = gEngine.input;
    if (!device || !input) return;
    const double left = TruncateInt32(x), top = TruncateInt32(y);
    device->GrabToBackground(kEntryBackground);
    device->DrawBackground(kEntryBackground);
    PrintText(text, left, top);
    TextEntry entry(text);
    for (;;) {
        PresentFrame();
        if (entry.Type(input->NextTypedChar())) break;
        device->DrawBackground(kEntryBackground);
        PrintText(entry.Shown(), left, top);
    }
    FreeBackground(kEntryBackground);
}

void InputNumber(double& number, double x, double y) {
    RtString text;
    InputText(text, x, y);
    number = TextToNumber(text);
}
