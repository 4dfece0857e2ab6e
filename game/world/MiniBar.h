#pragma once
// Where workers on a break sit: the guests in the order they came, three
// seats showing who sits there. A guest's break time is counted down here;
// a guest without a seat takes the first one freed.
#include "game/world/SceneObject.h"

#include <list>

class ObjectPart;
class Worker;

class MiniBar : public SceneObject {
public:
    static const int kSeats = 3;

    // On: the seats emptied, their parts found and hidden. Off: every guest
    // unseated and forgotten (they stay on break), "idle".
    void SetActive(bool on) override;
    // The guests' break times; one whose time is out goes back to work.
    void Update() override;

    // A new guest with a full break, "active", seated when a seat is free.
    void AddGuest(Worker* worker);
    void SeatWorker(Worker* worker);
    void SeatAll();
    void Unseat(Worker* worker);
    void ShowSeat(int seat, bool show);
    // A worker leaving the office leaves the guests and its seat.
    void ForgetWorker(Worker* worker);

    const std::list<Worker*>& GetGuests() const { return mGuests; }
    Worker* GetSeated(int seat) const { return seat >= 0 && seat < kSeats ? mSeats[seat].worker : nullptr; }

private:
    struct Seat {
        Worker* worker = nullptr;
        ObjectPart* up = nullptr;
        ObjectPart* down = nullptr;
    };
    std::list<Worker*> mGuests;
    Seat mSeats[kSeats];
};
