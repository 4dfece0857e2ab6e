// The renderer's drawing operations as a recording device sees them: which
// primitives, with which vertices and textures.
#include "D3DFixture.h"

#include "framework/graphics/D3DVertexList.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace Zelk;
using namespace Zelk::test;

namespace {

class Recorded : public D3DFixture {
protected:
    void SetUp() override
    {
        plat::D3DSettings::Get().recorder = &log;
        plat::D3DSettings::Get().rasterize = false;
        ASSERT_TRUE(Start(200, 150));
    }

    static float MinOf(const plat::D3DPrimitiveRecord& r, float plat::D3DTLVertex::*field)
    {
        float m = r.vertices[0].*field;
        for (const plat::D3DTLVertex& v : r.vertices)
            m = std::min(m, v.*field);
        return m;
    }
    static float MaxOf(const plat::D3DPrimitiveRecord& r, float plat::D3DTLVertex::*field)
    {
        float m = r.vertices[0].*field;
        for (const plat::D3DTLVertex& v : r.vertices)
            m = std::max(m, v.*field);
        return m;
    }

    std::vector<plat::D3DPrimitiveRecord> log;
};

plat::D3DTLVertex V(float x, float y, uint32_t color = 0xFFFFFFFF, float u = 0, float v = 0)
{
    return plat::D3DTLVertex(x, y, color, u, v);
}

} // namespace

TEST_F(Recorded, BlitIsDrawnPieceByPiece)
{
    // 300 x 100 from an image with pieces of 256 x 128: two parts.
    auto image = Pattern(300, 128);
    renderer->Blt(image.get(), 10, 20, Rect(0, 0, 300, 100), Color(255, 255, 255, 128), 0, false);
    ASSERT_EQ(log.size(), 2u);
    const plat::D3DPrimitiveRecord& a = log[0];
    const plat::D3DPrimitiveRecord& b = log[1];
    EXPECT_EQ(a.type, plat::D3DPT_TRIANGLESTRIP);
    ASSERT_EQ(a.vertices.size(), 4u);
    EXPECT_NE(a.texture, b.texture);
    // Top-left, bottom-left, top-right, bottom-right, biased by half a pixel.
    const float want[4][4] = {{9.5f, 19.5f, 0, 0}, {9.5f, 119.5f, 0, 100.0f / 128}, {265.5f, 19.5f, 1, 0},
                              {265.5f, 119.5f, 1, 100.0f / 128}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(a.vertices[i].sx, want[i][0]);
        EXPECT_FLOAT_EQ(a.vertices[i].sy, want[i][1]);
        EXPECT_FLOAT_EQ(a.vertices[i].tu, want[i][2]);
        EXPECT_FLOAT_EQ(a.vertices[i].tv, want[i][3]);
        EXPECT_EQ(a.vertices[i].color, 0x80FFFFFFu);
    }
    EXPECT_FLOAT_EQ(MaxOf(b, &plat::D3DTLVertex::sx) - MinOf(b, &plat::D3DTLVertex::sx), 44.0f);
    EXPECT_FLOAT_EQ(MinOf(b, &plat::D3DTLVertex::sx), 265.5f);
    EXPECT_FLOAT_EQ(MaxOf(b, &plat::D3DTLVertex::tu), 44.0f / 64); // the right column's texture is 64 wide
    EXPECT_EQ(a.states.srcBlend, plat::D3DBLEND_SRCALPHA);
    EXPECT_EQ(a.states.destBlend, plat::D3DBLEND_INVSRCALPHA);
    EXPECT_EQ(a.states.magFilter, plat::D3DTFG_POINT);

    log.clear();
    renderer->Blt(image.get(), 0, 0, Rect(260, 10, 20, 20), Color::White, 1, true); // inside one piece
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].states.destBlend, plat::D3DBLEND_ONE);
    EXPECT_EQ(log[0].states.magFilter, plat::D3DTFG_LINEAR);
}

TEST_F(Recorded, SourceOutsideTheImageDrawsNothing)
{
    auto image = Pattern(40, 30);
    const Rect bad[] = {Rect(-1, 0, 10, 10), Rect(0, -1, 10, 10), Rect(35, 0, 10, 10), Rect(0, 25, 10, 10),
                        Rect(0, 0, 0, 10),   Rect(0, 0, 10, -3),  Rect(2000000000, 0, 2000000000, 5)};
    for (const Rect& r : bad) {
        renderer->Blt(image.get(), 0, 0, r, Color::White, 0, false);
        renderer->BltStretched(image.get(), Rect(0, 0, 80, 60), r, Rect(0, 0, 200, 150), Color::White, 0, false,
                               false);
        renderer->BltRotated(image.get(), 50, 50, Rect(0, 0, 200, 150), Color::White, 0, 0.5, 5, 5, r);
    }
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(gLast3DError, "");
}

TEST_F(Recorded, MatrixBlitStripOrClippedFan)
{
    auto image = Pattern(16, 16);
    const Rect clip(10, 10, 100, 100);
    Matrix3 m;
    m.Translate(20, 30);
    renderer->BltTransformed(image.get(), &clip, Color::White, 0, Rect(0, 0, 16, 16), m, false, 0, 0, false);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].type, plat::D3DPT_TRIANGLESTRIP);

    // One corner a pixel beyond the left edge: a fan cut to the clip rectangle.
    log.clear();
    Matrix3 out;
    out.Translate(9.0f, 30.0f);
    renderer->BltTransformed(image.get(), &clip, Color::White, 0, Rect(0, 0, 16, 16), out, false, 0, 0, false);
    ASSERT_EQ(log.size(), 1u);
    const plat::D3DPrimitiveRecord& fan = log[0];
    EXPECT_EQ(fan.type, plat::D3DPT_TRIANGLEFAN);
    EXPECT_NE(fan.texture, nullptr);
    EXPECT_FLOAT_EQ(MinOf(fan, &plat::D3DTLVertex::sx), 10.0f);
    EXPECT_FLOAT_EQ(MinOf(fan, &plat::D3DTLVertex::tu), 1.5f / 16.0f) << "texture cut with the position";
    EXPECT_FLOAT_EQ(MaxOf(fan, &plat::D3DTLVertex::sx), 24.5f);

    // Wholly outside: nothing.
    log.clear();
    Matrix3 far;
    far.Translate(500.0f, 30.0f);
    renderer->BltTransformed(image.get(), &clip, Color::White, 0, Rect(0, 0, 16, 16), far, false, 0, 0, false);
    EXPECT_TRUE(log.empty());
}

TEST_F(Recorded, TransformsOfTheNamedBlits)
{
    auto image = Pattern(20, 10);
    const Rect all(0, 0, 200, 150);
    struct Case {
        const char* name;
        std::function<void()> draw;
        float topLeftX, topLeftY, bottomRightX, bottomRightY;
    } cases[] = {
        {"translated", [&] { renderer->BltTranslated(image.get(), 5.25f, 6, Rect(0, 0, 20, 10), all, Color::White, 0); },
         4.75f, 5.5f, 24.75f, 15.5f},
        {"mirrored", [&] { renderer->BltMirrored(image.get(), 5, 6, Rect(0, 0, 20, 10), Color::White, 0, false); },
         24.5f, 5.5f, 4.5f, 15.5f},
        {"stretched", [&] {
             renderer->BltStretched(image.get(), Rect(10, 20, 40, 30), Rect(0, 0, 20, 10), all, Color::White, 0,
                                    true, false);
         },
         9.5f, 19.5f, 49.5f, 49.5f},
        {"stretched mirrored", [&] {
             renderer->BltStretched(image.get(), Rect(10, 20, 40, 30), Rect(0, 0, 20, 10), all, Color::White, 0,
                                    true, true);
         },
         49.5f, 19.5f, 9.5f, 49.5f},
        {"rotated half a turn", [&] {
             renderer->BltRotated(image.get(), 50, 60, all, Color::White, 0, M_PI, 10, 5, Rect(0, 0, 20, 10));
         },
         69.5f, 69.5f, 49.5f, 59.5f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        log.clear();
        c.draw();
        ASSERT_EQ(log.size(), 1u);
        ASSERT_EQ(log[0].type, plat::D3DPT_TRIANGLESTRIP);
        const plat::D3DTLVertex& tl = log[0].vertices[0];
        const plat::D3DTLVertex& br = log[0].vertices[3];
        EXPECT_NEAR(tl.sx, c.topLeftX, 1e-4);
        EXPECT_NEAR(tl.sy, c.topLeftY, 1e-4);
        EXPECT_NEAR(br.sx, c.bottomRightX, 1e-4);
        EXPECT_NEAR(br.sy, c.bottomRightY, 1e-4);
    }
}

TEST_F(Recorded, Polygons)
{
    const Point square[4] = {{10, 10}, {30, 10}, {30, 30}, {10, 30}};
    const Rect clip(0, 0, 20, 20);
    const Rect away(100, 100, 10, 10);

    renderer->FillPolygon(square, 2, nullptr, Color::White, 0, 0, 0);
    renderer->FillPolygon(square, 4, &away, Color::White, 0, 0, 0);
    EXPECT_TRUE(log.empty()) << "too few points, or wholly outside";

    renderer->FillPolygon(square, 4, nullptr, Color(1, 2, 3, 4), 0, 5, 6);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].type, plat::D3DPT_TRIANGLEFAN);
    EXPECT_EQ(log[0].texture, nullptr);
    EXPECT_FLOAT_EQ(log[0].vertices[0].sx, 15.0f); // offset, no bias
    EXPECT_FLOAT_EQ(log[0].vertices[0].sy, 16.0f);
    EXPECT_EQ(log[0].vertices[0].color, 0x04010203u);

    log.clear();
    renderer->FillPolygon(square, 4, &clip, Color::White, 0, 0, 0);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_FLOAT_EQ(MaxOf(log[0], &plat::D3DTLVertex::sx), 20.0f);
    EXPECT_FLOAT_EQ(MaxOf(log[0], &plat::D3DTLVertex::sy), 20.0f);
}

TEST_F(Recorded, TrianglesOnOnePieceGoInBatches)
{
    auto image = Pattern(50, 50);
    std::vector<TriVertex> corners(250 * 3);
    for (size_t i = 0; i < corners.size(); ++i) {
        corners[i].mX = float(i % 7);
        corners[i].mY = float(i % 5);
        corners[i].mU = (i % 3) * 0.5f;
        corners[i].mV = (i % 2) * 1.0f;
        corners[i].mColor = i == 1 ? 0xFF00FF00 : 0;
    }
    const auto* tris = reinterpret_cast<const TriVertex(*)[3]>(corners.data());
    renderer->BltTriangles(tris, 250, Color(255, 0, 0), 0, image.get(), 100, 1, false);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].type, plat::D3DPT_TRIANGLELIST);
    EXPECT_EQ(log[0].vertices.size(), 300u);
    EXPECT_EQ(log[1].vertices.size(), 300u);
    EXPECT_EQ(log[2].vertices.size(), 150u);
    EXPECT_EQ(log[0].vertices[0].color, 0xFFFF0000u) << "colour 0 is the blit's";
    EXPECT_EQ(log[0].vertices[1].color, 0xFF00FF00u);
    EXPECT_FLOAT_EQ(log[0].vertices[2].tu, 1.0f * 50 / 64) << "coordinates in pieces";
    EXPECT_FLOAT_EQ(log[0].vertices[2].sx, 102.0f);
}

TEST_F(Recorded, TriangleAcrossTwoPiecesIsCutPerPiece)
{
    auto image = Pattern(300, 100); // pieces 256 and 64 (for 44 columns) wide
    TriVertex tri[1][3];
    const float u[3] = {0.5f, 0.95f, 0.95f}, v[3] = {0.1f, 0.1f, 0.9f};
    for (int k = 0; k < 3; ++k) {
        tri[0][k].mU = u[k];
        tri[0][k].mV = v[k];
        tri[0][k].mX = u[k] * 300;
        tri[0][k].mY = v[k] * 100;
    }
    renderer->BltTriangles(tri, 1, Color::White, 0, image.get(), 0, 0, false);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].type, plat::D3DPT_TRIANGLEFAN);
    EXPECT_NE(log[0].texture, log[1].texture);
    for (const plat::D3DPrimitiveRecord& r : log) {
        EXPECT_GE(MinOf(r, &plat::D3DTLVertex::tu), 0.0f);
        EXPECT_LE(MaxOf(r, &plat::D3DTLVertex::tu), 1.0f);
    }
    // The cut lies at the piece border, column 256 of the image.
    EXPECT_NEAR(MaxOf(log[0], &plat::D3DTLVertex::sx), 256.0f, 1e-3);
    EXPECT_NEAR(MinOf(log[1], &plat::D3DTLVertex::sx), 256.0f, 1e-3);
    // In the narrow last column u counts in its own texture's width.
    EXPECT_NEAR(MaxOf(log[1], &plat::D3DTLVertex::tu), (0.95f * 300 - 256) / 64, 1e-4);
}

TEST(ClipPolygonTable, IntersectionsInterpolate)
{
    struct Case {
        const char* name;
        ClipComponent component;
        float bound;
        bool keepAbove;
        std::vector<plat::D3DTLVertex> in;
        std::vector<plat::D3DTLVertex> want;
    } cases[] = {
        {"x >= 5 halves an edge", CLIP_X, 5.0f, true,
         {V(0, 0, 0xFF000000, 0, 0), V(10, 0, 0xFFFF8040, 1, 0.5f), V(10, 10, 0xFFFF8040, 1, 1)},
         {V(5, 0, 0xFF7F4020, 0.5f, 0.25f), V(10, 0, 0xFFFF8040, 1, 0.5f), V(10, 10, 0xFFFF8040, 1, 1),
          V(5, 5, 0xFF7F4020, 0.5f, 0.5f)}},
        {"equal colours are kept", CLIP_Y, 2.5f, false,
         {V(0, 0, 0x80102030), V(0, 10, 0x80102030), V(10, 0, 0x80102030)},
         {V(0, 0, 0x80102030), V(0, 2.5f, 0x80102030), V(7.5f, 2.5f, 0x80102030), V(10, 0, 0x80102030)}},
        {"on u", CLIP_U, 1.0f, false, {V(0, 0, 0xFFFFFFFF, 0.5f), V(4, 0, 0xFFFFFFFF, 1.5f), V(4, 4, 0xFFFFFFFF, 0.5f)},
         {V(0, 0, 0xFFFFFFFF, 0.5f), V(2, 0, 0xFFFFFFFF, 1.0f), V(4, 2, 0xFFFFFFFF, 1.0f), V(4, 4, 0xFFFFFFFF, 0.5f)}},
        {"all outside", CLIP_X, 100.0f, true, {V(0, 0), V(1, 0), V(1, 1)}, {}},
        {"fewer than two", CLIP_X, 0.0f, true, {V(5, 5)}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        D3DVertexList in, out;
        for (const plat::D3DTLVertex& v : c.in)
            in.push_back(v);
        ClipPolygon(c.component, c.bound, c.keepAbove, in, out);
        ASSERT_EQ(out.size(), c.want.size());
        // The output starts where the walk from (last, first) first keeps a vertex.
        for (size_t i = 0; i < out.size(); ++i) {
            const plat::D3DTLVertex& got = out[i];
            const plat::D3DTLVertex* match = nullptr;
            for (const plat::D3DTLVertex& w : c.want)
                if (std::fabs(w.sx - got.sx) < 1e-5f && std::fabs(w.sy - got.sy) < 1e-5f)
                    match = &w;
            ASSERT_NE(match, nullptr) << got.sx << ", " << got.sy;
            EXPECT_NEAR(got.tu, match->tu, 1e-5f);
            EXPECT_NEAR(got.tv, match->tv, 1e-5f);
            EXPECT_EQ(got.color, match->color);
        }
    }
}

TEST(ClipPolygonTable, ListsMoveToTheHeapBeyondAHundred)
{
    D3DVertexList list;
    for (int i = 0; i < 100; ++i)
        list.push_back(V(float(i), 0));
    EXPECT_FALSE(list.OnHeap());
    list.push_back(V(100, 0));
    EXPECT_TRUE(list.OnHeap());
    for (int i = 0; i <= 100; ++i)
        ASSERT_EQ(list[size_t(i)].sx, float(i));
}
