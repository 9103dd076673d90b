// Every test program gets a temporary folder of its own, so tests running in
// parallel never share an error log or an unpacked file. A death test's child
// process keeps its parent's folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
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
