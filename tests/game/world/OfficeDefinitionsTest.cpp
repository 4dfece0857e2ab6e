// cfg\office.xml into objects and records, and level files applied to them.
#include "game/world/Bin.h"
#include "game/world/Boss.h"
#include "game/world/Client.h"
#include "game/world/Door.h"
#include "game/world/Engineer.h"
#include "game/world/ItemBonus.h"
#include "game/world/MiniBar.h"
#include "game/world/NamedObjects.h"
#include "game/world/ObjectFactory.h"
#include "game/world/ObjectPart.h"
#include "game/world/OfficeDefinitions.h"
#include "game/world/PeriodItem.h"
#include "game/world/Phone.h"
#include "game/world/SceneObject.h"
#include "game/world/Secretary.h"
#include "game/world/Shelving.h"
#include "game/world/TradePlate.h"
#include "game/world/StatusBubble.h"
#include "game/world/StatusHp.h"
#include "game/world/Worker.h"
#include "tests/game/world/WorldFixture.h"

#include <cstring>
#include <functional>
#include <typeinfo>

namespace {

class OfficeDefinitionsTest : public worldtest::WorldTest {
protected:
    void TearDown() override
    {
        worldtest::WorldTest::TearDown();
        EXPECT_EQ(gBoss, nullptr);
        EXPECT_EQ(gBonus, nullptr);
    }
    SceneObject* Make(const std::string& xml) { return CreateObjectFromDefinition(Parse(xml)); }
};

TEST_F(OfficeDefinitionsTest, EachClassWordMakesItsKind)
{
    const struct {
        const char* word;
        std::function<bool(SceneObject*)> is;
    } cases[] = {
        {"boss", [](SceneObject* o) { return ObjectAs<Boss>(o) && ObjectAs<Person>(o); }},
        {"client", [](SceneObject* o) { return ObjectAs<Client>(o) && ObjectAs<Pickable>(o) && dynamic_cast<StatusSource*>(o); }},
        {"door", [](SceneObject* o) { return ObjectAs<Door>(o) && ObjectAs<Pickable>(o); }},
        {"engineer", [](SceneObject* o) { return ObjectAs<Engineer>(o) && ObjectAs<Person>(o); }},
        {"item", [](SceneObject* o) { return typeid(*o) == typeid(SceneObject); }},
        {"mini_bar", [](SceneObject* o) { return ObjectAs<MiniBar>(o) != nullptr; }},
        {"period_item", [](SceneObject* o) { return ObjectAs<PeriodItem>(o) && ObjectAs<Pickable>(o); }},
        {"pickable", [](SceneObject* o) { return typeid(*o) == typeid(Pickable); }},
        {"secretary", [](SceneObject* o) { return ObjectAs<Secretary>(o) && ObjectAs<Person>(o); }},
        {"shelving", [](SceneObject* o) { return ObjectAs<Shelving>(o) && ObjectAs<Pickable>(o); }},
        {"phone", [](SceneObject* o) { return ObjectAs<Phone>(o) && ObjectAs<Pickable>(o) && dynamic_cast<StatusSource*>(o); }},
        {"bin", [](SceneObject* o) { return ObjectAs<Bin>(o) && ObjectAs<Pickable>(o); }},
        {"worker", [](SceneObject* o) { return ObjectAs<Worker>(o) && !ObjectAs<Pickable>(o) && dynamic_cast<StatusSource*>(o); }},
        {"status_hp", [](SceneObject* o) { return ObjectAs<StatusHp>(o) != nullptr; }},
        {"status_bubble", [](SceneObject* o) { return ObjectAs<StatusBubble>(o) != nullptr; }},
        {"specialization", [](SceneObject* o) { return ObjectAs<Specialization>(o) && ObjectAs<Pickable>(o); }},
        {"item_bonus", [](SceneObject* o) { return ObjectAs<ItemBonus>(o) != nullptr; }},
    };
    int rows = 0;
    const ObjectFactory::Row* table = ObjectFactory::Rows(rows);
    ASSERT_EQ(rows, 17);
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
        SCOPED_TRACE(cases[i].word);
        EXPECT_STREQ(table[i].classWord, cases[i].word);
        SceneObject* object = Make(std::string("<object class='") + cases[i].word + "' name='thing'/>");
        ASSERT_NE(object, nullptr);
        EXPECT_TRUE(cases[i].is(object));
        EXPECT_EQ(object->GetName(), "thing");
    }
    EXPECT_EQ(world.sceneObjects.size(), 17u);
}

TEST_F(OfficeDefinitionsTest, AnUnknownClassWordMakesNothing)
{
    SceneObject* boss = Make("<object class='item' name='boss'/>");
    for (const char* word : {"Item", "", "items", "boss "}) {
        SCOPED_TRACE(word);
        EXPECT_EQ(Make(std::string("<object class='") + word + "' name='boss'><part name='a'/></object>"), nullptr);
        EXPECT_EQ(world.sceneObjects.size(), 1u);
        EXPECT_EQ(gBoss, boss);
    }
    EXPECT_EQ(Make("<object name='boss'/>"), nullptr);
}

TEST_F(OfficeDefinitionsTest, NamedObjectsAreBoundWhateverTheirKindAndForgottenWithThem)
{
    SceneObject* plain = Make("<object class='item' name='boss'/>");
    EXPECT_EQ(gBoss, plain);
    EXPECT_EQ(ObjectAs<Boss>(gBoss), nullptr);
    SceneObject* boss = Make("<object class='boss' name='boss'/>");
    EXPECT_EQ(gBoss, boss);
    EXPECT_NE(ObjectAs<Boss>(gBoss), nullptr);
    delete plain;
    EXPECT_EQ(gBoss, boss);
    delete boss;
    EXPECT_EQ(gBoss, nullptr);

    const char* const names[] = {"boss", "secretary", "engineer", "phone", "mini_bar", "safe", "coffeemachine",
                                 "air_conditioner", "conference_place", "cupboard", "presentation_place",
                                 "stereo_system", "bonus"};
    SceneObject** const pointers[] = {&gBoss, &gSecretary, &gEngineer, &gPhone, &gMiniBar, &gSafe, &gCoffeeMachine,
                                      &gAirConditioner, &gConferencePlace, &gCupboard, &gPresentationPlace,
                                      &gStereoSystem, &gBonus};
    for (int i = 0; i < 13; ++i) {
        SceneObject* object = Make(std::string("<object class='pickable' name='") + names[i] + "'/>");
        EXPECT_EQ(*pointers[i], object) << names[i];
    }
    Make("<object class='item' name='Boss'/>");
    DeleteAllObjects();
    for (SceneObject** pointer : pointers)
        EXPECT_EQ(*pointer, nullptr);
}

TEST_F(OfficeDefinitionsTest, ChildrenAreReadKindByKindBeforeTheObjectsOwnAttributes)
{
    SceneObject* table = Make(
        "<object class='pickable' name='table01a' pos_x='150' pos_y='265' offs_x='2' orient='br' rgn='0 0 9 0 9 9'>"
        "<point owner='boss' direction='t' offs_x='200' offs_y='285'/>"
        "<part name='table'/>"
        "<select_block pair_item='table01a'/><select_block/><select_block pair_item='worker01a'/>"
        "<picks pick='paper'/><picks pick=''/>"
        "<point owner='secretary' offs_x='1'/>"
        "<part name='checkmark' offs_x='-3'/>"
        "</object>");
    ASSERT_EQ(table->GetParts().size(), 2u);
    EXPECT_EQ(table->GetParts()[0]->GetPartName(), "table");
    EXPECT_EQ(table->GetParts()[1]->GetPartName(), "checkmark");
    EXPECT_TRUE(table->GetParts()[1]->IsCheckmark());
    EXPECT_EQ(table->FindPart("checkmark", 0), table->GetParts()[1]);
    EXPECT_EQ(table->FindPart("checkmark", 1), nullptr);
    Zelk::Point point;
    std::string direction;
    ASSERT_TRUE(table->GetApproachPoint("boss", point, direction));
    EXPECT_EQ(point.mX, 200);
    EXPECT_EQ(point.mY, 285);
    EXPECT_EQ(direction, "t");
    ASSERT_TRUE(table->GetApproachPoint("secretary", point, direction));
    EXPECT_EQ(point.mX, 1);
    EXPECT_EQ(direction, "");
    EXPECT_FALSE(table->GetApproachPoint("engineer", point, direction));
    EXPECT_EQ(table->GetPosition().mX, 150);
    EXPECT_EQ(table->GetOffset().mX, 2);
    EXPECT_EQ(table->GetOrientWord(), "br");

    SceneObject* worker = Make("<object class='worker' name='worker01a'/>");
    table->SetActive(true);
    int count = 0;
    EXPECT_TRUE(table->GetPairItem(&count, nullptr));
    ASSERT_EQ(count, 2);
    SceneObject* item = nullptr;
    int index = 1;
    ASSERT_TRUE(table->GetPairItem(&index, &item));
    EXPECT_EQ(item, worker);
    index = 2;
    EXPECT_FALSE(table->GetPairItem(&index, &item));
}

TEST_F(OfficeDefinitionsTest, TheOfficeGivesItsTuningValuesAndFirstRecords)
{
    const std::string params =
        "<params patience_g_level='1.5' cupboatd_reload_timeout='12.25' secretary_move_speed='90' "
        "worker_alpha_blend_time='0.5' normal='700' expert='900' cupboard_reload_timeout='3'/>";
    XmlNode office = Parse(
        "<office>" + params +
        "<objects><object class='item' name='a'/><object class='nothing' name='b'/><object class='item' name='c'/>"
        "</objects>"
        "<clients><client name='student' client_money_g='10' idle_stop_frame='4.5'/>"
        "<client name='student' client_money_g='99'/><client name='clerk' client_coffee_effect='2'/></clients>"
        "<workers><worker name='w1' worker_done_break_frame='7' idle_rastart_time_max='3'/>"
        "<worker name='w1' worker_done_break_frame='1'/></workers>"
        "<perses><pers name='boss' idle_stop_frame='3' idle_rastart_time_min='1' idle_rastart_time_max='2'>"
        "<orientations orientation='b' actual_orientation='mb' ofs_x='4' ofs_y='-2'/>"
        "<orientations orientation='b' actual_orientation='t'/><orientations orientation='tr'/></pers>"
        "<pers name='boss' idle_stop_frame='9'/></perses>"
        "</office>");
    LoadOfficeDefinitions(office);
    ASSERT_EQ(world.sceneObjects.size(), 2u);
    EXPECT_EQ(world.sceneObjects.back()->GetName(), "c");
    const LevelParams& p = world.levelParams;
    EXPECT_EQ(p.patience_g_level, 1.5f);
    EXPECT_EQ(p.cupboatd_reload_timeout, 12.25f);
    EXPECT_EQ(p.secretary_move_speed, 90.0f);
    EXPECT_EQ(p.worker_alpha_blend_time, 0.5f);
    EXPECT_EQ(p.service_timeout, 0.0f);
    // The goal and expert money come from level files only.
    EXPECT_EQ(p.normal, 0);
    EXPECT_EQ(p.expert, 0);

    ASSERT_EQ(world.clientParams.size(), 2u);
    EXPECT_EQ(world.clientParams["student"].client_money_g, 10.0f);
    EXPECT_EQ(world.clientParams["student"].idle_stop_frame, 4.5f);
    EXPECT_EQ(world.clientParams["clerk"].client_coffee_effect, 2.0f);
    EXPECT_EQ(world.workerParams["w1"].worker_done_break_frame, 7.0f);
    EXPECT_EQ(world.workerParams["w1"].idle_rastart_time_max, 3.0f);
    const PersParams& boss = world.persParams["boss"];
    EXPECT_EQ(boss.idle_stop_frame, 3);
    EXPECT_EQ(boss.idle_rastart_time_max, 2.0f);
    ASSERT_EQ(boss.orientations.size(), 2u);
    EXPECT_EQ(boss.orientations.at("b").actual_orientation, "mb");
    EXPECT_EQ(boss.orientations.at("b").ofs_y, -2);
    EXPECT_EQ(boss.orientations.at("tr").actual_orientation, "");
}

TEST_F(OfficeDefinitionsTest, EveryTuningValueIsReadByItsOwnName)
{
    const char* const names[] = {
        "patience_g_level", "patience_y_level", "patience_r_level", "patience_critical", "scandal_effect",
        "service_timeout", "coffeemachine_reload_timeout", "air_conditioner_timeout_min",
        "air_conditioner_timeout_max", "air_conditioner_effect", "stereo_system_effect", "ring_timeout",
        "ring_losses_money", "conference_reload_timeout", "presentation_reload_timeout", "presentation_timeout",
        "safe_reload_timeout", "cupboatd_reload_timeout", "disruption_effect", "stamina_g_level", "stamina_y_level",
        "stamina_r_level", "fear_time_period", "events_delay_timeout", "bubble_show_time", "hover_scale_factor",
        "blink_time", "blink_min_alpha", "blink_max_alpha", "engineer_move_speed", "boss_move_speed",
        "boss_move_speed_mod", "boss_move_speed_mod_timeout", "boss_conference_timeout", "boss_interaction_timeout",
        "boss_reproof_effect", "worker_money_immortality", "worker_conference_immortality",
        "worker_break_intent_timeout", "worker_break_duration_timeout", "worker_showtime_zzz",
        "worker_alpha_blend_time", "client_reminder_timeout", "client_alpha_blend_time", "secretary_move_speed"};
    ASSERT_EQ(sizeof(names) / sizeof(names[0]), 45u);
    std::string attributes;
    for (int i = 0; i < 45; ++i)
        attributes += std::string(names[i]) + "='" + std::to_string(i + 1) + "' ";
    LoadOfficeDefinitions(Parse("<office><params " + attributes + "/></office>"));
    // The record holds the values in this order, the goal and expert money
    // (untouched) before the last three.
    static_assert(sizeof(LevelParams) == 47 * 4, "45 floats and two int32");
    float values[47];
    std::memcpy(values, &world.levelParams, sizeof values);
    for (int i = 0; i < 45; ++i)
        EXPECT_EQ(values[i < 42 ? i : i + 2], float(i + 1)) << names[i];
    EXPECT_EQ(world.levelParams.normal, 0);
    EXPECT_EQ(world.levelParams.expert, 0);
}

// Writes down which objects the level reached.
class Recording : public SceneObject {
public:
    void ApplyLevelState(const XmlNode& node) override
    {
        std::string skin;
        XmlGetAttrString(node, L"skin", skin);
        applied.push_back(skin);
        SceneObject::ApplyLevelState(node);
    }
    std::vector<std::string> applied;
};

TEST_F(OfficeDefinitionsTest, ALevelFindsItsObjectsByNameAtAnyDepth)
{
    auto make = [this](const std::string& name) {
        std::string escaped;
        for (char c : name)
            escaped += c == '"' ? std::string("&quot;") : c == '\'' ? std::string("&apos;") : std::string(1, c);
        auto* object = new Recording;
        object->Load(Parse("<object name='" + escaped + "'/>"));
        EXPECT_EQ(object->GetName(), name);
        return object;
    };
    Recording* nested = make("nested");
    Recording* quoted = make("say \"hi\"");
    Recording* apostrophe = make("o'clock");
    Recording* unnamed = make("other");
    Recording* twice = make("twice");
    Recording* outside = make("outside");
    for (Recording* object : {nested, quoted, apostrophe, unnamed, twice, outside}) {
        object->SetVisibleFlag(true);
        object->SetActive(true);
    }
    XmlNode level = Parse("<level>"
                          "<object name='outside' skin='no'/>"
                          "<objects><group><deeper><object name='nested' skin='deep'/></deeper></group>"
                          "<object name='say &quot;hi&quot;' skin='q'/>"
                          "<object name=\"o'clock\" skin='a'/>"
                          "<object name='twice' skin='first'><object name='twice' skin='inner'/></object></objects>"
                          "<objects><object name='twice' skin='second'/></objects>"
                          "</level>");
    LoadLevelObjects(level);
    EXPECT_EQ(nested->applied, std::vector<std::string>{"deep"});
    EXPECT_EQ(quoted->applied, std::vector<std::string>{"q"});
    EXPECT_EQ(apostrophe->applied, std::vector<std::string>{"a"});
    EXPECT_EQ(twice->applied, std::vector<std::string>{"first"});
    EXPECT_TRUE(unnamed->applied.empty());
    EXPECT_TRUE(outside->applied.empty());
    EXPECT_TRUE(nested->IsVisible());
    EXPECT_EQ(nested->GetSkin(), "deep");
    EXPECT_FALSE(unnamed->IsVisible());
    EXPECT_FALSE(unnamed->IsActive());
    EXPECT_FALSE(outside->IsVisible());
}

TEST_F(OfficeDefinitionsTest, ALevelSetsTheMoneyAndTheTimelines)
{
    LevelParams& p = world.levelParams;
    LoadLevelObjects(Parse("<level><params normal='500' expert='800'/></level>"));
    EXPECT_EQ(p.normal, 500);
    EXPECT_EQ(p.expert, 800);
    LoadLevelObjects(Parse("<level><params normal='600'/></level>"));
    EXPECT_EQ(p.normal, 600);
    EXPECT_EQ(p.expert, 800);
    LoadLevelObjects(Parse("<level/>"));
    EXPECT_EQ(p.normal, -1);
    EXPECT_EQ(p.expert, -1);

    LoadLevelObjects(Parse(
        "<level><events_queue><clients_timeline>"
        "<time_point time='1.5' event='student' vip='1'><orders><order name='0101'/><order name='0102'/></orders>"
        "</time_point><time_point time='3' event='clerk' window_event='window_morning'/>"
        "</clients_timeline><stereosystem_timeline><time_point time='40' event='break'/></stereosystem_timeline>"
        "<clients_timeline><time_point event='late'><orders><order name='0201'/></orders></time_point>"
        "</clients_timeline></events_queue></level>"));
    const LevelTimelines& t = world.levelTimelines;
    ASSERT_EQ(t.clients.size(), 3u);
    EXPECT_EQ(t.clients[0].time, 1.5f);
    EXPECT_EQ(t.clients[0].event, "student");
    EXPECT_EQ(t.clients[0].vip, 1);
    EXPECT_EQ(t.clients[0].orders, (std::vector<std::string>{"0101", "0102"}));
    EXPECT_EQ(t.clients[1].window_event, "window_morning");
    EXPECT_TRUE(t.clients[1].orders.empty());
    EXPECT_EQ(t.clients[2].time, 0.0f);
    EXPECT_EQ(t.clients[2].orders, std::vector<std::string>{"0201"});
    EXPECT_TRUE(t.airConditioner.empty());
    ASSERT_EQ(t.stereoSystem.size(), 1u);
    EXPECT_EQ(t.stereoSystem[0].event, "break");

    // The next level starts from empty timelines.
    world.levelTimelines.clientsWorking = t.clients;
    LoadLevelObjects(Parse("<level/>"));
    EXPECT_TRUE(t.clients.empty());
    EXPECT_TRUE(t.clientsWorking.empty());
    EXPECT_TRUE(t.stereoSystem.empty());
}

} // namespace
