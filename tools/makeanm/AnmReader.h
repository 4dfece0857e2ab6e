#pragma once
#include "tools/makeanm/AnmFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace makeanm {

// Reads an animation file as the game does, checking everything against the
// bytes that are really there: the magic, at least size bytes of image,
// record, sequence and frame arrays inside the image (links resolved as
// link - base, so records may share a sequence), counts and fps not
// negative. A name is its bytes before the first NUL, at most 64 (64 means it
// has no NUL). False with a message for a file the game would refuse, and
// for one whose records, sharing sequences or overlapping frame arrays, add
// up to more than kMaxFramesRead frames. The reserved and unused words are
// as found; the declared counts and links of the result stay unset.
constexpr uint64_t kMaxFramesRead = 1u << 20;

bool ReadAnm(const uint8_t* data, size_t size, AnmFile& file, std::string& error);

} // namespace makeanm
