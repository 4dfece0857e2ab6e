#pragma once
// The assistant who serves coffee and gives presentations. She walks home
// when her queue is empty and stays shown there. Coffee: at the machine she
// takes the cup when a client follows in her queue (or, waiting there, when
// a client is queued), and hands it to the client. A presentation keeps her
// busy for presentation_timeout, then every client present gets it.
//
// Scheduled event codes: 2 the presentation over.
#include "game/world/Person.h"

class Secretary : public Person {
public:
    static constexpr int32_t kPresentationOver = 2;
    // Look states.
    static constexpr int32_t kIdle = 0;
    static constexpr int32_t kWalkingEmpty = 1;
    static constexpr int32_t kWalkingWithCup = 2;
    static constexpr int32_t kPresenting = 3;

    Secretary();

    // The walker's own; on: the "secretary" record, "secretary_idle".
    void SetActive(bool on) override;
    void OnScheduledEvent(int code) override;
    // The walker's update, then the look state.
    void Update() override;
    bool Interact(SceneObject* other, bool test, int* word) override;
    // Standing at the coffee machine, a queued client brings her the cup at
    // once (the machine starts reloading).
    void EnqueueTarget(Pickable* target) override;
    // Null sends her home again.
    Pickable* SetPendingTarget(Pickable* target) override;
    float GetMoveSpeed() override;

    int32_t GetLookState() const { return mLookState; }

private:
    void ShowLook(const char* orientation, const char* animation, int32_t state);

    int32_t mLookState = kIdle;
};
