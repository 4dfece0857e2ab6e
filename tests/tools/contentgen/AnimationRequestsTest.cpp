// Every animation the game's code can ask a part for finds its own record in
// the generated anm\<part>.anm: the player takes the first record whose name
// contains the request (part + skin + orientation + animation), so that
// record must be exactly the one asked for, with the timing its use needs.
#include "GeneratedData.h"

#include "game/world/AnmFile.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace {

using namespace contentgentest;

// C: cycle, O: once forward, S: still (fps 0, one frame).
struct Clip {
    std::string name;
    char kind;
    int fps;
    int frames;
    std::vector<std::string> orientations = {};  // when not the row's
};

struct Row {
    std::string part;
    std::vector<std::string> skins;
    std::vector<std::string> orientations;
    std::vector<Clip> clips;
};

std::vector<Clip> Stills(const std::vector<std::string>& names)
{
    std::vector<Clip> clips;
    for (const std::string& name : names)
        clips.push_back({name, 'S', 0, 1});
    return clips;
}

// What the people, furniture and indicators ask their parts for.
std::vector<Row> Requests()
{
    const std::vector<std::string> sides = {"t", "tr", "r", "br", "b"};
    const std::vector<std::string> none = {""};
    const std::vector<Clip> device = {{"idle", 'S', 0, 1}, {"activation", 'O', 10, 6}, {"ready", 'C', 6, 4}, {"hover", 'C', 6, 4}};
    const std::vector<Clip> signal = {{"idle", 'S', 0, 1}, {"activation", 'S', 0, 1}, {"hover", 'S', 0, 1}, {"ready", 'C', 4, 2}};
    const std::vector<Clip> picked = {{"idle", 'S', 0, 1}, {"hover", 'C', 6, 4}, {"activation", 'O', 10, 6}};
    std::vector<Clip> held, seatedUp, seatedDown;
    for (const char* item : {"paper", "ink", "clips", "0101", "0102", "0103", "0104", "0105", "0200", "0300", "0400", "money"})
        held.push_back({item, 'C', 1, 1});
    for (const char* worker : {"worker01a", "worker02a", "worker03a", "worker04a", "worker01b", "worker02b", "worker03b", "worker04b"}) {
        seatedUp.push_back({worker, 'C', 4, 4});
        seatedDown.push_back({worker, 'S', 0, 1});
    }
    std::vector<Row> rows = {
        {"boss", {"man", "woman"}, sides,
         {{"boss_idle_empty", 'C', 6, 6}, {"boss_idle_full", 'C', 6, 6}, {"boss_move_empty", 'C', 12, 8},
          {"boss_move_full", 'C', 12, 8}, {"boss_phone", 'O', 8, 16}, {"boss_conference", 'C', 6, 8},
          {"boss_drink", 'O', 8, 12}, {"boss_reproach", 'O', 10, 10}}},
        {"held_items", none, sides, held},
        {"secretary", none, sides,
         {{"secretary_idle", 'C', 6, 6, none}, {"secretary_presentation", 'C', 8, 8, none},
          {"secretary_move_empty", 'C', 12, 8}, {"secretary_move_full", 'C', 12, 8}}},
        {"engineer", none, sides,
         {{"engineer_idle", 'C', 6, 6, {"b"}}, {"engineer_move", 'C', 12, 8}, {"engineer_repair", 'C', 8, 8}}},
        {"client", {"student", "clerk", "lady", "banker", "vip"}, {"b"},
         {{"idle_green", 'C', 4, 4}, {"idle_yellow", 'C', 5, 4}, {"idle_red", 'C', 8, 4}, {"idle_thinking", 'C', 4, 4},
          {"presentation_reaction", 'O', 8, 8}, {"drink_coffee", 'O', 8, 10}, {"patience_content", 'O', 8, 6},
          {"patience_angry", 'O', 8, 6}, {"gratitude", 'O', 8, 6}, {"scandal", 'O', 10, 12}}},
        {"worker_up", {"w1", "w2", "w3", "w4"}, {"br"},
         {{"idle_usual", 'C', 6, 6}, {"idle_done", 'O', 8, 8}, {"work_action", 'C', 10, 8}, {"idle_distracted", 'C', 4, 6},
          {"disruption_reaction", 'O', 8, 6}, {"conference_reaction", 'O', 8, 8}, {"attention", 'O', 8, 6},
          {"disruptive_action", 'O', 8, 8}}},
        {"table", {"plain", "walnut"}, {"br"}, Stills({"idle"})},
        {"checkmark", none, none, {{"idle", 'C', 10, 6}}},
        {"spec", {"spec_l1t1", "spec_l1t2", "spec_l1t3", "spec_l1t4", "spec_l1t5", "spec_l2t0", "spec_l3t0", "spec_l4t0"}, none,
         Stills({"idle"})},
        {"shelving", {"paper", "ink", "clips"}, none, picked},
        {"trash_bin", none, none, picked},
        {"air_conditioner_signal", none, none, signal},
        {"stereo_system_signal", none, none, signal},
        {"phone", none, none, {{"idle", 'S', 0, 1}, {"ring", 'C', 12, 4}}},
        {"door", none, none, {{"idle", 'S', 0, 1}, {"open", 'O', 10, 6}, {"close", 'O', 10, 6}}},
        {"mini_bar", none, none, {{"idle", 'S', 0, 1}, {"active", 'C', 6, 4}}},
        {"minibar_pers1_up", none, none, seatedUp},
        {"minibar_pers2_up", none, none, seatedUp},
        {"minibar_pers1_down", none, none, seatedDown},
        {"minibar_pers2_down", none, none, seatedDown},
        {"window", none, none, Stills({"idle"})},
        {"window_morning", none, none, Stills({"idle"})},
        {"window_day", none, none, Stills({"idle"})},
        {"client_place", {"stool", "sofa"}, none, Stills({"idle"})},
        {"status_hp", none, none, Stills({"point"})},
        {"status_hp_back", none, none, Stills({"idle"})},
        {"status_bubble", none, none, Stills({"cloud", "right", "multi_right", "aggro"})},
        {"status_type", none, none,
         Stills({"ready", "scandal", "coffee", "sleep", "snore", "timer00", "timer01", "timer02", "timer03", "timer04", "student",
                 "clerk", "lady", "banker", "vip"})},
        {"status_production", none, none, Stills({"0101", "0102", "0103", "0104", "0105", "0200", "0300", "0400"})},
        {"plant", {"fern", "palm"}, none, Stills({"idle"})},
        {"wall_picture", {"city", "sea"}, none, Stills({"idle"})},
        {"carpet", {"grey", "blue"}, none, Stills({"idle"})},
        {"secretary_desk", none, none, Stills({"idle"})},
    };
    // The devices play idle as a still or a slow cycle.
    for (const char* part : {"safe", "coffeemachine", "conference_place", "cupboard", "presentation_place", "air_conditioner",
                             "stereo_system"})
        rows.push_back({part, none, none, device});
    return rows;
}

TEST(AnimationRequests, EveryRequestFindsExactlyItsRecordWithItsTiming)
{
    const contentgen::DataSet& data = Generated();
    int requests = 0;
    for (const Row& row : Requests()) {
        const std::string path = "anm\\" + row.part + ".anm";
        const auto found = data.files.find(path);
        ASSERT_NE(found, data.files.end()) << path;
        std::string why;
        const std::unique_ptr<AnmFile> file = AnmFile::Parse(found->second.data(), found->second.size(), &why);
        ASSERT_NE(file, nullptr) << path << ": " << why;
        for (const std::string& skin : row.skins)
            for (const Clip& clip : row.clips)
                for (const std::string& orientation : clip.orientations.empty() ? row.orientations : clip.orientations) {
                    const std::string request = row.part + skin + orientation + clip.name;
                    ++requests;
                    const AnmRecord* record = nullptr;
                    for (int i = 0; i < file->GetCount() && !record; ++i)
                        if (file->GetRecord(i).name.find(request) != std::string::npos)
                            record = &file->GetRecord(i);
                    ASSERT_NE(record, nullptr) << path << ": nothing answers " << request;
                    EXPECT_EQ(record->name, request) << path << ": the request finds another record first";
                    const AnmSequence& sequence = record->sequence;
                    EXPECT_EQ(sequence.mode, clip.kind == 'O' ? 1 : 0) << request;
                    EXPECT_EQ(sequence.framesPerSecond, clip.fps) << request;
                    EXPECT_EQ(sequence.frameCount, clip.frames) << request;
                    if (clip.kind == 'O')
                        EXPECT_GE(sequence.frameCount, 2) << request << ": a once-animation relied on for its end";
                    EXPECT_TRUE(data.Has(record->imageName)) << request << ": its picture " << record->imageName;
                }
    }
    EXPECT_GT(requests, 0);
}

} // namespace
