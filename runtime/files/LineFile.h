// Line files: a text file used as an array of lines 0..255, read and written
// by number through one buffer bound to one file at a time (the commands are
// in runtime/runtime.h). A changed buffer is written back when another file
// is named and when the program ends.
#pragma once

// Writes a changed buffer back to its file now.
void FlushLineFile();
