#pragma once
// The parameters of a client type, read from a "client" element of
// cfg\office.xml; every value is 0 until read (idle_stop_frame too is a float
// here).
#include "game/core/XmlFunctions.h"

#include <map>
#include <string>

struct ClientParams {
    float client_patience_speed = 0;
    float client_decision_timeout = 0;
    float client_presentation_effect = 0;
    float client_money_g = 0;
    float client_money_y = 0;
    float client_money_r = 0;
    float client_service_effect = 0;
    float client_losses_money = 0;
    float client_scandal_level = 0;
    float client_scandal_timeout = 0;
    float client_coffee_effect = 0;
    float idle_stop_frame = 0;
    float idle_rastart_time_min = 0;
    float idle_rastart_time_max = 0;
};

// One record from the element's attributes, filed under its "name" (empty
// when missing) unless that name already has one.
void ReadClientParams(const XmlNode& element, std::map<std::string, ClientParams>& records);
