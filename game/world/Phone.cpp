#include "game/world/Phone.h"

#include "game/world/Client.h"
#include "game/world/OfficeSounds.h"

Phone::Phone() : mRingChannel(MakeOfficeChannel("phone_ring")) {}

Phone::~Phone() = default;

void Phone::SetActive(bool on)
{
    Pickable::SetActive(on);
    mCaller = nullptr;
    mRinging = false;
    if (on)
        Answer();
    else
        ReleasePartImages();
}

bool Phone::Interact(SceneObject* other, bool, int*) { return other && other->GetName() == "boss"; }

void Phone::StartRing(Client* caller)
{
    mCaller = caller;
    PlayAnimation("ring");
    mRinging = true;
    PlayChannel(mRingChannel);
}

void Phone::Answer()
{
    PlayAnimation("idle");
    mRinging = false;
    StopChannel(mRingChannel);
}

void Phone::EndCall()
{
    if (mCaller)
        mCaller->EndVipRing();
}

bool Phone::GetMeterValue(float* value) const
{
    if (!mCaller || !mRinging)
        return false;
    mCaller->GetMeterValue(value);
    return true;
}

bool Phone::GetBubbleContent(bool*, std::string* word) const
{
    if (!mCaller)
        return false;
    *word = mCaller->GetTypeName();
    return true;
}
