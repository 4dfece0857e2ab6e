#include "game/world/OfficeEffectWorld.h"

#include "game/world/ObjectPart.h"
#include "game/world/SceneObject.h"

bool OfficeEffectWorld::GetPartOwner(ObjectPart* part, std::string& name, std::string& skin)
{
    if (!part || !part->GetOwner())
        return false;
    name = part->GetOwner()->GetName();
    skin = part->GetOwner()->GetSkin();
    return true;
}

bool OfficeEffectWorld::FindWorkerTransformTo(const std::string&, std::string&) { return false; }
