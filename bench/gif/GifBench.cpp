// The GIF unit's hot loops on a 1024 x 1024 frame of noise and of long runs:
// LZW decoding, LZW and run-length encoding, and 24 bits to the web palette
// with Floyd-Steinberg. Prints each time over a copy of the same bytes in the
// same run; run with --benchmark_repetitions=10 for steadier ratios.
#include "launcher/gif/MemoryStream.h"
#include "launcher/gif/ReduceBitmapColors.h"
#include "launcher/gif/TGIFImage.h"
#include "launcher/gif/TGIFSubImage.h"

#include "bench/common/RatioReporter.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

using namespace GIFImage;

namespace {

const int kSize = 1024;

std::vector<uint8_t> Pixels(bool noise)
{
    std::vector<uint8_t> p(size_t(kSize) * kSize);
    uint32_t s = 12345;
    for (size_t i = 0; i < p.size(); ++i) {
        s = s * 1103515245u + 12345u;
        p[i] = noise ? uint8_t(s >> 16) : uint8_t(i / 700 % 256);
    }
    return p;
}

void Fill(TGIFImage& image, bool noise, TGIFCompression compression)
{
    for (int i = 0; i < 256; ++i)
        image.GlobalColorMap().Add(TGIFColor{uint8_t(i), uint8_t(255 - i), uint8_t(i * 3)});
    auto* f = image.Images().SubImage(image.Add(std::make_unique<TGIFSubImage>(&image)));
    f->SetBounds(0, 0, kSize, kSize);
    f->SetData(Pixels(noise));
    image.SetCompression(compression);
}

const std::vector<uint8_t>& Encoded(bool noise)
{
    static std::map<bool, std::vector<uint8_t>> cache;
    auto it = cache.find(noise);
    if (it == cache.end()) {
        TGIFImage image;
        Fill(image, noise, gcLZW);
        MemoryStream s;
        image.SaveToStream(s);
        it = cache.emplace(noise, s.Bytes()).first;
    }
    return it->second;
}

void BM_Copy(benchmark::State& state)
{
    std::vector<uint8_t> from(size_t(kSize) * kSize * size_t(state.range(0))), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
    }
}

void BM_DecodeLZW(benchmark::State& state)
{
    const std::vector<uint8_t>& bytes = Encoded(state.range(0));
    for (auto _ : state) {
        TGIFImage image;
        MemoryStream s(bytes.data(), bytes.size());
        image.LoadFromStream(s);
        benchmark::DoNotOptimize(image.Images().SubImage(0)->Data());
    }
}

void Encode(benchmark::State& state, TGIFCompression compression)
{
    TGIFImage image;
    Fill(image, state.range(0), compression);
    for (auto _ : state) {
        MemoryStream s;
        image.SaveToStream(s);
        benchmark::DoNotOptimize(s.Bytes().data());
    }
}

void BM_EncodeLZW(benchmark::State& state)
{
    Encode(state, gcLZW);
}

void BM_EncodeRLE(benchmark::State& state)
{
    Encode(state, gcRLE);
}

void BM_WebFloydSteinberg(benchmark::State& state)
{
    Bitmap picture(kSize, kSize, pf24bit);
    std::vector<uint8_t> p = Pixels(true);
    for (int y = 0; y < kSize; ++y)
        std::memcpy(picture.ScanLine(y), p.data() + size_t(y) * kSize, kSize);
    for (auto _ : state) {
        Bitmap out = ReduceBitmapColors(picture, TColorReduction::rmNetscape, TDitherMode::dmFloydSteinberg, {}, 8);
        benchmark::DoNotOptimize(out.ScanLine(0));
    }
}

BENCHMARK(BM_Copy)->Arg(1)->Arg(3)->ArgName("bytes_per_pixel")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeLZW)->Arg(1)->Arg(0)->ArgName("noise")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EncodeLZW)->Arg(1)->Arg(0)->ArgName("noise")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EncodeRLE)->Arg(1)->Arg(0)->ArgName("noise")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WebFloydSteinberg)->Unit(benchmark::kMicrosecond);


} // namespace

int main(int argc, char** argv)
{
    return bench::RunWithRatios(argc, argv, [](const bench::RatioReporter& r) {
        bench::RatioReporter::PrintHeader("time over a copy of the same bytes (1024 x 1024)");
        for (const char* op : {"BM_DecodeLZW", "BM_EncodeLZW", "BM_EncodeRLE"})
            for (const char* arg : {"/noise:1", "/noise:0"})
                r.PrintRatio(std::string(op + 3) + arg, std::string(op) + arg, "BM_Copy/bytes_per_pixel:1");
        r.PrintRatio("WebFloydSteinberg", "BM_WebFloydSteinberg", "BM_Copy/bytes_per_pixel:3");
    });
}
