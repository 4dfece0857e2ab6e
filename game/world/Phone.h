#pragma once
// The phone a VIP client calls on. It rings for its caller until the boss
// answers; the calling client counts the ringing time, the phone's meter
// and bubble show the caller's countdown and type.
#include "game/core/SfxChannel.h"
#include "game/world/Pickable.h"
#include "game/world/StatusSource.h"

#include <memory>

class Client;

class Phone : public Pickable, public StatusSource {
public:
    Phone();
    ~Phone() override;

    // Caller forgotten, quiet; on: answered ("idle"), off: pictures released.
    void SetActive(bool on) override;
    // The boss may come; nothing more (the boss answers).
    bool Interact(SceneObject* other, bool test, int* out) override;

    // A VIP's call is waiting; while it rings no client comes in.
    virtual bool IsRinging() const { return mRinging; }
    // "ring" and the ring sound for the caller.
    void StartRing(Client* caller);
    // "idle", quiet.
    void Answer();
    void ClearCaller() { mCaller = nullptr; }
    // The caller's ring ends (it comes in).
    void EndCall();
    Client* GetCaller() const { return mCaller; }

    bool IsStatusShown() const override { return mCaller && mRinging; }
    bool IsHovered() const override { return true; }
    bool CheckOrder() const override { return true; }
    bool GetMeterValue(float* value) const override;
    bool GetBubbleContent(bool* last, std::string* word) const override;
    bool GetProduct(std::string*) const override { return false; }

private:
    Client* mCaller = nullptr;
    bool mRinging = false;
    std::unique_ptr<SfxChannel> mRingChannel;
};
