#include "game/ui/UiDialog.h"

#include "framework/graphics/Graphics.h"
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
        UiElement* widget = nullptr;
        if (type == "quorbutton") {
            if (!ReadName(child, name))
                continue;
            auto* button = new UiButton(this, 0, static_cast<Zelk::ButtonListener*>(this));
            button->SetId(reinterpret_cast<intptr_t>(button));
            button->Load(child, mContext);
            widget = button;
        } else if (type == "quortext") {
            if (!ReadName(child, name))
                continue;
            auto* text = new UiText(this, mContext);
            text->Load(child, mContext);
            widget = text;
        } else if (type == "quordialog") {
            if (!ReadName(child, name))
                continue;
            auto* dialog = new UiDialog(this, mContext);
            dialog->LoadByName(node, name);
            widget = dialog;
        } else if (type == "quorbar") {
            if (!ReadName(child, name))
                continue;
            auto* bar = new UiBar(this);
            bar->Load(child, mContext);
            widget = bar;
        } else if (type == "quorlist") {
            if (!ReadName(child, name))
                continue;
            auto* list = new UiList(this);
            list->Load(child, mContext);
            widget = list;
        } else if (type == "quorscroll") {
            if (!ReadName(child, name))
                continue;
            auto* scroll = new UiScroll(this);
            scroll->Load(child, mContext);
            widget = scroll;
        } else if (type == "quorcheckbox") {
            if (!ReadName(child, name))
                continue;
            auto* box = new UiCheckBox(this);
            box->Load(child, mContext);
            widget = box;
        } else if (type == "quorslider") {
            if (!ReadName(child, name))
                continue;
            auto* slider = new UiSlider(this);
            slider->Load(child, mContext);
            widget = slider;
        } else if (type == "quoredit") {
            if (!ReadName(child, name))
                continue;
            auto* edit = new UiEdit(this);
            edit->Load(child, mContext);
            widget = edit;
        } else if (type == "quortutorial") {
            if (!ReadName(child, name))
                continue;
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
