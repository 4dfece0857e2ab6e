#pragma once
#include <cstdint>
#include <string>

namespace plat {

// The largest chunk size the parser gives; a longer hex number is refused
// rather than wrapped.
constexpr uint64_t kMaxHttpChunkSize = uint64_t(1) << 62;

// A chunk-size line of HTTP/1.1's chunked coding (without its line end):
// hex digits, blanks around them allowed, then optionally ";" and chunk
// extensions, which are ignored. False for anything else: no digit, a stray
// character, or a size above kMaxHttpChunkSize.
bool ParseHttpChunkSize(const std::string& line, uint64_t& size);

} // namespace plat
