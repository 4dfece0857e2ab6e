#pragma once
// A door that lets a walker in or out. Its "target" children name the
// walkers it announces itself to: after "open" each becomes its pending
// target (and is updated at once, so a hidden one appears); a manual door
// closes by itself once none of them is visible, an "auto" one stays open.
#include "game/world/Pickable.h"

#include <string>
#include <vector>

class Door : public Pickable {
public:
    static constexpr int32_t kOther = 0;
    static constexpr int32_t kManual = 1;
    static constexpr int32_t kAuto = 2;

    // On: not announced, "idle", the targets found again by name.
    void SetActive(bool on) override;
    // The base, "type" and the "target" children's "object".
    void Load(const XmlNode& node) override;
    // A manual door that is open closes when no target is visible.
    void Update() override;
    // After "open" it is announced to its walker targets; after "close"
    // it idles.
    void OnAnimationEnd(ObjectPart* part, const std::string& name) override;

    // "open" or "close".
    void SetOpen(bool open);
    // A manual door showing "idle" opens.
    virtual void OpenIfIdle();

    int32_t GetType() const { return mType; }
    bool IsOpened() const { return mOpened; }
    const std::vector<std::string>& GetTargetNames() const { return mTargetNames; }

private:
    std::vector<std::string> mTargetNames;
    std::vector<SceneObject*> mTargets;
    int32_t mType = kOther;
    bool mOpened = false;
};
