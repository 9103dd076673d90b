// ShoeboxFind on an archive of 1,000 members of 4 KiB: the first member
// (found at the top of the directory), the last (after scanning all of it) and
// a missing one (the scan alone), beside two reference figures from the same
// run: resolving a plain file, and a bare open and close of a file.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "runtime/files/Shoebox.h"
#include "runtime/files/ShoeboxPacker.h"
#include "runtime/platform/Platform.h"

namespace {

constexpr int kMembers = 1000;
constexpr size_t kMemberSize = 4096;

std::string MemberName(int i) {
    return "portrait" + std::to_string(i) + ".png";
}

// One archive and one plain file, made once for the whole run.
struct Fixture {
    Fixture() {
        folder = platform::TempFolder() + "quorbel-bench-" + std::to_string(platform::ProcessId());
        std::filesystem::create_directories(folder);
        std::vector<ShoeboxMemberInput> members(kMembers);
        uint32_t seed = 12345;
        for (int i = 0; i < kMembers; ++i) {
            members[i].name = MemberName(i);
            members[i].bytes.resize(kMemberSize);
            // Half noise, half a repeated pattern: pictures compress somewhat.
            for (size_t b = 0; b < kMemberSize; ++b) {
                seed = seed * 1664525u + 1013904223u;
                members[i].bytes[b] = b < kMemberSize / 2 ? static_cast<uint8_t>(seed >> 24)
                                                          : static_cast<uint8_t>(b & 15);
            }
        }
        std::vector<uint8_t> bytes;
        std::string error;
        if (!PackShoebox(members, false, &bytes, &error)) std::abort();
        archive = folder + "/media.sbx";
        platform::FileHandle file =
            platform::OpenFile(archive.c_str(), platform::OpenMode::CreateAlways);
        platform::WriteFile(file, bytes.data(), bytes.size());
        platform::CloseFile(file);
        plain = folder + "/plain.png";
        file = platform::OpenFile(plain.c_str(), platform::OpenMode::CreateAlways);
        platform::WriteFile(file, bytes.data(), kMemberSize);
        platform::CloseFile(file);
    }
    ~Fixture() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::string folder, archive, plain;
};

Fixture& Files() {
    static Fixture fixture;
    return fixture;
}

void FindMember(benchmark::State& state, const std::string& name) {
    Shoebox* box = new Shoebox;
    SetShoeboxPath(box, Files().archive.c_str());
    char output[1024];
    for (auto _ : state) {
        if (!ShoeboxFind(box, name.c_str(), output, sizeof output))
            state.SkipWithError("not found");
        benchmark::DoNotOptimize(output);
    }
    state.SetItemsProcessed(state.iterations());
    ReleaseShoebox(box);
}

void BM_ShoeboxFindFirstMember(benchmark::State& state) {
    FindMember(state, "vux/" + MemberName(0));
}
void BM_ShoeboxFindLastMember(benchmark::State& state) {
    FindMember(state, "vux/" + MemberName(kMembers - 1));
}
void BM_ShoeboxFindPlainFile(benchmark::State& state) {
    FindMember(state, Files().plain);
}
// A name the archive does not hold: the whole directory is scanned, nothing unpacked.
void BM_ShoeboxFindMissing(benchmark::State& state) {
    Shoebox* box = new Shoebox;
    SetShoeboxPath(box, Files().archive.c_str());
    char output[1024];
    for (auto _ : state) {
        if (ShoeboxFind(box, "vux/missing.png", output, sizeof output))
            state.SkipWithError("found");
        benchmark::DoNotOptimize(output);
    }
    state.SetItemsProcessed(state.iterations());
    ReleaseShoebox(box);
}

void BM_ReferenceOpenClose(benchmark::State& state) {
    const std::string& path = Files().plain;
    for (auto _ : state) {
        platform::FileHandle file = platform::OpenFile(path.c_str(), platform::OpenMode::Read);
        benchmark::DoNotOptimize(file);
        platform::CloseFile(file);
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_ShoeboxFindFirstMember)->UseRealTime();
BENCHMARK(BM_ShoeboxFindLastMember)->UseRealTime();
BENCHMARK(BM_ShoeboxFindMissing)->UseRealTime();
BENCHMARK(BM_ShoeboxFindPlainFile)->UseRealTime();
BENCHMARK(BM_ReferenceOpenClose)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
