#pragma once
#include <cstdint>

namespace Zelk {

// What a walk of the widget tree may do at a node. Nodes carry no flags of
// their own: every walk starts from the manager's flags and each node on the
// path changes them with its add and remove masks.
enum : uint32_t {
    WIDGET_FLAG_UPDATE = 1,
    WIDGET_FLAG_MARK_DIRTY = 2,
    WIDGET_FLAG_DRAW = 4,
    WIDGET_FLAG_CLIP = 8,
    WIDGET_FLAG_MOUSE = 16,
    WIDGET_FLAG_FOCUS = 32,
};

// A pair of masks: flags become (flags | add) & ~remove.
struct FlagsMod {
    uint32_t mAddFlags = 0;
    uint32_t mRemoveFlags = 0;

    uint32_t Apply(uint32_t flags) const { return (flags | mAddFlags) & ~mRemoveFlags; }
};

// The flags a walk hands down by reference. Nodes up to the manager's base
// modal widget use the below flags, that widget and everything after it in
// depth-first order the above flags; the switch flips when the walk reaches
// the base modal widget and stays flipped on the way back up.
struct TreeFlags {
    uint32_t mAboveFlags = 0;
    uint32_t mBelowFlags = 0;
    bool mIsAbove = true;

    uint32_t GetFlags() const { return mIsAbove ? mAboveFlags : mBelowFlags; }
};

} // namespace Zelk
