#pragma once
// What the status indicators ask of the object they watch (clients, workers,
// the phone). Filled in with the status indicators.
class StatusSource {
public:
    virtual ~StatusSource() = default;
    // The indicator shows the object's status.
    virtual bool IsStatusShown() const { return false; }
};
