// Reading a 4 MiB archive entry in 64 KiB pieces through the archive layer,
// against copying the same bytes with memcpy.
#include "game/core/PakInterface.h"
#include "tools/makepak/PakWriter.h"

#include "bench/common/RatioReporter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <unistd.h>
#include <string>
#include <vector>

namespace {

constexpr size_t kEntrySize = 4 << 20;
constexpr size_t kPiece = 64 << 10;

std::string EntryBytes()
{
    std::string data(kEntrySize, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = char(i * 131 + (i >> 11));
    return data;
}

// One archive with the entry, added to one layer for the whole run.
struct Archive {
    Archive()
    {
        path = (std::filesystem::temp_directory_path() / ("zelk-bench-" + std::to_string(getpid()) + ".pak")).string();
        PakWriter writer;
        writer.Add("big.bin", EntryBytes(), 0);
        std::string bytes, error;
        if (!writer.Build(bytes, error) || !WriteWholeFile(path, bytes) || !pak.AddPakFile(path))
            std::abort();
    }
    ~Archive() { std::remove(path.c_str()); }
    std::string path;
    PakInterface pak;
};

Archive& TheArchive()
{
    static Archive archive;
    return archive;
}

void PakReadEntry(benchmark::State& state)
{
    PakInterface& pak = TheArchive().pak;
    std::vector<uint8_t> piece(kPiece);
    for (auto _ : state) {
        PakFile* f = pak.FOpen("BIG.BIN", "rb");
        while (pak.FRead(piece.data(), 1, piece.size(), f) > 0)
            benchmark::DoNotOptimize(piece.data());
        pak.FClose(f);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kEntrySize));
}
BENCHMARK(PakReadEntry)->Unit(benchmark::kMicrosecond);

void MemcpyEntry(benchmark::State& state)
{
    const std::string source = EntryBytes();
    std::vector<uint8_t> piece(kPiece);
    for (auto _ : state) {
        for (size_t at = 0; at < source.size(); at += kPiece) {
            std::memcpy(piece.data(), source.data() + at, std::min(kPiece, source.size() - at));
            benchmark::DoNotOptimize(piece.data());
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kEntrySize));
}
BENCHMARK(MemcpyEntry)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::RunWithRatios(argc, argv, [](const bench::RatioReporter& r) {
        bench::RatioReporter::PrintHeader("ratio");
        r.PrintRatio("archive read / memcpy (4 MiB in 64 KiB pieces)", "PakReadEntry", "MemcpyEntry", 1.5);
    });
}
