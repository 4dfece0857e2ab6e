#pragma once
// The assistant who repairs the air conditioner and the stereo system. He
// waits hidden at home behind the door that lets him in, comes out when it
// opens, repairs the machine he is sent to for 5 s, walks home and hides.
//
// Scheduled event codes: 4 the repair over.
#include "game/world/Person.h"

class Engineer : public Person {
public:
    static constexpr int32_t kRepairOver = 4;
    static constexpr float kRepairSeconds = 5.0f;

    Engineer();

    void OnScheduledEvent(int code) override;
    // The walker's update, then (while visible) the walk or idle look.
    void Update() override;
    bool Interact(SceneObject* other, bool test, int* word) override;
    float GetMoveSpeed() override;
    void SpareHook(int value) override { Person::SpareHook(value); }
};
