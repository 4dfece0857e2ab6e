#include "game/world/MiniBar.h"

#include "game/world/ObjectPart.h"
#include "game/world/OfficeWorld.h"
#include "game/world/Worker.h"

void MiniBar::SetActive(bool on)
{
    if (on) {
        for (int i = 0; i < kSeats; ++i) {
            mSeats[i].worker = nullptr;
            const char* pers = i < 2 ? "minibar_pers1" : "minibar_pers2";
            const int n = i < 2 ? i : 0;
            mSeats[i].up = FindPart(std::string(pers) + "_up", n);
            mSeats[i].down = FindPart(std::string(pers) + "_down", n);
            ShowSeat(i, false);
        }
    } else {
        for (Worker* guest : mGuests)
            Unseat(guest);
        mGuests.clear();
        PlayAnimation("idle");
    }
    SceneObject::SetActive(on);
}

void MiniBar::AddGuest(Worker* worker)
{
    mGuests.push_back(worker);
    worker->SetTimeOnBreak(HasOfficeWorld() ? GetOfficeWorld().levelParams.worker_break_duration_timeout : 0);
    PlayAnimation("active");
    SeatWorker(worker);
}

void MiniBar::SeatWorker(Worker* worker)
{
    for (const Seat& seat : mSeats)
        if (seat.worker == worker)
            return;
    for (int i = 0; i < kSeats; ++i) {
        if (!mSeats[i].worker) {
            mSeats[i].worker = worker;
            ShowSeat(i, true);
            return;
        }
    }
}

void MiniBar::SeatAll()
{
    for (Worker* guest : mGuests)
        SeatWorker(guest);
}

void MiniBar::Unseat(Worker* worker)
{
    for (int i = 0; i < kSeats; ++i) {
        if (mSeats[i].worker == worker) {
            mSeats[i].worker = nullptr;
            ShowSeat(i, false);
        }
    }
}

void MiniBar::ForgetWorker(Worker* worker)
{
    Unseat(worker);
    mGuests.remove(worker);
}

void MiniBar::ShowSeat(int seat, bool show)
{
    if (seat < 0 || seat >= kSeats)
        return;
    for (ObjectPart* part : {mSeats[seat].up, mSeats[seat].down}) {
        if (!part)
            continue;
        if (show) {
            part->SetSkin("");
            part->PlayAnimation(mSeats[seat].worker ? mSeats[seat].worker->GetName() : std::string(), false);
            part->SetShownFlag(true);
            part->LoadImages();
        } else {
            part->GetPlayer().End();
            part->SetShownFlag(false);
        }
    }
}

void MiniBar::Update()
{
    SceneObject::Update();
    for (auto it = mGuests.begin(); it != mGuests.end();) {
        Worker* guest = *it;
        guest->SetTimeOnBreak(guest->GetTimeOnBreak() - gFrameDelta);
        if (guest->GetTimeOnBreak() < 0) {
            guest->EndBreak();
            it = mGuests.erase(it);
            Unseat(guest);
            SeatAll();
            if (mGuests.empty())
                PlayAnimation("idle");
        } else {
            ++it;
        }
    }
}
