#include "ConfigFiles.h"

#include "LevelDesigner.h"
#include "OfficeModel.h"
#include "SurvivalFiles.h"
#include "Tables.h"

namespace contentgen {

XmlElement BuildManifest()
{
    XmlElement root("ResourceManifest");
    XmlElement& init = root.Add("Resources");
    init.Set("id", "Init");
    init.Add("Font").Set("id", "FONT_ARIAL10").Set("path", "!sys:Arial").Set("size", 10);
    init.Add("Font").Set("id", "FONT_ARIAL8").Set("path", "!sys:Arial").Set("size", 8).Set("bold", 1);
    init.Add("Font").Set("id", "FONT_ARIAL6").Set("path", "fonts\\tiny.txt").Set("tags", "outline");
    init.Add("Font").Set("id", "FONT_DEFAULT").Set("path", "!ref:FONT_ARIAL10");
    init.Add("SetDefaults").Set("path", "images\\office\\").Set("idprefix", "GFX_");
    init.Add("Image").Set("id", "GAME_GROUND").Set("path", "ground");
    return root;
}

XmlElement BuildLocFile(const TextTable& texts)
{
    XmlElement root("root");
    for (const auto& text : texts.All())
        root.Add("loc").Set("id", text.first).Set("text", text.second);
    return root;
}

namespace {

// The tuning parameters in the order the office loader declares them.
const std::pair<const char*, double> kParams[] = {
    {"patience_g_level", 60}, {"patience_y_level", 30}, {"patience_r_level", 15}, {"patience_critical", 5},
    {"scandal_effect", 8}, {"service_timeout", 25}, {"coffeemachine_reload_timeout", 12},
    {"air_conditioner_timeout_min", 35}, {"air_conditioner_timeout_max", 70}, {"air_conditioner_effect", 2.0},
    {"stereo_system_effect", 0.6}, {"ring_timeout", 15}, {"ring_losses_money", 40},
    {"conference_reload_timeout", 40}, {"presentation_reload_timeout", 35}, {"presentation_timeout", 4},
    {"safe_reload_timeout", 20}, {"cupboatd_reload_timeout", 30}, {"disruption_effect", 8},
    {"stamina_g_level", 60}, {"stamina_y_level", 30}, {"stamina_r_level", 12}, {"fear_time_period", 5},
    {"events_delay_timeout", 3}, {"bubble_show_time", 2}, {"hover_scale_factor", 1.05}, {"blink_time", 0.5},
    {"blink_min_alpha", 0.3}, {"blink_max_alpha", 1.0}, {"engineer_move_speed", 170}, {"boss_move_speed", 220},
    {"boss_move_speed_mod", 1.5}, {"boss_move_speed_mod_timeout", 10}, {"boss_conference_timeout", 4},
    {"boss_interaction_timeout", 1}, {"boss_reproof_effect", 25}, {"worker_money_immortality", 12},
    {"worker_conference_immortality", 10}, {"worker_break_intent_timeout", 6},
    {"worker_break_duration_timeout", 10}, {"worker_showtime_zzz", 1.5}, {"worker_alpha_blend_time", 0.5},
    {"client_reminder_timeout", 20}, {"client_alpha_blend_time", 0.5}, {"secretary_move_speed", 190}};

struct ClientType {
    const char* name;
    double values[14];
};
const char* const kClientAttributes[14] = {
    "client_patience_speed", "client_decision_timeout", "client_presentation_effect", "client_money_g",
    "client_money_y", "client_money_r", "client_service_effect", "client_losses_money", "client_scandal_level",
    "client_scandal_timeout", "client_coffee_effect", "idle_stop_frame", "idle_rastart_time_min",
    "idle_rastart_time_max"};
const ClientType kClients[] = {
    {"student", {1.0, 2.0, 15, 30, 20, 10, 10, 15, 10, 8, 20, 0, 2, 4}},
    {"clerk", {1.4, 2.5, 15, 50, 35, 20, 12, 25, 15, 7, 25, 0, 2, 4}},
    {"lady", {1.8, 3.0, 25, 75, 50, 25, 15, 35, 20, 6, 30, 0, 1.5, 3}},
    {"banker", {2.3, 3.0, 20, 110, 75, 35, 15, 60, 30, 5, 20, 0, 1, 3}},
    {"vip", {2.8, 2.0, 20, 160, 110, 50, 20, 90, 25, 5, 25, 0, 1, 2}}};

struct WorkerType {
    const char* name;
    double values[16];
};
const char* const kWorkerAttributes[16] = {
    "worker_stamina_up_speed", "worker_stamina_down_speed", "worker_work_time_g", "worker_work_time_y",
    "worker_work_time_r", "worker_disruption_timeout", "worker_conference_effect", "worker_bonus_effect",
    "worker_break_high", "worker_break_low", "worker_disruption_start_timeout",
    "worker_disruption_period_timeout", "worker_done_break_frame", "idle_stop_frame", "idle_rastart_time_min",
    "idle_rastart_time_max"};
const WorkerType kWorkers[] = {
    {"w1", {2.5, 3.0, 4, 6, 9, 6, 40, 30, 80, 50, 4, 6, 3, 0, 3, 6}},
    {"w2", {2.0, 4.5, 3, 4.5, 7, 5, 35, 30, 70, 45, 3, 5, 3, 0, 2, 5}},
    {"w3", {3.0, 2.0, 5, 7, 10, 8, 45, 25, 90, 60, 5, 8, 3, 0, 3, 7}},
    {"w4", {2.5, 3.0, 4, 6, 9, 5, 40, 35, 45, 25, 3, 5, 3, 0, 2, 4}}};

struct Orientation {
    const char* key;
    const char* actual;
    int x;
    int y;
};
const Orientation kOrientations[] = {{"b", "b", -14, -58},  {"br", "br", 6, -58},  {"r", "r", 14, -60},
                                     {"bl", "mbr", -26, -58}, {"l", "mr", -34, -60}, {"t", "t", -14, -66},
                                     {"tr", "tr", 6, -64},  {"tl", "mtr", -26, -64}};

// One record per client or worker type: its name, then its numbers under
// the attribute names in declaration order.
template <typename Type, size_t TypeCount, size_t Count>
void AddTypeRecords(XmlElement& list, const char* element, const Type (&types)[TypeCount],
                    const char* const (&attributes)[Count])
{
    for (const Type& type : types) {
        XmlElement& record = list.Add(element);
        record.Set("name", type.name);
        for (size_t i = 0; i < Count; ++i)
            record.SetFloat(attributes[i], type.values[i]);
    }
}

// The attribute's number of the named type, or 0.
template <typename Type, size_t TypeCount, size_t Count>
double TypeValue(const Type (&types)[TypeCount], const char* const (&attributes)[Count], const std::string& name,
                 const std::string& attribute)
{
    for (const Type& type : types)
        if (name == type.name)
            for (size_t i = 0; i < Count; ++i)
                if (attribute == attributes[i])
                    return type.values[i];
    return 0;
}

} // namespace

double OfficeParam(const std::string& name)
{
    for (const auto& param : kParams)
        if (name == param.first)
            return param.second;
    return 0;
}

double ClientTypeValue(const std::string& type, const std::string& attribute)
{
    return TypeValue(kClients, kClientAttributes, type, attribute);
}

double WorkerLookValue(const std::string& look, const std::string& attribute)
{
    return TypeValue(kWorkers, kWorkerAttributes, look, attribute);
}

const std::vector<std::string>& SoundNamesPlayed()
{
    static const std::vector<std::string> names = {
        "button_hover", "button_click", "briefing_show", "good_debriefing_show", "bad_debriefing_show", "click",
        "goal", "expert", "wake_up", "boss_take_money", "client_spawn", "client_ready", "client_positiv",
        "client_negativ", "client_scandal", "hp_up_coffee", "hp_up_presentation", "coffeemashine",
        "conditioner_broke", "make_trash", "boss_give_money", "take_paper", "worker_finish", "boss_conference",
        "boss_steps", "phone_ring", "worker_snore"};
    return names;
}

const std::vector<std::string>& MusicNamesPlayed()
{
    static const std::vector<std::string> names = {"main_menu", "level"};
    return names;
}

XmlElement BuildOfficeFile(const std::vector<SoundEntry>& sounds)
{
    XmlElement music("music");
    XmlElement effects("sounds");
    for (const SoundEntry& sound : sounds) {
        if (sound.music)
            music.Add("stream").Set("name", sound.name).Set("path", sound.file);
        else
            effects.Add("sound").Set("name", sound.name).Set("group", sound.group).Set("path", sound.file).SetBool("loop", sound.loop);
    }
    XmlElement root("office");
    root.Add(std::move(music));
    root.Add(std::move(effects));
    XmlElement& params = root.Add("params");
    for (const auto& param : kParams)
        params.SetFloat(param.first, param.second);
    root.Add("objects");
    AddTypeRecords(root.Add("clients"), "client", kClients, kClientAttributes);
    AddTypeRecords(root.Add("workers"), "worker", kWorkers, kWorkerAttributes);
    XmlElement& perses = root.Add("perses");
    for (const char* name : {"boss:man", "boss:woman", "secretary"}) {
        XmlElement& pers = perses.Add("pers");
        pers.Set("name", name).Set("idle_stop_frame", 0).Set("idle_rastart_time_min", 2).Set("idle_rastart_time_max", 5);
        for (const Orientation& o : kOrientations)
            pers.Add("orientations").Set("orientation", o.key).Set("actual_orientation", o.actual).Set("ofs_x", o.x).Set("ofs_y", o.y);
    }
    root.Add("graphs");
    root.Add("system").Set("z_order_id", 1);
    XmlElement& bonus = root.Add("bonus_config");
    bonus.Set("rush_timeout", 4);
    const int stages[3][2] = {{3, 10}, {5, 20}, {8, 40}};
    for (int k = 0; k < 3; ++k)
        bonus.Add("bonus_stages").Set("action", stages[k][0]).Set("bonus", stages[k][1]).Set("loc_str", "rush_" + std::to_string(k + 1));
    return root;
}

int LevelGoal(int level)
{
    if (level == 1)
        return 90;
    if (level == 2)
        return 80;
    return DesignDay(level).goal;
}

int LevelExpert(int level)
{
    if (level == 1)
        return 150;
    if (level == 2)
        return 130;
    return DesignDay(level).expert;
}

XmlElement BuildLevelFile(int level)
{
    const std::string n = std::to_string(level);
    XmlElement root("level");
    root.Set("briefing", "lvl" + n + "_brief").Set("debriefing_bad", "lvl" + n + "_bad");
    root.Set("debriefing_good", "lvl" + n + "_good").Set("debriefing_perfect", "lvl" + n + "_perfect");
    root.Add("params").Set("normal", LevelGoal(level)).Set("expert", LevelExpert(level));
    AddLevelOffice(level, root);
    return root;
}

XmlElement BuildSurvivalFile(int level)
{
    XmlElement root("level");
    AddLevelObjects(1, root);
    // Stages by money: student and clerk at first, then the lady with two
    // orders and an extra desk on offer, then walnut desks and the day's
    // light; the survival level number makes every stage dearer.
    // Every client type orders from the "desk" template.
    auto type = [](const char* name, float min, float max, float weight, float multi) {
        return SurvivalClient{name, false, min, max, weight, 0, multi, "desk"};
    };
    XmlElement& list = root.Add("stages");
    AddSurvivalStage(list, 0, false, false, "window_morning",
                     {type("student", 2, 5, 3, 0.1f), type("clerk", 3, 6, 1, 0.2f)});
    AddSurvivalStage(list, 150 * level, true, false, nullptr,
                     {type("student", 2, 4, 2, 0.2f), type("clerk", 2, 5, 2, 0.3f), type("lady", 4, 7, 1, 0.6f)});
    AddSurvivalStage(list, 400 * level, false, true, "window_day",
                     {type("clerk", 1.5f, 4, 2, 0.3f), type("lady", 3, 6, 2, 0.6f)});
    root.Add("upgrade_add_list").Set("name", "extra_desk").Add("object_list").Set("name", "plant03").Set("anim", "idle");
    XmlElement& walnut = root.Add("upgrade_skin_list").Set("name", "walnut_tables");
    for (const char* table : {"table02a", "table04a"})
        walnut.Add("object_list").Set("name", table).Set("skin", "plain");
    XmlElement& desk = root.Add("order_template").Set("template", "desk");
    XmlElement& first = desk.Add("order_list").SetFloat("probability", 1);
    first.Add("orders").SetFloat("probability", 2).Set("order", "0101");
    first.Add("orders").SetFloat("probability", 1).Set("order", "0102");
    XmlElement& second = desk.Add("order_list").SetFloat("probability", 1);
    second.Add("orders").SetFloat("probability", 1).Set("order", "0102");
    second.Add("orders").SetFloat("probability", 1).Set("order", "0101");
    return root;
}

} // namespace contentgen
