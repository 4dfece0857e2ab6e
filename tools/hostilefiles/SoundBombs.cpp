#include "tools/hostilefiles/SoundBombs.h"

namespace hostile {

namespace {

void Le(std::string& out, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += char(v >> (8 * i) & 0xFF);
}

void Be(std::string& out, uint32_t v)
{
    for (int i = 3; i >= 0; --i)
        out += char(v >> (8 * i) & 0xFF);
}

} // namespace

std::string WaveClaiming(uint32_t dataBytes)
{
    std::string out = "RIFF";
    Le(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    Le(out, 16, 4);
    Le(out, 1, 2);      // PCM
    Le(out, 2, 2);      // stereo
    Le(out, 44100, 4);
    Le(out, 44100 * 4, 4);
    Le(out, 4, 2);
    Le(out, 16, 2);
    out += "data";
    Le(out, dataBytes, 4);
    return out + std::string(64, '\x10');
}

std::string AuClaiming(uint32_t dataBytes)
{
    std::string out = ".snd";
    Be(out, 24);
    Be(out, dataBytes);
    Be(out, 1); // 8-bit mu-law
    Be(out, 8000);
    Be(out, 1);
    return out + std::string(64, '\x10');
}

} // namespace hostile
