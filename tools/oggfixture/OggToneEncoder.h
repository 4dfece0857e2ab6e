#pragma once
#include <string>

// Encodes a tone as Ogg Vorbis: the left channel plays 440 Hz, the right one
// 660 Hz, at half volume. The bytes depend only on the arguments (fixed
// stream serial number). Empty when the encoder refuses the format.
std::string EncodeOggTone(int channels, long rate, long frames);
