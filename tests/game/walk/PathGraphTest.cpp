// Walk graphs: the shortest route and its tie rule, edges of length 0 and
// lengths lost beside large distances, ordinary points named "self" and "",
// the searches that fail, the position along a route, and how the office,
// level and approach graphs merge.
#include "tests/game/walk/WalkFixture.h"

#include <cmath>
#include <limits>

namespace {

using walktest::GraphPoint;
using walktest::GraphXml;
using Edges = std::vector<std::pair<std::string, std::string>>;

class PathGraphTest : public walktest::WalkTest {};

TEST_F(PathGraphTest, RoutesAreShortestAndEndOnEveryGraph)
{
    const float kFar = 30000000.0f;
    const struct {
        const char* what;
        std::vector<GraphPoint> points;
        Edges edges;
        std::string from, to;
        std::vector<std::string> via; // the points after the start
        std::vector<float> lengths;
    } cases[] = {
        {"the direct edge beats two", {{"a", 0, 0}, {"b", 3, 4}, {"c", 6, 0}}, {{"a", "b"}, {"b", "c"}, {"a", "c"}},
         "a", "c", {"c"}, {6}},
        // Equal lengths: the later relaxation (m2 after m1 in name order)
        // decides; renamed k2 it comes first and m1 decides.
        {"a tie goes to the later relaxation",
         {{"start", 0, 0}, {"m1", 10, 0}, {"m2", 0, 10}, {"end", 10, 10}},
         {{"start", "m1"}, {"start", "m2"}, {"m1", "end"}, {"m2", "end"}},
         "start", "end", {"m2", "end"}, {10, 10}},
        {"a tie with the names swapped",
         {{"start", 0, 0}, {"m1", 10, 0}, {"k2", 0, 10}, {"end", 10, 10}},
         {{"start", "m1"}, {"start", "k2"}, {"m1", "end"}, {"k2", "end"}},
         "start", "end", {"m1", "end"}, {10, 10}},
        {"an edge of length 0 is walked through", {{"a", 0, 0}, {"b", 5, 5}, {"c", 5, 5}, {"d", 10, 10}},
         {{"a", "b"}, {"b", "c"}, {"c", "d"}}, "a", "d", {"b", "c", "d"},
         {std::sqrt(50.0f), 0, std::sqrt(50.0f)}},
        {"a self-loop", {{"a", 0, 0}, {"b", 4, 3}}, {{"a", "a"}, {"b", "b"}, {"a", "b"}}, "a", "b", {"b"}, {5}},
        {"a length lost beside a large distance", {{"a", 0, 0}, {"b", 30000000, 0}, {"c", 30000001, 0}},
         {{"a", "b"}, {"b", "c"}}, "a", "c", {"b", "c"}, {kFar, 1}},
        {"points named self and the empty name", {{"", 0, 0}, {"self", 10, 0}, {"x", 20, 0}},
         {{"", "self"}, {"self", "x"}}, "", "x", {"self", "x"}, {10, 10}},
        {"back to the empty name", {{"", 0, 0}, {"self", 10, 0}, {"x", 20, 0}}, {{"", "self"}, {"self", "x"}}, "x", "",
         {"self", ""}, {10, 10}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PathGraph graph;
        graph.Load(Parse(GraphXml("boss", c.points, c.edges)));
        ASSERT_TRUE(graph.FindRoute(c.from, c.to));
        const std::vector<PathSegment>& segments = graph.GetSegments();
        ASSERT_EQ(segments.size(), c.via.size());
        for (size_t k = 0; k < segments.size(); ++k) {
            int32_t x = 0, y = 0;
            ASSERT_TRUE(graph.GetPointPosition(c.via[k], x, y));
            EXPECT_EQ(segments[k].bx, x) << k;
            EXPECT_EQ(segments[k].by, y) << k;
            EXPECT_NEAR(segments[k].length, c.lengths[k], 0.01) << k;
        }
        // Walked in about ten steps, the route ends at the target.
        float total = 0;
        for (float length : c.lengths)
            total += length;
        PathGraphSet set("boss");
        set.GetOfficeGraph().Load(Parse(GraphXml("boss", c.points, c.edges)));
        set.LoadLevelGraph(Parse("<level/>"));
        ASSERT_TRUE(set.SetCurrentPoint(c.from));
        ASSERT_TRUE(set.FindPath(c.to, total * 10));
        Zelk::Point position, direction;
        int steps = 0;
        while (set.Advance(0.01f, position, direction) && steps < 100)
            ++steps;
        EXPECT_GE(steps, 9);
        EXPECT_LE(steps, 11);
        int32_t x = 0, y = 0;
        set.GetMergedGraph().GetPointPosition(c.to, x, y);
        EXPECT_EQ(position.mX, x);
        EXPECT_EQ(position.mY, y);
    }
}

TEST_F(PathGraphTest, SearchesWithoutASoundRouteFail)
{
    const std::vector<GraphPoint> points = {{"a", 0, 0}, {"b", 10, 0}, {"c", 20, 0}, {"island", 50, 50}};
    const struct {
        const char* what;
        Edges edges;
        std::string from, to;
    } cases[] = {
        {"an unknown target", {{"a", "b"}}, "a", "nowhere"},
        {"an unknown current point", {{"a", "b"}}, "nowhere", "b"},
        {"the target is the current point", {{"a", "b"}}, "a", "a"},
        {"an edge to a missing point", {{"a", "b"}, {"b", "ghost"}}, "a", "b"},
        {"an unreachable target", {{"a", "b"}, {"b", "c"}}, "a", "island"},
        {"no edges at all", {}, "a", "b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PathGraphSet set("boss");
        set.GetOfficeGraph().Load(Parse(GraphXml("boss", points, c.edges)));
        set.LoadLevelGraph(Parse("<level/>"));
        set.SetCurrentPoint(c.from);
        EXPECT_FALSE(set.FindPath(c.to, 100.0f));
        EXPECT_TRUE(set.GetMergedGraph().GetSegments().empty());
    }
}

TEST_F(PathGraphTest, ThePositionFollowsTheTimeAndTheDirectionWord)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        const char* what;
        int endX;
        std::string word;
        float speed, elapsed;
        Zelk::Point position, direction;
        bool goesOn;
    } cases[] = {
        {"a quarter of the way", 10, "", 100, 0.025f, {2, 0}, {10, 0}, true},
        {"truncated toward zero", -10, "", 100, 0.025f, {-2, 0}, {-10, 0}, true},
        {"the end exactly", 10, "bl", 80, 0.125f, {10, 0}, {10, 0}, true},
        {"past the end", 10, "bl", 100, 0.2f, {10, 0}, {-1, 1}, false},
        {"past the end, mirrored word", 10, "mr", 100, 0.2f, {10, 0}, {7, 7}, false},
        {"past the end, no word", 10, "", 100, 0.2f, {10, 0}, {7, 7}, false},
        {"speed 0", 10, "t", 0, 0.01f, {10, 0}, {0, -1}, false},
        {"a negative speed", 10, "t", -5, 0.01f, {10, 0}, {0, -1}, false},
        {"no speed at all", 10, "r", nan, 0.01f, {10, 0}, {1, 0}, false},
        {"an endless speed", 10, "r", std::numeric_limits<float>::infinity(), 0, {10, 0}, {1, 0}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PathGraph graph;
        graph.Load(Parse(GraphXml("boss", {{"s", 0, 0}, {"e", c.endX, 0, c.word}}, {{"s", "e"}})));
        ASSERT_TRUE(graph.FindRoute("s", "e"));
        Zelk::Point position{-99, -99}, direction{7, 7};
        EXPECT_EQ(graph.PositionAlongRoute(c.elapsed, c.speed, position, direction), c.goesOn);
        EXPECT_EQ(position.mX, c.position.mX);
        EXPECT_EQ(position.mY, c.position.mY);
        EXPECT_EQ(direction.mX, c.direction.mX);
        EXPECT_EQ(direction.mY, c.direction.mY);
    }
    // Far coordinates neither overflow nor wrap.
    PathGraph far;
    far.Load(Parse(GraphXml("boss", {{"s", -2147483647, 0}, {"e", 2147483647, 0}}, {{"s", "e"}})));
    ASSERT_TRUE(far.FindRoute("s", "e"));
    Zelk::Point position, direction;
    EXPECT_TRUE(far.PositionAlongRoute(2.0f, 1.0f, position, direction));
    EXPECT_EQ(position.mX, -2147483646);
    EXPECT_EQ(direction.mX, 2147483647);
}

TEST_F(PathGraphTest, TheMergedGraphKeepsTheFirstPlaceOfEveryNameAndEdge)
{
    PathGraphSet& set = *world.walkGraphs.at("boss");
    // An object whose approach point shares the name of an office point,
    // and one that adds a point.
    Build<SceneObject>("<object class='item' name='a'><point owner='boss' offs_x='99' offs_y='99'/></object>");
    Build<SceneObject>("<object class='item' name='desk'><point owner='boss' direction='t' offs_x='30' offs_y='40'/>"
                       "<point owner='secretary' offs_x='1' offs_y='1'/></object>");
    set.LoadOfficeGraph(Parse("<office><graphs>" +
                              GraphXml("boss", {{"a", 0, 0}, {"b", 10, 0}, {"a", 5, 5}}, {{"a", "b"}, {"b", "desk"}}) +
                              GraphXml("secretary", {{"z", 1, 1}}, {}) + "</graphs></office>"));
    set.AddObjectPoints("boss");
    set.LoadLevelGraph(Parse("<level><graphs>" +
                             GraphXml("boss", {{"b", 70, 70}, {"c", 20, 0}}, {{"b", "a"}, {"c", "b"}, {"a", "b"}}) +
                             "</graphs></level>"));
    const PathGraph& merged = set.GetMergedGraph();
    Zelk::Point a, b, c, desk;
    ASSERT_TRUE(set.GetPointPosition("a", a));
    ASSERT_TRUE(set.GetPointPosition("b", b));
    ASSERT_TRUE(set.GetPointPosition("c", c));
    ASSERT_TRUE(set.GetPointPosition("desk", desk));
    EXPECT_EQ(a.mX, 0); // the office's first definition
    EXPECT_EQ(b.mX, 10);
    EXPECT_EQ(c.mX, 20);
    EXPECT_EQ(desk.mX, 30);
    EXPECT_EQ(desk.mY, 40);
    EXPECT_FALSE(merged.HasPoint("z"));
    ASSERT_EQ(merged.GetEdges().size(), 3u); // a-b, b-desk, c-b
    EXPECT_EQ(merged.GetEdges()[2].p1, "c");
    ASSERT_TRUE(set.SetCurrentPoint("c"));
    EXPECT_TRUE(set.FindPath("desk", 100.0f));
    EXPECT_EQ(merged.GetSegments().back().direction, "t");

    // A cleared level forgets its graph and the current point; the approach
    // points stay.
    set.ClearLevel();
    EXPECT_FALSE(set.GetMergedGraph().HasPoint("a"));
    EXPECT_EQ(set.GetCurrentPoint(), "");
    set.LoadLevelGraph(Parse("<level/>"));
    EXPECT_TRUE(set.GetMergedGraph().HasPoint("desk"));
    EXPECT_FALSE(set.GetMergedGraph().HasPoint("c"));
}

} // namespace
