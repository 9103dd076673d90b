#include "runtime/files/FileCommands.h"

#include "runtime/files/FileChannels.h"
#include "runtime/files/IniFile.h"
#include "runtime/files/LineFile.h"

void FlushFileCommands() {
    FlushLineFile();
    FlushIniFile();
    CloseFileChannels();
}
