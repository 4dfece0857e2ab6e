#pragma once
#include "XmlWriter.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

// The office model: the one source of the office's objects, their parts
// and base lines, the walk graphs, z_order.dat and the hint placement.
// Stage one models the objects of the first two career days.
namespace contentgen {

// The objects the model knows, in office.xml order.
const std::vector<std::string>& ModelObjects();
// The objects career day 1 uses (the fixture office).
std::vector<std::string> DayOneObjects();

// office.xml "object" elements for the named objects, in office order.
void AddOfficeObjects(const std::set<std::string>& names, XmlElement& objects);
// The three walk graphs over the office aisles with the stubs of the named
// objects.
void AddOfficeGraphs(const std::set<std::string>& names, XmlElement& graphs);
// z_order.dat for the named objects: id 1, then every part with a base
// line as "object:part" in 260-byte records, in office order.
std::vector<uint8_t> ZOrderFile(const std::set<std::string>& names);

// A level's "objects" and "events_queue" (days 1 and 2; later days keep
// only their params until their offices are modelled).
void AddLevelOffice(int level, XmlElement& levelRoot);

} // namespace contentgen
