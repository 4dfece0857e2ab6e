#pragma once
// The parameter values the people's tests name, set in a world's maps.
#include "game/world/OfficeWorld.h"

namespace peopletest {

// The tests' values: patience and stamina levels 60/30/10, client "regular",
// workers "w1" (and the fixture's second skin "w2" alike), the office's
// level values.
inline void SetTestParams(OfficeWorld& world)
{
    LevelParams& level = world.levelParams;
    level.patience_g_level = level.stamina_g_level = 60;
    level.patience_y_level = level.stamina_y_level = 30;
    level.patience_r_level = level.stamina_r_level = 10;
    level.scandal_effect = 10;
    level.disruption_effect = 5;
    level.service_timeout = 20;
    level.ring_timeout = 15;
    level.ring_losses_money = 50;
    level.stereo_system_effect = 0.5f;
    level.air_conditioner_effect = 2;
    level.boss_move_speed = 200;
    level.boss_move_speed_mod = 1.5f;
    level.boss_move_speed_mod_timeout = 10;
    level.boss_conference_timeout = 3;
    level.presentation_timeout = 3;
    level.boss_reproof_effect = 30;
    level.worker_money_immortality = level.worker_conference_immortality = 10;
    level.worker_break_intent_timeout = 5;
    level.worker_break_duration_timeout = 8;
    ClientParams& client = world.clientParams["regular"];
    client.client_patience_speed = 2;
    client.client_decision_timeout = 2;
    client.client_money_g = 100;
    client.client_money_y = 60;
    client.client_money_r = 30;
    client.client_service_effect = 10;
    client.client_losses_money = 50;
    client.client_scandal_level = 20;
    client.client_scandal_timeout = 5;
    client.client_coffee_effect = 25;
    client.client_presentation_effect = 20;
    for (const char* skin : {"w1", "w2"}) {
        WorkerParams& worker = world.workerParams[skin];
        worker.worker_work_time_g = 2;
        worker.worker_work_time_y = 4;
        worker.worker_work_time_r = 8;
        worker.worker_stamina_down_speed = 1;
        worker.worker_stamina_up_speed = 1;
        worker.worker_break_low = 30;
        worker.worker_break_high = 60;
        worker.worker_disruption_start_timeout = 2;
        worker.worker_disruption_timeout = 3;
        worker.worker_conference_effect = 20;
        worker.worker_bonus_effect = 15;
    }
}

} // namespace peopletest
