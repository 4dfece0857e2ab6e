#pragma once
#include "TextTable.h"
#include "XmlWriter.h"
#include "assets/Assets.h"

#include <vector>

// The configuration files besides cfg\ui.xml and cfg\effect.xml: the
// resource manifest, the texts, the office description and the levels.
namespace contentgen {

// properties\resources.xml with the group "Init".
XmlElement BuildManifest();
// cfg\loc.xml: every text of the table.
XmlElement BuildLocFile(const TextTable& texts);
// cfg\office.xml: music and sounds from the sound table, the tuning
// parameters, client and worker types, walkers, the system and bonus
// settings. objects and graphs are appended by the office model.
XmlElement BuildOfficeFile(const std::vector<SoundEntry>& sounds);
// cfg\l<level>.xml for a career level 1..60.
XmlElement BuildLevelFile(int level);
// cfg\endless<level>.xml for a survival level 1..3 over day 1's office.
XmlElement BuildSurvivalFile(int level);
// The 27 sound names the game plays and the two music names.
const std::vector<std::string>& SoundNamesPlayed();
const std::vector<std::string>& MusicNamesPlayed();
// A number of the office file's tables: a tuning parameter, or a client
// type's or worker look's attribute; 0 for a name the tables lack.
double OfficeParam(const std::string& name);
double ClientTypeValue(const std::string& type, const std::string& attribute);
double WorkerLookValue(const std::string& look, const std::string& attribute);
// Goal and expert money of a career level.
int LevelGoal(int level);
int LevelExpert(int level);

} // namespace contentgen
