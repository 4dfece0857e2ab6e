#include "game/world/SceneObjectList.h"

#include "game/world/ObjectPart.h"
#include "game/world/OfficeWorld.h"
#include "game/world/SceneObject.h"

SceneObject* FindObject(const std::string& name)
{
    for (SceneObject* object : GetOfficeWorld().sceneObjects)
        if (object->GetName() == name)
            return object;
    return nullptr;
}

void UpdateAllObjects()
{
    for (SceneObject* object : GetOfficeWorld().sceneObjects)
        object->Update();
}

void UpdateAllObjectsSmooth(float fraction)
{
    for (SceneObject* object : GetOfficeWorld().sceneObjects)
        object->UpdateSmooth(fraction);
}

void ActivateVisibleObjects()
{
    for (SceneObject* object : GetOfficeWorld().sceneObjects)
        if (object->IsVisible())
            object->SetActive(true);
}

void DeactivateAllObjects()
{
    for (SceneObject* object : GetOfficeWorld().sceneObjects)
        object->SetActive(false);
}

void ResetAllObjects()
{
    OfficeWorld& world = GetOfficeWorld();
    for (SceneObject* object : world.sceneObjects)
        object->Reset();
    world.levelTimelines.Clear();
    world.zOrder.Reset();
}

void DeleteAllObjects()
{
    OfficeWorld& world = GetOfficeWorld();
    while (!world.sceneObjects.empty())
        delete world.sceneObjects.front();
}

void AddAllObjectsToZOrder()
{
    ZOrderManager& order = GetOfficeWorld().zOrder;
    for (SceneObject* object : GetOfficeWorld().sceneObjects)
        for (ObjectPart* part : object->GetParts()) {
            const std::string& name = part->GetPartName();
            // Carried items are drawn only beside their walker.
            if (name == "held_items")
                continue;
            if (name == "cash" || name == "bonus")
                order.AddFloatingPart(part);
            else
                order.RegisterPart(part, name == "boss" || name == "secretary" || name == "engineer");
        }
    order.BuildOrder();
}
