#include "game/world/StatusSource.h"

#include "game/world/Client.h"
#include "game/world/NamedObjects.h"
#include "game/world/Phone.h"
#include "game/world/Worker.h"

StatusSource* FindStatusSource(const std::string& indicatorName, SceneObject** object)
{
    *object = nullptr;
    auto begins = [&indicatorName](const char* prefix) { return indicatorName.rfind(prefix, 0) == 0; };
    if (begins("worker")) {
        Worker* worker = FindWorkerByNamePrefix(indicatorName);
        *object = worker;
        return worker;
    }
    if (begins("client")) {
        Client* client = FindClientByName(indicatorName);
        *object = client;
        return client;
    }
    if (begins("phone")) {
        Phone* phone = ObjectAs<Phone>(gPhone);
        *object = phone;
        return phone;
    }
    return nullptr;
}
