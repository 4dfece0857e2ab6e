#include "game/world/WorkerParams.h"

#include "game/world/FloatAttributes.h"

namespace {

const FloatAttribute<WorkerParams> kFields[] = {
    {L"worker_stamina_up_speed", &WorkerParams::worker_stamina_up_speed},
    {L"worker_stamina_down_speed", &WorkerParams::worker_stamina_down_speed},
    {L"worker_work_time_g", &WorkerParams::worker_work_time_g},
    {L"worker_work_time_y", &WorkerParams::worker_work_time_y},
    {L"worker_work_time_r", &WorkerParams::worker_work_time_r},
    {L"worker_disruption_timeout", &WorkerParams::worker_disruption_timeout},
    {L"worker_conference_effect", &WorkerParams::worker_conference_effect},
    {L"worker_bonus_effect", &WorkerParams::worker_bonus_effect},
    {L"worker_break_high", &WorkerParams::worker_break_high},
    {L"worker_break_low", &WorkerParams::worker_break_low},
    {L"worker_disruption_start_timeout", &WorkerParams::worker_disruption_start_timeout},
    {L"worker_disruption_period_timeout", &WorkerParams::worker_disruption_period_timeout},
    {L"worker_done_break_frame", &WorkerParams::worker_done_break_frame},
    {L"idle_stop_frame", &WorkerParams::idle_stop_frame},
    {L"idle_rastart_time_min", &WorkerParams::idle_rastart_time_min},
    {L"idle_rastart_time_max", &WorkerParams::idle_rastart_time_max},
};

} // namespace

void ReadWorkerParams(const XmlNode& element, std::map<std::string, WorkerParams>& records)
{
    ReadNamedFloatRecord(element, kFields, records);
}
