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
#include "framework/graphics/DDImage.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/Graphics.h"
#include "tests/framework/graphics/PngFile.h"
#include "tests/game/world/FixtureOffice.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
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

// Every object shown at once in its later skins, drawn as the office screen
// draws (the ground, then the drawing order): each part finds its picture.
// The picture joins the gallery.
TEST_F(ContentScene, TheWholeOfficeDrawsEveryPart)
{
    const std::map<std::string, std::vector<std::string>> skins = {
        {"table", {"walnut"}},           {"client_place", {"sofa", "stool"}}, {"shelving", {"paper", "ink", "clips"}},
        {"plant", {"palm", "fern"}},     {"wall_picture", {"sea", "city"}},   {"carpet", {"blue"}},
        {"worker_up", {"w1", "w2", "w3", "w4"}}, {"client", {"student", "clerk", "lady", "banker", "vip"}},
        {"boss", {"man"}},               {"spec", {"spec_l1t1", "spec_l1t2", "spec_l1t3", "spec_l2t0", "spec_l3t0"}}};
    std::string xml = "<level><objects>";
    std::map<std::string, size_t> used;
    for (SceneObject* object : world.sceneObjects) {
        const std::string& name = object->GetName();
        if (name == "anchor")
            continue;
        std::string attributes = " anim=\"idle\"";
        const std::string& part = object->GetParts().empty() ? name : object->GetParts().front()->GetPartName();
        const auto found = skins.find(part);
        if (found != skins.end())
            attributes = " skin=\"" + found->second[used[part]++ % found->second.size()] + "\"" +
                         (part == "worker_up" || part == "client" || part == "boss" ? "" : attributes);
        xml += "<object name=\"" + name + "\"" + attributes + "/>";
    }
    xml += "</objects></level>";
    // The game's XML files are UTF-16LE behind a byte-order mark.
    std::string utf16 = "\xFF\xFE";
    for (char c : xml)
        utf16 += std::string{c, '\0'};
    std::ofstream(std::filesystem::path(game.Path()) / "gallery_level.xml", std::ios::binary) << utf16;
    ASSERT_TRUE(XmlLoadFile("gallery_level.xml", level));
    LoadLevelObjects(level.Node().SelectSingle(L"level"));
    ActivateVisibleObjects();
    gFrameDelta = 0.01f;
    for (int tick = 0; tick < 60; ++tick)
        UpdateAllObjects();

    Zelk::Graphics g(display->GetScreenImage());
    bool isNew = false;
    Zelk::SharedImageRef ground = app.GetSharedImage("images\\office\\ground", "", &isNew);
    ASSERT_NE(ground.GetImage(), nullptr);
    g.DrawImage(ground.GetImage(), 0, 0);
    std::vector<std::string> silent;
    int drawn = 0;
    for (ObjectPart* part : world.zOrder.GetDrawList()) {
        if (!part->GetOwner()->IsVisible() || !part->IsVisible())
            continue;
        part->Draw(&g);
        ++drawn;
        const std::string& name = part->GetPartName();
        if (name != "anchor" && name != "table_smoke" && !part->GetPlayer().GetCurrentAnimation())
            silent.push_back(Name(part));
    }
    // The room's furniture, the workers and the plates at least (the
    // indicators and people that come and go are hidden).
    EXPECT_GT(drawn, 60);
    EXPECT_TRUE(silent.empty()) << silent.size() << " parts show no picture, the first " << silent.front();
    Zelk::DDImage* screen = display->GetScreenImage();
    const std::filesystem::path folder(GALLERY_FOLDER);
    std::filesystem::create_directories(folder);
    const uint32_t* bits = screen->GetBits();
    EXPECT_TRUE(Zelk::test::WritePng((folder / "office_whole.png").string(), screen->GetWidth(), screen->GetHeight(),
                                     std::vector<uint32_t>(bits, bits + screen->PixelCount())));
}

} // namespace
