#pragma once
// What the status indicators ask of the object they watch (clients, workers,
// the phone): whether the status shows, whether it is hovered, whether the
// boss carries its order, its meter value, its bubble word and its product.
#include <string>

class SceneObject;

class StatusSource {
public:
    virtual ~StatusSource() = default;
    // The indicator shows the object's status.
    virtual bool IsStatusShown() const { return false; }
    virtual bool IsHovered() const { return false; }
    // The boss carries what the object waits for.
    virtual bool CheckOrder() const { return false; }
    // The meter's value (0..100) written; true for a level, false for a
    // countdown or no meter.
    virtual bool GetMeterValue(float* value) const { return false; }
    // The bubble's word written, with last set when it is the last order;
    // false when no bubble shows.
    virtual bool GetBubbleContent(bool* last, std::string* word) const { return false; }
    virtual bool GetProduct(std::string* product) const { return false; }
};

// The source an indicator's name binds to: "worker…" the worker with the
// longest name beginning it, "client…" likewise the client, "phone…" the
// phone; null (and object null) for any other name or none found.
StatusSource* FindStatusSource(const std::string& indicatorName, SceneObject** object);
