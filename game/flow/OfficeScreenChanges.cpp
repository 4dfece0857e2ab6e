// The office screen's survival upgrades: the HUD's upgrade button offers the
// first pending upgrade's options and applies the chosen one.
#include "game/flow/HudPanel.h"
#include "game/flow/OfficeScreen.h"
#include "game/flow/UpgradeDialog.h"

#include <algorithm>

void OfficeScreen::ApplyUpgrade()
{
    ++mUpgradeRequests;
    if (mPendingUpgrades.empty())
        return;
    const int32_t kind = mPendingUpgrades.front();
    std::vector<UpgradeOption>& options = kind == 0 ? mSurvivalModel.upgradeAdd : mSurvivalModel.upgradeSkin;
    if (!options.empty()) {
        std::string names[UpgradeDialog::kOptions];
        for (size_t k = 0; k < options.size() && k < UpgradeDialog::kOptions; ++k)
            names[k] = options[k].name;
        mDayRunning = false;
        const std::string chosen = mUpgradeDialog->Choose(names[0], names[1], names[2]);
        mDayRunning = true;
        // Unanswered: nothing applied, the upgrade stays pending.
        if (chosen.empty())
            return;
        auto found = std::find_if(options.begin(), options.end(),
                                  [&](const UpgradeOption& option) { return option.name == chosen; });
        if (found != options.end()) {
            const std::vector<StageObject> objects = found->objects;
            options.erase(found);
            for (const StageObject& object : objects) {
                if (kind == 0)
                    ApplyStageObjects(object);
                else
                    ChangeObjects(object);
            }
        }
    }
    if (!mPendingUpgrades.empty())
        mPendingUpgrades.erase(mPendingUpgrades.begin());
    if (mPendingUpgrades.empty() && mHud)
        mHud->SetUpgradeDisabled(true);
}
