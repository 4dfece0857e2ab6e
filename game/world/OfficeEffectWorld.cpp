#include "game/world/OfficeEffectWorld.h"

#include "game/world/ObjectPart.h"
#include "game/world/SceneObject.h"
#include "game/world/Worker.h"

bool OfficeEffectWorld::GetPartOwner(ObjectPart* part, std::string& name, std::string& skin)
{
    if (!part || !part->GetOwner())
        return false;
    name = part->GetOwner()->GetName();
    skin = part->GetOwner()->GetSkin();
    return true;
}

bool OfficeEffectWorld::FindWorkerTransformTo(const std::string& prefix, std::string& code)
{
    Worker* worker = FindWorkerByNamePrefix(prefix);
    if (!worker)
        return false;
    code = worker->GetTransformTo();
    return true;
}
