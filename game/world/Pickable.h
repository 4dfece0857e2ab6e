#pragma once
// An object the player can click: furniture, client places, clients. It
// counts the clicks no walker has served yet, shows up to two "checkmark"
// parts while walkers are on their way to it, and passes hovering on to the
// object it stands for. Every pickable is in the installed world's clickable
// registry from construction to destruction, in creation order (the first
// created wins a click where two overlap).
#include "game/world/SceneObject.h"

#include <cstdint>
#include <list>

class Pickable : public SceneObject {
public:
    Pickable();
    ~Pickable() override;

    // Switched on or off, the checkmarks start hidden.
    void SetActive(bool on) override;
    // On to the linked object (a table's worker, a client place's client).
    void OnMouseMove(const Zelk::Point& point, bool hit) override;
    // The base, then switched on whatever "stop" said (a stopped pickable
    // stays hidden, so it takes no click).
    void ApplyLevelState(const XmlNode& node) override;
    void SpareHook(int value) override { SceneObject::SpareHook(value); }

    virtual void Pick() { ++mPendingClicks; }
    virtual void Unpick() { mPendingClicks = 0; }
    virtual bool IsHoverable(bool hit) { return IsActive() && IsVisible() && hit; }

    int32_t GetPendingClicks() const { return mPendingClicks; }
    // The first two "checkmark" parts taken again, hidden and idle.
    void ResetCheckmarks();
    // Shows the first hidden checkmark (0, then 1); with none left only a
    // trace line is written.
    void ShowCheckmark();
    // Hides the last shown checkmark (1, then 0).
    void HideCheckmark();
    bool IsCheckmarkShown(int slot) const { return slot >= 0 && slot < 2 && mCheckmarkShown[slot]; }

private:
    OfficeWorld* mRegistryWorld;
    std::list<Pickable*>::iterator mRegistryPosition;
    ObjectPart* mCheckmarks[2] = {nullptr, nullptr};
    bool mCheckmarkShown[2] = {false, false};
    int32_t mPendingClicks = 0;
};
