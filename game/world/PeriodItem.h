#pragma once
// A machine that becomes ready after a reload time drawn between two level
// parameters chosen by its name (safe, coffee machine, conference place,
// cupboard, presentation place, air conditioner, stereo system; another
// name never becomes ready). It counts day time while active, visible and
// not ready, and stays ready until a walker uses it. For the air
// conditioner "ready" means broken down.
#include "game/world/Pickable.h"

class PeriodItem : public Pickable {
public:
    // On: its thing as item word, not ready. Off: not ready, pictures
    // released. The signal part hidden.
    void SetActive(bool on) override;
    void OnMouseMove(const Zelk::Point& point, bool hit) override;
    // The base, "thing", and the reload parameters and signal part by name.
    void Load(const XmlNode& node) override;
    void Update() override;
    bool Interact(SceneObject* other, bool test, int* word) override;
    // After "activation": "ready" and the signal.
    void OnAnimationEnd(ObjectPart* part, const std::string& name) override;

    // Ready to be used.
    virtual bool IsReady() const { return mReady; }
    void SetReady(bool ready);
    // reload time = min + (max - min) x rand() / 32767.
    void DrawReloadTime();

    float GetReloadTime() const { return mReloadTime; }
    float GetElapsed() const { return mElapsed; }
    const std::string& GetThing() const { return mThing; }
    ObjectPart* GetSignalPart() const { return mSignal; }

private:
    void ShowReady();

    const float* mReloadMin = nullptr;
    const float* mReloadMax = nullptr;
    float mElapsed = 0;
    float mReloadTime = 0;
    bool mReady = false;
    std::string mThing;
    ObjectPart* mSignal = nullptr;
    bool mHovered = false;
};
