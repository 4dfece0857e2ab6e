#pragma once
#include "XmlWriter.h"

#include <vector>

// The survival files cfg\endless1.xml to cfg\endless3.xml: each over the
// office of a career month, its stages by money with their client types,
// the objects the stages add, the two lists of upgrade options and the order
// templates.
namespace contentgen {

// cfg\endless<file>.xml for file 1..3.
XmlElement SurvivalLevelFile(int file);

// A client type of a survival stage: its spawn times, spawn weight, extended
// and multi-order chances and its order template.
struct SurvivalClient {
    const char* name;
    bool vip;
    double min, max, spawn, extended, multi;
    const char* orders;
};

// Appends a stage to a level's "stages" list: its money, the upgrades it
// offers, its window event (none when null) and its client types.
XmlElement& AddSurvivalStage(XmlElement& stages, int money, bool add, bool skin, const char* window,
                             const std::vector<SurvivalClient>& clients);

} // namespace contentgen
