// Scratch folders and whole-file helpers for the files tests. The tests make
// every file they read themselves.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace filestest {

namespace fs = std::filesystem;

// A fresh folder of its own under the system's temporary folder, removed with
// everything in it when the test ends.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "quorbel-test-XXXXXX").string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back(0);
        if (mkdtemp(name.data())) path_ = name.data();
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty()) fs::remove_all(path_, ignored);
    }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

inline std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

// Pseudo-random but repeatable contents.
inline std::vector<uint8_t> NoiseBytes(size_t size, uint32_t seed) {
    std::vector<uint8_t> bytes(size);
    for (uint8_t& b : bytes) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<uint8_t>(seed >> 24);
    }
    return bytes;
}

inline bool Exists(const std::string& path) {
    std::error_code ignored;
    return fs::exists(path, ignored);
}

// The archive packer built beside the tests.
inline std::string SbpackPath() {
    if (const char* bin = std::getenv("QUORBEL_TEST_BIN")) {
        std::string path = std::string(bin) + "/sbpack";
        if (Exists(path)) return path;
    }
    std::error_code ignored;
    fs::path self = fs::read_symlink("/proc/self/exe", ignored);
    for (fs::path dir = self.parent_path(); !dir.empty() && dir != dir.root_path();
         dir = dir.parent_path()) {
        if (Exists((dir / "sbpack").string())) return (dir / "sbpack").string();
    }
    return std::string();
}

inline int RunCommand(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

}  // namespace filestest
