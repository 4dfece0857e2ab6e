#include "game/flow/BonusStages.h"

#include "game/core/GameApp.h"
#include "game/core/LocTable.h"
#include "game/flow/OfficeScreen.h"
#include "game/world/ItemBonus.h"
#include "game/world/NamedObjects.h"

namespace {

std::wstring LocText(const std::string& id)
{
    GameApp* app = GetGameApp();
    if (id.empty() || !app || !app->GetLocTable())
        return std::wstring();
    return app->GetLocTable()->Get(id);
}

// The floating text of a stage over the object acted on, through the
// item-bonus pool (none without one).
void ShowBonusPopup(SceneObject* target, int32_t amount, const std::wstring& text)
{
    ItemBonus* pool = ObjectAs<ItemBonus>(gBonus);
    if (pool && target)
        pool->ShowPopup(ItemBonus::KIND_BONUS, target, amount, text);
}

} // namespace

void BonusStages::Load(const XmlNode& office)
{
    mStages.clear();
    mCurrent = -1;
    XmlNode config = office.SelectSingle(L"bonus_config");
    if (!config)
        return;
    XmlGetAttrFloat(config, L"rush_timeout", mRushTimeout);
    std::vector<XmlNode> nodes;
    config.Select(L"bonus_stages", nodes);
    for (const XmlNode& node : nodes) {
        BonusStage stage;
        XmlGetAttrInt(node, L"action", stage.action);
        XmlGetAttrInt(node, L"bonus", stage.bonus);
        std::string id;
        XmlGetAttrString(node, L"loc_str", id);
        stage.text = LocText(id);
        mStages.push_back(stage);
    }
}

void BonusStages::Break()
{
    mLinks = 0;
    mRushTimer = 0;
    mCurrent = -1;
}

void BonusStages::Advance(int32_t kind, SceneObject* target)
{
    if (mObserver)
        mObserver(kind, target);
    if (kind == 0) {
        Break();
        return;
    }
    if (kind != 1)
        return;
    ++mLinks;
    mRushTimer = 0;
    for (size_t i = 0; i < mStages.size(); ++i)
        if (mStages[i].action == mLinks) {
            mCurrent = int32_t(i);
            break;
        }
    if (mCurrent >= 0)
        PayStage(target);
}

void BonusStages::Update(float dt)
{
    mRushTimer += dt;
    if (mRushTimer >= mRushTimeout)
        Break();
}

void BonusStages::PayStage(SceneObject* target)
{
    const BonusStage* stage = GetCurrentStage();
    if (!stage)
        return;
    if (target)
        ShowBonusPopup(target, stage->bonus, stage->text);
    OfficeScreen::AddMoney(stage->bonus);
}
