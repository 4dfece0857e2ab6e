#pragma once
#include "XmlWriter.h"

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

// The level designer: the office of every career day and survival file,
// the clients of career days 3 to 60 with their orders, and the level files
// written from them.
namespace contentgen {

// An office as a level names it.
struct DayOffice {
    std::set<std::string> objects;                                        // every object named (not the anchor)
    std::map<std::string, std::pair<std::string, std::string>> transforms; // worker -> from, to
    std::string tableSkin = "plain";
};

// One client of a career day's timeline.
struct ClientVisit {
    double time = 0;
    std::string type;
    bool vip = false;
    std::vector<std::string> orders;
    std::string window; // "window_morning", "window_day" or empty
};

// A career day as the designer makes it.
struct DayPlan {
    int level = 0;
    DayOffice office;
    std::vector<ClientVisit> clients;
    double spacing = 0;       // seconds between arrivals, after any widening
    double plannedSpacing = 0; // the progression's spacing
    int goal = 0;
    int expert = 0;
};

// The office of career day 3..60.
DayOffice CareerOffice(int level);
// The office a survival file starts with (month 1..3), and the objects its
// stages and upgrades add later with their transforms.
DayOffice SurvivalStartOffice(int file);
DayOffice SurvivalLaterObjects(int file);
// Every order word the office's workers and shelves can produce.
std::set<std::string> ProducibleOrders(const DayOffice& office);
// The worker look fixed by a worker's name ("worker01a" -> "w3").
std::string WorkerLook(const std::string& worker);

// Career day 3..60: office, clients, spacing widened until the balance
// model finds the day feasible, goals from the balance model.
DayPlan DesignDay(int level);
// cfg\l<level>.xml for 1..60 (days 1 and 2 as the tutorial tables have them).
XmlElement DesignedLevelFile(int level);
// The level's "objects": every object of the office in office order, with
// its skin, animation, transform, stop="true" for those in later, and
// old_skin="none" for those not in the previous office (career days).
void AddDayObjects(const DayOffice& office, const DayOffice* previous, const DayOffice* later, XmlElement& levelRoot);

} // namespace contentgen
