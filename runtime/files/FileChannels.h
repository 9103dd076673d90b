// The eight numbered file channels of the game language (0..7), and the file
// commands that take a path. A bad channel number is runtime error 7; a read
// past the end or on a closed channel is runtime error 3; both end the program.
#pragma once

#include "runtime/values/RtString.h"

// Mode 0: a new, empty file for writing; else an existing file for reading. 1 / 0.
double OpenFile(double channel, const RtString& path, double mode);
void CloseFile(double channel);                   // closes and clears the channel
double FileAtEnd(double channel);                 // 1 once every byte was read
double ReadByte(double channel);                  // 0..255
double ReadWord(double channel);                  // 2 bytes, 0..65535
double ReadLong(double channel);                  // 4 bytes, unsigned
double ReadFloat(double channel);                 // 4-byte IEEE single
double ReadDouble(double channel);                // 8-byte IEEE double
RtString ReadText(double channel, double count);  // the next count bytes
RtString ReadLine(double channel);                // up to "\n" (without "\r"), at most 1024 bytes
double ReadLineNumber(double channel);            // ReadLine read as a number
void WriteByte(double channel, double value);     // low 8 bits
void WriteWord(double channel, double value);     // low 16 bits
void WriteLong(double channel, double value);     // low 32 bits
void WriteFloat(double channel, double value);    // 4-byte IEEE single
void WriteDouble(double channel, double value);   // 8-byte IEEE double
void WriteLine(double channel, const RtString& text);  // the text and "\r\n"
void WriteLineNumber(double channel, double value);    // the number's text and "\r\n"
// Origin 0: from the start; above 0: from the current position; below 0: from the end.
void SeekFile(double channel, double offset, double origin);
double FileSize(const RtString& path);  // bytes, 0 when it cannot be opened
void DeleteFile(const RtString& path);
RtString CurrentDirectory();
void SetDirectory(const RtString& path);

// Closes every open channel (the release of devices).
void CloseFileChannels();
