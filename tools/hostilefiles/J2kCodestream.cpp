#include "tools/hostilefiles/J2kCodestream.h"

namespace hostile {

namespace {

void U8(std::string& out, unsigned v) { out += char(v & 0xFF); }
void U16(std::string& out, unsigned v)
{
    U8(out, v >> 8);
    U8(out, v);
}
void U32(std::string& out, uint32_t v)
{
    U16(out, v >> 16);
    U16(out, v & 0xFFFF);
}

// COD: layer-resolution-component-position order, one layer, no colour
// transform, the reversible 5-3 wavelet, default precincts.
std::string Cod(int decompositions, int codeBlockExponent)
{
    std::string s;
    U16(s, 0xFF52);
    U16(s, 12);
    U8(s, 0);
    U8(s, 0);
    U16(s, 1);
    U8(s, 0);
    U8(s, unsigned(decompositions));
    U8(s, unsigned(codeBlockExponent - 2));
    U8(s, unsigned(codeBlockExponent - 2));
    U8(s, 0);
    U8(s, 1);
    return s;
}

} // namespace

std::string J2kCodestream(const J2kShape& shape)
{
    const uint32_t tw = shape.tileWidth ? shape.tileWidth : shape.width;
    const uint32_t th = shape.tileHeight ? shape.tileHeight : shape.height;
    std::string s;
    U16(s, 0xFF4F); // SOC
    U16(s, 0xFF51); // SIZ
    U16(s, 38 + 3 * shape.components);
    U16(s, 0);
    for (uint32_t v : {shape.width, shape.height, 0u, 0u, tw, th, 0u, 0u})
        U32(s, v);
    U16(s, shape.components);
    for (int c = 0; c < shape.components; ++c) {
        U8(s, 7); // 8 bits, unsigned
        U8(s, 1);
        U8(s, 1);
    }
    s += Cod(shape.decompositions, shape.codeBlockExponent);
    // QCD: no quantisation, two guard bits, one exponent per sub-band.
    const int bands = 1 + 3 * shape.decompositions;
    U16(s, 0xFF5C);
    U16(s, unsigned(3 + bands));
    U8(s, 0x40);
    for (int b = 0; b < bands; ++b)
        U8(s, 9 << 3);
    for (size_t left = shape.padding; left > 0;) {
        size_t n = left < 65000 ? left : 65000;
        U16(s, 0xFF64); // COM, Latin text
        U16(s, unsigned(4 + n));
        U16(s, 1);
        s.append(n, 'x');
        left -= n;
    }
    const uint32_t tilesAcross = (shape.width + tw - 1) / tw, tilesDown = (shape.height + th - 1) / th;
    const std::string cod = shape.tileCodeBlockExponent ? Cod(shape.decompositions, shape.tileCodeBlockExponent) : "";
    // Every packet is empty: one zero bit each.
    const std::string packets(size_t(shape.components) * size_t(shape.decompositions + 1), '\0');
    for (uint32_t t = 0; t < tilesAcross * tilesDown; ++t) {
        U16(s, 0xFF90); // SOT
        U16(s, 10);
        U16(s, t);
        U32(s, uint32_t(12 + cod.size() + 2 + packets.size()));
        U8(s, 0);
        U8(s, 1);
        s += cod;
        U16(s, 0xFF93); // SOD
        s += packets;
    }
    U16(s, 0xFFD9); // EOC
    return s;
}

std::string J2kCodestream(uint32_t width, uint32_t height, uint16_t components, int codeBlockExponent,
                          int tileCodeBlockExponent, size_t padding, uint32_t tile)
{
    J2kShape shape;
    shape.width = width;
    shape.height = height;
    shape.tileWidth = shape.tileHeight = tile;
    shape.components = components;
    shape.codeBlockExponent = codeBlockExponent;
    shape.tileCodeBlockExponent = tileCodeBlockExponent;
    shape.padding = padding;
    return J2kCodestream(shape);
}

} // namespace hostile
