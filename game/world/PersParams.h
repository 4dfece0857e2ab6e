#pragma once
// The parameters of a walker (boss, secretary, engineer), read from a "pers"
// element of cfg\office.xml.
#include "game/core/XmlFunctions.h"

#include <cstdint>
#include <map>
#include <string>

// How a walker stands in one orientation: the word its animations use
// instead, and an offset.
struct PersOrientation {
    std::string orientation;
    std::string actual_orientation;
    int32_t ofs_x = 0;
    int32_t ofs_y = 0;
};

struct PersParams {
    std::string name;
    int32_t idle_stop_frame = 0;
    float idle_rastart_time_min = 0;
    float idle_rastart_time_max = 0;
    // By orientation word; a word given twice keeps its first record.
    std::map<std::string, PersOrientation> orientations;
};

// One record filed under its "name" (empty when missing) unless that name
// already has one; every "orientations" child gives one orientation.
void ReadPersParams(const XmlNode& element, std::map<std::string, PersParams>& records);
