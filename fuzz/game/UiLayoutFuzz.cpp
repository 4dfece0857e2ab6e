// Any bytes as cfg\ui.xml: every "quordialog" under "root" is built as a
// screen, updated 150 times, drawn, pressed and released at each widget's
// centre and given keys. The effects come from a fixed cfg\effect.xml that
// shows, fades, scales and hides.
#include "framework/graphics/DDImage.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "fuzz/resources/FuzzSupport.h"
#include "game/core/GameApp.h"
#include "game/core/TextureRegistry.h"
#include "game/effects/EffectFile.h"
#include "game/ui/UiDialog.h"
#include "platform/NullPlatform.h"

#include <memory>
#include <unistd.h>
#include <string>
#include <vector>

namespace {

// Images are plain white pictures; names starting with "missing" fail.
class FuzzGameApp : public GameApp {
public:
    FuzzGameApp() : GameApp(0) {}
    Zelk::DDImage* GetImage(const std::string& fileName, bool commitBits) override
    {
        if (fileName.rfind("missing", 0) == 0)
            return nullptr;
        auto* image = new Zelk::DDImage(nullptr);
        std::vector<uint32_t> bits(8 * 8, 0xFFFFFFFF);
        image->SetBits(bits.data(), 8, 8);
        return image;
    }
};

const char kEffects[] =
    "<effects>"
    "<effect name='pop'><timers>"
    "<timer name='show' type='usual' ftime='0.3' direction='forward'>"
    "<control id='1' type='point' starttime='0' function='DlgShow' active='true'/>"
    "<control id='2' type='point' starttime='0' function='DlgSetCenterScalePoint' active='true'/>"
    "<control id='3' type='range' starttime='0' endtime='0.3' function='DlgScaleUpRecoil' active='true'/>"
    "<control id='4' type='range' starttime='0' endtime='0.3' function='DlgFadeIn' active='true'/>"
    "</timer>"
    "<timer name='hide' type='usual' ftime='0.3' direction='forward'>"
    "<control id='1' type='range' starttime='0' endtime='0.3' function='DlgSlideFromRightAccel' active='true'/>"
    "<control id='2' type='point' starttime='0.3' function='DlgHide' active='true'/>"
    "</timer></timers><messages>"
    "<message name='onshow' command='start' timer_id='show'/>"
    "<message name='onhide' command='start' timer_id='hide'/>"
    "<message name='render_ps' command='call' timer_id='RenderPSFunc'/>"
    "</messages></effect>"
    "<effect name='shrink'><timers>"
    "<timer name='t' type='cycle' ftime='0.5' direction='forward'>"
    "<control id='1' type='range' starttime='0' endtime='0.5' function='DlgBigScaleDownAccel' active='true'/>"
    "<control id='2' type='range' starttime='0' endtime='0.5' function='DlgUpgradeBtnBlink' active='true'/>"
    "</timer></timers><messages>"
    "<message name='oncreate' command='start' timer_id='t'/>"
    "</messages></effect>"
    "</effects>";

void Visit(Zelk::Widget* widget, std::vector<Zelk::Widget*>& all)
{
    all.push_back(widget);
    for (Zelk::Widget* child : widget->mWidgets)
        Visit(child, all);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzsupport::Archive();
    static plat::NullPlatform* platform = new plat::NullPlatform;
    static FuzzGameApp* app = [] {
        // The application makes its program's folder current: keep this one,
        // where the fuzzer writes its corpus.
        char cwd[4096];
        if (getcwd(cwd, sizeof cwd))
            platform->folders.programPath = std::string(cwd) + "/quillmore";
        std::string effects = fuzzsupport::Utf16WithMark(kEffects);
        fuzzsupport::Serve("cfg\\effect.xml", reinterpret_cast<const uint8_t*>(effects.data()), effects.size());
        LoadEffectFile();
        return new FuzzGameApp;
    }();
    (void)platform;
    fuzzsupport::Serve("cfg\\ui.xml", data, size);

    XmlDocument document;
    XmlCreateDocument(document);
    XmlLoadFile("cfg\\ui.xml", document);
    XmlNode root = XmlNode(document).SelectSingle(L"root");
    if (root.IsEmpty())
        return 0;
    TextureRegistry* textures = app->GetTextureRegistry();
    textures->Load(root);

    Zelk::MemoryImage target;
    target.Create(64, 64);
    Zelk::Graphics g(&target);

    std::vector<XmlNode> layouts;
    root.Select(L"element", layouts);
    for (const XmlNode& layout : layouts) {
        std::string type, name;
        if (!XmlGetAttrString(layout, L"type", type) || type != "quordialog" ||
            !XmlGetAttrString(layout, L"name", name))
            continue;
        auto screen = std::make_unique<UiDialog>(nullptr, app);
        screen->LoadByName(root, name);
        screen->SetVisible(false);
        screen->Show();
        std::vector<Zelk::Widget*> all;
        Visit(screen.get(), all);
        for (int i = 0; i < 150; ++i) {
            for (Zelk::Widget* widget : all)
                widget->Update();
            if (i == 60)
                screen->ShowChildren();
            if (i == 100)
                screen->HideChildren();
        }
        for (Zelk::Widget* widget : all) {
            Zelk::Graphics local(g);
            widget->Draw(&local);
            int x = widget->mWidth / 2, y = widget->mHeight / 2;
            widget->MouseEnter();
            widget->MouseMove(x, y);
            widget->MouseButtonDown(x, y, 0, 1);
            widget->MouseDrag(x + 1, y);
            widget->MouseButtonUp(x, y, 0, 1);
            widget->MouseUpAt(x, y);
            widget->MouseLeave();
            for (int key : {37, 39, 36, 35, 8, 46, 13}) {
                widget->KeyDown(key);
                widget->KeyUp(key);
            }
            for (wchar_t c : {L'a', L'7', wchar_t(3), wchar_t(22), wchar_t(24), wchar_t(26), wchar_t(8)})
                widget->KeyChar(c);
            widget->Update();
        }
        screen->Hide();
        for (int i = 0; i < 40; ++i)
            screen->Update();
        screen->Draw(&g);
    }
    return 0;
}
