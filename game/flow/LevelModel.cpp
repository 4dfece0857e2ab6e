#include "game/flow/LevelModel.h"

namespace {

std::vector<XmlNode> Children(const XmlNode& node, const wchar_t* name)
{
    std::vector<XmlNode> nodes;
    node.Select(name, nodes);
    return nodes;
}

bool ReadFlag(const XmlNode& node, const wchar_t* name)
{
    bool value = false;
    XmlGetAttrBool(node, name, value);
    return value;
}

StageObject ReadStageObject(const XmlNode& node)
{
    StageObject object;
    XmlGetAttrString(node, L"name", object.name);
    XmlGetAttrString(node, L"skin", object.skin);
    XmlGetAttrString(node, L"anim", object.anim);
    return object;
}

ClientTemplate ReadClientTemplate(const XmlNode& node)
{
    ClientTemplate client;
    client.vip = ReadFlag(node, L"vip");
    XmlGetAttrFloat(node, L"client_time_spawn_min", client.client_time_spawn_min);
    XmlGetAttrFloat(node, L"client_time_spawn_max", client.client_time_spawn_max);
    XmlGetAttrFloat(node, L"probability_spawn", client.probability_spawn);
    XmlGetAttrFloat(node, L"probability_ext_order", client.probability_ext_order);
    XmlGetAttrFloat(node, L"probability_multi_order", client.probability_multi_order);
    XmlGetAttrString(node, L"name", client.name);
    XmlGetAttrString(node, L"order_template", client.order_template);
    return client;
}

SurvivalStage ReadStage(const XmlNode& node)
{
    SurvivalStage stage;
    XmlGetAttrInt(node, L"money", stage.money);
    stage.upgrade_add = ReadFlag(node, L"upgrade_add");
    stage.upgrade_skin = ReadFlag(node, L"upgrade_skin");
    std::string window;
    XmlGetAttrString(node, L"window_event", window);
    stage.window_event = WindowEventCode(window);
    for (const XmlNode& client : Children(node, L"clients"))
        stage.clients.push_back(ReadClientTemplate(client));
    for (const XmlNode& object : Children(node, L"object"))
        stage.objects.push_back(ReadStageObject(object));
    return stage;
}

UpgradeOption ReadOption(const XmlNode& node)
{
    UpgradeOption option;
    XmlGetAttrString(node, L"name", option.name);
    for (const XmlNode& object : Children(node, L"object_list"))
        option.objects.push_back(ReadStageObject(object));
    return option;
}

OrderTemplate ReadOrderTemplate(const XmlNode& node)
{
    OrderTemplate result;
    XmlGetAttrString(node, L"template", result.name);
    for (const XmlNode& listNode : Children(node, L"order_list")) {
        OrderList list;
        XmlGetAttrFloat(listNode, L"probability", list.probability);
        for (const XmlNode& entryNode : Children(listNode, L"orders")) {
            OrderEntry entry;
            XmlGetAttrFloat(entryNode, L"probability", entry.probability);
            XmlGetAttrString(entryNode, L"order", entry.order);
            list.orders.push_back(entry);
        }
        result.lists.push_back(list);
    }
    return result;
}

} // namespace

void SurvivalModel::Clear()
{
    stageIndex = -1;
    upgradeAdd.clear();
    upgradeSkin.clear();
    stages.clear();
    orderTemplates.clear();
}

int32_t WindowEventCode(const std::string& text)
{
    if (text == "window_morning")
        return 1;
    if (text == "window_day")
        return 2;
    return 0;
}

void ReadSurvivalModel(const XmlNode& level, SurvivalModel& model)
{
    model.Clear();
    for (const XmlNode& stages : Children(level, L"stages"))
        for (const XmlNode& stage : Children(stages, L"stage"))
            model.stages.push_back(ReadStage(stage));
    for (const XmlNode& option : Children(level, L"upgrade_add_list"))
        model.upgradeAdd.push_back(ReadOption(option));
    for (const XmlNode& option : Children(level, L"upgrade_skin_list"))
        model.upgradeSkin.push_back(ReadOption(option));
    for (const XmlNode& orderTemplate : Children(level, L"order_template"))
        model.orderTemplates.push_back(ReadOrderTemplate(orderTemplate));
}

std::unique_ptr<XmlDocument> LoadXmlDocument(const std::string& fileName)
{
    auto document = std::make_unique<XmlDocument>();
    if (!XmlCreateDocument(*document))
        return nullptr;
    XmlLoadFile(fileName, *document);
    return document;
}
