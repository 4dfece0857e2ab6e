// Encodes raw samples as Ogg Vorbis, for programs that read Ogg through the
// game's own decoder and so cannot load the encoder library beside it (both
// define the same function names):
//   ogg_encode IN.f32 OUT.ogg CHANNELS RATE QUALITY
// IN.f32 holds interleaved 32-bit floats (-1..1) in the machine's order.
#include "tools/oggfixture/OggToneEncoder.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 6) {
        fprintf(stderr, "usage: %s IN.f32 OUT.ogg CHANNELS RATE QUALITY\n", argv[0]);
        return 2;
    }
    int channels = atoi(argv[3]);
    long rate = atol(argv[4]);
    float quality = float(atof(argv[5]));
    FILE* in = fopen(argv[1], "rb");
    if (!in) {
        perror(argv[1]);
        return 1;
    }
    std::vector<float> samples;
    float chunk[4096];
    size_t n;
    while ((n = fread(chunk, sizeof(float), 4096, in)) > 0)
        samples.insert(samples.end(), chunk, chunk + n);
    fclose(in);
    std::string ogg = EncodeOggSamples(channels, rate, samples, quality);
    if (ogg.empty()) {
        fprintf(stderr, "the encoder refuses %d channels at %ld Hz\n", channels, rate);
        return 1;
    }
    FILE* out = fopen(argv[2], "wb");
    if (!out) {
        perror(argv[2]);
        return 1;
    }
    bool ok = fwrite(ogg.data(), 1, ogg.size(), out) == ogg.size();
    if (fclose(out) != 0 || !ok) {
        fprintf(stderr, "writing %s failed\n", argv[2]);
        return 1;
    }
    return 0;
}
