#include "tools/imagefixtures/J2kWriter.h"

#include <cstring>

namespace fixtures {

bool WriteJ2k(const std::string& path, OPJ_CODEC_FORMAT format, int width, int height,
              const std::function<uint32_t(int x, int y)>& pixel)
{
    opj_image_cmptparm_t parms[3];
    std::memset(parms, 0, sizeof parms);
    for (auto& p : parms) {
        p.dx = p.dy = 1;
        p.w = OPJ_UINT32(width);
        p.h = OPJ_UINT32(height);
        p.prec = 8;
        p.sgnd = 0;
    }
    opj_image_t* image = opj_image_create(3, parms, OPJ_CLRSPC_SRGB);
    if (!image)
        return false;
    image->x1 = OPJ_UINT32(width);
    image->y1 = OPJ_UINT32(height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t c = pixel(x, y);
            image->comps[0].data[y * width + x] = int(c >> 16 & 0xFF);
            image->comps[1].data[y * width + x] = int(c >> 8 & 0xFF);
            image->comps[2].data[y * width + x] = int(c & 0xFF);
        }
    opj_cparameters_t params;
    opj_set_default_encoder_parameters(&params);
    params.tcp_numlayers = 1;
    params.tcp_rates[0] = 0; // lossless
    params.cp_disto_alloc = 1;
    params.numresolution = 1;
    params.irreversible = 0;
    opj_codec_t* codec = opj_create_compress(format);
    opj_stream_t* stream = nullptr;
    bool ok = opj_setup_encoder(codec, &params, image) &&
              (stream = opj_stream_create_default_file_stream(path.c_str(), OPJ_FALSE)) &&
              opj_start_compress(codec, image, stream) && opj_encode(codec, stream) && opj_end_compress(codec, stream);
    if (stream)
        opj_stream_destroy(stream);
    opj_destroy_codec(codec);
    opj_image_destroy(image);
    return ok;
}

} // namespace fixtures
