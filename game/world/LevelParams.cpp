#include "game/world/LevelParams.h"

#include "game/world/FloatAttributes.h"

namespace {

const FloatAttribute<LevelParams> kFields[] = {
    {L"patience_g_level", &LevelParams::patience_g_level},
    {L"patience_y_level", &LevelParams::patience_y_level},
    {L"patience_r_level", &LevelParams::patience_r_level},
    {L"patience_critical", &LevelParams::patience_critical},
    {L"scandal_effect", &LevelParams::scandal_effect},
    {L"service_timeout", &LevelParams::service_timeout},
    {L"coffeemachine_reload_timeout", &LevelParams::coffeemachine_reload_timeout},
    {L"air_conditioner_timeout_min", &LevelParams::air_conditioner_timeout_min},
    {L"air_conditioner_timeout_max", &LevelParams::air_conditioner_timeout_max},
    {L"air_conditioner_effect", &LevelParams::air_conditioner_effect},
    {L"stereo_system_effect", &LevelParams::stereo_system_effect},
    {L"ring_timeout", &LevelParams::ring_timeout},
    {L"ring_losses_money", &LevelParams::ring_losses_money},
    {L"conference_reload_timeout", &LevelParams::conference_reload_timeout},
    {L"presentation_reload_timeout", &LevelParams::presentation_reload_timeout},
    {L"presentation_timeout", &LevelParams::presentation_timeout},
    {L"safe_reload_timeout", &LevelParams::safe_reload_timeout},
    {L"cupboatd_reload_timeout", &LevelParams::cupboatd_reload_timeout},
    {L"disruption_effect", &LevelParams::disruption_effect},
    {L"stamina_g_level", &LevelParams::stamina_g_level},
    {L"stamina_y_level", &LevelParams::stamina_y_level},
    {L"stamina_r_level", &LevelParams::stamina_r_level},
    {L"fear_time_period", &LevelParams::fear_time_period},
    {L"events_delay_timeout", &LevelParams::events_delay_timeout},
    {L"bubble_show_time", &LevelParams::bubble_show_time},
    {L"hover_scale_factor", &LevelParams::hover_scale_factor},
    {L"blink_time", &LevelParams::blink_time},
    {L"blink_min_alpha", &LevelParams::blink_min_alpha},
    {L"blink_max_alpha", &LevelParams::blink_max_alpha},
    {L"engineer_move_speed", &LevelParams::engineer_move_speed},
    {L"boss_move_speed", &LevelParams::boss_move_speed},
    {L"boss_move_speed_mod", &LevelParams::boss_move_speed_mod},
    {L"boss_move_speed_mod_timeout", &LevelParams::boss_move_speed_mod_timeout},
    {L"boss_conference_timeout", &LevelParams::boss_conference_timeout},
    {L"boss_interaction_timeout", &LevelParams::boss_interaction_timeout},
    {L"boss_reproof_effect", &LevelParams::boss_reproof_effect},
    {L"worker_money_immortality", &LevelParams::worker_money_immortality},
    {L"worker_conference_immortality", &LevelParams::worker_conference_immortality},
    {L"worker_break_intent_timeout", &LevelParams::worker_break_intent_timeout},
    {L"worker_break_duration_timeout", &LevelParams::worker_break_duration_timeout},
    {L"worker_showtime_zzz", &LevelParams::worker_showtime_zzz},
    {L"worker_alpha_blend_time", &LevelParams::worker_alpha_blend_time},
    {L"client_reminder_timeout", &LevelParams::client_reminder_timeout},
    {L"client_alpha_blend_time", &LevelParams::client_alpha_blend_time},
    {L"secretary_move_speed", &LevelParams::secretary_move_speed},
};
static_assert(sizeof(kFields) / sizeof(kFields[0]) == 45, "the office gives 45 tuning values");

} // namespace

void ReadGameParams(const XmlNode& office, LevelParams& params)
{
    XmlNode node = office.SelectSingle(L"params");
    if (node)
        ReadFloatAttributes(node, kFields, params);
}
