#pragma once
// The pixel work of the 3D stand-in: triangles, axis-aligned quads and lines
// of transformed vertices, textured through stage 0 and blended into a 16- or
// 32-bit surface.
//
// Conventions: pixel centres lie on integer coordinates; vertex positions are
// snapped to 1/16 pixel; a pixel is inside a triangle when its centre is
// strictly inside, or on a top or left edge (so triangles that share an edge
// never both draw a pixel of it, and none is missed). Texel centres lie at
// (i + 0.5) / size, so a quad biased by -0.5 samples texel i at pixel i.
#include "platform/d3d/Direct3D.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace plat {

struct RasterTarget {
    uint8_t* bits = nullptr;
    int pitch = 0;          // bytes from row to row
    int bitCount = 32;      // 16 or 32
    bool rgb555 = false;    // 16-bit layout 5-5-5 instead of 5-6-5
    int clipLeft = 0, clipTop = 0, clipRight = 0, clipBottom = 0; // pixels drawn: [left, right) x [top, bottom)
};

// The widest row kernels a rasteriser uses: chosen once, from the processor
// and the settings' demand for the scalar forms.
enum class RowLevel { Scalar, Sse2, Avx2, Avx512 };

struct RasterTexture {
    const uint32_t* texels = nullptr; // ARGB
    int pitch = 0;                    // in texels
    int width = 0, height = 0;
    bool opaque = false;              // every texel has alpha 255
};

class SoftRasterizer {
public:
    typedef std::function<uint32_t(const D3DRenderStates&, int x, int y, uint32_t argb)> Distort;

    // texture may be null (the diffuse colour is drawn); distort may be empty.
    SoftRasterizer(const RasterTarget& target, const D3DRenderStates& states, const RasterTexture* texture,
                   const Distort* distort);

    // One triangle; culling is the caller's.
    void Triangle(const D3DTLVertex& a, const D3DTLVertex& b, const D3DTLVertex& c);
    // A strip of four vertices that forms an axis-aligned rectangle with
    // attributes that vary linearly across it: drawn as one quad, covering
    // exactly what its two triangles would. False (nothing drawn) otherwise.
    bool StripQuad(const D3DTLVertex* v);
    // One line segment; the end pixel is left out.
    void Line(const D3DTLVertex& a, const D3DTLVertex& b);

    // Fills the rectangle (clipped to the target) with the colour, unblended.
    static void Fill(const RasterTarget& target, int left, int top, int right, int bottom, uint32_t argb);

private:
    // A linear function of the pixel position: value = c + dx * x + dy * y.
    struct Plane {
        double c = 0.0, dx = 0.0, dy = 0.0;
        double At(double x, double y) const { return c + dx * x + dy * y; }
    };
    struct Attributes {
        Plane u, v;               // in texels
        Plane a, r, g, b;         // colour channels 0..255
        bool flatColor = true;
        uint32_t color = 0;
    };
    void SetupTexture(const D3DTLVertex& base, Attributes& attrs) const;
    void DrawSpan(int y, int x0, int x1, const Attributes& attrs);
    void ShadeRow(int y, int x0, int n, const Attributes& attrs, uint32_t* out);
    // A span of n pixels whose texels come straight from the texture, at
    // 16.16 texel positions u and v: the texel column it starts at (-1 when
    // no row of it can), and the texels of a row at v (null when that row
    // cannot); DirectRow asks both.
    int64_t DirectColumn(const Attributes& attrs, int64_t u, int n) const;
    const uint32_t* DirectTexels(int64_t column, int64_t v) const;
    const uint32_t* DirectRow(int n, const Attributes& attrs, int64_t u, int64_t v) const;
    // Blends a row of combined pixels into the target; opaque: every one of
    // them has alpha 255. BlendRows blends the rows of n pixels at
    // src[0 .. rows) into the target rows from y on.
    void BlendRow(int y, int x0, int n, const uint32_t* src, bool opaque);
    void BlendRows(int y, int x0, int n, const uint32_t* const* src, int rows, bool opaque);
    template <bool k555>
    void BlendRows16(uint8_t* first, int x0, int n, const uint32_t* const* src, int rows, bool opaque) const;
    uint32_t Combine(uint32_t texel, uint32_t diffuse) const;

    // How the target blend combines a pixel with what is there.
    enum class BlendKind { Replace, Over, AddWeighted, General };

    RasterTarget mTarget;
    D3DRenderStates mStates;
    const RasterTexture* mTexture;
    const Distort* mDistort;
    bool mLinear;
    bool mTexelOnly;   // the combined colour is the texel itself (for a white diffuse)
    bool mWrapU, mWrapV;
    bool mOpaqueTexels; // an opaque texture whose texels pass through unchanged under white
    bool mScalarRows;   // the scalar row kernels even where vector ones exist
    RowLevel mRowLevel;
    BlendKind mBlend;
    // How the texel enters the colour and the alpha operation: not at all,
    // as it is, modulated by the diffuse colour, or by itself.
    enum class TexelUse { None, Itself, Modulated, Squared };
    TexelUse mColorUse = TexelUse::None, mAlphaUse = TexelUse::None;
    bool mFlatCombine = false; // rows under one diffuse colour combine channel by channel
    std::vector<uint32_t> mRow;
    std::vector<uint32_t> mColumns; // a stretch row's texels blended vertically
};

} // namespace plat
