#include "game/world/SceneObject.h"

#include "framework/app/Random.h"
#include "framework/graphics/Rect.h"
#include "game/core/DebugTrace.h"
#include "game/effects/Effect.h"
#include "game/effects/EffectFile.h"
#include "game/world/NamedObjects.h"
#include "game/world/ObjectParams.h"
#include "game/world/ObjectPart.h"
#include "game/world/OfficeScreenInterface.h"
#include "game/world/OfficeWorld.h"
#include "game/world/RegionText.h"
#include "game/world/SceneObjectList.h"

SceneObject::SceneObject() : mWorld(&GetOfficeWorld())
{
    mItemList.ownerActive = &mActive;
    mListPosition = mWorld->sceneObjects.insert(mWorld->sceneObjects.end(), this);
}

SceneObject::~SceneObject()
{
    for (ObjectPart* part : mParts)
        delete part;
    mParts.clear();
    mApproachPoints.clear();
    mPairItems.clear();
    mPicks.clear();
    delete mEffect;
    mEffect = nullptr;
    mWorld->sceneObjects.erase(mListPosition);
    // A named pointer must not outlive its object.
    ForgetNamedObject(this);
}

void SceneObject::SetPosition(int32_t x, int32_t y)
{
    mPosX = x;
    mPosY = y;
}

Zelk::Point SceneObject::AddPosition(const Zelk::Point& point) const
{
    return Zelk::Point{Zelk::TruncToInt(double(point.mX) + mPosX + mOffsX),
                       Zelk::TruncToInt(double(point.mY) + mPosY + mOffsY)};
}

void SceneObject::AddPart(ObjectPart* part) { mParts.push_back(part); }

void SceneObject::AddApproachPoint(const ApproachPoint& point) { mApproachPoints.push_back(point); }

void SceneObject::AddPairItemName(const std::string& name) { mPairItemNames.push_back(name); }

void SceneObject::AddPickName(const std::string& name) { mPickNames.push_back(name); }

void SceneObject::Load(const XmlNode& node)
{
    mName.clear();
    XmlGetAttrString(node, L"name", mName);
    XmlGetAttrString(node, L"orient", mOrientation);
    mPosX = mPosY = mOffsX = mOffsY = 0;
    XmlGetAttrInt(node, L"pos_x", mPosX);
    XmlGetAttrInt(node, L"pos_y", mPosY);
    XmlGetAttrInt(node, L"offs_x", mOffsX);
    XmlGetAttrInt(node, L"offs_y", mOffsY);

    std::string rgn;
    XmlGetAttrString(node, L"rgn", rgn);
    mPolygon = ParseRegionText(rgn);
    // Fewer than two points cannot be clicked.
    mRegion = mPolygon.size() > 1 ? plat::PolygonRegion(mPolygon) : plat::PolygonRegion();

    delete mEffect;
    mEffect = nullptr;
    std::string effect;
    if (XmlGetAttrString(node, L"effect", effect) && !effect.empty()) {
        mEffect = CreateEffect(effect);
        if (mEffect) {
            mEffect->SetParam(OBJECT_PARAM_ITEMS, &mItemList);
            mEffect->SetParam(OBJECT_PARAM_VISIBLE, &mVisible);
        }
    }
}

void SceneObject::SetSkin(const std::string& word, bool toParts)
{
    if (toParts)
        for (ObjectPart* part : mParts)
            part->SetSkin(word);
    mSkin = word;
    FireEvent("onsetskin");
}

void SceneObject::SetOrientation(const std::string& word, bool toParts)
{
    mOrientation = word;
    if (toParts)
        for (ObjectPart* part : mParts)
            part->SetOrientation(word, true);
}

bool SceneObject::PlayAnimation(const std::string& name, float* duration)
{
    if (duration)
        *duration = -1.0f;
    bool played = false;
    for (ObjectPart* part : mParts) {
        part->SetSkin(mSkin);
        part->SetOrientation(mOrientation, false);
        part->LoadImages();
        played = part->PlayAnimation(name, false) || played;
        if (duration && part->GetDuration() > *duration)
            *duration = part->GetDuration();
    }
    if (played) {
        mAnimation = name;
        mChainArmed = false;
        StartAnimChain(name);
    }
    return played;
}

void SceneObject::SwitchAnimation(const std::string& name, bool resetOrientation)
{
    for (ObjectPart* part : mParts) {
        if (resetOrientation)
            part->SetOrientation(mOrientation, false);
        if (part->PlayAnimation(name, false)) {
            mAnimation = name;
            mChainArmed = false;
            StartAnimChain(name);
        }
    }
}

void SceneObject::SetAnimChain(const std::string& name, int32_t frame, float min, float max)
{
    bool found = false;
    for (ChainRecord& record : mChain) {
        if (record.name == name) {
            record.stopFrame = frame;
            record.min = min;
            record.max = max;
            found = true;
        }
    }
    if (!found)
        mChain.push_back(ChainRecord{name, frame, min, max});
}

void SceneObject::ArmAnimChain(const std::string& name, bool stopParts)
{
    for (const ChainRecord& record : mChain) {
        if (record.name != name)
            continue;
        mChainArmed = true;
        mChainDelay = Zelk::RandomFloat(record.min, record.max);
        mChainName = name;
        if (stopParts)
            StopPartsAtFrame(record.stopFrame);
    }
}

void SceneObject::StartAnimChain(const std::string& name) { ArmAnimChain(name, true); }

void SceneObject::OnAnimationEnd(ObjectPart*, const std::string& name) { ArmAnimChain(name, false); }

void SceneObject::StopPartsAtFrame(int32_t frame)
{
    for (ObjectPart* part : mParts)
        part->GetPlayer().StopAtFrame(frame);
}

void SceneObject::SetPartsPaused(bool pause)
{
    for (ObjectPart* part : mParts) {
        if (pause)
            part->GetPlayer().Pause();
        else
            part->GetPlayer().Resume();
    }
}

void SceneObject::ReleasePartImages()
{
    for (ObjectPart* part : mParts)
        part->ReleaseImages();
}

ObjectPart* SceneObject::FindPart(const std::string& partName, int n) const
{
    for (ObjectPart* part : mParts) {
        if (part->GetPartName() != partName)
            continue;
        if (n == 0)
            return part;
        --n;
    }
    return nullptr;
}

void SceneObject::Update()
{
    if (mEffect)
        mEffect->Update(gFrameDelta);
    if (!mActive || !mVisible)
        return;
    for (ObjectPart* part : mParts)
        part->Update();
    if (!mChainArmed)
        return;
    mChainDelay -= gFrameDelta;
    if (mChainDelay < 0.0f) {
        // The pause is over: the animation plays on to its stop frame again.
        for (const ChainRecord& record : mChain) {
            if (record.name != mChainName)
                continue;
            StopPartsAtFrame(record.stopFrame);
            SetPartsPaused(false);
        }
        mChainArmed = false;
    }
}

void SceneObject::SetActive(bool on)
{
    mActive = on;
    SetSkin(GetSkin(), false);
    if (on) {
        mPairItems.clear();
        for (const std::string& name : mPairItemNames)
            if (SceneObject* object = FindObject(name))
                mPairItems.push_back(object);
        mPicks.clear();
        for (const std::string& name : mPickNames)
            if (SceneObject* object = FindObject(name))
                mPicks.push_back(object);
    }
    for (ObjectPart* part : mParts)
        part->Start(on);
}

void SceneObject::Reset()
{
    SetItem(std::string());
    ReleasePartImages();
    SetVisibleFlag(false);
    SetActive(false);
}

void SceneObject::ApplyLevelState(const XmlNode& node)
{
    std::string skin, anim;
    XmlGetAttrString(node, L"skin", skin);
    XmlGetAttrString(node, L"anim", anim);
    SetSkin(skin, false);
    if (!anim.empty()) {
        PlayAnimation(anim);
        SwitchAnimation(anim, false);
    }
    bool stop = false;
    if (XmlGetAttrBool(node, L"stop", stop) && stop) {
        SetVisibleFlag(false);
        SetActive(false);
    } else {
        SetVisibleFlag(true);
        SetActive(true);
    }
    std::string oldSkin;
    OfficeScreenInterface& screen = GetOfficeScreenInterface();
    if (screen.IsSurvival() || !XmlGetAttrString(node, L"old_skin", oldSkin))
        return;
    const StageObject change{mName, skin, anim};
    if (oldSkin == "none") {
        // The object blinks in from nothing.
        mSkin = "none";
        screen.ChangeObjects(change);
        mSkin = skin;
        SetVisibleFlag(false);
    } else {
        SetSkin(oldSkin, false);
        screen.ChangeObjects(change);
    }
}

bool SceneObject::Interact(SceneObject* other, bool test, int* out)
{
    SceneObject* linked = FindLinkedObject();
    // Linked to nothing else: nothing to interact with.
    if (linked == this)
        return false;
    return linked->Interact(other, test, out);
}

void SceneObject::FireEvent(const std::string& name)
{
    if (mEffect)
        mEffect->SendMessage(name);
    for (ObjectPart* part : mParts)
        part->FireEvent(name);
}

void SceneObject::SetMessageEnabled(const std::string& name, bool enabled)
{
    if (mEffect)
        mEffect->SetMessageEnabled(name, enabled);
    for (ObjectPart* part : mParts)
        part->SetMessageEnabled(name, enabled);
}

bool SceneObject::IsMessageEnabled(const std::string& name) const
{
    bool enabled = true;
    if (mEffect && mEffect->HasMessage(name))
        enabled = enabled && mEffect->IsMessageEnabled(name);
    if (enabled)
        for (ObjectPart* part : mParts)
            if (part->HasMessage(name))
                enabled = enabled && part->IsMessageEnabled(name);
    return enabled;
}

bool SceneObject::HasMessage(const std::string& name) const
{
    if (mEffect && mEffect->HasMessage(name))
        return true;
    for (ObjectPart* part : mParts)
        if (part->HasMessage(name))
            return true;
    return false;
}

void SceneObject::SetVisible(bool show)
{
    if (mEffect && mEffect->SendMessage(show ? "onshow" : "onhide"))
        return;
    mVisible = show;
    for (ObjectPart* part : mParts)
        part->Show(show);
}

bool SceneObject::HitTest(const Zelk::Point& point) const
{
    if (mHitTesting || !mRegion.Contains(point.mX, point.mY))
        return false;
    mHitTesting = true;
    bool hit = true;
    for (SceneObject* pick : mPicks) {
        // A click on something lying on the object belongs to that thing.
        if (pick->IsActive() && pick->IsVisible() && pick->HitTest(point)) {
            hit = false;
            break;
        }
    }
    mHitTesting = false;
    return hit;
}

bool SceneObject::GetPairItem(int* index, SceneObject** out) const
{
    if (!index)
        return false;
    if (!out) {
        *index = int(mPairItems.size());
        return !mPairItems.empty();
    }
    if (*index < 0 || size_t(*index) >= mPairItems.size())
        return false;
    *out = mPairItems[size_t(*index)];
    return true;
}

bool SceneObject::NameStartsWith(const std::string& prefix) const { return mName.compare(0, prefix.size(), prefix) == 0; }

SceneObject* SceneObject::FindLinkedObject()
{
    std::string linked;
    if (NameStartsWith("table"))
        linked = "worker" + mName.substr(5);
    else if (NameStartsWith("client_place"))
        linked = "client" + mName.substr(12);
    else
        return this;
    SceneObject* object = FindObject(linked);
    return object ? object : this;
}

bool SceneObject::GetApproachPoint(const std::string& walker, Zelk::Point& point, std::string& direction) const
{
    for (const ApproachPoint& approach : mApproachPoints) {
        if (approach.owner == walker) {
            point = Zelk::Point{approach.offs_x, approach.offs_y};
            direction = approach.direction;
            return true;
        }
    }
    return false;
}

void SceneObject::AddEffectItem(const EffectItem& item)
{
    if (mItemList.count + 1 < EffectItemList::kCapacity) {
        mItemList.items[mItemList.count++] = item;
        return;
    }
    DebugTrace("object \"%s\": part left out of its effect's list (%d parts at most)\n", mName.c_str(),
               EffectItemList::kCapacity - 1);
}
