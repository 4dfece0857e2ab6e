#pragma once
// The base of every office object: name, look (skin, orientation,
// animation), its parts, click polygon, the points where walkers stand in
// front of it, the objects highlighted while it is hovered (pair items) and
// the objects lying on it that take clicks first (picks), and the idle chain
// that pauses a looping animation at a frame for a random time. Every object
// enters the installed office world's list when made and leaves it when
// deleted. Objects are never copied or moved (their item list points into
// them). The plain class is the factory kind "item".
#include "framework/graphics/Point.h"
#include "game/core/XmlFunctions.h"
#include "game/effects/EffectItemList.h"
#include "platform/region/PolygonRegion.h"

#include <cstdint>
#include <list>
#include <string>
#include <vector>

class Effect;
class ObjectPart;
struct OfficeWorld;

// Where a walker stands in front of an object: walk-graph coordinates (not
// added to the object's position) and the direction it faces there.
struct ApproachPoint {
    std::string owner;     // the walker's name
    std::string direction; // the direction word
    int32_t offs_x = 0;
    int32_t offs_y = 0;
};

class SceneObject {
public:
    // An animation that pauses at a frame for min .. max seconds.
    struct ChainRecord {
        std::string name;
        int32_t stopFrame = 0;
        float min = 0;
        float max = 0;
    };

    SceneObject();
    virtual ~SceneObject();
    SceneObject(const SceneObject&) = delete;
    SceneObject& operator=(const SceneObject&) = delete;

    // The skin applied again and "onsetskin" fired; switched on, the pair
    // items and picks are found by name; the parts are started.
    virtual void SetActive(bool on);
    virtual void ReservedHook(int) {}
    virtual bool IsWalking() { return false; }
    virtual bool IsBusy() { return false; }
    virtual void OnMouseMove(const Zelk::Point&, bool) {}
    virtual void OnScheduledEvent(int) {}
    // Item emptied, pictures released, hidden and inactive; skin,
    // orientation and position stay.
    virtual void Reset();
    // The level file's element of this object: "skin", "anim", "stop",
    // "old_skin".
    virtual void ApplyLevelState(const XmlNode& node);
    // The object element's own attributes: "name", "orient", "pos_x",
    // "pos_y", "offs_x", "offs_y", "rgn", "effect".
    virtual void Load(const XmlNode& node);
    // The effect advances; while active and visible the parts and the idle
    // chain do too.
    virtual void Update();
    virtual void UpdateSmooth(float) {}
    virtual void SpareHook(int) {}
    // The base asks the object it stands for (a table for its worker, a
    // client place for its client); false when it stands for itself.
    virtual bool Interact(SceneObject* other, bool test, int* out);
    // A part's animation ended or reached its stop frame: a chain of that
    // animation is armed.
    virtual void OnAnimationEnd(ObjectPart* part, const std::string& name);

    const std::string& GetName() const { return mName; }
    const std::string& GetItem() const { return mItem; }
    void SetItem(const std::string& item) { mItem = item; }
    const std::string& GetPartnerItem() const { return mPartnerItem; }
    void SetPartnerItem(const std::string& item) { mPartnerItem = item; }
    std::string GetSkin() const { return mSkin; }
    const std::string& GetOrientWord() const { return mOrientation; }
    void SetOrientWord(const std::string& word) { mOrientation = word; }
    const std::string& GetAnimationName() const { return mAnimation; }
    bool IsActive() const { return mActive; }
    bool IsVisible() const { return mVisible; }
    void SetVisibleFlag(bool visible) { mVisible = visible; }
    void SetActiveFlag(bool active) { mActive = active; }
    const std::vector<ObjectPart*>& GetParts() const { return mParts; }
    void SetPosition(int32_t x, int32_t y);
    Zelk::Point GetPosition() const { return Zelk::Point{mPosX, mPosY}; }
    Zelk::Point GetOffset() const { return Zelk::Point{mOffsX, mOffsY}; }
    // The point moved by the position and the offset.
    Zelk::Point AddPosition(const Zelk::Point& point) const;
    Effect* GetEffect() const { return mEffect; }
    const plat::PolygonRegion& GetRegion() const { return mRegion; }
    const std::vector<ApproachPoint>& GetApproachPoints() const { return mApproachPoints; }
    EffectItemList& GetItemList() { return mItemList; }

    // What the office file gives besides the attributes (Load reads those).
    void AddPart(ObjectPart* part); // owned from now on
    void AddApproachPoint(const ApproachPoint& point);
    void AddPairItemName(const std::string& name);
    void AddPickName(const std::string& name);

    // Each acts on every part in order.
    void SetSkin(const std::string& word, bool toParts);
    void SetOrientation(const std::string& word, bool toParts);
    // Every part takes the object's skin and orientation, loads its pictures
    // and plays the animation; duration (when given) becomes the longest
    // part's length, -1 when none. True when any part played.
    bool PlayAnimation(const std::string& name, float* duration = nullptr);
    void SwitchAnimation(const std::string& name, bool resetOrientation);
    void SetAnimChain(const std::string& name, int32_t frame, float min, float max);
    void StartAnimChain(const std::string& name);
    void StopPartsAtFrame(int32_t frame);
    void SetPartsPaused(bool pause);
    void ReleasePartImages();
    // The n-th part (from 0) of that name, or null.
    ObjectPart* FindPart(const std::string& partName, int n) const;

    void FireEvent(const std::string& name);
    void SetMessageEnabled(const std::string& name, bool enabled);
    bool IsMessageEnabled(const std::string& name) const;
    bool HasMessage(const std::string& name) const;
    // With an effect that handles "onshow"/"onhide" the effect shows it;
    // otherwise the flag and the parts at once.
    void SetVisible(bool show);

    // Inside the click polygon, and not on a visible, active pick that
    // covers the point.
    bool HitTest(const Zelk::Point& point) const;
    // With out null: the number of pair items into index, and whether there
    // is any. Otherwise the pair item at index; false outside the list.
    bool GetPairItem(int* index, SceneObject** out) const;
    bool NameStartsWith(const std::string& prefix) const;
    // "table" + s stands for "worker" + s, "client_place" + s for "client" +
    // s; the object itself when there is no such object.
    SceneObject* FindLinkedObject();
    bool GetApproachPoint(const std::string& walker, Zelk::Point& point, std::string& direction) const;
    // Appends the record while there is room (at most 15 of the 16 are used).
    void AddEffectItem(const EffectItem& item);

    bool IsChainArmed() const { return mChainArmed; }
    float GetChainDelay() const { return mChainDelay; }

private:
    // Every chain record of the animation: armed with a new random pause;
    // with stopParts the parts stop at its frame.
    void ArmAnimChain(const std::string& name, bool stopParts);

    OfficeWorld* mWorld;
    std::list<SceneObject*>::iterator mListPosition;
    std::string mName;
    std::string mItem;
    std::string mPartnerItem;
    bool mVisible = false;
    bool mActive = false;
    std::string mSkin;
    std::string mOrientation;
    std::string mAnimation;
    std::vector<ObjectPart*> mParts;
    std::vector<ApproachPoint> mApproachPoints;
    std::vector<std::string> mPairItemNames;
    std::vector<SceneObject*> mPairItems;
    std::vector<std::string> mPickNames;
    std::vector<SceneObject*> mPicks;
    std::vector<plat::RegionPoint> mPolygon;
    plat::PolygonRegion mRegion;
    std::vector<ChainRecord> mChain;
    std::string mChainName;
    bool mChainArmed = false;
    float mChainDelay = 0;
    Effect* mEffect = nullptr;
    EffectItemList mItemList;
    int32_t mPosX = 0;
    int32_t mPosY = 0;
    int32_t mOffsX = 0;
    int32_t mOffsY = 0;
    // Set while a hit test of this object runs: picks that lie on each other
    // cannot make it endless.
    mutable bool mHitTesting = false;
};

// The object as a kind (null for an object of another kind); kind-specific
// use of a named object goes through this, and skips the action on null.
template <class Kind>
Kind* ObjectAs(SceneObject* object)
{
    return dynamic_cast<Kind*>(object);
}
