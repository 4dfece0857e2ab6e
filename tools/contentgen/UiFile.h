#pragma once
#include "DataSet.h"
#include "XmlWriter.h"

#include <set>
#include <string>

namespace contentgen {

// The names of the sixteen top-level layouts of cfg\ui.xml.
const std::vector<std::string>& LayoutNames();

// cfg\ui.xml: texture, font and cursor registries and every layout; the
// panels and atlas pages it draws go into data. labels receives every loc
// id the layouts name.
XmlElement BuildUiFile(DataSet& data, std::set<std::string>& labels);

// The texture registry entries whose pictures come from the art kit:
// id -> file (with or without extension, as the file names it).
const std::vector<std::pair<std::string, std::string>>& FixedTextures();

} // namespace contentgen
