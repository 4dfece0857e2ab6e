#pragma once
// A walk graph: named points joined by edges, read from "graphs/graph"
// elements ("points/point" {name, direction, x, y}, "edges/edge" {p1, p2,
// z_order}). A route is the shortest chain of edges by straight-line length
// between two points; a walk's position along it follows from the time and
// the speed.
//
// The route search relaxes in rounds over a frontier kept in name order,
// edges in list order, accepting an equal distance too, so that of two
// equally long routes the later relaxation decides. An equal distance
// relabels only where the edge adds length, and the rounds are bounded, so
// edges of length 0 and self-loops end. The start is a flag of its own:
// points named "self" or "" are ordinary points.
#include "framework/graphics/Point.h"
#include "game/core/XmlFunctions.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct PathPoint {
    int32_t x = 0;
    int32_t y = 0;
    std::string name;
    std::string direction;
    XmlNode element;
};

struct PathEdge {
    std::string p1;
    std::string p2;
    int32_t z_order = 0; // kept with the edge, never used
    XmlNode element;
    float weight = 0;
};

// One leg of a route: from (ax, ay) to (bx, by), facing the end point's
// direction word on arrival.
struct PathSegment {
    int32_t ax = 0;
    int32_t bx = 0;
    int32_t ay = 0;
    int32_t by = 0;
    float length = 0;
    std::string direction;
};

class PathGraph {
public:
    PathGraph() = default;
    // Its search index points into its own points: copy with CopyFrom.
    PathGraph(const PathGraph&) = delete;
    PathGraph& operator=(const PathGraph&) = delete;

    // Cleared, then every "points/point" and "edges/edge" below the graph
    // element, in document order.
    void Load(const XmlNode& graph);
    // A point whose name the graph has is ignored; an edge is always
    // appended.
    void ReadElement(const XmlNode& element, bool isPoint);
    void Clear();
    // The other graph's node, points and edges; this graph becomes shared.
    void CopyFrom(const PathGraph& other);
    // The other graph's points of new names; its edges unless an edge joins
    // the same two names in either order.
    void Merge(const PathGraph& other);
    // An approach point, unless the name exists; the graph becomes shared.
    void AddPoint(int32_t x, int32_t y, const std::string& name, const std::string& direction);
    bool HasPoint(const std::string& name) const { return mPoints.count(name) != 0; }
    bool GetPointPosition(const std::string& name, int32_t& x, int32_t& y) const;
    // The shortest route; false when a point is missing, an edge names no
    // point, the target is the start or cannot be reached. On success the
    // segments hold the route in walking order.
    bool FindRoute(const std::string& from, const std::string& to);
    // The position elapsed x speed along the route and the direction of its
    // segment; true while the route goes on. Past its end: the end point, the
    // unit step of the last direction word (other words leave direction as
    // it was), false. A speed that is not above 0 ends the route at once.
    bool PositionAlongRoute(float elapsed, float speed, Zelk::Point& position, Zelk::Point& direction) const;

    const std::map<std::string, PathPoint>& GetPoints() const { return mPoints; }
    const std::vector<PathEdge>& GetEdges() const { return mEdges; }
    const std::vector<PathSegment>& GetSegments() const { return mSegments; }
    bool IsShared() const { return mShared; }

private:
    // Point indices in name order and, per point, its edges in list order.
    void BuildIndex();
    // The points reached from the point at index, relabelled.
    void Neighbours(int index, std::vector<int>& reached);

    std::map<std::string, PathPoint> mPoints;
    std::vector<PathEdge> mEdges;
    std::vector<PathSegment> mSegments;
    XmlNode mNode;
    bool mShared = false;

    // The search's working state, kept between searches.
    bool mIndexValid = false;
    std::vector<const PathPoint*> mIndexPoints;
    std::vector<int> mEdgeEnds; // two per edge, -1 for a missing point
    std::vector<int> mAdjacencyStart;
    std::vector<int> mAdjacency; // edge indices
    std::vector<float> mWeights;
    std::vector<float> mDist;
    std::vector<int> mPred;
    std::vector<uint8_t> mLabelled;
    std::vector<uint8_t> mInNext;
    std::vector<int> mFrontier;
    std::vector<int> mNext;
    std::vector<int> mReached;
    std::vector<int> mRoute; // target first, start last
    int mStart = -1;
};
