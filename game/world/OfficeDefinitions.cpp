#include "game/world/OfficeDefinitions.h"

#include "framework/app/StringUtil.h"
#include "game/core/DebugTrace.h"
#include "game/world/NamedObjects.h"
#include "game/world/ObjectFactory.h"
#include "game/world/ObjectPart.h"
#include "game/world/OfficeWorld.h"
#include "game/world/SceneObject.h"
#include "game/world/SceneObjectList.h"

#include <map>
#include <vector>

namespace {

// The first "object" element of each name below the level's "objects"
// elements, in document order (names are compared in code, never put into a
// query).
std::map<std::wstring, XmlNode> LevelObjectsByName(const XmlNode& level)
{
    std::map<std::wstring, XmlNode> found;
    std::vector<XmlNode> roots;
    level.Select(L"objects", roots);
    for (const XmlNode& root : roots) {
        std::vector<XmlNode> pending = root.Children();
        std::vector<XmlNode> stack(pending.rbegin(), pending.rend());
        while (!stack.empty()) {
            XmlNode node = stack.back();
            stack.pop_back();
            if (node.Type() != plat::XML_NODE_ELEMENT)
                continue;
            std::wstring name;
            if (node.Name() == L"object" && XmlGetAttrWString(node, L"name", name))
                found.emplace(name, node);
            std::vector<XmlNode> children = node.Children();
            stack.insert(stack.end(), children.rbegin(), children.rend());
        }
    }
    return found;
}

} // namespace

void LoadOfficeDefinitions(const XmlNode& office)
{
    OfficeWorld& world = GetOfficeWorld();
    ReadGameParams(office, world.levelParams);
    std::vector<XmlNode> objects;
    office.Select(L"objects/object", objects);
    for (const XmlNode& object : objects)
        CreateObjectFromDefinition(object);
    std::vector<XmlNode> records;
    office.Select(L"clients/client", records);
    for (const XmlNode& record : records)
        ReadClientParams(record, world.clientParams);
    office.Select(L"workers/worker", records);
    for (const XmlNode& record : records)
        ReadWorkerParams(record, world.workerParams);
    office.Select(L"perses/pers", records);
    for (const XmlNode& record : records)
        ReadPersParams(record, world.persParams);
}

void LoadObjectParts(SceneObject* object, const XmlNode& element)
{
    std::vector<XmlNode> nodes;
    element.Select(L"part", nodes);
    for (const XmlNode& node : nodes) {
        ObjectPart* part = new ObjectPart(object);
        part->LoadFromXml(node);
        object->AddPart(part);
    }
}

void LoadApproachPoints(SceneObject* object, const XmlNode& element)
{
    std::vector<XmlNode> nodes;
    element.Select(L"point", nodes);
    for (const XmlNode& node : nodes) {
        ApproachPoint point;
        XmlGetAttrString(node, L"owner", point.owner);
        XmlGetAttrString(node, L"direction", point.direction);
        XmlGetAttrInt(node, L"offs_x", point.offs_x);
        XmlGetAttrInt(node, L"offs_y", point.offs_y);
        object->AddApproachPoint(point);
    }
}

SceneObject* CreateObjectFromDefinition(const XmlNode& element)
{
    std::string classWord, name;
    XmlGetAttrString(element, L"class", classWord);
    XmlGetAttrString(element, L"name", name);
    SceneObject* object = ObjectFactory::Create(classWord);
    if (!object) {
        DebugTrace("office object \"%s\": no kind \"%s\", left out\n", name.c_str(), classWord.c_str());
        return nullptr;
    }
    BindNamedObject(name, object);

    LoadObjectParts(object, element);
    LoadApproachPoints(object, element);
    std::vector<XmlNode> nodes;
    element.Select(L"select_block", nodes);
    for (const XmlNode& node : nodes) {
        std::string item;
        if (XmlGetAttrString(node, L"pair_item", item) && !item.empty())
            object->AddPairItemName(item);
    }
    element.Select(L"picks", nodes);
    for (const XmlNode& node : nodes) {
        std::string pick;
        if (XmlGetAttrString(node, L"pick", pick) && !pick.empty())
            object->AddPickName(pick);
    }

    object->Load(element);
    // The parts' effects need the object's position.
    for (ObjectPart* part : object->GetParts())
        part->InitEffectParams();
    return object;
}

void LoadLevelObjects(const XmlNode& level)
{
    ResetAllObjects();
    OfficeWorld& world = GetOfficeWorld();
    const std::map<std::wstring, XmlNode> elements = LevelObjectsByName(level);
    for (SceneObject* object : world.sceneObjects) {
        auto found = elements.find(Zelk::StringToWString(object->GetName()));
        if (found != elements.end())
            object->ApplyLevelState(found->second);
        else
            object->SetVisibleFlag(false);
    }
    AddAllObjectsToZOrder();
    ReadLevelTimelines(level, world.levelTimelines);
    LevelParams& params = world.levelParams;
    XmlNode node = level.SelectSingle(L"params");
    if (!node) {
        params.normal = -1;
        params.expert = -1;
        return;
    }
    XmlGetAttrInt(node, L"normal", params.normal);
    XmlGetAttrInt(node, L"expert", params.expert);
}
