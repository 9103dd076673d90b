// The line the player types in InputText: typed characters are appended,
// Backspace takes the last one back, Return ends the entry, and the cursor
// blinks while no key is typed.
#pragma once

#include <cstdint>

#include "runtime/values/RtString.h"

class TextEntry {
  public:
    static constexpr int kBlinkRounds = 20;  // idle rounds the cursor keeps its state, plus one

    explicit TextEntry(RtString& text) : text(text) {}

    bool Type(uint8_t c);    // one round's typed character (0: none); true on Return
    RtString Shown() const;  // the text, followed by "_" while the cursor is on

    RtString& text;
    int blinkCounter = 0;
    bool cursorShown = false;
};
