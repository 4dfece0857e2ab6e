#pragma once
// What a level file adds to the office besides its objects and timelines:
// for survival levels the stages with their client types, the two lists of
// upgrade options and the order templates. Every record is read in document
// order; a missing attribute keeps the default given here.
#include "game/core/XmlFunctions.h"
#include "game/world/StageObject.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One client type of a survival stage ("clients").
struct ClientTemplate {
    std::string name; // a client type
    uint8_t vip = 0;
    float client_time_spawn_min = 0;
    float client_time_spawn_max = 0;
    float probability_spawn = 0; // a weight among the stage's types
    float probability_ext_order = 0;
    float probability_multi_order = 0;
    std::string order_template; // the name of an OrderTemplate
};

// One survival stage ("stage"), entered when the money reaches its
// threshold.
struct SurvivalStage {
    int32_t money = -1; // the threshold; -1 when missing
    uint8_t upgrade_add = 0;
    uint8_t upgrade_skin = 0;
    int32_t window_event = 0; // 1 "window_morning", 2 "window_day", else 0
    std::vector<ClientTemplate> clients;
    std::vector<StageObject> objects;
};

// One upgrade the player may choose ("upgrade_add_list" or
// "upgrade_skin_list").
struct UpgradeOption {
    std::string name;
    std::vector<StageObject> objects;
};

struct OrderEntry {
    float probability = 0; // a weight within its list
    std::string order;
};

struct OrderList {
    float probability = 0; // read, not used
    std::vector<OrderEntry> orders;
};

// The orders a client type may ask for ("order_template", named by its
// attribute "template").
struct OrderTemplate {
    std::string name;
    std::vector<OrderList> lists;
};

// The survival part of a level.
struct SurvivalModel {
    int32_t stageIndex = -1; // -1 before the first stage
    std::vector<UpgradeOption> upgradeAdd;
    std::vector<UpgradeOption> upgradeSkin;
    std::vector<SurvivalStage> stages;
    std::vector<OrderTemplate> orderTemplates;

    // Index -1 and every list empty.
    void Clear();
};

// 1 for "window_morning", 2 for "window_day", 0 for any other text.
int32_t WindowEventCode(const std::string& text);
// Cleared, then every "stages/stage", "upgrade_add_list",
// "upgrade_skin_list" and "order_template" child of the level root.
void ReadSurvivalModel(const XmlNode& level, SurvivalModel& model);
// A new document with the file loaded; a file that cannot be read leaves it
// empty. Null only when no document can be made.
std::unique_ptr<XmlDocument> LoadXmlDocument(const std::string& fileName);
