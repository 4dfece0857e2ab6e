// The structural test of the UI kit over the fixture's cfg\ui.xml (a UTF-8
// source stored as the game stores it by makepak's conversion): every
// "quordialog" of the root is built and its tree compared with a pinned dump,
// then updated, drawn, pressed and released at each widget's centre. The
// showcase layouts are also drawn in their states and compared with pinned
// PNG images (ZELK_UPDATE_GOLDENS=1 writes both anew).
#include "game/ui/UiBar.h"
#include "game/ui/UiButton.h"
#include "game/ui/UiCheckBox.h"
#include "game/ui/UiDialog.h"
#include "game/ui/UiEdit.h"
#include "game/ui/UiList.h"
#include "game/ui/UiScroll.h"
#include "game/ui/UiSlider.h"
#include "game/ui/UiText.h"
#include "game/ui/UiTutorial.h"
#include "tests/framework/fonts/FontTestSupport.h"
#include "tests/game/widgets/PressEverywhere.h"
#include "tests/game/widgets/UiTestApp.h"
#include "tools/makepak/PakWriter.h"

#include <cstdlib>

using namespace uitest;

namespace {

std::string RectText(const Zelk::Rect& r)
{
    return "(" + std::to_string(r.mX) + " " + std::to_string(r.mY) + " " + std::to_string(r.mWidth) + " " +
           std::to_string(r.mHeight) + ")";
}

std::string Narrow(const std::wstring& text) { return Zelk::WStringToString(text); }

std::string Mask(std::initializer_list<bool> bits)
{
    std::string mask;
    for (bool bit : bits)
        mask += bit ? '1' : '0';
    return mask;
}

// One line per element: kind, name, layout and widget rectangles, the fields
// its kind read.
void Dump(UiElement* element, const std::string& name, int depth, std::string& out)
{
    std::string line(size_t(depth) * 2, ' ');
    std::string fields;
    if (auto* t = dynamic_cast<UiTutorial*>(element)) {
        line += "tutorial";
        (void)t;
    } else if (auto* d = dynamic_cast<UiDialog*>(element)) {
        line += "dialog";
        fields = "background=" + d->GetBackgroundId() + RectText(d->GetBackgroundSource());
    } else if (auto* t = dynamic_cast<UiText*>(element)) {
        line += "text";
        fields = "text=\"" + Narrow(t->GetSourceText()) + "\" spacing=" + std::to_string(t->GetLineSpacing()) +
                 " justify=" + std::to_string(t->GetJustification()) +
                 " valign=" + std::to_string(t->GetVerticalAlignment()) + " fps=" + std::to_string(t->GetFps()) +
                 " oneshot=" + std::to_string(t->IsOneShot()) + " frames=" + std::to_string(t->GetFrameCount()) +
                 " source=" + RectText(t->GetFrameSource()) + " disabled=" + RectText(t->GetDisabledSource()) +
                 " fonts=" + Mask({t->GetTextLayers().GetFont(0) != nullptr, t->GetTextLayers().GetFont(1) != nullptr,
                                   t->GetTextLayers().GetFont(2) != nullptr});
    } else if (auto* b = dynamic_cast<UiButton*>(element)) {
        line += "button";
        fields = "label=\"" + Narrow(b->GetLabel()) + "\" spacing=" + std::to_string(b->GetLineSpacing()) +
                 " justify=" + std::to_string(b->GetJustification()) + " additive=" +
                 std::to_string(b->IsAdditiveOver()) + " id=" +
                 (b->GetId() == intptr_t(b) ? "self" : std::to_string(b->GetId())) + " pictures=" +
                 Mask({bool(b->GetPicture(0)), bool(b->GetPicture(1)), bool(b->GetPicture(2)), bool(b->GetPicture(3))});
        for (int state = 0; state < 4; ++state)
            if (b->GetPicture(state))
                fields += " " + RectText(b->GetPicture(state).source);
        fields += " colour=" + DrawLog::Hex(b->GetTextLayers().GetColor(2, UiTextLayers::PLAIN)) + "/" +
                  DrawLog::Hex(b->GetTextLayers().GetColor(2, UiTextLayers::HOVER)) + "/" +
                  DrawLog::Hex(b->GetTextLayers().GetColor(2, UiTextLayers::DISABLED));
    } else if (auto* b = dynamic_cast<UiBar*>(element)) {
        line += "bar";
        fields = "seg=" + std::to_string(b->GetSegWidth()) + " fill=" + RectText(b->GetFill().source) +
                 " empty=" + RectText(b->GetEmpty().source) + " pictures=" + Mask({bool(b->GetFill()), bool(b->GetEmpty())});
    } else if (auto* c = dynamic_cast<UiCheckBox*>(element)) {
        line += "checkbox";
        fields = "pictures=" + Mask({bool(c->GetPicture(0, false)), bool(c->GetPicture(1, false)),
                                     bool(c->GetPicture(2, false)), bool(c->GetPicture(0, true)),
                                     bool(c->GetPicture(1, true)), bool(c->GetPicture(2, true))});
    } else if (auto* e = dynamic_cast<UiEdit*>(element)) {
        line += "edit";
        fields = "hilite=" + DrawLog::Hex(e->GetHighlightColor()) + " pictures=" +
                 Mask({bool(e->GetPicture(0)), bool(e->GetPicture(1))}) +
                 " font=" + std::to_string(e->GetTextLayers().GetNormalFont() != nullptr);
    } else if (auto* l = dynamic_cast<UiList*>(element)) {
        line += "list";
        fields = "row=" + std::to_string(l->GetRowHeight()) + " left=" + std::to_string(l->GetLeftMargin()) +
                 " sel=" + DrawLog::Hex(l->GetSelectionColor()) + " textwidth=" + std::to_string(l->GetTextWidth()) +
                 " check=" + RectText(l->GetCheck().source) + " colour=" +
                 DrawLog::Hex(l->GetTextLayers().GetColor(2, UiTextLayers::PLAIN));
    } else if (auto* s = dynamic_cast<UiScroll*>(element)) {
        line += "scroll";
        int sx, sy, ex, ey;
        s->GetTrack(sx, sy, ex, ey);
        fields = "track=" + RectText(Zelk::Rect(sx, sy, ex, ey)) + " max=" + std::to_string(s->GetMax());
    } else if (auto* s = dynamic_cast<UiSlider*>(element)) {
        line += "slider";
        fields = "margin=" + std::to_string(s->GetThumbMargin()) +
                 " children=" + Mask({s->GetBack() != nullptr, s->GetBar() != nullptr, s->GetThumb() != nullptr});
    } else {
        line += "element";
    }
    line += " \"" + name + "\" layout=" + RectText(element->GetLayoutRect()) + " widget=" +
            RectText(element->GetRect()) + " alpha=" + std::to_string(element->mHasAlpha) +
            " mouse=" + std::to_string(element->mMouseVisible) + (fields.empty() ? "" : " " + fields);
    out += line + "\n";
    for (Zelk::Widget* widget : element->mWidgets) {
        auto* child = dynamic_cast<UiElement*>(widget);
        if (!child)
            continue;
        std::string childName = "(unnamed)";
        for (const auto& entry : element->GetChildren())
            if (entry.second == child)
                childName = entry.first;
        Dump(child, childName, depth + 1, out);
    }
}

bool UpdatingGoldens()
{
    const char* update = std::getenv("ZELK_UPDATE_GOLDENS");
    return update && std::string(update) == "1";
}

class UiLayoutTest : public UiTest {
protected:
    void SetUp() override
    {
        // The fixture folder packed as the build packs the game's data.
        std::string archive, error;
        PakPackOptions options;
        options.utf16Xml = true;
        options.fixedTime = true;
        ASSERT_TRUE(PackFolder(std::string(ZELK_FIXTURES) + "/ui/data", options, archive, error)) << error;
        game.dir.Write("data.pak", archive);
        UiTest::SetUp();
        app->GetLocTable()->Load(); // the archive's cfg\loc.xml wins over the folder's
        ASSERT_TRUE(XmlLoadFile("cfg\\ui.xml", uiDoc));
        root = uiDoc.Node().SelectSingle(L"root");
        ASSERT_TRUE(root);
        app->GetTextureRegistry()->Load(root);
        app->mFontRegistry->Load(root);
        app->GetStringTable()->SetNumber("money", 1250);
    }
    std::vector<std::string> LayoutNames()
    {
        std::vector<XmlNode> nodes;
        root.Select(L"element[@type=\"quordialog\"]", nodes);
        std::vector<std::string> names;
        for (const XmlNode& node : nodes) {
            std::string name;
            XmlGetAttrString(node, L"name", name);
            names.push_back(name);
        }
        return names;
    }
    std::unique_ptr<UiDialog> Build(const std::string& name)
    {
        auto dialog = std::make_unique<UiDialog>(nullptr, Context());
        dialog->LoadByName(root, name);
        return dialog;
    }

    XmlDocument uiDoc;
    XmlNode root;
};

TEST_F(UiLayoutTest, EveryLayoutBuildsAsPinnedAndSurvivesUpdatesDrawingAndPresses)
{
    std::vector<std::string> names = LayoutNames();
    ASSERT_EQ(names.size(), 10u);
    std::string dump;
    for (const std::string& name : names) {
        auto dialog = Build(name);
        Dump(dialog.get(), name, 0, dump);
    }
    const std::string path = std::string(ZELK_FIXTURES) + "/ui/structure.txt";
    if (UpdatingGoldens()) {
        ASSERT_TRUE(WriteWholeFile(path, dump));
    }
    std::string pinned;
    ASSERT_TRUE(ReadWholeFile(path, pinned)) << path;
    EXPECT_EQ(dump, pinned);

    for (const std::string& name : names) {
        auto dialog = Build(name);
        Manager()->AddWidget(dialog.get());
        for (int i = 0; i < 150; ++i)
            Manager()->UpdateFrame();
        Zelk::MemoryImage screen;
        screen.Create(800, 600);
        Zelk::Graphics g(&screen);
        Zelk::TreeFlags flags = Manager()->ComputeFlags();
        dialog->DrawTree(flags, &g);
        PressEverywhere(Manager(), dialog.get());
        Manager()->UpdateFrame();
        dialog->DrawTree(flags, &g);
        if (name == "edge") {
            // The tutorial hides itself on the release of a press on it.
            UiElement* tutorial = dialog->FindChild("tutorial");
            ASSERT_NE(tutorial, nullptr);
            EXPECT_FALSE(tutorial->mVisible);
        }
        Manager()->RemoveWidget(dialog.get());
    }
}

// The showcase layouts in the states a player sees, drawn with the sample
// image font.
TEST_F(UiLayoutTest, ShowcaseLayoutsLookAsPinned)
{
    const char* const layouts[] = {"show_text", "show_button", "show_bar",    "show_checkbox",
                                   "show_edit", "show_list",   "show_scroll", "show_slider"};
    const char* const states[] = {"normal", "hovered", "pressed", "disabled", "scaled"};
    for (const char* layout : layouts) {
        for (const char* state : states) {
            const std::string s = state;
            auto dialog = Build(layout);
            ASSERT_FALSE(dialog->GetChildren().empty()) << layout;
            UiElement* widget = dialog->GetChildren().begin()->second;
            if (auto* edit = dynamic_cast<UiEdit*>(widget))
                edit->SetText(L"Quill", true);
            if (auto* list = dynamic_cast<UiList*>(widget)) {
                for (const wchar_t* item : {L"Ada", L"Boris", L"Cleo", L"Dmitri", L"Eve", L"Farid", L"Gus", L"Hana"})
                    list->AddItem(item);
                list->Resize(list->GetLayoutX(), list->GetLayoutY(), list->GetLayoutWidth(), list->GetLayoutHeight());
                list->SetSelected(1);
                list->SetMarkedRow(2);
            }
            if (auto* bar = dynamic_cast<UiBar*>(widget)) {
                bar->SetMax(10);
                bar->SetValue(4);
            }
            if (auto* scroll = dynamic_cast<UiScroll*>(widget)) {
                scroll->SetMax(4);
                scroll->SetValue(1);
            }
            if (auto* slider = dynamic_cast<UiSlider*>(widget)) {
                slider->SetMax(100);
                slider->SetValue(40);
            }
            if (s == "disabled")
                for (const auto& entry : dialog->GetChildren())
                    entry.second->SetDisabled(true);
            if (s == "scaled") {
                dialog->SetScalePoint(0, 0);
                dialog->SetScale(1.5f);
            }
            Manager()->AddWidget(dialog.get());
            for (int i = 0; i < 3; ++i)
                Manager()->UpdateFrame();
            Zelk::Point at = widget->GetScreenPos();
            const int x = at.mX + widget->mWidth / 2, y = at.mY + widget->mHeight / 2;
            if (s == "hovered" || s == "pressed")
                Manager()->MouseMove(x, y);
            if (s == "pressed")
                Manager()->MouseDown(x, y, 1);
            Manager()->UpdateFrame();
            auto screen = std::make_unique<Zelk::MemoryImage>();
            screen->Create(240, 150);
            std::fill(screen->GetBits(), screen->GetBits() + screen->PixelCount(), 0xFF101418u);
            screen->MarkBitsChanged();
            {
                Zelk::Graphics g(screen.get());
                Zelk::TreeFlags flags = Manager()->ComputeFlags();
                dialog->DrawTree(flags, &g);
            }
            if (s == "pressed")
                Manager()->MouseUp(x, y, 1);
            Manager()->RemoveWidget(dialog.get());
            const uint32_t* bits = screen->GetBits();
            fonttest::CheckGolden(std::string("ui/") + layout + "_" + state, 240, 150,
                                  std::vector<uint32_t>(bits, bits + screen->PixelCount()));
        }
    }
}

} // namespace
