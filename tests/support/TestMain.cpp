// Every test program gets a temporary folder of its own, so tests running in
// parallel never share an error log or an unpacked file. A death test's child
// process keeps its parent's folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// The GL driver keeps allocations to the end of the process and unloads
// before a leak report could name it: leak reports would be its, not ours.
extern "C" const char* __asan_default_options() {
    return "detect_leaks=0";
}
extern "C" const char* __ubsan_default_options() {
    return "print_stacktrace=1";
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Headless unless the caller chose drivers: no display, no sound card.
    auto byDefault = [](const char* name, const char* value) {
        const char* set = std::getenv(name);
        if (!set || !*set) setenv(name, value, 1);
    };
    // QUORBEL_TEST_ON_DISPLAY keeps the display's own driver (tools/screenshots.sh
    // photographs the play-through in a real window).
    if (!std::getenv("QUORBEL_TEST_ON_DISPLAY")) byDefault("SDL_VIDEODRIVER", "offscreen");
    byDefault("SDL_AUDIODRIVER", "dummy");
    // Where the executables and the generated media are.
    byDefault("QUORBEL_TEST_BIN", QUORBEL_BUILD_DIR);
    // The GL driver runs threads of its own: a death test's child must start
    // afresh rather than fork from a process that holds them.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::string folder;
    if (!std::getenv("QUORBEL_TEST_TMPDIR")) {
        folder = (std::filesystem::temp_directory_path() / "quorbel-test-XXXXXX").string();
        if (mkdtemp(folder.data())) {
            setenv("TMPDIR", folder.c_str(), 1);
            setenv("QUORBEL_TEST_TMPDIR", folder.c_str(), 1);
        } else {
            folder.clear();
        }
    }
    const int result = RUN_ALL_TESTS();
    if (!folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    return result;
}
