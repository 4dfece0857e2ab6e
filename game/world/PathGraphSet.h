#pragma once
// One walker's walk graphs: the office graph of cfg\office.xml, the level
// graph of the level file, the approach points in front of the scene
// objects, and the merged graph (office, then level, then approach points;
// a name met first keeps its place) in which its walks are searched. A walk
// keeps its speed and the seconds since it started.
#include "framework/graphics/Point.h"
#include "game/world/PathGraph.h"

#include <string>

class PathGraphSet {
public:
    explicit PathGraphSet(const std::string& walkerName) : mWalkerName(walkerName) {}

    // The office's "graphs/graph" of this walker's name (the last one read).
    void LoadOfficeGraph(const XmlNode& office);
    // Every scene object's approach point for the walker, under the
    // object's name; names already there keep theirs.
    void AddObjectPoints(const std::string& walkerName);
    // The level's graph of this walker, then the merged graph.
    void LoadLevelGraph(const XmlNode& level);
    void ClearLevel();
    void Clear();
    // True when the merged graph has the point.
    bool SetCurrentPoint(const std::string& name);
    // A route from the current point to the target: the walk starts with
    // that speed.
    bool FindPath(const std::string& target, float speed);
    // The walk dt seconds further; true while it goes on.
    bool Advance(float dt, Zelk::Point& position, Zelk::Point& direction);
    bool GetPointPosition(const std::string& name, Zelk::Point& position) const;

    const std::string& GetWalkerName() const { return mWalkerName; }
    const std::string& GetCurrentPoint() const { return mCurrentPoint; }
    PathGraph& GetOfficeGraph() { return mOffice; }
    PathGraph& GetLevelGraph() { return mLevel; }
    PathGraph& GetMergedGraph() { return mMerged; }
    PathGraph& GetApproachGraph() { return mApproach; }
    float GetSpeed() const { return mSpeed; }
    float GetElapsed() const { return mElapsed; }

private:
    // The last "graphs/graph" below root named after the walker into graph.
    void LoadNamedGraph(const XmlNode& root, PathGraph& graph) const;

    std::string mWalkerName;
    std::string mCurrentPoint;
    PathGraph mOffice;
    PathGraph mLevel;
    PathGraph mMerged;
    PathGraph mApproach;
    float mSpeed = 0;
    float mElapsed = 0;
};
