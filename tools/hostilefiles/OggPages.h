#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace hostile {

// One page of an Ogg stream: the header fields that matter here, the
// lacing values and the body. Writing computes the checksum anew.
struct OggPage {
    uint8_t headerType = 0; // 1 continued, 2 first of a stream, 4 last
    int64_t granule = 0;
    uint32_t serial = 0;
    uint32_t sequence = 0;
    std::vector<uint8_t> lacing;
    std::string body;
};

// The pages of an Ogg file; parsing stops at the first damaged page.
std::vector<OggPage> ParseOggPages(const std::string& bytes);
std::string WriteOggPages(const std::vector<OggPage>& pages);

// The stream with its last page claiming a length of granule frames.
std::string OggWithLastGranule(const std::string& bytes, int64_t granule);
// A chained stream: first, then second under a serial number above all of
// first's.
std::string OggChain(const std::string& first, const std::string& second);
// The headers of a Vorbis stream made by our encoder (two modes, the second
// one long blocks), followed by packets one-byte audio packets of long
// blocks that code nothing: a valid stream of silence, as long as its
// packets hold, at about two bytes per 1024 frames.
std::string OggSilence(const std::string& vorbisFile, uint32_t packets);

} // namespace hostile
