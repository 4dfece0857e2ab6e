#pragma once
// The meter above a client, worker or the phone: up to ten stacked segments
// (five for the phone) tinted by the value's band, blinking at the red
// threshold. Bound by its own name to its source at load, whose position it
// takes; without a source it stays hidden.
#include "game/world/SceneObject.h"

#include <cstdint>

class StatusSource;

class StatusHp : public SceneObject {
public:
    static constexpr uint32_t kProtectedTint = 0xFF47D6FF;
    static constexpr uint32_t kRedTint = 0xFFFF0000;
    static constexpr uint32_t kYellowTint = 0xFFFFD400;
    static constexpr uint32_t kGreenTint = 0xFF00F070;

    StatusHp();

    // On: the last value 100. Off: "off_blink_hp". Shown as switched.
    void SetActive(bool on) override;
    // The source's meter: segments, tint and blinking.
    void Update() override;
    // The base, the source by name and its thresholds, the bar's repeats.
    void Load(const XmlNode& node) override;

    // Segments of a value: ceil(v / 10); the phone's v / 20, rounded up
    // only above .5.
    int32_t SegmentsFor(float value) const;
    uint32_t TintFor(float value) const;
    StatusSource* GetSource() const { return mSource; }
    SceneObject* GetSourceObject() const { return mSourceObject; }
    float GetLastValue() const { return mLast; }
    ObjectPart* GetBar() const { return mBar; }

private:
    SceneObject* mSourceObject = nullptr;
    StatusSource* mSource = nullptr;
    ObjectPart* mBar = nullptr;
    ObjectPart* mBack = nullptr;
    int32_t mGreen = 0;
    int32_t mYellow = 0;
    int32_t mRed = 0;
    float mLast = 100.0f;
    bool mPhone = false;
};
