#pragma once
// The character the player steers. It carries at most one item word and acts
// by the name of the object it reaches: takes an item from a shelving,
// exchanges items with a worker, hands a product to a client, takes money
// from the safe, empties its hands into the bin, answers the ringing phone,
// holds a conference, or drinks at the cupboard for a speed boost. Each
// visit is reported to the rush bonus as the table of Interact says.
//
// Scheduled event codes: 0 an action ended by its animation's length, 1 the
// conference over, 3 a walk ended, 5 the phone call over.
#include "game/core/SfxChannel.h"
#include "game/world/Person.h"

#include <memory>

class Boss : public Person {
public:
    static constexpr int32_t kActionOver = 0;
    static constexpr int32_t kConferenceOver = 1;
    static constexpr int32_t kPhoneOver = 5;

    Boss();
    ~Boss() override;

    // On: "boss_idle_empty"; off: the boost ends. Then the walker's own.
    void SetActive(bool on) override;
    void OnScheduledEvent(int code) override;
    // The base, the steps stopped, hands emptied.
    void Reset() override;
    // Skin from the profile's figure, the walker record "boss:<skin>", idle
    // chains for both idle looks; boost off.
    void ApplyLevelState(const XmlNode& node) override;
    // The walker's update and held items, the boost counted down, the walk
    // look and the steps once per walk.
    void Update() override;
    bool Interact(SceneObject* other, bool test, int* word) override;
    // After "boss_drink" the boost starts; after it or "boss_reproach" idle.
    void OnAnimationEnd(ObjectPart* part, const std::string& name) override;
    // boss_move_speed, times boss_move_speed_mod while the boost runs.
    float GetMoveSpeed() override;

    void StartSpeedBoost();
    // Facing "b" (the parts keep theirs), "boss_idle_full" or "_empty".
    void ShowIdle();
    // The facing of the last movement, the parts keeping theirs.
    void FaceLastMove();
    float GetSpeedBoost() const { return mSpeedBoost; }

private:
    // Faces, "boss_reproach", "wake_up", busy for the animation's length.
    void Reproach();
    // The animation played and event code scheduled after its length.
    void ActFor(const std::string& animation, int32_t code);

    std::unique_ptr<SfxChannel> mConferenceChannel;
    std::unique_ptr<SfxChannel> mStepsChannel;
    float mSpeedBoost = -1.0f;
    bool mLastWalking = false;
};
