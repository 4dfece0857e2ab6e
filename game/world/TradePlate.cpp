#include "game/world/TradePlate.h"

#include "framework/app/StringUtil.h"
#include "game/world/SceneObjectList.h"
#include "game/world/Worker.h"

std::string Specialization::SkinOf(const std::string& transformTo)
{
    if (transformTo.size() != 4)
        return std::string();
    return std::string("spec_l") + transformTo[1] + "t" + transformTo[3];
}

void Specialization::Load(const XmlNode& node)
{
    SceneObject::Load(node);
    std::wstring worker, table;
    XmlGetAttrWString(node, L"worker", worker);
    XmlGetAttrWString(node, L"table", table);
    mWorkerName = Zelk::WStringToString(worker);
    mTableName = Zelk::WStringToString(table);
    mWorker = nullptr;
    mTable = nullptr;
    Resolve();
}

void Specialization::Resolve()
{
    if (!mWorker && !mWorkerName.empty())
        mWorker = FindObject(mWorkerName);
    if (!mTable && !mTableName.empty())
        mTable = FindObject(mTableName);
}

void Specialization::ApplyLevelState(const XmlNode& node)
{
    Pickable::ApplyLevelState(node);
    mHovered = false;
    // Objects listed after the plate are found now.
    Resolve();
    Worker* worker = ObjectAs<Worker>(mWorker);
    if (!worker)
        return;
    const std::string skin = SkinOf(worker->GetTransformTo());
    if (skin.empty())
        return;
    SetSkin(skin, false);
    PlayAnimation("idle");
}

bool Specialization::Interact(SceneObject* other, bool test, int* word)
{
    return mTable ? mTable->Interact(other, test, word) : false;
}
