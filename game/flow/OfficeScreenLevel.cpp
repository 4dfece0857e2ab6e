// The office screen's loading: the office file once, a level file per level,
// and what a level leaves behind cleared before the next.
#include "framework/app/StringUtil.h"
#include "game/core/GameApp.h"
#include "game/core/LocTable.h"
#include "game/flow/BriefingDialog.h"
#include "game/flow/LoadingScreen.h"
#include "game/flow/OfficeScreen.h"
#include "game/flow/StepLock.h"
#include "game/flow/TutorialScript.h"
#include "game/world/ObjectPart.h"
#include "game/world/OfficeDefinitions.h"
#include "game/world/SceneObject.h"
#include "game/world/SceneObjectList.h"

#include <cstdio>
#include <memory>

namespace {

std::wstring LocText(GameApp* app, const XmlNode& node, const wchar_t* attribute)
{
    std::string id;
    if (!XmlGetAttrString(node, attribute, id) || !app || !app->GetLocTable())
        return std::wstring();
    return app->GetLocTable()->Get(id);
}

std::wstring LocText(GameApp* app, const std::string& id)
{
    return app && app->GetLocTable() ? app->GetLocTable()->Get(id) : std::wstring();
}

} // namespace

void OfficeScreen::LoadOffice()
{
    mOfficeDocument = LoadXmlDocument("cfg\\office.xml");
    if (!mOfficeDocument)
        return;
    XmlNode office = mOfficeDocument->Node().SelectSingle(L"office");
    if (!office)
        return;
    mWorld.zOrder.CheckCacheId(office);
    LoadOfficeDefinitions(office);
    for (auto& graphs : mWorld.walkGraphs)
        graphs.second->LoadOfficeGraph(office);
    mBonusStages.Load(office);
}

void OfficeScreen::LoadLevel(int32_t level)
{
    mLevel = level;
    UiElement* loading = mApp ? static_cast<UiElement*>(mApp->mLoadingScreen) : nullptr;
    if (loading)
        loading->Show();
    // The loading screen steps the application on its own thread meanwhile:
    // every step below that touches widgets, effects or the world holds the
    // step lock, the file read does not, and the hide (which waits for the
    // screen's minimum time) runs without it.
    {
        Zelk::CritSectGuard guard(gStepLock);
        ResetWindow();
        if (gTutorialScript) {
            gTutorialScript->Reset();
            if (!mSurvival)
                gTutorialScript->Start(level);
        }
    }
    {
        Zelk::CritSectGuard guard(gStepLock);
        ClearOffice();
    }

    char name[64];
    std::snprintf(name, sizeof name, mSurvival ? "cfg\\endless%d.xml" : "cfg\\l%d.xml", int(level));
    std::unique_ptr<XmlDocument> document = LoadXmlDocument(name);
    {
        Zelk::CritSectGuard guard(gStepLock);
        mLevelDocument = std::move(document);
        XmlNode root = mLevelDocument ? mLevelDocument->Node().SelectSingle(L"level") : XmlNode();
        if (root) {
            LoadLevelObjects(root);
            for (auto& graphs : mWorld.walkGraphs) {
                graphs.second->AddObjectPoints(graphs.first);
                graphs.second->LoadLevelGraph(root);
            }
            ActivateVisibleObjects();
            if (!mSurvival) {
                mBriefing->SetText(LocText(mApp, root, L"briefing"));
                mFailureText = LocText(mApp, root, L"debriefing_bad");
                mGoalText = LocText(mApp, root, L"debriefing_good");
                mExpertText = LocText(mApp, root, L"debriefing_perfect");
            } else {
                mPendingTemplate = nullptr; // it pointed into the last model
                ReadSurvivalModel(root, mSurvivalModel);
                mExpertText = LocText(mApp, "debreif_endlessp");
                mGoalText = LocText(mApp, "debreif_endlessg");
                mFailureText = LocText(mApp, "debreif_endlessb");
            }
        }
    }
    if (loading)
        loading->Hide();
}

void OfficeScreen::ClearOffice()
{
    mBlinkChanges.clear();
    mDayOver = true;
    ResetWindow();
    for (auto& graphs : mWorld.walkGraphs)
        graphs.second->ClearLevel();
    DeactivateAllObjects();
    ResetAllObjects();
    mLevelDocument.reset();
}

void OfficeScreen::PlayWindowEvent(const std::string& name)
{
    if ((name != "window_day" && name != "window_morning") || !mWindow)
        return;
    for (ObjectPart* part : mWindow->GetParts())
        if (part->GetPartName() == name)
            part->FireEvent("fade_out");
}

void OfficeScreen::ResetWindow()
{
    mWindow = FindObject("window");
    if (mWindow)
        mWindow->FireEvent("window_reset");
}
