// Death tests end in EndProgram, which exits with code 0; the recorded error
// number is printed on the way out so the parent can match it.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "runtime/core/EngineState.h"

inline void PrintRuntimeError() {
    std::fprintf(stderr, "runtime error %d\n", static_cast<int>(gEngine.errorNumber));
}

inline void ReportRuntimeErrorAtExit() {
    std::atexit(PrintRuntimeError);
}

#define EXPECT_RUNTIME_ERROR(statement, number) \
    EXPECT_EXIT(                                \
        {                                       \
            ReportRuntimeErrorAtExit();         \
            statement;                          \
        },                                      \
        ::testing::ExitedWithCode(0), "runtime error " #number "\n")
