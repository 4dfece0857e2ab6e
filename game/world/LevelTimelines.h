#pragma once
// The timed events of a level file: when clients come (with their orders)
// and when the air conditioner and the stereo system break, and the working
// lists the office screen fills from them while the day runs.
#include "game/core/XmlFunctions.h"

#include <cstdint>
#include <string>
#include <vector>

struct TimePoint {
    float time = 0;           // seconds of day time
    std::string event;        // a client type, or the event's word
    std::string window_event; // "window_morning", "window_day" or empty
    int32_t vip = 0;
    std::vector<std::string> orders; // in element order
};

struct LevelTimelines {
    std::vector<TimePoint> clients;
    std::vector<TimePoint> airConditioner;
    std::vector<TimePoint> stereoSystem;
    // Filled by the office screen from the three lists above.
    std::vector<TimePoint> clientsWorking;
    std::vector<TimePoint> airConditionerWorking;
    std::vector<TimePoint> stereoSystemWorking;

    // Empties all six lists.
    void Clear();
};

// Appends the time points of the level root's "events_queue" (clients, air
// conditioner and stereo system timelines) in document order; nothing without
// one.
void ReadLevelTimelines(const XmlNode& level, LevelTimelines& timelines);
