// Writes a short Ogg Vorbis tone for the sound tests:
//   make_ogg_fixture OUT.ogg CHANNELS RATE FRAMES
// The left channel plays 440 Hz, the right one 660 Hz, at half volume. The
// output depends only on the arguments (fixed stream serial number).
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

bool WritePage(FILE* out, const ogg_page& page)
{
    return fwrite(page.header, 1, size_t(page.header_len), out) == size_t(page.header_len) &&
           fwrite(page.body, 1, size_t(page.body_len), out) == size_t(page.body_len);
}

} // namespace

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
    FILE* out = fopen(argv[1], "wb");
    if (!out) {
        perror(argv[1]);
        return 1;
    }

    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, channels, rate, 0.0f) != 0) {
        fprintf(stderr, "the encoder refuses %d channels at %ld Hz\n", channels, rate);
        return 1;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block vb;
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 20261210);

    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page page;
    bool ok = true;
    while (ogg_stream_flush(&os, &page))
        ok = ok && WritePage(out, page);

    float** pcm = vorbis_analysis_buffer(&vd, int(frames));
    for (long i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c) {
            double hz = c == 0 ? 440.0 : 660.0;
            pcm[c][i] = float(0.5 * std::sin(2.0 * M_PI * hz * double(i) / double(rate)));
        }
    }
    vorbis_analysis_wrote(&vd, int(frames));
    vorbis_analysis_wrote(&vd, 0);

    bool eos = false;
    while (!eos && vorbis_analysis_blockout(&vd, &vb) == 1) {
        vorbis_analysis(&vb, nullptr);
        vorbis_bitrate_addblock(&vb);
        ogg_packet packet;
        while (vorbis_bitrate_flushpacket(&vd, &packet)) {
            ogg_stream_packetin(&os, &packet);
            while (ogg_stream_pageout(&os, &page)) {
                ok = ok && WritePage(out, page);
                if (ogg_page_eos(&page))
                    eos = true;
            }
        }
    }
    while (ogg_stream_flush(&os, &page))
        ok = ok && WritePage(out, page);

    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    if (fclose(out) != 0 || !ok) {
        fprintf(stderr, "writing %s failed\n", argv[1]);
        return 1;
    }
    return 0;
}
