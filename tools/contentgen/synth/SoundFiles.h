#pragma once
#include "synth/Voice.h"

#include <cstdint>
#include <vector>

// Synthesised buffers as the files the game reads: PCM wave (16-bit) and
// Ogg Vorbis.
namespace contentgen {

std::vector<uint8_t> EncodeWave(const Pcm& pcm);
std::vector<uint8_t> EncodeVorbis(const Pcm& pcm);

} // namespace contentgen
