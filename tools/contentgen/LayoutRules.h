#pragma once
#include "MediaRules.h"
#include "Validator.h"

#include "platform/xml/XmlDocument.h"

#include <functional>
#include <string>
#include <vector>

namespace contentgen {

// The decoded picture of a registry texture id, or null.
using TexturePicture = std::function<const DecodedPicture*(const std::string& id)>;

// The panel rule of cfg\ui.xml: in a dialog drawn on a panel picture
// (texture "panel_<name>"), every child lies inside the panel's inner area,
// its rim excluded, and no text other than the title crosses the rule under
// the title band. The panel is where its picture is opaque.
void CheckPanelLayouts(const plat::XmlNode& ui, const TexturePicture& picture, std::vector<Finding>& findings);

} // namespace contentgen
