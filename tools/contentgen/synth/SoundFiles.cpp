#include "synth/SoundFiles.h"

#include "framework/sound/WaveBytes.h"
#include "assets/Scratch.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace contentgen {

std::vector<uint8_t> EncodeWave(const Pcm& pcm)
{
    const uint32_t dataBytes = uint32_t(pcm.samples.size() * 2);
    const uint16_t blockAlign = uint16_t(pcm.channels * 2);
    Zelk::WaveBytes w;
    w.Tag("RIFF").U32(4 + 8 + 16 + 8 + dataBytes).Tag("WAVE");
    w.Tag("fmt ").U32(16).U16(1).U16(uint16_t(pcm.channels)).U32(kSampleRate).U32(kSampleRate * blockAlign);
    w.U16(blockAlign).U16(16);
    w.Tag("data").U32(dataBytes);
    w.bytes.reserve(w.bytes.size() + dataBytes);
    for (float v : pcm.samples)
        w.U16(uint16_t(int16_t(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f))));
    return std::move(w.bytes);
}

std::vector<uint8_t> EncodeVorbis(const Pcm& pcm)
{
    std::string in = ScratchPath(".f32"), out = ScratchPath(".ogg");
    FILE* f = std::fopen(in.c_str(), "wb");
    bool written = f && std::fwrite(pcm.samples.data(), sizeof(float), pcm.samples.size(), f) == pcm.samples.size();
    if (!f || std::fclose(f) != 0 || !written)
        throw std::runtime_error("cannot write the temporary file " + in);
    std::string channels = std::to_string(pcm.channels), rate = std::to_string(kSampleRate);
    const char* program = CONTENTGEN_OGG_ENCODER;
    std::vector<char*> argv = {const_cast<char*>(program), in.data(), out.data(), channels.data(), rate.data(),
                               const_cast<char*>("0.1"), nullptr};
    pid_t child = 0;
    int status = 0;
    bool ran = posix_spawn(&child, program, nullptr, nullptr, argv.data(), environ) == 0 &&
               waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    std::remove(in.c_str());
    if (!ran)
        throw std::runtime_error(std::string("the Ogg Vorbis encoder ") + program +
                                 " failed (it needs libvorbis-dev at build time)");
    return TakeScratchFile(out);
}

} // namespace contentgen
