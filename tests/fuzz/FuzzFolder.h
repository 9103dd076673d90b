// A temporary folder of the fuzz run's own, made at start and removed at exit;
// TMPDIR points at it, so the error log and unpacked files go there too.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

inline std::string& FuzzFolder() {
    static std::string folder;
    return folder;
}

inline void MakeFuzzFolder() {
    char pattern[] = "/tmp/quorbel-fuzz-XXXXXX";
    if (!mkdtemp(pattern)) abort();
    FuzzFolder() = pattern;
    setenv("TMPDIR", pattern, 1);
    atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(FuzzFolder(), ignored);
    });
}
