#pragma once
// The parameters of a worker type (the skin word of the workers that use it), read from a "worker" element of
// cfg\office.xml; every value is 0 until read (idle_stop_frame too is a float
// here).
#include "game/core/XmlFunctions.h"

#include <map>
#include <string>

struct WorkerParams {
    float worker_stamina_up_speed = 0;
    float worker_stamina_down_speed = 0;
    float worker_work_time_g = 0;
    float worker_work_time_y = 0;
    float worker_work_time_r = 0;
    float worker_disruption_timeout = 0;
    float worker_conference_effect = 0;
    float worker_bonus_effect = 0;
    float worker_break_high = 0;
    float worker_break_low = 0;
    float worker_disruption_start_timeout = 0;
    float worker_disruption_period_timeout = 0;
    float worker_done_break_frame = 0;
    float idle_stop_frame = 0;
    float idle_rastart_time_min = 0;
    float idle_rastart_time_max = 0;
};

// One record from the element's attributes, filed under its "name" (empty
// when missing) unless that name already has one.
void ReadWorkerParams(const XmlNode& element, std::map<std::string, WorkerParams>& records);
