// Any bytes as cfg\ui.xml: its fonts are loaded, every "quordialog" under
// "root" is built as a screen, updated 150 times, drawn, pressed and released
// at each widget's centre and given keys, then hit-tested through a widget
// manager on a grid over the screen and at the ends of the int range. The
// effects come from a fixed cfg\effect.xml that shows, fades, scales and
// hides; cfg\loc.xml gives the labels "t" and "ok" a text of two lines, and
// "fuzzfont.txt" is a small image font.
#include "framework/graphics/DDImage.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/WidgetManager.h"
#include "fuzz/resources/FuzzSupport.h"
#include "game/core/FontRegistry.h"
#include "game/core/GameApp.h"
#include "game/core/LocTable.h"
#include "game/core/TextureRegistry.h"
#include "game/effects/EffectFile.h"
#include "game/ui/UiDialog.h"
#include "platform/NullPlatform.h"

#include <climits>
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

const char kTexts[] = "<root><loc id='t' text='two words&#10;and a line'/><loc id='ok' text='OK'/></root>";

const char kFont[] = "Define Chars (\"a\" \"o\" \"t\" \" \");\n"
                     "CreateHorzSpanRectList Rects (0 0 0 8) (2 2 2 2);\n"
                     "Define Widths (3 3 3 2);\n"
                     "CreateLayer L;\n"
                     "LayerSetImage L 'fuzzfont.png';\n"
                     "LayerSetImageMap L Chars Rects;\n"
                     "LayerSetCharWidths L Chars Widths;\n"
                     "LayerSetAscent L 6;\n"
                     "LayerSetHeight L 8;\n";

void ServeText(const char* name, const std::string& text)
{
    fuzzsupport::Serve(name, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

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
        ServeText("cfg\\effect.xml", fuzzsupport::Utf16WithMark(kEffects));
        ServeText("cfg\\loc.xml", fuzzsupport::Utf16WithMark(kTexts));
        ServeText("fuzzfont.txt", fuzzsupport::Utf16WithMark(kFont));
        LoadEffectFile();
        auto* made = new FuzzGameApp;
        made->GetLocTable()->Load();
        return made;
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
    app->mFontRegistry->Load(root);
    Zelk::WidgetManager manager(nullptr);
    manager.Resize(Zelk::Rect(0, 0, 800, 600), Zelk::Rect(0, 0, 800, 600));

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
        // Hit tests and mouse travel through the manager, over the screen and
        // at the ends of the range.
        manager.AddWidget(screen.get());
        for (int y = -100; y < 700; y += 50)
            for (int x = -100; x < 900; x += 50)
                manager.GetWidgetAtPoint(x, y);
        for (int v : {INT_MIN, INT_MIN + 1, -1, INT_MAX - 1, INT_MAX}) {
            manager.GetWidgetAtPoint(v, v);
            manager.GetWidgetAtPoint(v, 5);
            manager.GetWidgetAtPoint(5, v);
        }
        manager.MouseMove(20, 20);
        manager.MouseDown(20, 20, 1);
        manager.MouseMove(INT_MAX, INT_MIN);
        manager.MouseUp(INT_MAX, INT_MIN, 1);
        manager.RemoveWidget(screen.get());
        screen->Hide();
        for (int i = 0; i < 40; ++i)
            screen->Update();
        screen->Draw(&g);
    }
    return 0;
}
