#pragma once
// What the walk tests share: the world tests' fixture, objects of any kind
// made from object elements as the office loader makes them, walk graphs
// from text, and the trace lines the game writes.
#include "game/core/DebugTrace.h"
#include "game/world/ObjectPart.h"
#include "game/world/OfficeDefinitions.h"
#include "game/world/PathGraphSet.h"
#include "game/world/SceneObject.h"
#include "tests/game/world/WorldFixture.h"

#include <string>
#include <vector>

namespace walktest {

inline std::vector<std::string>& TraceLines()
{
    static std::vector<std::string> lines;
    return lines;
}

inline void RecordTrace(const std::string& line) { TraceLines().push_back(line); }

// A point "name x y [direction]" and an edge "p1 p2" of a graph element.
struct GraphPoint {
    std::string name;
    int x;
    int y;
    std::string direction;
};

inline std::string GraphXml(const std::string& walker, const std::vector<GraphPoint>& points,
                            const std::vector<std::pair<std::string, std::string>>& edges)
{
    std::string text = "<graph name='" + walker + "'><points>";
    for (const GraphPoint& p : points)
        text += "<point name='" + p.name + "' x='" + std::to_string(p.x) + "' y='" + std::to_string(p.y) + "'" +
                (p.direction.empty() ? "" : " direction='" + p.direction + "'") + "/>";
    text += "</points><edges>";
    for (const auto& e : edges)
        text += "<edge p1='" + e.first + "' p2='" + e.second + "' z_order='0'/>";
    return text + "</edges></graph>";
}

class WalkTest : public worldtest::WorldTest {
protected:
    void SetUp() override
    {
        worldtest::WorldTest::SetUp();
        TraceLines().clear();
        SetDebugTraceHook(RecordTrace);
    }
    void TearDown() override
    {
        SetDebugTraceHook(nullptr);
        worldtest::WorldTest::TearDown();
    }

    // An object of the given kind from an object element: parts, approach
    // points, then its attributes (as the office loader does).
    template <class Kind>
    Kind* Build(const std::string& xml)
    {
        const XmlNode element = Parse(xml);
        Kind* object = new Kind;
        LoadObjectParts(object, element);
        LoadApproachPoints(object, element);
        object->Load(element);
        return object;
    }
    // The walker's graph: the office graph from text, the objects' approach
    // points, an empty level.
    PathGraphSet& LoadWalkGraph(const std::string& walker, const std::string& graphXml)
    {
        PathGraphSet& set = *world.walkGraphs.at(walker);
        set.LoadOfficeGraph(Parse("<office><graphs>" + graphXml + "</graphs></office>"));
        set.AddObjectPoints(walker);
        set.LoadLevelGraph(Parse("<level/>"));
        return set;
    }
    static void Show(SceneObject* object)
    {
        object->SetVisibleFlag(true);
        object->SetActive(true);
    }
};

} // namespace walktest
