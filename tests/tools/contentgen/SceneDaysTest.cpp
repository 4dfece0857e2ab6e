// Every career day and survival file of the generated data loaded into the
// game's world over office.xml, as the office screen loads them: the
// drawing order holds every ground part of the objects the level names with
// the anchor as its only root, every walker walks from home to every
// approach point of those objects, and every order a client can ask for can
// be made by the workers and shelves present at that time.
#include "GeneratedData.h"

#include "game/flow/LevelModel.h"
#include "game/world/LevelTimelines.h"
#include "game/world/NamedObjects.h"
#include "game/world/ObjectPart.h"
#include "game/world/OfficeDefinitions.h"
#include "game/world/OfficeWorld.h"
#include "game/world/PathGraphSet.h"
#include "game/world/SceneObject.h"
#include "game/world/SceneObjectList.h"
#include "game/world/Shelving.h"
#include "game/world/Worker.h"
#include "tests/game/world/FixtureOffice.h"

#include <gtest/gtest.h>
#include <memory>
#include <set>

namespace {

using namespace contentgentest;

// The generated game folder, laid out once for all files.
const testsupport::TempDir& GameFolder()
{
    static std::unique_ptr<testsupport::TempDir> folder = [] {
        auto dir = std::make_unique<testsupport::TempDir>();
        WriteFolder(Generated(), true, *dir);
        return dir;
    }();
    return *folder;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// What a worker makes of an item, or empty when he takes no such item.
std::string Made(const Worker& worker, const std::string& item)
{
    if (!worker.CanTransform(item))
        return std::string();
    const std::string& to = worker.GetTransformTo();
    if (item.find('0') == std::string::npos)
        return to;
    return to.substr(0, 2) + item.substr(2);
}

// Every word the shelves and workers among the objects can produce.
std::set<std::string> Producible(const std::set<std::string>& objects)
{
    std::set<std::string> items;
    std::vector<const Worker*> workers;
    for (const std::string& name : objects) {
        SceneObject* object = FindObject(name);
        if (const Shelving* shelf = ObjectAs<Shelving>(object))
            items.insert(shelf->GetThing());
        if (const Worker* worker = ObjectAs<Worker>(object))
            workers.push_back(worker);
    }
    for (bool grew = true; grew;) {
        grew = false;
        for (const Worker* worker : workers)
            for (const std::string& item : std::set<std::string>(items)) {
                const std::string made = Made(*worker, item);
                grew = !made.empty() && items.insert(made).second ? true : grew;
            }
    }
    return items;
}

class SceneDays : public ::testing::Test, protected OfficeOnNullDisplay {
protected:
    // Loads the office and the level file as the office screen does.
    void Load(const std::string& file)
    {
        named.clear();
        atStart.clear();
        ASSERT_TRUE(Enter(GameFolder().Path()));
        ASSERT_TRUE(XmlLoadFile("cfg\\office.xml", office));
        const XmlNode officeRoot = office.Node().SelectSingle(L"office");
        LoadOfficeDefinitions(officeRoot);
        for (auto& graphs : world.walkGraphs)
            graphs.second->LoadOfficeGraph(officeRoot);
        ASSERT_TRUE(XmlLoadFile("cfg\\" + file + ".xml", level));
        root = level.Node().SelectSingle(L"level");
        ASSERT_TRUE(bool(root));
        LoadLevelObjects(root);
        for (auto& graphs : world.walkGraphs) {
            graphs.second->AddObjectPoints(graphs.first);
            graphs.second->LoadLevelGraph(root);
        }
        std::vector<XmlNode> names;
        root.Select(L"objects/object", names);
        for (const XmlNode& object : names) {
            std::string name;
            XmlGetAttrString(object, L"name", name);
            bool stop = false;
            XmlGetAttrBool(object, L"stop", stop);
            named.insert(name);
            if (!stop)
                atStart.insert(name);
        }
        named.insert("anchor");
    }
    void End() { Leave(); }
    void CheckDrawingOrder();
    void CheckWalks();
    void CheckOrders();

    XmlDocument office;
    XmlDocument level;
    XmlNode root;
    std::set<std::string> named;   // every object the level names, and the anchor
    std::set<std::string> atStart; // those not held back for later
};

void SceneDays::CheckDrawingOrder()
{
    const ZOrderManager& order = world.zOrder;
    std::set<const ObjectPart*> ordered(order.GetOrder().begin(), order.GetOrder().end());
    std::set<const ObjectPart*> behindSomething;
    for (const auto& pair : order.GetPairs())
        behindSomething.insert(pair.second);
    int ground = 0;
    for (SceneObject* object : world.sceneObjects) {
        if (!named.count(object->GetName()))
            continue;
        for (ObjectPart* part : object->GetParts()) {
            const ObjectPart::BasePoint* base = part->GetBaseLine();
            const bool hasBase = base[0].x || base[0].y || base[2].x || base[2].y;
            const std::string& name = part->GetPartName();
            // Walkers and what they carry are placed per frame, pop-ups float.
            if (!part->GetParentZ().empty() || !hasBase || name == "boss" || name == "secretary" || name == "engineer" ||
                name == "held_items" || name == "cash" || name == "bonus")
                continue;
            ++ground;
            const std::string id = object->GetName() + ":" + name;
            EXPECT_TRUE(ordered.count(part)) << id << " is missing from the drawing order";
            if (object->GetName() != "anchor")
                EXPECT_TRUE(behindSomething.count(part)) << id << " is a root of the drawing order";
        }
    }
    EXPECT_GT(ground, 10);
}

void SceneDays::CheckWalks()
{
    int walks = 0;
    for (auto& graphs : world.walkGraphs) {
        const std::string& walker = graphs.first;
        if (!named.count(walker))
            continue;
        PathGraphSet& set = *graphs.second;
        for (SceneObject* object : world.sceneObjects) {
            Zelk::Point point;
            std::string direction;
            if (!named.count(object->GetName()) || !object->GetApproachPoint(walker, point, direction))
                continue;
            EXPECT_TRUE(set.SetCurrentPoint(walker + "_home")) << walker;
            EXPECT_TRUE(set.FindPath(object->GetName(), 100.0f)) << walker << " cannot reach " << object->GetName();
            ++walks;
        }
    }
    EXPECT_GT(walks, 5);
}

void SceneDays::CheckOrders()
{
    int orders = 0;
    // Career days: every object is there from the start (new ones blink in).
    const std::set<std::string> day = Producible(atStart);
    for (const TimePoint& point : world.levelTimelines.clients)
        for (const std::string& order : point.orders) {
            EXPECT_TRUE(day.count(order)) << order << " at " << point.time << " s";
            ++orders;
        }
    // Survival: each stage's templates with the objects of the stages so far;
    // with extended orders every stage of every variant.
    SurvivalModel model;
    ReadSurvivalModel(root, model);
    std::set<std::string> present = atStart;
    for (const SurvivalStage& stage : model.stages) {
        for (const StageObject& object : stage.objects)
            present.insert(object.name);
        const std::set<std::string> now = Producible(present);
        for (const ClientTemplate& client : stage.clients)
            for (const OrderTemplate& orderTemplate : model.orderTemplates) {
                if (orderTemplate.name != client.order_template)
                    continue;
                for (const OrderList& list : orderTemplate.lists)
                    for (const OrderEntry& entry : list.orders) {
                        std::vector<std::string> words = {entry.order};
                        if (client.probability_ext_order > 0)
                            for (char s : {'2', '3', '4'})
                                words.push_back(std::string("0") + s + entry.order.substr(2));
                        for (const std::string& word : words)
                            EXPECT_TRUE(now.count(word)) << word << " of " << orderTemplate.name << " at stage money "
                                                         << stage.money;
                        ++orders;
                    }
            }
    }
    EXPECT_GT(orders, 0);
}

std::vector<std::string> LevelFiles()
{
    std::vector<std::string> files;
    for (int level = 1; level <= 60; ++level)
        files.push_back("l" + std::to_string(level));
    for (int level = 1; level <= 3; ++level)
        files.push_back("endless" + std::to_string(level));
    return files;
}

// One table of files: each is loaded once and checked three ways.
TEST_F(SceneDays, EveryDayHoldsItsDrawingOrderWalksAndOrders)
{
    for (const std::string& file : LevelFiles()) {
        SCOPED_TRACE(file);
        Load(file);
        if (!HasFatalFailure()) {
            CheckDrawingOrder();
            CheckWalks();
            CheckOrders();
        }
        End();
        if (HasFatalFailure())
            return;
    }
}

} // namespace
