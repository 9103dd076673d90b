// Line files: a text file used as an array of lines 0..255, read and written
// by number through one buffer bound to one file at a time. A changed buffer
// is written back when another file is named and when the program ends.
#pragma once

#include "runtime/values/RtString.h"

// 1 with the line in `text`; 0 with "NO_DATA" for an empty line or a number
// outside 0..255 (runtime error 7 recorded); non-zero with "NO_FILE" when the
// file is missing.
double GetFileLine(const RtString& path, double line, RtString& text);
double GetFileLineNumber(const RtString& path, double line);  // the line read as a number
// Stores the line (runtime error 7 recorded outside 0..255); written back later.
void PutFileLine(const RtString& path, double line, const RtString& text);
void PutFileLineNumber(const RtString& path, double line, double value);  // the number's text

// Writes a changed buffer back to its file now.
void FlushLineFile();
