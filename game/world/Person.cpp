#include "game/world/Person.h"

#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/Rect.h"
#include "game/world/ObjectPart.h"
#include "game/world/OfficeWorld.h"
#include "game/world/PathGraphSet.h"
#include "game/world/Pickable.h"

#include <cmath>

namespace {

const char* const kHeldItems = "held_items";

// The update period of the running application in milliseconds.
int32_t UpdatePeriod()
{
    return Zelk::gAppBase ? Zelk::gAppBase->mUpdatePeriod : 10;
}

// Words whose carried item is drawn over the body.
bool ItemInFront(const std::string& word)
{
    return word == "b" || word == "br" || word == "bl" || word == "r" || word == "l";
}

void Play(ObjectPart* part, const std::string& word)
{
    part->PlayAnimation(word, true);
    part->LoadImages();
}

} // namespace

PathGraphSet* Person::FindWalkGraphs() const
{
    if (!HasOfficeWorld())
        return nullptr;
    auto& sets = GetOfficeWorld().walkGraphs;
    const auto found = sets.find(GetName());
    return found == sets.end() ? nullptr : found->second.get();
}

void Person::SetActive(bool on)
{
    if (on) {
        mCurrentPoint = mStartPoint;
        PlaceAtPoint(mStartPoint);
    } else {
        ClearTargets();
    }
    mWalking = false;
    mPendingTarget = nullptr;
    mEventDelay = 0;
    mEventPending = false;
    if (on) {
        ClearTargets();
        SetOrientWord("b");
    }
    SceneObject::SetActive(on);
}

void Person::Load(const XmlNode& node)
{
    SceneObject::Load(node);
    std::string start;
    XmlGetAttrString(node, L"start_point", start);
    if (start.size() > 259)
        start.resize(259);
    mCurrentPoint = start;
    mStartPoint = start;
}

void Person::Update()
{
    SceneObject::Update();
    if (!mTargets.empty() && !IsBusy()) {
        Pickable* target = mTargets.front();
        int32_t word = 0;
        if (target->GetName() == mCurrentPoint) {
            const bool agreed = target->Interact(this, true, &word) && Interact(target, true, &word);
            if (agreed) {
                target->Interact(this, false, &word);
                Interact(target, false, &word);
                target->Unpick();
                target->HideCheckmark();
                // A partner may have changed the queue meanwhile.
                if (!mTargets.empty() && mTargets.front() == target)
                    mTargets.pop_front();
            } else {
                for (Pickable* queued : mTargets)
                    queued->Unpick();
                ClearTargets();
            }
        } else if (!WalkTo(target->GetName(), GetMoveSpeed())) {
            ClearTargets();
        }
    }
    if (mReturnHome && mTargets.empty() && !IsAtStartPoint() && !IsBusy())
        WalkTo(mStartPoint, GetMoveSpeed());
    if (mHideAtHome) {
        const bool visible = mPendingTarget || !IsAtStartPoint() || IsBusy();
        if (visible != IsVisible())
            SetVisible(visible);
    }
}

void Person::UpdateSmooth(float fraction)
{
    SceneObject::UpdateSmooth(fraction);
    if (!IsActive())
        return;
    const float dt = float(UpdatePeriod()) * fraction / 1000.0f;
    if (mEventPending) {
        mEventDelay -= dt;
        if (mEventDelay <= 0 || !(mEventDelay == mEventDelay)) {
            mEventDelay = 0;
            mEventPending = false;
            OnScheduledEvent(mEventCode);
        }
    }
    PathGraphSet* graphs = FindWalkGraphs();
    if (!graphs || !mWalking)
        return;
    Zelk::Point position = GetPosition();
    Zelk::Point direction{0, 0};
    mWalking = graphs->Advance(dt, position, direction);
    FaceDirection(direction);
    SetPosition(position.mX, position.mY);
    UpdatePartBaseLines();
    if (!mWalking)
        OnScheduledEvent(kWalkEnded);
}

void Person::EnqueueTarget(Pickable* target)
{
    if (!target)
        return;
    mTargets.push_back(target);
    target->ShowCheckmark();
}

Pickable* Person::SetPendingTarget(Pickable* target)
{
    Pickable* previous = mPendingTarget;
    mPendingTarget = target;
    if (previous)
        previous->Unpick();
    return previous;
}

Pickable* Person::GetNextTarget() const { return mTargets.size() > 1 ? mTargets[1] : nullptr; }

void Person::PlaceAtPoint(const std::string& name)
{
    PathGraphSet* graphs = FindWalkGraphs();
    Zelk::Point position;
    if (!graphs || !graphs->GetPointPosition(name, position))
        return;
    mCurrentPoint = name;
    SetPosition(position.mX, position.mY);
    UpdatePartBaseLines();
}

bool Person::WalkTo(const std::string& point, float speed)
{
    if (!IsActive() || point == mCurrentPoint)
        return false;
    PathGraphSet* graphs = FindWalkGraphs();
    if (!graphs || !graphs->SetCurrentPoint(mCurrentPoint) || !graphs->FindPath(point, speed))
        return false;
    mCurrentPoint = point;
    mWalking = true;
    return true;
}

void Person::ScheduleEvent(float delay, int32_t code)
{
    // A pending flag, not the value 0, marks the event: "after 0 s" comes.
    mEventDelay = delay > 0 && std::isfinite(delay) ? delay : 0.0f;
    mEventPending = true;
    mEventCode = code;
}

void Person::ClearTargets()
{
    for (Pickable* target : mTargets)
        target->HideCheckmark();
    mTargets.clear();
}

void Person::BindPersParams(const std::string& recordName)
{
    for (ObjectPart* part : GetParts()) {
        if (part->GetPartName() == kHeldItems) {
            if (!mHeld1)
                mHeld1 = part;
            else
                mHeld2 = part;
        }
        if (part->GetPartName() == GetName())
            mBody = part;
    }
    mPers.name.clear();
    if (!HasOfficeWorld())
        return;
    const auto& records = GetOfficeWorld().persParams;
    const auto found = records.find(recordName);
    if (found != records.end())
        mPers = found->second;
}

void Person::UpdateHeldItems()
{
    if (HasScheduledEvent()) {
        if (mHeld1)
            mHeld1->SetShownFlag(false);
        if (mHeld2)
            mHeld2->SetShownFlag(false);
        return;
    }
    if (!mHeld1)
        return;
    bool showSecond = false;
    const std::string& item = GetItem();
    if (mPers.name.empty() || item.empty()) {
        mHeld1->SetShownFlag(false);
    } else {
        mHeld1->SetShownFlag(true);
        std::string word = GetOrientWord();
        if (word == "mr")
            word = "l";
        else if (word == "mtr")
            word = "tl";
        else if (word == "mbr")
            word = "bl";
        if (mBody && HasOfficeWorld()) {
            ZOrderManager& order = GetOfficeWorld().zOrder;
            if (ItemInFront(word)) {
                if (mHeld2)
                    order.AddDrawnAfter(mBody, mHeld2);
                order.AddDrawnAfter(mBody, mHeld1);
            } else {
                order.AddDrawnBefore(mBody, mHeld1);
            }
        }
        const auto entry = mPers.orientations.find(word);
        if (entry == mPers.orientations.end()) {
            mHeld1->SetShownFlag(false);
        } else {
            const PersOrientation& look = entry->second;
            mHeld1->SetOrientation(look.actual_orientation, true);
            mHeld1->SetOffset(look.ofs_x, look.ofs_y);
            mHeld1->SetSkin(std::string());
            // An item 0XYZ shows 0X00 in the second part and 01YZ in the
            // first; only words of four or more characters split.
            if (item[0] == '0' && mHeld2 && item.size() >= 4 && item[1] != '1') {
                mHeld2->SetOrientation(look.actual_orientation, true);
                mHeld2->SetOffset(look.ofs_x, look.ofs_y);
                mHeld2->SetSkin(std::string());
                Play(mHeld2, item.substr(0, 2) + "00" + item.substr(4));
                Play(mHeld1, "01" + item.substr(2));
                showSecond = true;
            } else {
                Play(mHeld1, item);
            }
        }
    }
    if (mHeld1->IsVisible() && mHeld2)
        mHeld2->SetShownFlag(showSecond);
}

void Person::FaceDirection(const Zelk::Point& direction)
{
    const double vx = double(direction.mX);
    const double vy = -double(direction.mY);
    int index = 0;
    if (vx == 0) {
        if (vy == 0)
            return;
        index = vy > 0 ? 0 : 4;
    } else if (vy == 0) {
        index = vx > 0 ? 2 : 6;
    } else {
        const float a = float(std::acos(std::fabs(vx) / std::sqrt(vx * vx + vy * vy)));
        const float halfPi = 1.5707964f;
        const float threeHalfPi = 4.712389f;
        float bearing;
        if (vy > 0)
            bearing = vx > 0 ? halfPi - a : threeHalfPi + a;
        else
            bearing = vx > 0 ? halfPi + a : threeHalfPi - a;
        const float pi = 3.14159265f;
        const struct {
            float threshold;
            int index;
        } kSectors[] = {{0, 0},
                        {pi / 8, 1},
                        {3 * pi / 8, 2},
                        {5 * pi / 8, 3},
                        {7 * pi / 8, 4},
                        {9 * pi / 8, 5},
                        {11 * pi / 8, 6},
                        {13 * pi / 8, 7},
                        {15 * pi / 8, 0}};
        for (const auto& sector : kSectors)
            if (bearing > sector.threshold)
                index = sector.index;
    }
    static const char* const kWords[8] = {"t", "tr", "r", "br", "b", "mbr", "mr", "mtr"};
    mFacing = kWords[index];
    for (ObjectPart* part : GetParts())
        if (part->GetPartName() != kHeldItems)
            part->SetOrientation(mFacing, true);
    SetOrientWord(mFacing);
}

void Person::UpdatePartBaseLines()
{
    const Zelk::Point at = GetPosition();
    const ObjectPart::BasePoint line[3] = {{Zelk::ClampToInt(int64_t(at.mX) - 20), at.mY},
                                           {at.mX, at.mY},
                                           {Zelk::ClampToInt(int64_t(at.mX) + 20), at.mY}};
    for (ObjectPart* part : GetParts())
        part->SetBaseLine(line);
}
