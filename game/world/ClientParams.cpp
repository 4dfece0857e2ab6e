#include "game/world/ClientParams.h"

#include "game/world/FloatAttributes.h"

namespace {

const FloatAttribute<ClientParams> kFields[] = {
    {L"client_patience_speed", &ClientParams::client_patience_speed},
    {L"client_decision_timeout", &ClientParams::client_decision_timeout},
    {L"client_presentation_effect", &ClientParams::client_presentation_effect},
    {L"client_money_g", &ClientParams::client_money_g},
    {L"client_money_y", &ClientParams::client_money_y},
    {L"client_money_r", &ClientParams::client_money_r},
    {L"client_service_effect", &ClientParams::client_service_effect},
    {L"client_losses_money", &ClientParams::client_losses_money},
    {L"client_scandal_level", &ClientParams::client_scandal_level},
    {L"client_scandal_timeout", &ClientParams::client_scandal_timeout},
    {L"client_coffee_effect", &ClientParams::client_coffee_effect},
    {L"idle_stop_frame", &ClientParams::idle_stop_frame},
    {L"idle_rastart_time_min", &ClientParams::idle_rastart_time_min},
    {L"idle_rastart_time_max", &ClientParams::idle_rastart_time_max},
};

} // namespace

void ReadClientParams(const XmlNode& element, std::map<std::string, ClientParams>& records)
{
    ReadNamedFloatRecord(element, kFields, records);
}
