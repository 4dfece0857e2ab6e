#include "game/world/LevelTimelines.h"

namespace {

TimePoint ReadTimePoint(const XmlNode& node)
{
    TimePoint point;
    XmlGetAttrFloat(node, L"time", point.time);
    XmlGetAttrString(node, L"event", point.event);
    XmlGetAttrString(node, L"window_event", point.window_event);
    XmlGetAttrInt(node, L"vip", point.vip);
    std::vector<XmlNode> orders;
    node.Select(L"orders/order", orders);
    for (const XmlNode& order : orders) {
        std::string name;
        XmlGetAttrString(order, L"name", name);
        point.orders.push_back(name);
    }
    return point;
}

void ReadTimeline(const XmlNode& queue, const wchar_t* path, std::vector<TimePoint>& list)
{
    std::vector<XmlNode> nodes;
    queue.Select(path, nodes);
    for (const XmlNode& node : nodes)
        list.push_back(ReadTimePoint(node));
}

} // namespace

void LevelTimelines::Clear()
{
    clients.clear();
    airConditioner.clear();
    stereoSystem.clear();
    clientsWorking.clear();
    airConditionerWorking.clear();
    stereoSystemWorking.clear();
}

void ReadLevelTimelines(const XmlNode& level, LevelTimelines& timelines)
{
    XmlNode queue = level.SelectSingle(L"events_queue");
    if (!queue)
        return;
    ReadTimeline(queue, L"clients_timeline/time_point", timelines.clients);
    ReadTimeline(queue, L"air_conditioner_timeline/time_point", timelines.airConditioner);
    ReadTimeline(queue, L"stereosystem_timeline/time_point", timelines.stereoSystem);
}
