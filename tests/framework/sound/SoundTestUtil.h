#pragma once
// Small sound files made in memory for the sound tests.
#include "framework/sound/WaveBytes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace soundtest {

inline std::string Str(const Zelk::WaveBytes& w) { return std::string(w.bytes.begin(), w.bytes.end()); }

// The "fmt " chunk of a PCM wave (16 bytes, or more with zero padding).
inline Zelk::WaveBytes FmtChunk(uint16_t channels, uint32_t rate, uint16_t bits, uint32_t size = 16,
                                uint16_t tag = 1)
{
    Zelk::WaveBytes w;
    uint16_t block = uint16_t(channels * bits / 8);
    w.Tag("fmt ").U32(size).U16(tag).U16(channels).U32(rate).U32(block * rate).U16(block).U16(bits);
    for (uint32_t i = 16; i < size; ++i)
        w.U8(0);
    return w;
}

// A plain wave file: header, "fmt ", then the given middle chunks and "data".
inline std::string WaveFile(uint16_t channels, uint32_t rate, uint16_t bits, const std::vector<uint8_t>& data,
                            const Zelk::WaveBytes& middle = {}, uint32_t fmtSize = 16)
{
    Zelk::WaveBytes w;
    w.Tag("RIFF").U32(uint32_t(data.size() + 36)).Tag("WAVE");
    Zelk::WaveBytes fmt = FmtChunk(channels, rate, bits, fmtSize);
    w.Raw(fmt.bytes.data(), fmt.bytes.size());
    w.Raw(middle.bytes.data(), middle.bytes.size());
    w.Tag("data").U32(uint32_t(data.size())).Raw(data.data(), data.size());
    return Str(w);
}

// 16-bit samples as little-endian bytes.
inline std::vector<uint8_t> Pcm16(const std::vector<int16_t>& samples)
{
    std::vector<uint8_t> out;
    for (int16_t s : samples) {
        out.push_back(uint8_t(s));
        out.push_back(uint8_t(uint16_t(s) >> 8));
    }
    return out;
}

// One second at 44100 Hz of a full-scale 71 Hz sine: exactly 71 periods, so
// it loops without a seam. A low tone shows a step of gain most plainly.
inline std::vector<int16_t> LowTone()
{
    std::vector<int16_t> tone;
    for (uint32_t i = 0; i < 44100; ++i)
        tone.push_back(int16_t(std::lround(32767.0 * std::sin(2.0 * M_PI * 71.0 * i / 44100.0))));
    return tone;
}

// The largest change between neighbours among every stride-th sample from
// the first (2 walks the left side of interleaved stereo).
inline int LargestStep(const std::vector<int16_t>& samples, size_t stride = 1)
{
    int largest = 0;
    for (size_t i = stride; i < samples.size(); i += stride)
        largest = std::max(largest, std::abs(int(samples[i]) - int(samples[i - stride])));
    return largest;
}

// An ".au" file: header of six big-endian fields, then the data.
inline std::string AuFile(uint32_t encoding, uint32_t rate, uint32_t channels, const std::vector<uint8_t>& data,
                          uint32_t sizeField)
{
    std::string out = ".snd";
    auto be = [&](uint32_t v) {
        for (int s = 24; s >= 0; s -= 8)
            out += char(v >> s);
    };
    be(24);
    be(sizeField);
    be(encoding);
    be(rate);
    be(channels);
    out.append(data.begin(), data.end());
    return out;
}

inline std::string AuFile(uint32_t encoding, uint32_t rate, uint32_t channels, const std::vector<uint8_t>& data)
{
    return AuFile(encoding, rate, channels, data, uint32_t(data.size()));
}

} // namespace soundtest
