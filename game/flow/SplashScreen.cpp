#include "game/flow/SplashScreen.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/widgets/WidgetManager.h"
#include "game/core/CursorManager.h"
#include "game/core/GameApp.h"
#include "game/core/TextureRegistry.h"
#include "game/flow/GlobalBackground.h"

SplashScreen::SplashScreen(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app)
{
    LoadByName(root, "splash");
}

SplashScreen::~SplashScreen() = default;

GameApp* SplashScreen::App() const { return static_cast<GameApp*>(mContext); }

UiDialog* SplashScreen::CurrentPage() const
{
    return mCurrentPage >= 0 && size_t(mCurrentPage) < mPages.size() ? mPages[size_t(mCurrentPage)] : nullptr;
}

void SplashScreen::AddChild(const std::string& name, UiElement* child)
{
    child->SetVisible(false);
    // Only a dialog has a background to show.
    if (auto* dialog = dynamic_cast<UiDialog*>(child)) {
        TextureRegistry* textures = App()->GetTextureRegistry();
        const std::string& id = dialog->GetBackgroundId();
        if (textures && !id.empty()) {
            if (textures->Get(id))
                mPages.push_back(dialog);
            textures->Release(id);
        }
    }
    UiElement::AddChild(name, child);
}

void SplashScreen::ShowPage(UiDialog* page)
{
    TextureRegistry* textures = App()->GetTextureRegistry();
    const std::string id = page->GetBackgroundId();
    if (textures && !id.empty()) {
        if (Zelk::Image* picture = textures->Get(id)) {
            const Zelk::Rect source = page->GetBackgroundSource();
            page->SetBackground(id, Zelk::Rect(source.mX, source.mY, picture->GetWidth(), picture->GetHeight()));
        }
        textures->Release(id);
    }
    page->Show();
}

void SplashScreen::OnAcquireResources()
{
    GameApp* app = App();
    if (CursorManager* cursor = app->GetCursorManager())
        cursor->Disable();
    app->mWidgetManager->SetFocus(this);
    if (UiDialog* page = CurrentPage())
        ShowPage(page);
    else
        Hide();
}

void SplashScreen::OnReleaseResources()
{
    GameApp* app = App();
    if (app->mGlobalBackground)
        app->mGlobalBackground->Show();
    if (CursorManager* cursor = app->GetCursorManager())
        cursor->Enable();
    app->mWidgetManager->SetFocus(nullptr);
}

void SplashScreen::Update()
{
    UiDialog::Update();
    if (!mVisible || mPages.empty())
        return;
    mPageTimer += float(App()->mUpdatePeriod) / 1000.0f;
    if (mPageTimer >= kPageSeconds) {
        if (UiDialog* page = CurrentPage())
            page->Hide();
        mPageEnding = true;
    }
    UiDialog* page = CurrentPage();
    if (mPageEnding && (!page || !page->mVisible))
        NextPage();
}

void SplashScreen::NextPage()
{
    mPageTimer = 0;
    if (size_t(mCurrentPage) + 1 < mPages.size()) {
        ++mCurrentPage;
        if (UiDialog* page = CurrentPage())
            ShowPage(page);
        mPageEnding = false;
    } else {
        Hide();
    }
}

void SplashScreen::KeyDown(int /*key*/)
{
    mPageTimer = 0;
    if (UiDialog* page = CurrentPage())
        page->SetVisible(false);
    mPageEnding = true;
}

void SplashScreen::Draw(Zelk::Graphics* g)
{
    g->SetColor(Zelk::Color(0, 0, 0, 255));
    g->FillRect(0, 0, mWidth, mHeight);
}
