// Any bytes as an XML document (UTF-16LE after its mark, read through the
// archive layer), taken as both the office and the level: every walker's
// office graph, the approach points of its "objects/object" elements and its
// level graph load; then a route between every pair of the merged graph's
// first 32 points is searched and walked to its end.
#include "fuzz/world/WorldFuzz.h"
#include "game/world/OfficeDefinitions.h"
#include "game/world/PathGraphSet.h"
#include "game/world/SceneObject.h"
#include "game/world/SceneObjectList.h"

#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    worldfuzz::World& w = worldfuzz::TheWorld();
    fuzzsupport::Serve("cfg\\graph.xml", data, size);
    XmlDocument document;
    XmlLoadFile("cfg\\graph.xml", document);
    const XmlNode root = document.Node().SelectSingle(L"*");

    // Objects that only carry approach points.
    std::vector<XmlNode> elements;
    root.Select(L"objects/object", elements);
    for (const XmlNode& element : elements) {
        SceneObject* object = new SceneObject;
        LoadApproachPoints(object, element);
        object->Load(element);
    }

    for (auto& entry : w.world.walkGraphs) {
        PathGraphSet& set = *entry.second;
        set.LoadOfficeGraph(root);
        set.AddObjectPoints(entry.first);
        set.LoadLevelGraph(root);
        std::vector<std::string> names;
        for (const auto& point : set.GetMergedGraph().GetPoints()) {
            if (names.size() == 32)
                break;
            names.push_back(point.first);
        }
        for (const std::string& from : names)
            for (const std::string& to : names) {
                if (!set.SetCurrentPoint(from))
                    std::abort();
                if (!set.FindPath(to, 250.0f))
                    continue;
                if (set.GetMergedGraph().GetSegments().empty())
                    std::abort();
                Zelk::Point position, direction;
                int steps = 0;
                while (steps < 20 && set.Advance(0.01f, position, direction))
                    ++steps;
                // However far, the walk ends at the target.
                if (set.Advance(1e30f, position, direction))
                    std::abort();
                Zelk::Point end;
                set.GetPointPosition(to, end);
                if (position.mX != end.mX || position.mY != end.mY)
                    std::abort();
            }
        set.ClearLevel();
        set.Clear();
    }
    DeleteAllObjects();
    // The approach graphs are never cleared within a world; a new input
    // starts from new sets.
    for (auto& entry : w.world.walkGraphs)
        entry.second = std::make_unique<PathGraphSet>(entry.first);
    return 0;
}
