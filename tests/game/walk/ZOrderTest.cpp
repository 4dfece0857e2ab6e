// The drawing order: parts after the parts behind them, walkers slotted in
// under the nearest base line above their feet with the items they carry,
// floating parts last; crossing lines and parent_z cycles left out; parts
// off the screen never drawn; parented parts right after their parents.
#include "game/world/SceneObjectList.h"
#include "game/world/ZOrderManager.h"
#include "tests/game/walk/WalkFixture.h"

#include <cstdio>

namespace {

class ZOrderTest : public walktest::WalkTest {
protected:
    struct Line {
        int x0, y0, x1, y1, x2, y2;
    };
    // An object of that name with one part of that name.
    ObjectPart* Part(const std::string& name, const Line& l, const std::string& parentZ = std::string())
    {
        auto n = [](int v) { return std::to_string(v); };
        SceneObject* object = Build<SceneObject>(
            "<object class='item' name='" + name + "'><part name='" + name + "' order0_x='" + n(l.x0) +
            "' order0_y='" + n(l.y0) + "' order1_x='" + n(l.x1) + "' order1_y='" + n(l.y1) + "' order2_x='" +
            n(l.x2) + "' order2_y='" + n(l.y2) + "'" + (parentZ.empty() ? "" : " parent_z='" + parentZ + "'") +
            "/></object>");
        return object->GetParts()[0];
    }
    // A walker part standing at (x, y).
    ObjectPart* Walker(const std::string& name, int x, int y) { return Part(name, {x - 20, y, x, y, x + 20, y}); }
    ObjectPart* Item(const std::string& name) { return Part(name, {0, 0, 0, 0, 0, 0}); }
    std::vector<std::string> Names(const std::vector<ObjectPart*>& parts)
    {
        std::vector<std::string> names;
        for (const ObjectPart* part : parts)
            names.push_back(part->GetOwner()->GetName());
        return names;
    }
    std::vector<std::string> DrawList() { return Names(world.zOrder.GetDrawList()); }
    using Names_ = std::vector<std::string>;
};

TEST_F(ZOrderTest, AWalkerStandsBetweenTheTableAndTheChair)
{
    Part("table", {100, 300, 150, 300, 200, 300});
    Part("chair", {120, 350, 150, 350, 180, 350});
    ObjectPart* boss = Walker("boss", 150, 330);
    Part("cash", {0, 0, 0, 0, 0, 0});
    AddAllObjectsToZOrder();
    EXPECT_EQ(Names(world.zOrder.GetOrder()), (Names_{"table", "chair"}));
    const struct {
        int x, y;
        Names_ list;
    } cases[] = {
        {150, 330, {"table", "boss", "chair", "cash"}},
        {150, 380, {"table", "chair", "boss", "cash"}},
        // No line above: after the order, before the floating parts.
        {150, 200, {"table", "chair", "boss", "cash"}},
        {20, 330, {"table", "chair", "boss", "cash"}},
        // Far off the screen nothing lies above either.
        {-5000, 90000, {"table", "chair", "boss", "cash"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        const ObjectPart::BasePoint line[3] = {{c.x - 20, c.y}, {c.x, c.y}, {c.x + 20, c.y}};
        boss->SetBaseLine(line);
        EXPECT_EQ(DrawList(), c.list);
    }
    EXPECT_TRUE(walktest::TraceLines().empty());
}

TEST_F(ZOrderTest, CrossingLinesAloneLeaveNothingToDraw)
{
    Part("rising", {100, 300, 150, 350, 200, 400});
    Part("falling", {100, 400, 150, 350, 200, 300});
    Walker("boss", 150, 450);
    AddAllObjectsToZOrder();
    ASSERT_EQ(walktest::TraceLines().size(), 1u);
    EXPECT_EQ(walktest::TraceLines()[0], "!!!Critical Error: Can't find root object, remake z-order");
    EXPECT_TRUE(world.zOrder.GetOrder().empty());
    EXPECT_TRUE(DrawList().empty());
}

TEST_F(ZOrderTest, RootsComeFirstAndPartsOffTheScreenNever)
{
    Part("back", {100, 200, 150, 200, 200, 200});
    Part("front", {100, 300, 150, 300, 200, 300});
    Part("right", {700, 300, 750, 300, 800, 300});
    Part("above", {10, -1, 20, 0, 30, 0});
    Part("zero", {0, 0, 0, 0, 0, 0});
    AddAllObjectsToZOrder();
    EXPECT_EQ(Names(world.zOrder.GetOrder()), (Names_{"back", "zero", "front"}));
    // A line drawn right to left finds nothing in front of it: a root.
    ZOrderManager order;
    ObjectPart* leftward = Part("leftward", {200, 100, 150, 100, 100, 100});
    ObjectPart* below = Part("below", {100, 200, 150, 200, 200, 200});
    order.RegisterPart(below, false);
    order.RegisterPart(leftward, false);
    order.BuildOrder();
    EXPECT_EQ(Names(order.GetOrder()), (Names_{"below", "leftward"}));
}

TEST_F(ZOrderTest, ParentedPartsFollowTheirParentsAndCyclesStayOut)
{
    Part("root", {100, 300, 150, 300, 200, 300});
    Part("placed", {100, 400, 150, 400, 200, 400});
    Part("lamp", {0, 0, 0, 0, 0, 0}, "root:root");
    Part("child", {0, 0, 0, 0, 0, 0}, "placed:placed");
    Part("grandchild", {0, 0, 0, 0, 0, 0}, "child:child");
    Part("second", {0, 0, 0, 0, 0, 0}, "placed:placed");
    Part("ping", {0, 0, 0, 0, 0, 0}, "pong:pong");
    Part("pong", {0, 0, 0, 0, 0, 0}, "ping:ping");
    Walker("boss", 150, 350);
    AddAllObjectsToZOrder();
    EXPECT_EQ(Names(world.zOrder.GetOrder()),
              (Names_{"root", "lamp", "placed", "child", "grandchild", "second"}));
    // The walker goes after the part above it and the parts that follow it.
    EXPECT_EQ(DrawList(), (Names_{"root", "lamp", "boss", "placed", "child", "grandchild", "second"}));
}

TEST_F(ZOrderTest, OfTwoEqualDepthsTheSecondSegmentsOwnerIsBehindTheWalker)
{
    Part("right", {150, 300, 175, 300, 200, 300});
    Part("left", {100, 300, 125, 300, 150, 300});
    Walker("boss", 150, 320);
    AddAllObjectsToZOrder();
    EXPECT_EQ(DrawList(), (Names_{"right", "boss", "left"}));
}

TEST_F(ZOrderTest, CarriedItemsGoWithTheirWalkerUntilItRegistersAgain)
{
    Part("table", {100, 300, 150, 300, 200, 300});
    Part("chair", {120, 350, 150, 350, 180, 350});
    ObjectPart* boss = Walker("boss", 150, 330);
    ObjectPart* engineer = Walker("engineer", 600, 100);
    ObjectPart* held1 = Item("held1");
    ObjectPart* held2 = Item("held2");
    ObjectPart* back1 = Item("back1");
    ObjectPart* back2 = Item("back2");
    ObjectPart* tool = Item("tool");
    ZOrderManager& order = world.zOrder;
    order.Reset();
    order.RegisterPart(boss, true);
    order.RegisterPart(engineer, true);
    order.RegisterPart(FindObject("table")->GetParts()[0], false);
    order.RegisterPart(FindObject("chair")->GetParts()[0], false);
    order.BuildOrder();

    order.AddDrawnAfter(boss, held2);
    order.AddDrawnAfter(boss, held1);
    order.AddDrawnAfter(boss, held2); // not twice
    order.AddDrawnBefore(boss, back1);
    order.AddDrawnBefore(boss, back2);
    order.AddDrawnAfter(engineer, tool);
    const Names_ full = {"table", "back2", "back1", "boss", "held1", "held2", "chair", "engineer", "tool"};
    EXPECT_EQ(DrawList(), full);
    // A frame drawn without an update keeps the items.
    EXPECT_EQ(DrawList(), full);
    // The walker's next registration starts its pairs anew; the other
    // walker keeps its own.
    order.AddDrawnBefore(boss, held1);
    order.AddDrawnBefore(boss, held2);
    EXPECT_EQ(DrawList(), (Names_{"table", "held2", "held1", "boss", "chair", "engineer", "tool"}));
}

TEST_F(ZOrderTest, TheCacheIdIsReadFromTheOfficeAndComparedWithTheFileOnDisk)
{
    const struct {
        const char* what;
        const char* office;
        std::string file; // empty: no file
        int32_t id;
        bool same;
    } cases[] = {
        {"the same id", "<office><system/><system z_order_id='7'/></office>", std::string("\x07\0\0\0\x02\0\0\0", 8), 7,
         true},
        {"another id", "<office><system z_order_id='7'/></office>", std::string("\x08\0\0\0", 4), 7, false},
        {"a short file", "<office><system z_order_id='7'/></office>", std::string("\x07\0", 2), 7, false},
        {"no file", "<office><system z_order_id='3'/></office>", std::string(), 3, false},
        {"no element", "<office/>", std::string("\0\0\0\0", 4), 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::remove("z_order.dat");
        if (!c.file.empty())
            dir.Write("z_order.dat", c.file);
        ZOrderManager order;
        EXPECT_EQ(order.CheckCacheId(Parse(c.office)), c.same);
        EXPECT_EQ(order.GetZOrderId(), c.id);
    }
}

} // namespace
