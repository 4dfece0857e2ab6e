#pragma once
#include "XmlWriter.h"

#include <cstdint>
#include <map>
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

// The lengths in pixels of the boss's shortest walks from one point of the
// walk graph over the named objects to every point he can reach (an
// object's name stands for its approach point, "boss_home" for his home).
std::map<std::string, double> BossRoutes(const std::set<std::string>& names, const std::string& from);
// A level's "graphs": for a day with row-b desks, the boss graph's points
// and edges that reach them (an office edge among them repeated reversed);
// nothing for another day.
void AddLevelGraphs(const std::set<std::string>& dayNames, XmlElement& levelRoot);

// One animation of a part's file, in each of the table's skins and
// orientations: its record is named part + skin + orientation + name, the
// text the part asks its player for.
struct PartClip {
    std::string name;
    int32_t mode;  // 0 cycle, 1 once
    int32_t fps;   // 0: a still
    int frames;
    // The orientations this clip is drawn in, when not all of the table's.
    std::vector<std::string> orientations = {};
};

// A part's animation file anm\<part>.anm: every clip in every skin and
// orientation, frames of width x height placed at (offsetX, offsetY) from the
// part's position.
struct PartAnimationTable {
    std::string part;
    std::vector<std::string> skins;
    std::vector<std::string> orientations;
    int width;
    int height;
    int offsetX;
    int offsetY;
    std::vector<PartClip> clips;
};

// The animation tables of the parts of the named objects, one per part name,
// in office order. Parts that play no animation (anchor, table_smoke and the
// text parts cash and bonus) have none.
std::vector<PartAnimationTable> PartAnimationTables(const std::set<std::string>& names);

// Where a part of an object with a fixed place draws: the top left of its
// frames' canvas on the 800 x 600 screen, and the depth it sorts at (the y
// of its base line, or of the ground part it is parented to, plus a little).
struct PartPlacement {
    std::string object;
    std::string part;
    int x;
    int y;
    double depth;
};

// The placed parts of the named objects, back to front. People who walk,
// carried items, meters, bubbles, checkmarks and popups place themselves
// at run time and are left out.
std::vector<PartPlacement> PartPlacements(const std::set<std::string>& names);
// The animation table of a part; null when it plays none.
const PartAnimationTable* FindPartAnimationTable(const std::string& part);

// A level's "objects" and "events_queue" (days 1 to 3; later days keep
// only their params until their offices are modelled).
void AddLevelOffice(int level, XmlElement& levelRoot);
// A level's "objects" alone: day 2's office for level 2, else day 1's.
void AddLevelObjects(int level, XmlElement& levelRoot);
// The objects a level's "objects" name: day 2's office for level 2, else
// day 1's (the anchor, which levels leave out, included).
std::set<std::string> LevelObjects(int level);

} // namespace contentgen
