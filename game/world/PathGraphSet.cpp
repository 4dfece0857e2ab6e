#include "game/world/PathGraphSet.h"

#include "game/world/OfficeWorld.h"
#include "game/world/SceneObject.h"

void PathGraphSet::LoadNamedGraph(const XmlNode& root, PathGraph& graph) const
{
    std::vector<XmlNode> graphs;
    root.Select(L"graphs/graph", graphs);
    for (const XmlNode& element : graphs) {
        std::string name;
        XmlGetAttrString(element, L"name", name);
        if (name == mWalkerName)
            graph.Load(element);
    }
}

void PathGraphSet::LoadOfficeGraph(const XmlNode& office) { LoadNamedGraph(office, mOffice); }

void PathGraphSet::AddObjectPoints(const std::string& walkerName)
{
    // Never cleared: a later call adds only new names.
    for (SceneObject* object : GetOfficeWorld().sceneObjects) {
        Zelk::Point point;
        std::string direction;
        if (object->GetApproachPoint(walkerName, point, direction))
            mApproach.AddPoint(point.mX, point.mY, object->GetName(), direction);
    }
}

void PathGraphSet::LoadLevelGraph(const XmlNode& level)
{
    LoadNamedGraph(level, mLevel);
    mMerged.CopyFrom(mOffice);
    mMerged.Merge(mLevel);
    mMerged.Merge(mApproach);
}

void PathGraphSet::ClearLevel()
{
    mMerged.Clear();
    mLevel.Clear();
    mCurrentPoint.clear();
}

void PathGraphSet::Clear()
{
    mMerged.Clear();
    mOffice.Clear();
    mCurrentPoint.clear();
}

bool PathGraphSet::SetCurrentPoint(const std::string& name)
{
    if (!mMerged.HasPoint(name))
        return false;
    mCurrentPoint = name;
    return true;
}

bool PathGraphSet::FindPath(const std::string& target, float speed)
{
    if (!mMerged.HasPoint(target) || !mMerged.FindRoute(mCurrentPoint, target))
        return false;
    mSpeed = speed;
    mElapsed = 0;
    return true;
}

bool PathGraphSet::Advance(float dt, Zelk::Point& position, Zelk::Point& direction)
{
    mElapsed += dt;
    return mMerged.PositionAlongRoute(mElapsed, mSpeed, position, direction);
}

bool PathGraphSet::GetPointPosition(const std::string& name, Zelk::Point& position) const
{
    int32_t x = 0, y = 0;
    if (!mMerged.GetPointPosition(name, x, y))
        return false;
    position = Zelk::Point{x, y};
    return true;
}
