// The generated office as the game loads it: every object of office.xml
// made, the named objects bound, every kind of object present, and a drawing
// order in which the anchor is the one part with nothing behind it.
#include "GeneratedData.h"

#include "game/world/NamedObjects.h"
#include "game/world/ObjectPart.h"
#include "game/world/OfficeDefinitions.h"
#include "game/world/OfficeWorld.h"
#include "game/world/SceneObject.h"
#include "game/world/SceneObjectList.h"
#include "tests/game/world/FixtureOffice.h"

#include <gtest/gtest.h>
#include <set>

namespace {

using namespace contentgentest;

class ContentScene : public ::testing::Test, protected OfficeOnNullDisplay {
protected:
    void SetUp() override
    {
        WriteFolder(Generated(), true, game);
        ASSERT_TRUE(Enter(game.Path()));
        ASSERT_TRUE(XmlLoadFile("cfg\\office.xml", office));
        LoadOfficeDefinitions(office.Node().SelectSingle(L"office"));
    }
    void TearDown() override { Leave(); }

    static std::string Name(const ObjectPart* part)
    {
        return part->GetOwner()->GetName() + ":" + part->GetPartName();
    }

    testsupport::TempDir game;
};

TEST_F(ContentScene, EveryObjectIsMadeAndEveryNamedObjectAndKindIsThere)
{
    EXPECT_EQ(world.sceneObjects.size(), 101u);
    const struct {
        const char* name;
        SceneObject* object;
    } named[] = {{"boss", gBoss},
                 {"secretary", gSecretary},
                 {"engineer", gEngineer},
                 {"phone", gPhone},
                 {"mini_bar", gMiniBar},
                 {"safe", gSafe},
                 {"coffeemachine", gCoffeeMachine},
                 {"air_conditioner", gAirConditioner},
                 {"conference_place", gConferencePlace},
                 {"cupboard", gCupboard},
                 {"presentation_place", gPresentationPlace},
                 {"stereo_system", gStereoSystem},
                 {"bonus", gBonus}};
    for (const auto& entry : named) {
        ASSERT_NE(entry.object, nullptr) << entry.name;
        EXPECT_EQ(entry.object->GetName(), entry.name);
    }
    std::set<std::string> kinds;
    std::vector<plat::XmlNode> classes;
    ASSERT_TRUE(office.Node().Select(L"office/objects/object/@class", classes));
    for (const plat::XmlNode& node : classes) {
        const std::wstring word = node.Text();
        kinds.insert(std::string(word.begin(), word.end()));
    }
    EXPECT_EQ(kinds, (std::set<std::string>{"boss", "client", "door", "engineer", "item", "mini_bar", "period_item",
                                            "pickable", "secretary", "shelving", "phone", "bin", "worker", "status_hp",
                                            "status_bubble", "specialization", "item_bonus"}));
}

TEST_F(ContentScene, TheAnchorIsTheOnlyRootOfTheDrawingOrder)
{
    AddAllObjectsToZOrder();
    const ZOrderManager& order = world.zOrder;
    std::set<const ObjectPart*> inFront;
    for (const auto& pair : order.GetPairs())
        inFront.insert(pair.second);
    std::set<std::string> ordered;
    for (const ObjectPart* part : order.GetOrder())
        ordered.insert(Name(part));
    std::vector<std::string> roots;
    for (SceneObject* object : world.sceneObjects)
        for (ObjectPart* part : object->GetParts()) {
            const std::string& name = part->GetPartName();
            if (name == "held_items" || name == "cash" || name == "bonus" || name == "boss" || name == "secretary" ||
                name == "engineer")
                continue;
            // Every part of the room, ground or parented, has its place.
            EXPECT_TRUE(ordered.count(Name(part))) << Name(part) << " is left out of the drawing order";
            if (part->GetParentZ().empty() && !inFront.count(part))
                roots.push_back(Name(part));
        }
    EXPECT_EQ(roots, std::vector<std::string>{"anchor:anchor"});
}

} // namespace
