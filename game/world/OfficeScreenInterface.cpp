#include "game/world/OfficeScreenInterface.h"

namespace {

class NoOfficeScreen : public OfficeScreenInterface {
public:
    bool IsSurvival() const override { return false; }
    void ChangeObjects(const StageObject&) override {}
    SceneObject* GetHoveredObject() const override { return nullptr; }
};

NoOfficeScreen gNoScreen;
OfficeScreenInterface* gScreen = nullptr;

} // namespace

void SetOfficeScreenInterface(OfficeScreenInterface* screen) { gScreen = screen; }

OfficeScreenInterface& GetOfficeScreenInterface() { return gScreen ? *gScreen : gNoScreen; }
