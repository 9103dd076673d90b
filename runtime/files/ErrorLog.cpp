#include "runtime/files/ErrorLog.h"

#include <cstring>

#include "runtime/platform/Platform.h"

std::string ErrorLogPath() {
    return platform::TempFolder() + "ErrorLog.txt";
}

void DeleteErrorLog() {
    platform::DeleteFile(ErrorLogPath().c_str());
}

void AppendErrorLog(const char* text) {
    const char* line = text ? text : "NULL";
    const std::string path = ErrorLogPath();
    for (int attempt = 0; attempt < 5; ++attempt) {
        platform::FileHandle file =
            platform::OpenFile(path.c_str(), platform::OpenMode::OpenAlways);
        if (file == platform::kNoFile) {
            platform::Sleep(100);
            continue;
        }
        platform::SeekFile(file, 0, 2);
        platform::WriteFile(file, line, std::strlen(line));
        platform::WriteFile(file, "\r\n", 2);
        platform::CloseFile(file);
        return;
    }
}
