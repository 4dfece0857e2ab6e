#include "game/ui/UiDialog.h"

#include "framework/graphics/Graphics.h"
#include "game/core/DebugTrace.h"
#include "game/core/GameApp.h"
#include "game/core/TextureRegistry.h"
#include "game/effects/Effect.h"
#include "game/ui/UiBar.h"
#include "game/ui/UiButton.h"
#include "game/ui/UiCheckBox.h"
#include "game/ui/UiEdit.h"
#include "game/ui/UiList.h"
#include "game/ui/UiScroll.h"
#include "game/ui/UiSlider.h"
#include "game/ui/UiText.h"
#include "game/ui/UiTutorial.h"

namespace {

// Names in the UI description are narrow and at most 259 characters.
constexpr size_t kMaxNameLength = 259;

// Nested dialogs of one name load the first one's layout, so a description
// can ask for a tree that doubles with every level. One screen builds at
// most this many widgets, nested at most this deep; the rest is skipped.
constexpr int kMaxWidgetsPerScreen = 4096;
constexpr int kMaxNesting = 32;
thread_local int gLoadDepth = 0;
thread_local int gWidgetsBuilt = 0;

// Counts the loads in progress on this thread; the outermost starts a new
// widget budget.
class LoadScope {
public:
    LoadScope()
    {
        if (gLoadDepth++ == 0)
            gWidgetsBuilt = 0;
    }
    ~LoadScope() { --gLoadDepth; }
    LoadScope(const LoadScope&) = delete;
    LoadScope& operator=(const LoadScope&) = delete;
};

// Whether one more widget may be built; reports the first refusal of a
// screen.
bool MayBuildWidget(const std::string& name)
{
    if (gLoadDepth <= kMaxNesting && gWidgetsBuilt < kMaxWidgetsPerScreen) {
        ++gWidgetsBuilt;
        return true;
    }
    if (gWidgetsBuilt != kMaxWidgetsPerScreen + 1) {
        gWidgetsBuilt = kMaxWidgetsPerScreen + 1;
        DebugTrace("UI description: \"%s\" and further widgets skipped (more than %d widgets or %d levels)\n",
                   name.c_str(), kMaxWidgetsPerScreen, kMaxNesting);
    }
    return false;
}

bool ReadName(const XmlNode& node, std::string& name)
{
    if (!XmlGetAttrString(node, L"name", name))
        return false;
    if (name.size() > kMaxNameLength)
        name.resize(kMaxNameLength);
    return true;
}

std::vector<XmlNode> ChildElements(const XmlNode& node, const wchar_t* tag)
{
    std::vector<XmlNode> elements;
    for (const XmlNode& child : node.Children())
        if (child.Type() == plat::XML_NODE_ELEMENT && child.Name() == tag)
            elements.push_back(child);
    return elements;
}

// The kinds a dialog builds, in the order their words are compared.
bool IsTypeWord(const std::string& type)
{
    for (const char* word : {"quorbutton", "quortext", "quordialog", "quorbar", "quorlist", "quorscroll",
                             "quorcheckbox", "quorslider", "quoredit", "quortutorial"})
        if (type == word)
            return true;
    return false;
}

TextureRegistry* Textures(void* context)
{
    auto* app = static_cast<GameApp*>(context);
    return app ? app->GetTextureRegistry() : nullptr;
}

} // namespace

UiDialog::UiDialog(UiElement* owner, void* context) : UiElement(owner), mContext(context) {}

UiDialog::~UiDialog()
{
    // The background reference goes back with the dialog.
    if (mBackground) {
        if (TextureRegistry* textures = Textures(mContext))
            textures->Release(mBackgroundId);
        mBackground = nullptr;
    }
}

void UiDialog::Update() { UiElement::Update(); }

void UiDialog::LoadByName(const XmlNode& node, const std::string& name)
{
    // The name is compared here rather than put into an XPath: a quote in it
    // must not change what is selected.
    for (const XmlNode& child : ChildElements(node, L"element")) {
        std::string childName, type;
        if (!ReadName(child, childName) || childName != name)
            continue;
        if (!XmlGetAttrString(child, L"type", type) || type != "quordialog")
            continue;
        Load(child, mContext);
        return;
    }
}

void UiDialog::Load(const XmlNode& node, void* /*context*/)
{
    LoadScope scope;
    UiElement::Load(node);

    XmlNode texture;
    for (const XmlNode& candidate : ChildElements(node, L"texture")) {
        std::string id;
        if (XmlGetAttrString(candidate, L"id", id) && id == "normal") {
            texture = candidate;
            break;
        }
    }
    if (texture) {
        std::string textureId;
        int u = 0, v = 0;
        XmlGetAttrString(texture, L"texture", textureId);
        XmlGetAttrInt(texture, L"u", u);
        XmlGetAttrInt(texture, L"v", v);
        SetBackground(textureId, Zelk::Rect(u, v, mWidth, mHeight));
    }

    for (const XmlNode& child : ChildElements(node, L"element")) {
        std::string type, name;
        if (!XmlGetAttrString(child, L"type", type))
            continue;
        if (!IsTypeWord(type) || !ReadName(child, name) || !MayBuildWidget(name))
            continue;
        UiElement* widget = nullptr;
        if (type == "quorbutton") {
            auto* button = new UiButton(this, 0, static_cast<Zelk::ButtonListener*>(this));
            button->SetId(reinterpret_cast<intptr_t>(button));
            button->Load(child, mContext);
            widget = button;
        } else if (type == "quortext") {
            auto* text = new UiText(this, mContext);
            text->Load(child, mContext);
            widget = text;
        } else if (type == "quordialog") {
            auto* dialog = new UiDialog(this, mContext);
            dialog->LoadByName(node, name);
            widget = dialog;
        } else if (type == "quorbar") {
            auto* bar = new UiBar(this);
            bar->Load(child, mContext);
            widget = bar;
        } else if (type == "quorlist") {
            auto* list = new UiList(this);
            list->Load(child, mContext);
            widget = list;
        } else if (type == "quorscroll") {
            auto* scroll = new UiScroll(this);
            scroll->Load(child, mContext);
            widget = scroll;
        } else if (type == "quorcheckbox") {
            auto* box = new UiCheckBox(this);
            box->Load(child, mContext);
            widget = box;
        } else if (type == "quorslider") {
            auto* slider = new UiSlider(this);
            slider->Load(child, mContext);
            widget = slider;
        } else if (type == "quoredit") {
            auto* edit = new UiEdit(this);
            edit->Load(child, mContext);
            widget = edit;
        } else if (type == "quortutorial") {
            auto* tutorial = new UiTutorial(this, mContext);
            tutorial->Load(child, mContext);
            widget = tutorial;
        } else {
            continue;
        }
        if (Effect* effect = widget->GetEffect())
            effect->SendMessage("oncreate");
        AddChild(name, widget);
    }
}

void UiDialog::OnButton(intptr_t id)
{
    if (auto* owner = dynamic_cast<UiDialog*>(mOwner))
        owner->OnButton(id);
}

void UiDialog::ButtonClicked(intptr_t id) { OnButton(id); }

void UiDialog::SetBackground(const std::string& textureId, const Zelk::Rect& source)
{
    if (mBackground) {
        if (TextureRegistry* textures = Textures(mContext))
            textures->Release(mBackgroundId);
        mBackground = nullptr;
    }
    mBackgroundId = textureId;
    mBackgroundSource = source;
}

void UiDialog::AcquireResources()
{
    UiElement::AcquireResources();
    if (!mBackground && !mBackgroundId.empty()) {
        if (TextureRegistry* textures = Textures(mContext))
            mBackground = textures->Get(mBackgroundId);
    }
}

void UiDialog::ReleaseResources()
{
    UiElement::ReleaseResources();
    if (mBackground) {
        if (TextureRegistry* textures = Textures(mContext))
            textures->Release(mBackgroundId);
        mBackground = nullptr;
    }
}

void UiDialog::Draw(Zelk::Graphics* g)
{
    if (mBackground) {
        g->SetModulateImages(true);
        g->SetColor(Zelk::Color(255, 255, 255, GetDrawAlpha()));
        g->DrawImageRegionScaled(mBackground, Zelk::Rect(0, 0, mWidth, mHeight), mBackgroundSource);
    }
    UiElement::Draw(g);
}
