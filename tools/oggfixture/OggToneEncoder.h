#pragma once
#include <string>
#include <vector>

// Encodes interleaved float samples (-1..1) as Ogg Vorbis at the given VBR
// quality (-0.1 .. 1). The bytes depend only on the arguments (fixed stream
// serial number). Empty when the encoder refuses the format.
std::string EncodeOggSamples(int channels, long rate, const std::vector<float>& interleaved, float quality);

// Encodes a tone as Ogg Vorbis: the left channel plays 440 Hz, the right one
// 660 Hz, at half volume, at quality 0.
std::string EncodeOggTone(int channels, long rate, long frames);
