// The office screen's spawning: clients by the career timeline or drawn
// from the survival stages, the stages entered as the money grows, and the
// orders a survival client asks for.
#include "framework/app/Random.h"
#include "game/core/DebugTrace.h"
#include "game/flow/HudPanel.h"
#include "game/flow/OfficeScreen.h"
#include "game/flow/TutorialScript.h"
#include "game/world/Client.h"
#include "game/world/NamedObjects.h"
#include "game/world/Phone.h"

#include <algorithm>
#include <climits>

namespace {

// Draws of one order before the last name is kept.
constexpr int kMaxOrderDraws = 100;

bool PhoneRings()
{
    Phone* phone = ObjectAs<Phone>(gPhone);
    return phone && phone->IsRinging();
}

// A weight that is negative or not a number counts as 0.
float Weight(float probability) { return probability > 0 ? probability : 0; }

} // namespace

float OfficeScreen::Random01() { return float(Zelk::Rand()) / 32767.0f; }

void OfficeScreen::SortSchedules()
{
    LevelTimelines& timelines = mWorld.levelTimelines;
    auto byTime = [](const TimePoint& a, const TimePoint& b) { return a.time < b.time; };
    for (std::vector<TimePoint>* list : {&timelines.clients, &timelines.airConditioner, &timelines.stereoSystem})
        std::stable_sort(list->begin(), list->end(), byTime);
    timelines.clientsWorking = timelines.clients;
    timelines.airConditionerWorking = timelines.airConditioner;
    timelines.stereoSystemWorking = timelines.stereoSystem;
}

bool OfficeScreen::TakeDueClient(std::vector<TimePoint>& list, float clock, TimePoint& out)
{
    if (list.empty() || !(list.front().time <= clock))
        return false;
    out = list.front();
    list.erase(list.begin());
    return true;
}

float OfficeScreen::DayProgress() const
{
    const LevelTimelines& timelines = mWorld.levelTimelines;
    if (timelines.clients.empty())
        return 1.0f;
    return float(timelines.clientsWorking.size()) / float(timelines.clients.size());
}

void OfficeScreen::SpawnScheduledClient()
{
    bool busy = false;
    for (int i = 0; i < OfficeWorld::kClientPlaces; ++i)
        if (Client* client = GetClient(i))
            if (client->IsVisible() || client->IsActive())
                busy = true;
    if (!busy && mWorld.levelTimelines.clientsWorking.empty()) {
        mEnding = true;
        mEndCountdown = kCareerEndDelay;
        return;
    }
    if (gTutorialScript && !gTutorialScript->IsActionAllowed(2))
        return;
    const int place = FindFreeClientPlace();
    if (place < 0 || PhoneRings())
        return;
    if (mSpawnTimer < 0) {
        mSpawnTimer += gFrameDelta;
        return;
    }
    TimePoint record;
    if (!TakeDueClient(mWorld.levelTimelines.clientsWorking, mLevelClock, record))
        return;
    SpawnClient(record.event, record.vip != 0, place, record.orders);
    PlayWindowEvent(record.window_event);
    mSpawnTimer = -mWorld.levelParams.events_delay_timeout;
}

void OfficeScreen::SpawnSurvivalClient()
{
    std::vector<SurvivalStage>& stages = mSurvivalModel.stages;
    if (stages.empty())
        return;
    if (mSurvivalModel.stageIndex < 0)
        AdvanceStage();
    else
        EnterStagesByMoney();
    const size_t s = std::min(size_t(mSurvivalModel.stageIndex), stages.size() - 1);

    if (mSpawnTimer >= 0) {
        mSpawnTimer -= gFrameDelta;
        return;
    }
    if (mPendingTemplate) {
        std::vector<std::string> orders;
        PickOrders(*mPendingTemplate, orders);
        SpawnClient(mPendingTemplate->name, mPendingTemplate->vip != 0, mPendingPlace, orders);
        DebugTrace(" +respawn client: %s\n", mPendingTemplate->name.c_str());
        mPendingTemplate = nullptr;
    }
    const int place = FindFreeClientPlace();
    if (place < 0 || PhoneRings())
        return;
    std::vector<ClientTemplate>& templates = stages[s].clients;
    if (templates.empty())
        return;
    float total = 0;
    for (const ClientTemplate& client : templates)
        total += Weight(client.probability_spawn);
    if (!(total > 0)) {
        for (ClientTemplate& client : templates)
            client.probability_spawn = 1.0f / float(templates.size());
        total = 1;
    }
    const float x = Random01() * total;
    float sum = 0;
    for (const ClientTemplate& client : templates) {
        sum += Weight(client.probability_spawn);
        if (sum > x) {
            mPendingTemplate = &client;
            break;
        }
    }
    if (mPendingTemplate) {
        const float min = mPendingTemplate->client_time_spawn_min;
        const float max = mPendingTemplate->client_time_spawn_max;
        mSpawnTimer = min + Random01() * (max - min);
        mPendingPlace = place;
    }
}

int64_t OfficeScreen::StageThreshold(int64_t index) const
{
    // Past the last stage each further one costs the last step again; with
    // fewer than two stages, a step that does not grow or a threshold past
    // the largest money there is no further stage.
    const std::vector<SurvivalStage>& stages = mSurvivalModel.stages;
    const int64_t n = int64_t(stages.size());
    int64_t next = INT_MAX;
    if (index + 1 < n && index + 1 >= 0) {
        next = stages[size_t(index + 1)].money;
    } else if (n >= 2) {
        const int64_t last = stages[size_t(n - 1)].money;
        const int64_t step = last - stages[size_t(n - 2)].money;
        if (step > 0 && index - n + 2 <= (int64_t(INT_MAX) - last) / step + 1)
            next = step * (index - n + 2) + last;
    }
    return next > INT_MAX ? INT_MAX : next;
}

void OfficeScreen::EnterStagesByMoney()
{
    const std::vector<SurvivalStage>& stages = mSurvivalModel.stages;
    const int64_t n = int64_t(stages.size());
    while (mNextStageMoney != INT_MAX && mMoney >= mNextStageMoney) {
        // Stages past the file's last only move the thresholds: the steps up
        // to the one before the money's stage are taken at once.
        const int64_t index = mSurvivalModel.stageIndex;
        if (index >= n - 1 && n >= 2) {
            const int64_t last = stages[size_t(n - 1)].money;
            const int64_t step = last - stages[size_t(n - 2)].money;
            if (step > 0 && mMoney >= last) {
                // The money's stage is the first whose next threshold lies
                // above it; the walk resumes two stages before it.
                const int64_t stage = (int64_t(mMoney) - last) / step + n - 1;
                const int64_t resume = std::min<int64_t>(stage - 2, INT_MAX - 4);
                if (resume > index) {
                    mSurvivalModel.stageIndex = int32_t(resume);
                    mNextStageMoney = int32_t(StageThreshold(resume));
                }
            }
        }
        AdvanceStage();
    }
}

void OfficeScreen::AdvanceStage()
{
    const std::vector<SurvivalStage>& stages = mSurvivalModel.stages;
    if (mSurvivalModel.stageIndex >= INT_MAX - 2) {
        mNextStageMoney = INT_MAX;
        return;
    }
    const int32_t i = ++mSurvivalModel.stageIndex;
    SetNumber("currentday", i + 1);
    if (size_t(i) < stages.size()) {
        const SurvivalStage& stage = stages[size_t(i)];
        for (const StageObject& object : stage.objects)
            ApplyStageObjects(object);
        if (stage.window_event == 1)
            PlayWindowEvent("window_morning");
        else if (stage.window_event == 2)
            PlayWindowEvent("window_day");
        for (int32_t kind : {0, 1}) {
            if (!(kind == 0 ? stage.upgrade_add : stage.upgrade_skin))
                continue;
            if (mPendingUpgrades.empty() && mHud)
                mHud->SetUpgradeDisabled(false);
            mPendingUpgrades.push_back(kind);
        }
    }
    mStageStartMoney = mNextStageMoney;
    mNextStageMoney = int32_t(StageThreshold(i));
}

void OfficeScreen::PickOrders(const ClientTemplate& client, std::vector<std::string>& out)
{
    const OrderTemplate* found = nullptr;
    for (const OrderTemplate& candidate : mSurvivalModel.orderTemplates)
        if (candidate.name == client.order_template) {
            found = &candidate;
            break;
        }
    if (!found || found->lists.empty())
        return;
    auto add = [&out](const std::string& name) {
        if (!name.empty())
            out.push_back(name);
    };
    const std::vector<OrderList>& lists = found->lists;
    if (Random01() < client.probability_multi_order) {
        add(PickOrder(lists[0], out, client.probability_ext_order));
        if (lists.size() > 1)
            add(PickOrder(lists[1], out, client.probability_ext_order));
    } else {
        add(PickOrder(lists.size() > 1 ? lists[1] : lists[0], out, client.probability_ext_order));
    }
}

std::string OfficeScreen::PickOrder(const OrderList& list, const std::vector<std::string>& chosen, float ext)
{
    const bool extended = ext > 0;
    float total = 0;
    for (const OrderEntry& entry : list.orders)
        total += Weight(entry.probability);
    if (!(total > 0))
        return std::string();
    std::string name;
    for (int draw = 0; draw < kMaxOrderDraws; ++draw) {
        const float x = Random01() * total;
        float sum = 0;
        const OrderEntry* picked = nullptr;
        for (const OrderEntry& entry : list.orders) {
            const float weight = Weight(entry.probability);
            sum += weight;
            if (weight > 0)
                picked = &entry; // the last positive one when nothing exceeds x
            if (sum > x && weight > 0)
                break;
        }
        name = picked->order;
        if (extended && name.size() >= 2 && name[0] == '0') {
            const int digit = std::max(2, std::min(4, Zelk::RandomInt(2, 4)));
            name[1] = char('0' + digit);
        }
        if (std::find(chosen.begin(), chosen.end(), name) == chosen.end())
            break;
    }
    return name;
}
