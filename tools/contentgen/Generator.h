#pragma once
#include "DataSet.h"
#include "TextTable.h"

#include <string>

namespace contentgen {

// The groups a data set is built in; --only names one of them.
// "config" (manifest, texts, effects, office, levels), "ui" (ui.xml with
// its panels and atlases), "pictures", "fonts", "sounds".
const std::vector<std::string>& GroupNames();

struct GenerateOptions {
    std::string only;  // one group, or empty for all
    int threads = 1;   // groups built at once; the bytes do not depend on it
    bool report = false;  // print each group's time to stdout
};

// Builds the whole data set (the files of the data root) from the tables.
// False with a message naming the file for a failure.
bool GenerateDataSet(const TextTable& texts, const GenerateOptions& options, DataSet& data, std::string& error);

// The fixture office: day 1's objects, their office.xml records, graphs,
// z_order.dat, l1.xml, their parts' animation files on plain-colour pictures
// (one colour a frame), plain-colour pictures and a ui.xml with the HUD and
// its hints and the briefing; the on-disk files are part of the set (z_order.dat).
bool GenerateFixtureOffice(const TextTable& texts, DataSet& data, std::string& error);

// The texts the tool writes: the table in the source tree.
bool LoadTexts(TextTable& texts, std::string& error);

} // namespace contentgen
