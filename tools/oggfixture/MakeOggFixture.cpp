// Writes a short Ogg Vorbis tone for the sound tests:
//   make_ogg_fixture OUT.ogg CHANNELS RATE FRAMES
// The left channel plays 440 Hz, the right one 660 Hz, at half volume. The
// output depends only on the arguments (fixed stream serial number).
#include "tools/oggfixture/OggToneEncoder.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 5) {
        fprintf(stderr, "usage: %s OUT.ogg CHANNELS RATE FRAMES\n", argv[0]);
        return 2;
    }
    int channels = atoi(argv[2]);
    long rate = atol(argv[3]);
    long frames = atol(argv[4]);
    if (channels < 1 || channels > 2 || rate < 8000 || frames < 1) {
        fprintf(stderr, "bad arguments\n");
        return 2;
    }
    std::string ogg = EncodeOggTone(channels, rate, frames);
    if (ogg.empty()) {
        fprintf(stderr, "the encoder refuses %d channels at %ld Hz\n", channels, rate);
        return 1;
    }
    FILE* out = fopen(argv[1], "wb");
    if (!out) {
        perror(argv[1]);
        return 1;
    }
    bool ok = fwrite(ogg.data(), 1, ogg.size(), out) == ogg.size();
    if (fclose(out) != 0 || !ok) {
        fprintf(stderr, "writing %s failed\n", argv[1]);
        return 1;
    }
    return 0;
}
