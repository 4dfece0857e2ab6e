#pragma once
#include "DataSet.h"

#include <string>
#include <vector>

namespace contentgen {

// One broken rule: the file, the id or name of what breaks it, and why.
struct Finding {
    std::string file;
    std::string id;
    std::string message;
    std::string Text() const { return file + ": " + id + ": " + message; }
};

// The 49 function names effects may bind.
const std::vector<std::string>& ExportedCallbackNames();

// Reads a game folder as the game sees it: loc.pak, data.pak and mod.pak
// (a later archive's entry replacing an earlier one), then loose files
// below the folder's data folders, which are used when no archive has them.
// Paths become lower-case data paths with "\". False with a message for an
// archive that cannot be read.
bool ReadGameFolder(const std::string& folder, DataSet& data, std::string& error);

// Checks a data set against the rules every data file obeys: encodings,
// attribute forms, cross references and the shapes the game's code relies
// on. full: the set is a whole game folder, so every name the code forms
// must be present (false for the fixture office).
std::vector<Finding> Validate(const DataSet& data, bool full);

} // namespace contentgen
