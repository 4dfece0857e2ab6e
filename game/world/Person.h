#pragma once
// A character that walks the office: the base of the boss, the secretary and
// the engineer. It keeps a queue of objects to visit and walks its own walk
// graph (the world's set of its name) to each; standing at one, it runs the
// two-phase handshake: the object and the walker are each asked whether the
// action is possible now (test), and only when both agree do both carry it
// out, the object first. It schedules timed events for the characters,
// turns to face where it goes, keeps its parts' base lines under its feet
// and shows the item it carries in its "held_items" parts.
//
// Two time bases: the queue and the handshake run in the fixed update; the
// walk and the event countdown in the smooth step (the fraction of an update
// period the display advanced), which also raises the end of a walk as
// OnScheduledEvent(3).
#include "framework/graphics/Point.h"
#include "game/world/PersParams.h"
#include "game/world/SceneObject.h"

#include <cstdint>
#include <deque>
#include <string>

class PathGraphSet;
class Pickable;

class Person : public SceneObject {
public:
    static const int32_t kWalkEnded = 3;

    Person() = default;
    ~Person() override = default;

    // On: back at the start point, idle, facing "b" (the parts take it with
    // their next animation). Off: idle.
    void SetActive(bool on) override;
    bool IsWalking() override { return mWalking; }
    bool IsBusy() override { return IsWalking() || HasScheduledEvent(); }
    // The base, then "start_point" (at most 259 characters) as the current
    // and the start point.
    void Load(const XmlNode& node) override;
    // The handshake with the front target, a walk towards it, the way home
    // and hiding at home.
    void Update() override;
    // The event countdown and the walk.
    void UpdateSmooth(float fraction) override;

    // Queued (null is ignored); the object shows a checkmark.
    virtual void EnqueueTarget(Pickable* target);
    // The previous pending target is unpicked and returned.
    virtual Pickable* SetPendingTarget(Pickable* target);
    // A jump to the named point of the walker's graph.
    virtual void PlaceAtPoint(const std::string& name);
    // Code fires after the delay; a delay of 0 or below (or not a number)
    // fires at the next smooth step. A later call replaces an earlier one.
    virtual void ScheduleEvent(float delay, int32_t code);
    virtual float GetMoveSpeed() { return 300.0f; }

    bool HasPendingTarget() const { return mPendingTarget != nullptr; }
    Pickable* GetPendingTarget() const { return mPendingTarget; }
    // The second queued object, or null.
    Pickable* GetNextTarget() const;
    const std::deque<Pickable*>& GetTargets() const { return mTargets; }
    // A route from the current point to the named point; the current point
    // becomes the target at once.
    bool WalkTo(const std::string& point, float speed);
    bool HasScheduledEvent() const { return mEventPending; }
    float GetEventDelay() const { return mEventDelay; }
    const std::string& GetCurrentPoint() const { return mCurrentPoint; }
    const std::string& GetStartPoint() const { return mStartPoint; }
    bool IsAtStartPoint() const { return mCurrentPoint == mStartPoint; }
    const std::string& GetFacing() const { return mFacing; }
    // Every queued object hides a checkmark (front to back); the queue is
    // emptied; pending clicks stay.
    void ClearTargets();
    // The held parts and the body part found, the walker record copied
    // (none: an empty record).
    void BindPersParams(const std::string& recordName);
    // The carried item shown in the held parts, drawn before or after the
    // body by the orientation.
    void UpdateHeldItems();
    // The facing word of a direction (y down); (0, 0) changes nothing.
    void FaceDirection(const Zelk::Point& direction);
    // (x - 20, y), (x, y), (x + 20, y) under the walker's feet.
    void UpdatePartBaseLines();

    void SetReturnHome(bool on) { mReturnHome = on; }
    void SetHideAtHome(bool on) { mHideAtHome = on; }
    ObjectPart* GetHeldPart(int n) const { return n == 0 ? mHeld1 : mHeld2; }
    ObjectPart* GetBodyPart() const { return mBody; }
    const PersParams& GetPersParams() const { return mPers; }

private:
    PathGraphSet* FindWalkGraphs() const;

    std::string mCurrentPoint;
    std::string mStartPoint;
    std::string mFacing;
    bool mWalking = false;
    float mEventDelay = 0;
    bool mEventPending = false;
    int32_t mEventCode = 0;
    PersParams mPers;
    ObjectPart* mHeld1 = nullptr;
    ObjectPart* mHeld2 = nullptr;
    ObjectPart* mBody = nullptr;
    std::deque<Pickable*> mTargets;
    bool mReturnHome = false;
    bool mHideAtHome = false;
    Pickable* mPendingTarget = nullptr;
};
