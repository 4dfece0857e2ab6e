#include "game/world/ZOrderManager.h"

#include "framework/graphics/Rect.h"
#include "game/core/DebugTrace.h"
#include "game/world/ObjectPart.h"

#include <algorithm>
#include <cstdio>

namespace {

bool OnScreen(const ObjectPart::BasePoint& point)
{
    return point.x >= 0 && point.x < ZOrderManager::kWidth && point.y >= 0 && point.y < ZOrderManager::kHeight;
}

// The row of the line from a to b at column x (a.x <= x < b.x), as the
// rasteriser takes it.
int LineRow(const ObjectPart::BasePoint& a, const ObjectPart::BasePoint& b, int64_t x)
{
    const float slope = float(int64_t(b.y) - a.y) / float(int64_t(b.x) - a.x);
    return Zelk::TruncToInt(double(float(x - a.x) * slope + float(a.y)));
}

} // namespace

ZOrderManager::ZOrderManager() { mOrder.reserve(512); }

ZOrderManager::~ZOrderManager() = default;

void ZOrderManager::Reset()
{
    mOrder.clear();
    mDrawList.clear();
    mAttachments.clear();
    mDrawnWalkers.clear();
    mFloating.clear();
    mWalkers.clear();
    std::fill(mGrid.begin(), mGrid.end(), Cell());
    mGround.clear();
    mNodes.clear();
}

void ZOrderManager::RegisterPart(ObjectPart* part, bool walker)
{
    if (!part)
        return;
    if (walker) {
        mWalkers.push_back(part);
        return;
    }
    const ObjectPart::BasePoint* base = part->GetBaseLine();
    if (!OnScreen(base[0]) || !OnScreen(base[1]) || !OnScreen(base[2]))
        return;
    if (!part->GetParentZ().empty())
        if (ObjectPart* parent = part->GetParentZPart()) {
            NodeOf(parent).children.push_back(part);
            NodeOf(part);
            return;
        }
    mGround.push_back(part);
    NodeOf(part);
    Rasterise(part);
}

void ZOrderManager::Rasterise(ObjectPart* part)
{
    if (mGrid.empty())
        mGrid.assign(size_t(kWidth) * kHeight, Cell());
    ObjectPart::BasePoint points[3];
    std::copy(part->GetBaseLine(), part->GetBaseLine() + 3, points);
    std::stable_sort(points, points + 3, [](const ObjectPart::BasePoint& a, const ObjectPart::BasePoint& b) {
        return a.x < b.x;
    });
    for (int k = 0; k < 2; ++k) {
        const ObjectPart::BasePoint& a = points[k];
        const ObjectPart::BasePoint& b = points[k + 1];
        for (int x = a.x; x < b.x; ++x) {
            const int row = LineRow(a, b, x);
            if (row < 0 || row >= kHeight)
                continue;
            for (int y = row; y < kHeight; ++y) {
                Cell& cell = mGrid[size_t(y) * kWidth + size_t(x)];
                const int32_t depth = y - row + 1;
                if (cell.depth != 0 && depth >= cell.depth)
                    break;
                cell.depth = depth;
                cell.owner = part;
            }
        }
    }
}

void ZOrderManager::AddFloatingPart(ObjectPart* part)
{
    if (part)
        mFloating.push_back(part);
}

void ZOrderManager::AddDrawnAfter(ObjectPart* walker, ObjectPart* part) { AddAttachment(walker, part, true); }

void ZOrderManager::AddDrawnBefore(ObjectPart* walker, ObjectPart* part) { AddAttachment(walker, part, false); }

void ZOrderManager::AddAttachment(ObjectPart* walker, ObjectPart* part, bool front)
{
    if (!walker || !part)
        return;
    // The first registration after a draw starts the walker's pairs anew,
    // so a turn from front to back never shows an item twice.
    const auto drawn = std::find(mDrawnWalkers.begin(), mDrawnWalkers.end(), walker);
    if (drawn != mDrawnWalkers.end()) {
        mDrawnWalkers.erase(drawn);
        mAttachments.erase(std::remove_if(mAttachments.begin(), mAttachments.end(),
                                          [walker](const Attachment& entry) { return entry.walker == walker; }),
                           mAttachments.end());
    }
    for (const Attachment& entry : mAttachments)
        if (entry.walker == walker && entry.part == part && entry.front == front)
            return;
    mAttachments.push_back({walker, part, front});
}

void ZOrderManager::Append(ObjectPart* part)
{
    Node& node = NodeOf(part);
    if (node.inOrder)
        return;
    node.inOrder = true;
    mOrder.push_back(part);
    for (ObjectPart* next : node.after)
        ++NodeOf(next).placedPredecessors;
    for (size_t i = 0; i < node.children.size(); ++i)
        Append(node.children[i]);
}

void ZOrderManager::Place(ObjectPart* part)
{
    Node& node = NodeOf(part);
    for (size_t i = 0; i < node.after.size(); ++i) {
        ObjectPart* next = node.after[i];
        Node& nextNode = NodeOf(next);
        if (nextNode.inOrder || nextNode.placedPredecessors < nextNode.predecessors)
            continue;
        Append(next);
        Place(next);
    }
}

void ZOrderManager::BuildOrder()
{
    mOrder.clear();
    for (auto& entry : mNodes) {
        entry.second.after.clear();
        entry.second.predecessors = 0;
        entry.second.placedPredecessors = 0;
        entry.second.inOrder = false;
    }
    // Pairs: below each column of a part's own line, the first pixel of
    // another part names the part standing directly in front of it.
    for (ObjectPart* part : mGround) {
        const ObjectPart::BasePoint* base = part->GetBaseLine();
        for (int k = 0; k < 2; ++k) {
            const ObjectPart::BasePoint& a = base[k];
            const ObjectPart::BasePoint& b = base[k + 1];
            for (int x = a.x; x < b.x; ++x) {
                const int row = LineRow(a, b, x);
                if (row < 0 || row >= kHeight || GetCell(x, row).owner != part)
                    continue;
                for (int y = row + 1; y < kHeight; ++y) {
                    ObjectPart* front = GetCell(x, y).owner;
                    if (!front || front == part)
                        continue;
                    Node& node = NodeOf(part);
                    if (std::find(node.after.begin(), node.after.end(), front) == node.after.end()) {
                        node.after.push_back(front);
                        ++NodeOf(front).predecessors;
                    }
                    break;
                }
            }
        }
    }
    bool anyRoot = false;
    for (ObjectPart* part : mGround)
        if (NodeOf(part).predecessors == 0)
            anyRoot = true;
    if (!anyRoot) {
        DebugTrace("!!!Critical Error: Can't find root object, remake z-order");
        return;
    }
    // Roots, each followed by its parented parts; then every part as soon
    // as all parts behind it are placed.
    for (ObjectPart* part : mGround)
        if (NodeOf(part).predecessors == 0)
            Append(part);
    for (size_t i = 0; i < mOrder.size(); ++i)
        Place(mOrder[i]);
}

const ZOrderManager::Cell& ZOrderManager::GetCell(int x, int y) const
{
    static const Cell kEmpty;
    if (mGrid.empty() || x < 0 || x >= kWidth || y < 0 || y >= kHeight)
        return kEmpty;
    return mGrid[size_t(y) * kWidth + size_t(x)];
}

std::vector<std::pair<ObjectPart*, ObjectPart*>> ZOrderManager::GetPairs() const
{
    std::vector<std::pair<ObjectPart*, ObjectPart*>> pairs;
    for (ObjectPart* part : mGround) {
        const auto node = mNodes.find(part);
        if (node != mNodes.end())
            for (ObjectPart* front : node->second.after)
                pairs.emplace_back(part, front);
    }
    return pairs;
}

ObjectPart* ZOrderManager::FindOwnerAbove(const ObjectPart* walker) const
{
    if (mGrid.empty())
        return nullptr;
    const ObjectPart::BasePoint* base = walker->GetBaseLine();
    ObjectPart* best = nullptr;
    int32_t bestDepth = 0;
    auto consider = [&](int64_t x, int64_t y) {
        if (x < 0 || x >= kWidth || y < 0 || y >= kHeight)
            return;
        const Cell& cell = GetCell(int(x), int(y));
        if (cell.depth > 0 && (!best || cell.depth <= bestDepth)) {
            best = cell.owner;
            bestDepth = cell.depth;
        }
    };
    consider(base[1].x, base[1].y);
    for (int k = 0; k < 2; ++k) {
        ObjectPart::BasePoint a = base[k];
        ObjectPart::BasePoint b = base[k + 1];
        if (b.x < a.x)
            std::swap(a, b);
        const int64_t first = std::max<int64_t>(a.x, 0);
        const int64_t last = std::min<int64_t>(b.x, kWidth);
        for (int64_t x = first; x < last; ++x)
            consider(x, LineRow(a, b, x));
    }
    return best;
}

const std::vector<ObjectPart*>& ZOrderManager::GetDrawList()
{
    mDrawList.assign(mOrder.begin(), mOrder.end());
    mPending.assign(mWalkers.begin(), mWalkers.end());
    while (!mPending.empty()) {
        size_t lowest = 0;
        for (size_t k = 1; k < mPending.size(); ++k)
            if (mPending[k]->GetBaseLine()[0].y > mPending[lowest]->GetBaseLine()[0].y)
                lowest = k;
        ObjectPart* walker = mPending[lowest];
        mPending.erase(mPending.begin() + std::ptrdiff_t(lowest));

        // Back items, the walker, front items; the latest registered first.
        mGroup.clear();
        for (auto entry = mAttachments.rbegin(); entry != mAttachments.rend(); ++entry)
            if (entry->walker == walker && !entry->front)
                mGroup.push_back(entry->part);
        mGroup.push_back(walker);
        for (auto entry = mAttachments.rbegin(); entry != mAttachments.rend(); ++entry)
            if (entry->walker == walker && entry->front)
                mGroup.push_back(entry->part);

        ObjectPart* behind = FindOwnerAbove(walker);
        if (!behind) {
            mDrawList.insert(mDrawList.end(), mGroup.begin(), mGroup.end());
            continue;
        }
        auto at = std::find(mDrawList.begin(), mDrawList.end(), behind);
        if (at == mDrawList.end())
            continue; // the part behind is not drawn, nor is the walker
        ++at;
        while (at != mDrawList.end() && !(*at)->GetParentZ().empty())
            ++at;
        mDrawList.insert(at, mGroup.begin(), mGroup.end());
    }
    mDrawList.insert(mDrawList.end(), mFloating.begin(), mFloating.end());
    for (const Attachment& entry : mAttachments)
        if (std::find(mDrawnWalkers.begin(), mDrawnWalkers.end(), entry.walker) == mDrawnWalkers.end())
            mDrawnWalkers.push_back(entry.walker);
    return mDrawList;
}

bool ZOrderManager::CheckCacheId(const XmlNode& office)
{
    std::vector<XmlNode> systems;
    office.Select(L"system", systems);
    for (const XmlNode& system : systems) {
        int id = 0;
        if (XmlGetAttrInt(system, L"z_order_id", id)) {
            mZOrderId = id;
            mSystem = system;
            break;
        }
    }
    // Read straight from disk, never through the archives.
    FILE* file = std::fopen(mCacheFileName.c_str(), "rb");
    if (!file)
        return false;
    unsigned char bytes[4];
    const size_t read = std::fread(bytes, 1, sizeof bytes, file);
    std::fclose(file);
    if (read != sizeof bytes)
        return false;
    const uint32_t id = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
    return id == uint32_t(mZOrderId);
}
