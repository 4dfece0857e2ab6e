#include "game/world/ObjectFactory.h"

#include "game/world/Bin.h"
#include "game/world/Boss.h"
#include "game/world/Client.h"
#include "game/world/Door.h"
#include "game/world/Engineer.h"
#include "game/world/ItemBonus.h"
#include "game/world/MiniBar.h"
#include "game/world/PeriodItem.h"
#include "game/world/Phone.h"
#include "game/world/Pickable.h"
#include "game/world/SceneObject.h"
#include "game/world/Secretary.h"
#include "game/world/Shelving.h"
#include "game/world/TradePlate.h"
#include "game/world/StatusBubble.h"
#include "game/world/StatusHp.h"
#include "game/world/Worker.h"

namespace {

template <class Kind>
SceneObject* Make()
{
    return new Kind;
}

const ObjectFactory::Row kRows[] = {
    {"boss", Make<Boss>},
    {"client", Make<Client>},
    {"door", Make<Door>},
    {"engineer", Make<Engineer>},
    {"item", Make<SceneObject>},
    {"mini_bar", Make<MiniBar>},
    {"period_item", Make<PeriodItem>},
    {"pickable", Make<Pickable>},
    {"secretary", Make<Secretary>},
    {"shelving", Make<Shelving>},
    {"phone", Make<Phone>},
    {"bin", Make<Bin>},
    {"worker", Make<Worker>},
    {"status_hp", Make<StatusHp>},
    {"status_bubble", Make<StatusBubble>},
    {"specialization", Make<Specialization>},
    {"item_bonus", Make<ItemBonus>},
};

} // namespace

SceneObject* ObjectFactory::Create(const std::string& classWord)
{
    for (const Row& row : kRows)
        if (classWord == row.classWord)
            return row.create();
    return nullptr;
}

const ObjectFactory::Row* ObjectFactory::Rows(int& count)
{
    count = int(sizeof(kRows) / sizeof(kRows[0]));
    return kRows;
}
