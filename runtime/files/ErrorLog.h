// The error log "ErrorLog.txt" in the temporary folder: one line per event,
// appended by whoever has something to report; start-up deletes it.
#pragma once

#include <string>

std::string ErrorLogPath();
void DeleteErrorLog();
// Appends the text and CR LF; retries up to 5 times 100 ms apart, then drops it.
void AppendErrorLog(const char* text);
