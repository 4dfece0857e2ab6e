#pragma once
// The tuning record of the office: 45 values read from the "params" element
// of cfg\office.xml, and the goal ("normal") and expert money each level
// file sets. Every field is named after its attribute and is 0 until read.
#include "game/core/XmlFunctions.h"

#include <cstdint>

struct LevelParams {
    float patience_g_level = 0;
    float patience_y_level = 0;
    float patience_r_level = 0;
    float patience_critical = 0;
    float scandal_effect = 0;
    float service_timeout = 0;
    float coffeemachine_reload_timeout = 0;
    float air_conditioner_timeout_min = 0;
    float air_conditioner_timeout_max = 0;
    float air_conditioner_effect = 0;
    float stereo_system_effect = 0;
    float ring_timeout = 0;
    float ring_losses_money = 0;
    float conference_reload_timeout = 0;
    float presentation_reload_timeout = 0;
    float presentation_timeout = 0;
    float safe_reload_timeout = 0;
    float cupboatd_reload_timeout = 0;
    float disruption_effect = 0;
    float stamina_g_level = 0;
    float stamina_y_level = 0;
    float stamina_r_level = 0;
    float fear_time_period = 0;
    float events_delay_timeout = 0;
    float bubble_show_time = 0;
    float hover_scale_factor = 0;
    float blink_time = 0;
    float blink_min_alpha = 0;
    float blink_max_alpha = 0;
    float engineer_move_speed = 0;
    float boss_move_speed = 0;
    float boss_move_speed_mod = 0;
    float boss_move_speed_mod_timeout = 0;
    float boss_conference_timeout = 0;
    float boss_interaction_timeout = 0;
    float boss_reproof_effect = 0;
    float worker_money_immortality = 0;
    float worker_conference_immortality = 0;
    float worker_break_intent_timeout = 0;
    float worker_break_duration_timeout = 0;
    float worker_showtime_zzz = 0;
    float worker_alpha_blend_time = 0;
    int32_t normal = 0; // the level's goal money
    int32_t expert = 0; // the level's expert money
    float client_reminder_timeout = 0;
    float client_alpha_blend_time = 0;
    float secretary_move_speed = 0;
};

// The 45 values from the office's "params" child (the goal and expert money
// only come from level files); a missing attribute leaves its value, a
// missing element all of them.
void ReadGameParams(const XmlNode& office, LevelParams& params);
