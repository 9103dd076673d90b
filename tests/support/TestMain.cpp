// Every test program gets a temporary folder of its own, so tests running in
// parallel never share an error log or an unpacked file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    std::string folder = (std::filesystem::temp_directory_path() / "quorbel-test-XXXXXX").string();
    const bool own = mkdtemp(folder.data()) != nullptr;
    if (own) setenv("TMPDIR", folder.c_str(), 1);
    const int result = RUN_ALL_TESTS();
    if (own) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    return result;
}
