#pragma once
// The player's hands in the office: clicks posted to the null window's queue
// where the player sees an object, and the errands of a day (paper fetched,
// made into a product at the desks its chain names, brought to a client).
// The caller says what one tick of the game is.
#include "framework/widgets/WidgetManager.h"
#include "game/core/GameApp.h"
#include "game/flow/OfficeScreen.h"
#include "game/world/Boss.h"
#include "game/world/Client.h"
#include "game/world/NamedObjects.h"
#include "game/world/OfficeWorld.h"
#include "game/world/SceneObjectList.h"
#include "game/world/Worker.h"
#include "platform/NullPlatform.h"
#include "platform/window/InputTranslator.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace peopletest {

class OfficeHands {
public:
    OfficeHands(plat::NullPlatform& platform, std::function<void()> tick,
                std::function<void(const std::string&)> clicked = nullptr)
        : mPlatform(platform), mTick(std::move(tick)), mClicked(std::move(clicked))
    {
    }

    void Tick() { mTick(); }
    bool TickUntil(const std::function<bool()>& done, int limit)
    {
        for (int tick = 0; tick < limit; ++tick) {
            if (done())
                return true;
            Tick();
        }
        return done();
    }

    // A left click at the point, through the window.
    void Press(const Zelk::Point& at)
    {
        const intptr_t packed = plat::InputTranslator::PackPoint(at.mX, at.mY);
        mPlatform.windows.Queue().Post({plat::WM_MOUSEMOVE, 0, packed});
        mPlatform.windows.Queue().Post({plat::WM_LBUTTONDOWN, 1, packed});
        mPlatform.windows.Queue().Post({plat::WM_LBUTTONUP, 0, packed});
    }

    // A left click on the object where the player sees it: the middle of
    // its region, or else the first point of the region that no widget above
    // the office covers (a teaching hint may lie over the middle).
    void ClickOn(const std::string& name)
    {
        SceneObject* object = FindObject(name);
        ASSERT_NE(object, nullptr) << name;
        ASSERT_NE(gGameApp, nullptr);
        const auto& points = object->GetRegion().Points();
        ASSERT_FALSE(points.empty()) << name;
        int x = 0, y = 0, left = points[0].x, top = points[0].y, right = left, bottom = top;
        for (const auto& point : points) {
            x += point.x;
            y += point.y;
            left = std::min(left, int(point.x));
            right = std::max(right, int(point.x));
            top = std::min(top, int(point.y));
            bottom = std::max(bottom, int(point.y));
        }
        const Zelk::Point middle{x / int(points.size()), y / int(points.size())};
        auto open = [&](const Zelk::Point& point) {
            return object->HitTest(point) &&
                   gGameApp->mWidgetManager->GetWidgetAtPoint(point.mX, point.mY) == gGameApp->GetOfficeScreen();
        };
        Zelk::Point at = middle;
        for (int py = top; py <= bottom && !open(at); py += 4)
            for (int px = left; px <= right && !open(at); px += 4)
                if (open({px, py}))
                    at = {px, py};
        if (!open(at)) {
            // Wholly covered: the hint over it goes away when clicked.
            Press(middle);
            if (mClicked)
                mClicked("the hint over " + name);
            ASSERT_TRUE(TickUntil([&] { return open(middle); }, 100)) << name << " stays covered";
            at = middle;
        }
        Press(at);
        if (mClicked)
            mClicked(name);
    }

    // The boss fetches paper and has it made into the product at the desks
    // the product's chain names, then holds it: worker04a makes "0101" from
    // paper; worker02a "0102" from paper on day 1, and "0201" from an "01"
    // product where a day has it so.
    void Make(const std::string& product)
    {
        Boss* boss = ObjectAs<Boss>(gBoss);
        ASSERT_NE(boss, nullptr);
        ClickOn("shelving01");
        ASSERT_TRUE(TickUntil([&] { return boss->GetItem() == "paper"; }, 1500));
        std::vector<std::pair<std::string, std::string>> desks;
        if (product == "0102")
            desks = {{"02a", "0102"}};
        else
            desks = {{"04a", "0101"}};
        if (product == "0201")
            desks.push_back({"02a", "0201"});
        for (const auto& desk : desks) {
            Worker* worker = ObjectAs<Worker>(FindObject("worker" + desk.first));
            ASSERT_NE(worker, nullptr);
            ClickOn("table" + desk.first);
            ASSERT_TRUE(TickUntil([&] { return worker->GetState() == Worker::kWorking && boss->GetItem().empty(); }, 1500))
                << desk.first;
            ASSERT_TRUE(TickUntil([&] { return worker->GetItem() == desk.second && worker->GetState() != Worker::kWorking; }, 3000))
                << desk.first;
            ClickOn("table" + desk.first);
            ASSERT_TRUE(TickUntil([&] { return boss->GetItem() == desk.second; }, 1500)) << desk.first;
        }
    }

    // The client at the place is greeted, has every order made and brought,
    // and leaves.
    void Serve(int place)
    {
        Client* client = GetClient(place);
        ASSERT_NE(client, nullptr);
        const std::string spot = "client_place0" + std::to_string(place + 1);
        ClickOn(spot);
        for (;;) {
            ASSERT_TRUE(TickUntil([&] { return client->GetState() == Client::kWaitingForOrder; }, 1500));
            const std::string order = client->GetItem();
            ASSERT_NO_FATAL_FAILURE(Make(order));
            ClickOn(spot);
            ASSERT_TRUE(TickUntil([&] { return client->GetState() != Client::kWaitingForOrder; }, 1500)) << order;
            ASSERT_TRUE(TickUntil([&] {
                return client->GetState() == Client::kWaitingForOrder || client->GetState() == Client::kPlaceFree;
            }, 1500));
            if (client->GetState() == Client::kPlaceFree)
                break;
        }
    }

    // The place of the next client waiting to be greeted, -1 when none came
    // within the limit or before stop said so.
    int NextWaitingClient(int limit, const std::function<bool()>& stop = nullptr)
    {
        int place = -1;
        TickUntil([&] {
            if (stop && stop())
                return true;
            for (int i : {2, 3})
                if (GetClient(i) && GetClient(i)->GetState() == Client::kWaitingForBoss && place < 0)
                    place = i;
            return place >= 0;
        }, limit);
        return place;
    }

private:
    plat::NullPlatform& mPlatform;
    std::function<void()> mTick;
    std::function<void(const std::string&)> mClicked;
};

} // namespace peopletest
