#include "game/core/CursorManager.h"

#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/Graphics.h"
#include "framework/widgets/WidgetManager.h"
#include "game/core/TextureRegistry.h"

#include <vector>

namespace {
// The framework's cursor kind with no picture of its own: the system cursor
// is hidden while the mouse is in the window.
constexpr int kCustomCursorKind = 12;
} // namespace

CursorManager::CursorManager(TextureRegistry* textures) : mTextures(textures) {}

CursorManager::~CursorManager() { Clear(); }

void CursorManager::Load(const XmlNode& root)
{
    if (!mTextures)
        return;
    std::vector<XmlNode> nodes;
    root.Select(L"cursors", nodes);
    for (const XmlNode& node : nodes) {
        std::string mode, imageId;
        if (!XmlGetAttrString(node, L"mode", mode) || !XmlGetAttrString(node, L"image", imageId))
            continue;
        Zelk::Image* image = mTextures->Get(imageId);
        if (!image)
            continue;
        CursorRecord record;
        record.image = image;
        XmlGetAttrInt(node, L"hot_spot_x", record.hotSpotX);
        XmlGetAttrInt(node, L"hot_spot_y", record.hotSpotY);
        std::lock_guard<std::mutex> guard(mLock);
        // A later entry of a known mode keeps its texture reference until the
        // textures go.
        mCursors.emplace(mode, record);
    }
}

void CursorManager::ApplyFrameworkCursor(bool custom)
{
    Zelk::ZelkAppBase* app = mTextures ? mTextures->GetApp() : nullptr;
    if (!app)
        return;
    app->SetCustomCursors(custom);
    app->SetCursor(custom ? kCustomCursorKind : 0);
    app->SetCursorImage(kCustomCursorKind, nullptr);
}

void CursorManager::Select(const std::string& mode)
{
    bool custom;
    {
        std::lock_guard<std::mutex> guard(mLock);
        auto it = mCursors.find(mode);
        mSelected = it == mCursors.end() || !it->second.image ? nullptr : &it->second;
        custom = mSelected != nullptr;
    }
    ApplyFrameworkCursor(custom);
}

void CursorManager::Reset()
{
    {
        std::lock_guard<std::mutex> guard(mLock);
        mSelected = nullptr;
    }
    ApplyFrameworkCursor(false);
}

void CursorManager::Draw(Zelk::Graphics* g)
{
    if (!g || !mEnabled.load())
        return;
    Zelk::ZelkAppBase* app = mTextures ? mTextures->GetApp() : nullptr;
    Zelk::WidgetManager* widgets = app ? app->mWidgetManager : nullptr;
    if (!widgets)
        return;
    std::lock_guard<std::mutex> guard(mLock);
    if (!mSelected || !mSelected->image)
        return;
    g->DrawImage(mSelected->image, widgets->mLastMouseX - mSelected->hotSpotX,
                 widgets->mLastMouseY - mSelected->hotSpotY);
}

void CursorManager::Clear()
{
    Reset();
    std::map<std::string, CursorRecord> cursors;
    {
        std::lock_guard<std::mutex> guard(mLock);
        cursors.swap(mCursors);
    }
    if (!mTextures)
        return;
    for (auto& entry : cursors)
        mTextures->ReleaseImage(entry.second.image);
}
