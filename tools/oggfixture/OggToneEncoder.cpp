#include "tools/oggfixture/OggToneEncoder.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>

namespace {

void AppendPage(std::string& out, const ogg_page& page)
{
    out.append(reinterpret_cast<const char*>(page.header), size_t(page.header_len));
    out.append(reinterpret_cast<const char*>(page.body), size_t(page.body_len));
}

} // namespace

std::string EncodeOggSamples(int channels, long rate, const std::vector<float>& interleaved, float quality)
{
    if (channels < 1)
        return std::string();
    const long frames = long(interleaved.size()) / channels;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, channels, rate, quality) != 0) {
        vorbis_info_clear(&vi);
        return std::string();
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block vb;
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 20261210);

    std::string out;
    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&os, &page))
        AppendPage(out, page);

    // Written in chunks: the encoder keeps what it was given at once on the stack.
    bool eos = false;
    auto drain = [&] {
        while (!eos && vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                while (ogg_stream_pageout(&os, &page)) {
                    AppendPage(out, page);
                    eos = eos || ogg_page_eos(&page);
                }
            }
        }
    };
    const long chunk = 4096;
    for (long done = 0; done < frames; done += chunk) {
        long n = std::min(chunk, frames - done);
        float** pcm = vorbis_analysis_buffer(&vd, int(n));
        for (long i = 0; i < n; ++i)
            for (int c = 0; c < channels; ++c)
                pcm[c][i] = interleaved[size_t(done + i) * size_t(channels) + size_t(c)];
        vorbis_analysis_wrote(&vd, int(n));
        drain();
    }
    vorbis_analysis_wrote(&vd, 0);
    drain();
    while (ogg_stream_flush(&os, &page))
        AppendPage(out, page);

    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

std::string EncodeOggTone(int channels, long rate, long frames)
{
    std::vector<float> samples(size_t(frames) * size_t(channels));
    for (long i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c) {
            double hz = c == 0 ? 440.0 : 660.0;
            samples[size_t(i) * size_t(channels) + size_t(c)] =
                float(0.5 * std::sin(2.0 * M_PI * hz * double(i) / double(rate)));
        }
    return EncodeOggSamples(channels, rate, samples, 0.0f);
}
