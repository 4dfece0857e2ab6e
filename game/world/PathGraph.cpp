#include "game/world/PathGraph.h"

#include "framework/graphics/Rect.h"

#include <algorithm>
#include <cmath>

namespace {

// The unit step of a direction word; false for another word.
bool UnitStep(const std::string& word, Zelk::Point& step)
{
    static const struct {
        const char* word;
        int x, y;
    } kSteps[] = {{"t", 0, -1}, {"tr", 1, -1}, {"r", 1, 0},  {"br", 1, 1},
                  {"b", 0, 1},  {"bl", -1, 1}, {"l", -1, 0}, {"tl", -1, -1}};
    for (const auto& entry : kSteps)
        if (word == entry.word) {
            step = Zelk::Point{entry.x, entry.y};
            return true;
        }
    return false;
}

float Distance(int32_t ax, int32_t ay, int32_t bx, int32_t by)
{
    const double dx = double(bx) - double(ax);
    const double dy = double(by) - double(ay);
    return float(std::sqrt(dx * dx + dy * dy));
}

} // namespace

void PathGraph::Load(const XmlNode& graph)
{
    Clear();
    mNode = graph;
    std::vector<XmlNode> nodes;
    graph.Select(L"points/point", nodes);
    for (const XmlNode& node : nodes)
        ReadElement(node, true);
    graph.Select(L"edges/edge", nodes);
    for (const XmlNode& node : nodes)
        ReadElement(node, false);
}

void PathGraph::ReadElement(const XmlNode& element, bool isPoint)
{
    mIndexValid = false;
    if (isPoint) {
        PathPoint point;
        XmlGetAttrString(element, L"name", point.name);
        if (point.name.size() > 260)
            point.name.resize(260);
        if (mPoints.count(point.name))
            return;
        XmlGetAttrString(element, L"direction", point.direction);
        XmlGetAttrInt(element, L"x", point.x);
        XmlGetAttrInt(element, L"y", point.y);
        point.element = element;
        mPoints.emplace(point.name, std::move(point));
        return;
    }
    PathEdge edge;
    XmlGetAttrString(element, L"p1", edge.p1);
    XmlGetAttrString(element, L"p2", edge.p2);
    XmlGetAttrInt(element, L"z_order", edge.z_order);
    edge.element = element;
    mEdges.push_back(std::move(edge));
}

void PathGraph::Clear()
{
    mNode = XmlNode();
    mShared = false;
    mPoints.clear();
    mEdges.clear();
    mRoute.clear();
    mIndexValid = false;
}

void PathGraph::CopyFrom(const PathGraph& other)
{
    if (&other == this)
        return;
    Clear();
    mShared = true;
    mNode = other.mNode;
    mPoints = other.mPoints;
    mEdges = other.mEdges;
}

void PathGraph::Merge(const PathGraph& other)
{
    if (!mShared || &other == this)
        return;
    mIndexValid = false;
    for (const auto& entry : other.mPoints)
        mPoints.insert(entry);
    for (const PathEdge& edge : other.mEdges) {
        bool known = false;
        for (const PathEdge& mine : mEdges)
            if ((mine.p1 == edge.p1 && mine.p2 == edge.p2) || (mine.p1 == edge.p2 && mine.p2 == edge.p1)) {
                known = true;
                break;
            }
        if (!known)
            mEdges.push_back(edge);
    }
}

void PathGraph::AddPoint(int32_t x, int32_t y, const std::string& name, const std::string& direction)
{
    mShared = true;
    if (mPoints.count(name))
        return;
    mIndexValid = false;
    PathPoint point;
    point.x = x;
    point.y = y;
    point.name = name;
    point.direction = direction;
    mPoints.emplace(name, std::move(point));
}

bool PathGraph::GetPointPosition(const std::string& name, int32_t& x, int32_t& y) const
{
    const auto found = mPoints.find(name);
    if (found == mPoints.end())
        return false;
    x = found->second.x;
    y = found->second.y;
    return true;
}

void PathGraph::BuildIndex()
{
    mIndexValid = true;
    mIndexPoints.clear();
    std::map<std::string, int> indices;
    for (const auto& entry : mPoints) {
        indices.emplace(entry.first, int(mIndexPoints.size()));
        mIndexPoints.push_back(&entry.second);
    }
    const int count = int(mIndexPoints.size());
    mEdgeEnds.assign(mEdges.size() * 2, -1);
    mWeights.assign(mEdges.size(), 0.0f);
    std::vector<int> degree(size_t(count) + 1, 0);
    for (size_t e = 0; e < mEdges.size(); ++e) {
        const auto a = indices.find(mEdges[e].p1);
        const auto b = indices.find(mEdges[e].p2);
        mEdgeEnds[2 * e] = a == indices.end() ? -1 : a->second;
        mEdgeEnds[2 * e + 1] = b == indices.end() ? -1 : b->second;
        if (mEdgeEnds[2 * e] < 0 || mEdgeEnds[2 * e + 1] < 0)
            continue;
        const PathPoint& p = *mIndexPoints[size_t(mEdgeEnds[2 * e])];
        const PathPoint& q = *mIndexPoints[size_t(mEdgeEnds[2 * e + 1])];
        mWeights[e] = Distance(p.x, p.y, q.x, q.y);
        ++degree[size_t(mEdgeEnds[2 * e])];
        if (mEdgeEnds[2 * e + 1] != mEdgeEnds[2 * e])
            ++degree[size_t(mEdgeEnds[2 * e + 1])];
    }
    // Each point's edges, in list order.
    mAdjacencyStart.assign(size_t(count) + 1, 0);
    for (int i = 0; i < count; ++i)
        mAdjacencyStart[size_t(i) + 1] = mAdjacencyStart[size_t(i)] + degree[size_t(i)];
    mAdjacency.assign(size_t(mAdjacencyStart[size_t(count)]), 0);
    std::vector<int> fill(mAdjacencyStart.begin(), mAdjacencyStart.end() - 1);
    for (size_t e = 0; e < mEdges.size(); ++e) {
        const int a = mEdgeEnds[2 * e];
        const int b = mEdgeEnds[2 * e + 1];
        if (a < 0 || b < 0)
            continue;
        mAdjacency[size_t(fill[size_t(a)]++)] = int(e);
        if (b != a)
            mAdjacency[size_t(fill[size_t(b)]++)] = int(e);
    }
}

void PathGraph::Neighbours(int index, std::vector<int>& reached)
{
    const float d = mDist[size_t(index)];
    for (int k = mAdjacencyStart[size_t(index)]; k < mAdjacencyStart[size_t(index) + 1]; ++k) {
        const int e = mAdjacency[size_t(k)];
        const int a = mEdgeEnds[2 * size_t(e)];
        const int other = a == index ? mEdgeEnds[2 * size_t(e) + 1] : a;
        if (other == mStart)
            continue;
        const float reach = d + mWeights[size_t(e)];
        const float known = mDist[size_t(other)];
        // An equal distance relabels only where the edge adds length: a
        // length lost to nothing could relabel back and forth for ever.
        if (!mLabelled[size_t(other)] || reach < known || (reach == known && reach > d)) {
            mLabelled[size_t(other)] = 1;
            mPred[size_t(other)] = index;
            mDist[size_t(other)] = reach;
            reached.push_back(other);
        }
    }
}

bool PathGraph::FindRoute(const std::string& from, const std::string& to)
{
    mRoute.clear();
    mSegments.clear();
    mStart = -1;
    if (!mIndexValid)
        BuildIndex();
    for (int end : mEdgeEnds)
        if (end < 0)
            return false;
    const auto fromEntry = mPoints.find(from);
    const auto toEntry = mPoints.find(to);
    if (fromEntry == mPoints.end() || toEntry == mPoints.end())
        return false;
    const size_t count = mIndexPoints.size();
    const int start = int(std::distance(mPoints.begin(), fromEntry));
    const int target = int(std::distance(mPoints.begin(), toEntry));
    mStart = start;
    mDist.assign(count, 0.0f);
    mPred.assign(count, -1);
    mLabelled.assign(count, 0);
    mInNext.assign(count, 0);
    mLabelled[size_t(start)] = 1;

    // Rounds over the frontier in name order; a graph whose labels still
    // change after 2 x points + 2 rounds has no sound answer.
    mFrontier.assign(1, start);
    const size_t maxRounds = 2 * count + 2;
    size_t rounds = 0;
    while (!mFrontier.empty()) {
        if (++rounds > maxRounds)
            return false;
        mNext.clear();
        for (int index : mFrontier) {
            mReached.clear();
            Neighbours(index, mReached);
            for (int other : mReached)
                if (!mInNext[size_t(other)]) {
                    mInNext[size_t(other)] = 1;
                    mNext.push_back(other);
                }
        }
        std::sort(mNext.begin(), mNext.end());
        for (int index : mNext)
            mInNext[size_t(index)] = 0;
        mFrontier.swap(mNext);
    }

    // Back from the target to the start; a repeated point ends it unsound.
    for (int index = target;;) {
        if (mInNext[size_t(index)]) {
            mRoute.clear();
            return false;
        }
        mInNext[size_t(index)] = 1;
        if (index == start) {
            mRoute.push_back(index);
            break;
        }
        if (!mLabelled[size_t(index)])
            break;
        mRoute.push_back(index);
        index = mPred[size_t(index)];
    }
    if (mRoute.size() < 2 || mRoute.back() != start) {
        mRoute.clear();
        return false;
    }
    for (size_t k = mRoute.size() - 1; k > 0; --k) {
        const PathPoint& a = *mIndexPoints[size_t(mRoute[k])];
        const PathPoint& b = *mIndexPoints[size_t(mRoute[k - 1])];
        PathSegment segment;
        segment.ax = a.x;
        segment.bx = b.x;
        segment.ay = a.y;
        segment.by = b.y;
        segment.length = Distance(a.x, a.y, b.x, b.y);
        segment.direction = b.direction;
        mSegments.push_back(std::move(segment));
    }
    mRoute.clear();
    return true;
}

bool PathGraph::PositionAlongRoute(float elapsed, float speed, Zelk::Point& position, Zelk::Point& direction) const
{
    if (mSegments.empty())
        return false;
    // A speed that is not above 0 (or not a number) would never arrive.
    if (speed > 0) {
        double d = double(elapsed * speed);
        for (const PathSegment& segment : mSegments) {
            if (segment.length == 0)
                continue;
            if (d <= segment.length) {
                const double t = d / segment.length;
                const double dx = double(segment.bx) - double(segment.ax);
                const double dy = double(segment.by) - double(segment.ay);
                position = Zelk::Point{Zelk::TruncToInt(double(segment.ax) + double(Zelk::TruncToInt(dx * t))),
                                       Zelk::TruncToInt(double(segment.ay) + double(Zelk::TruncToInt(dy * t)))};
                direction = Zelk::Point{Zelk::TruncToInt(dx), Zelk::TruncToInt(dy)};
                return true;
            }
            d -= segment.length;
        }
    }
    const PathSegment& last = mSegments.back();
    position = Zelk::Point{last.bx, last.by};
    Zelk::Point step;
    if (!last.direction.empty() && UnitStep(last.direction, step))
        direction = step;
    return false;
}
