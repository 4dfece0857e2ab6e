#include "game/world/NamedObjects.h"

SceneObject* gBoss = nullptr;
SceneObject* gSecretary = nullptr;
SceneObject* gEngineer = nullptr;
SceneObject* gPhone = nullptr;
SceneObject* gMiniBar = nullptr;
SceneObject* gSafe = nullptr;
SceneObject* gCoffeeMachine = nullptr;
SceneObject* gAirConditioner = nullptr;
SceneObject* gConferencePlace = nullptr;
SceneObject* gCupboard = nullptr;
SceneObject* gPresentationPlace = nullptr;
SceneObject* gStereoSystem = nullptr;
SceneObject* gBonus = nullptr;

namespace {

struct NamedObject {
    const char* name;
    SceneObject** object;
};

const NamedObject kNamedObjects[] = {
    {"boss", &gBoss},
    {"secretary", &gSecretary},
    {"engineer", &gEngineer},
    {"phone", &gPhone},
    {"mini_bar", &gMiniBar},
    {"safe", &gSafe},
    {"coffeemachine", &gCoffeeMachine},
    {"air_conditioner", &gAirConditioner},
    {"conference_place", &gConferencePlace},
    {"cupboard", &gCupboard},
    {"presentation_place", &gPresentationPlace},
    {"stereo_system", &gStereoSystem},
    {"bonus", &gBonus},
};

} // namespace

bool BindNamedObject(const std::string& name, SceneObject* object)
{
    for (const NamedObject& row : kNamedObjects) {
        if (name == row.name) {
            *row.object = object;
            return true;
        }
    }
    return false;
}

void ForgetNamedObject(SceneObject* object)
{
    for (const NamedObject& row : kNamedObjects)
        if (*row.object == object)
            *row.object = nullptr;
}
