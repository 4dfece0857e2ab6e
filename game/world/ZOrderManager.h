#pragma once
// The drawing order of the office's parts, built from their base lines
// (three points each, where a part touches the floor). The base lines are
// rasterised into a screen-sized grid in which every pixel belongs to the
// nearest base line above it; from the grid follows which part stands
// directly behind which, and the parts are sorted so that each comes after
// those behind it. A part whose parent_z names another part comes right
// after it. Every frame the walkers (placed after the part whose line lies
// nearest above their feet), the items they carry and the floating money
// texts are slotted in.
//
// Base points must run left to right: a part declared right to left is
// rasterised but finds nothing in front of it, so it is drawn as a root.
// Parts whose base lines form a cycle are left out of the order.
#include "game/core/XmlFunctions.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class ObjectPart;

class ZOrderManager {
public:
    static const int kWidth = 800;
    static const int kHeight = 600;

    struct Cell {
        int32_t depth = 0; // 0: no base line above
        ObjectPart* owner = nullptr;
    };

    ZOrderManager();
    ~ZOrderManager();
    ZOrderManager(const ZOrderManager&) = delete;
    ZOrderManager& operator=(const ZOrderManager&) = delete;

    // Forgets every registered part and clears the grid.
    void Reset();
    // A walker part is placed per frame. Another part counts only when its
    // three base points lie on the screen: with a parent_z part found it
    // follows that part, otherwise its base line is rasterised.
    void RegisterPart(ObjectPart* part, bool walker);
    // Drawn last, in registration order.
    void AddFloatingPart(ObjectPart* part);
    // The part drawn right after (front) or right before (back) the walker
    // part. A walker's pairs last until its next registration after a draw
    // list was made, which first drops them.
    void AddDrawnAfter(ObjectPart* walker, ObjectPart* part);
    void AddDrawnBefore(ObjectPart* walker, ObjectPart* part);
    // The static order from the registered ground parts.
    void BuildOrder();
    // The order with the walkers and their items slotted in and the floating
    // parts last. The list lives until the next call.
    const std::vector<ObjectPart*>& GetDrawList();
    // z_order_id of the office's first "system" element that has one,
    // compared with the first four bytes of z_order.dat on disk; nothing
    // depends on the result.
    bool CheckCacheId(const XmlNode& office);

    const std::vector<ObjectPart*>& GetOrder() const { return mOrder; }
    // Every pair (behind, in front) the last BuildOrder found.
    std::vector<std::pair<ObjectPart*, ObjectPart*>> GetPairs() const;
    // The grid's cell (an empty cell outside the grid or before any part
    // was rasterised).
    const Cell& GetCell(int x, int y) const;
    int32_t GetZOrderId() const { return mZOrderId; }

private:
    struct Attachment {
        ObjectPart* walker;
        ObjectPart* part;
        bool front;
    };
    struct Node {
        std::vector<ObjectPart*> after;   // parts directly in front, in pair order
        std::vector<ObjectPart*> children; // parts whose parent_z names it
        int32_t predecessors = 0;
        int32_t placedPredecessors = 0;
        bool inOrder = false;
    };

    void Rasterise(ObjectPart* part);
    void AddAttachment(ObjectPart* walker, ObjectPart* part, bool front);
    void Append(ObjectPart* part);
    void Place(ObjectPart* part);
    // The part whose base line lies nearest above the walker's, or null.
    ObjectPart* FindOwnerAbove(const ObjectPart* walker) const;
    Node& NodeOf(ObjectPart* part) { return mNodes[part]; }

    std::vector<ObjectPart*> mOrder;
    std::vector<ObjectPart*> mDrawList;
    std::vector<Attachment> mAttachments;
    // Walkers whose pairs were drawn since they last registered.
    std::vector<ObjectPart*> mDrawnWalkers;
    std::vector<ObjectPart*> mFloating;
    std::vector<ObjectPart*> mWalkers;
    std::vector<Cell> mGrid;
    std::vector<ObjectPart*> mGround;
    std::unordered_map<ObjectPart*, Node> mNodes;
    std::string mCacheFileName = "z_order.dat";
    int32_t mZOrderId = 0;
    XmlNode mSystem;

    // Working lists of GetDrawList, kept to spare allocations.
    std::vector<ObjectPart*> mPending;
    std::vector<ObjectPart*> mGroup;
};
