#include "platform/region/PolygonRegion.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

using plat::PolygonRegion;
using plat::RegionPoint;

namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

struct RegionCase {
    const char* name;
    std::vector<RegionPoint> points;
    std::vector<RegionPoint> hits;
    std::vector<RegionPoint> misses;
};

const std::vector<RegionCase>& Cases()
{
    static const std::vector<RegionCase> cases = {
        // The centres of (4, 5) and (0, 9) lie on the slanted right edge: out.
        {"triangle", {{0, 0}, {10, 0}, {0, 10}}, {{2, 2}, {0, 0}, {4, 4}, {0, 8}}, {{9, 9}, {4, 5}, {0, 9}, {-1, 0}, {0, 10}, {10, 0}}},
        {"triangle wound the other way", {{0, 0}, {0, 10}, {10, 0}}, {{2, 2}, {0, 0}, {4, 4}}, {{9, 9}, {4, 5}}},
        // The centre of (5, 4) lies on the slanted left edge: in.
        {"triangle with a slanted left edge", {{10, 0}, {10, 10}, {0, 10}}, {{5, 4}, {9, 9}, {9, 0}}, {{4, 4}, {10, 5}, {9, 10}}},
        {"square: left and top edges in, right and bottom out",
         {{0, 0}, {10, 0}, {10, 10}, {0, 10}},
         {{0, 0}, {9, 9}, {0, 9}, {9, 0}, {5, 5}},
         {{10, 5}, {5, 10}, {-1, 5}, {5, -1}, {10, 10}}},
        // The pentagram winds twice around its centre.
        {"star", {{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}}, {{50, 50}, {50, 10}, {10, 36}, {85, 36}}, {{5, 5}, {50, 95}, {95, 80}}},
        {"bow tie", {{0, 0}, {10, 10}, {10, 0}, {0, 10}}, {{1, 5}, {8, 5}}, {{5, 1}, {5, 8}}},
        {"square wound twice", {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {10, 0}, {10, 10}, {0, 10}}, {{5, 5}, {0, 0}}, {{10, 5}}},
        {"three points in a line", {{0, 0}, {5, 5}, {10, 10}}, {}, {{0, 0}, {4, 4}, {5, 4}, {4, 5}}},
        // The long edge is x + y = -1: centres on it are out.
        {"triangle over the whole int32 range",
         {{kMin, kMin}, {kMax, kMin}, {kMin, kMax}},
         {{kMin, kMin}, {-2, -1}, {kMax - 2, kMin}, {kMin, kMax - 2}, {-100000, 99997}},
         {{0, 0}, {-1, -1}, {0, -2}, {-100000, 99998}, {kMax - 1, kMin}, {kMin, kMax - 1}, {kMax, kMax}}},
        {"square over the whole int32 range",
         {{kMin, kMin}, {kMax, kMin}, {kMax, kMax}, {kMin, kMax}},
         {{kMin, kMin}, {kMax - 1, kMax - 1}, {0, 0}},
         {{kMax, 0}, {0, kMax}}},
    };
    return cases;
}

} // namespace

TEST(PolygonRegion, HitsFollowTheWindingRuleAtPixelCentres)
{
    for (const RegionCase& c : Cases()) {
        PolygonRegion region(c.points);
        EXPECT_FALSE(region.IsEmpty()) << c.name;
        for (RegionPoint p : c.hits)
            EXPECT_TRUE(region.Contains(p.x, p.y)) << c.name << ": (" << p.x << ", " << p.y << ")";
        for (RegionPoint p : c.misses)
            EXPECT_FALSE(region.Contains(p.x, p.y)) << c.name << ": (" << p.x << ", " << p.y << ")";
    }
}

TEST(PolygonRegion, FewerThanThreePointsNeverHit)
{
    const std::vector<std::vector<RegionPoint>> shapes = {{}, {{5, 5}}, {{0, 0}, {10, 10}}};
    for (const auto& points : shapes) {
        PolygonRegion region(points);
        EXPECT_TRUE(region.IsEmpty()) << points.size();
        for (int32_t y = -1; y <= 10; ++y)
            for (int32_t x = -1; x <= 10; ++x)
                EXPECT_FALSE(region.Contains(x, y)) << points.size() << ": (" << x << ", " << y << ")";
    }
    EXPECT_TRUE(PolygonRegion().IsEmpty());
    EXPECT_FALSE(PolygonRegion().Contains(0, 0));
}

TEST(PolygonRegion, KeepsItsPointsInOrder)
{
    PolygonRegion region({{3, 4}, {-5, 6}, {7, -8}});
    ASSERT_EQ(region.Points().size(), 3u);
    EXPECT_EQ(region.Points()[1].x, -5);
    EXPECT_EQ(region.Points()[2].y, -8);
}
