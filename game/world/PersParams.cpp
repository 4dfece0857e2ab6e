#include "game/world/PersParams.h"

#include <vector>

void ReadPersParams(const XmlNode& element, std::map<std::string, PersParams>& records)
{
    PersParams record;
    XmlGetAttrString(element, L"name", record.name);
    XmlGetAttrFloat(element, L"idle_rastart_time_min", record.idle_rastart_time_min);
    XmlGetAttrFloat(element, L"idle_rastart_time_max", record.idle_rastart_time_max);
    XmlGetAttrInt(element, L"idle_stop_frame", record.idle_stop_frame);
    std::vector<XmlNode> nodes;
    element.Select(L"orientations", nodes);
    for (const XmlNode& node : nodes) {
        PersOrientation orientation;
        XmlGetAttrString(node, L"orientation", orientation.orientation);
        XmlGetAttrString(node, L"actual_orientation", orientation.actual_orientation);
        XmlGetAttrInt(node, L"ofs_x", orientation.ofs_x);
        XmlGetAttrInt(node, L"ofs_y", orientation.ofs_y);
        record.orientations.emplace(orientation.orientation, orientation);
    }
    std::string name = record.name;
    records.emplace(name, std::move(record));
}
