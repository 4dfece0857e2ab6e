#pragma once
#include <openjpeg.h>

#include <cstdint>
#include <functional>
#include <string>

// Writes a lossless, opaque JPEG-2000 file (a bare J2K codestream or the JP2
// box format) of width x height pixels given as 0x..RRGGBB. False when
// OpenJPEG fails (a partial file may remain).
namespace fixtures {

bool WriteJ2k(const std::string& path, OPJ_CODEC_FORMAT format, int width, int height,
              const std::function<uint32_t(int x, int y)>& pixel);

} // namespace fixtures
