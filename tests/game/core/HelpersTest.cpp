#include "framework/app/Random.h"
#include "game/core/LineIntersection.h"
#include "game/core/SequenceMatcher.h"
#include "game/core/Vec2.h"
#include "game/core/WideText.h"

#include <gtest/gtest.h>

namespace {

// Seeds the generator so that its next value is the one given.
void NextRandIs(int value)
{
    for (uint32_t seed = 0;; ++seed) {
        Zelk::SRand(seed);
        if (Zelk::Rand() == value) {
            Zelk::SRand(seed);
            return;
        }
    }
}

} // namespace

TEST(GameHelpers, RandomIntCoversItsRangeAndNeverPassesIt)
{
    struct {
        int rand, want;
    } cases[] = {{0, 1}, {16383, 2}, {32767, 3}};
    for (auto& c : cases) {
        NextRandIs(c.rand);
        EXPECT_EQ(Zelk::RandomInt(1, 3), c.want) << c.rand;
    }
}

TEST(GameHelpers, IntersectLines)
{
    Zelk::Point p{99, 99};
    ASSERT_TRUE(IntersectLines(0, 0, 45.0f, 10, 0, 135.0f, p));
    EXPECT_EQ(p.mX, 5);
    EXPECT_EQ(p.mY, -5);
    p = {99, 99};
    EXPECT_FALSE(IntersectLines(0, 0, 30.0f, 5, 5, 30.0f, p));
    EXPECT_EQ(p.mX, 99);
    ASSERT_TRUE(IntersectLines(0, 10, 0.0f, 4, 0, 45.0f, p)); // y = -10 meets the diagonal
    EXPECT_EQ(p.mX, -6);
    EXPECT_EQ(p.mY, 10);
}

TEST(GameHelpers, WideTexts)
{
    struct {
        const wchar_t* in;
        const wchar_t* out;
    } cleaned[] = {{L" x  y^z ", L"x yz"}, {L"", L""}, {L"   ", L""}, {L"^^", L""}, {L"a^ b", L"a b"}, {L"ab  ", L"ab"}};
    for (auto& c : cleaned)
        EXPECT_EQ(CleanWideText(c.in), c.out) << c.in;

    struct {
        const wchar_t *a, *b;
        int want;
    } compared[] = {{L"true", L"true", 0}, {L"t", L"true", -1}, {L"", L"true", -1}, {L"trueish", L"true", 1},
                    {L"b", L"a", 1},       {L"A", L"a", -1}};
    for (auto& c : compared)
        EXPECT_EQ(WideCompare(c.a, c.b), c.want) << c.a << " " << c.b;
    EXPECT_EQ(WideLength(L"a\U0001F600"), 2u);
}

TEST(GameHelpers, SequenceMatcherFiresOnceOnCompletion)
{
    SequenceMatcher m("abc");
    std::string fed = "xababcabc";
    std::string fired;
    for (char c : fed)
        fired += m.Feed(c) ? '1' : '0';
    // The "a" after "ab" resets without counting as a new start, so the "bc"
    // after it completes nothing; the last "abc" fires, and then nothing does.
    EXPECT_EQ(fired, "000000001");
    EXPECT_FALSE(m.Feed('a'));
    m.Reset();
    EXPECT_FALSE(m.Feed('a'));
    EXPECT_FALSE(m.Feed('b'));
    EXPECT_TRUE(m.Feed('c'));
    EXPECT_FALSE(m.Feed('a'));
    m.Reset();
    EXPECT_FALSE(m.Feed('a'));
}

TEST(GameHelpers, Vec2)
{
    Vec2 v(3.0f, -4.0f);
    EXPECT_FLOAT_EQ(v.Length(), 5.0f);
    Vec2 n = v.Normalized();
    EXPECT_FLOAT_EQ(n.x, 0.6f);
    EXPECT_FLOAT_EQ(n.y, -0.8f);
    Vec2 zero = Vec2().Normalized();
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(zero.y, 0.0f);
    Vec2 d = v.DividedBy(2.0f);
    EXPECT_FLOAT_EQ(d.x, 1.5f);
    EXPECT_FLOAT_EQ(d.y, -2.0f);
}
