// The sample image font made by tools/fontfixture (DejaVu Sans glyph sheets at
// 12 and 24 pixels with outline and bold layers) and a screen of widgets
// with wrapped, colour-coded text in both kinds of font.
#include "FontTestSupport.h"

#include "framework/app/StringUtil.h"
#include "framework/fonts/FontData.h"
#include "framework/fonts/ImageFont.h"
#include "framework/fonts/SysFont.h"
#include "framework/fonts/TextRenderPool.h"
#include "framework/graphics/Graphics.h"
#include "framework/widgets/ButtonWidget.h"
#include "framework/widgets/Widget.h"
#include "platform/text/FreeTypeTextDevice.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace Zelk;
using namespace fonttest;

namespace {

class SampleFont : public ::testing::Test {
protected:
    SampleFont() : font(&test.app, std::string(ZELK_FIXTURES) + "/fonts/sample.txt") {}

    // The advance of a character as the description gives it (Widths12).
    int Width12(wchar_t c)
    {
        std::wstring list = font.GetDefine(L"Widths12"); // "(4, 5, ...)", from ' ' on
        std::wstringstream in(list.substr(1));
        int w = 0;
        for (wchar_t k = 0x20; k <= c; ++k) {
            in >> w;
            in.ignore(2);
        }
        return w;
    }

    TestApp test;
    TestImages images; // reads the glyph sheets beside the description
    ImageFont font;
};

} // namespace

TEST_F(SampleFont, LoadsWithItsLayers)
{
    ASSERT_TRUE(font.mFontData->mInitialized) << (test.Boxes().empty() ? "" : WStringToString(test.Boxes()[0]));
    EXPECT_TRUE(test.Boxes().empty());
    EXPECT_EQ(font.GetDefaultPointSize(), 12);
    EXPECT_EQ(font.mFontData->mFontLayerList.size(), 5u);
    EXPECT_EQ(images.asked.size(), 4u); // Bold shares Main's sheet
    using Names = std::vector<std::string>;
    struct {
        int pointSize;
        const char* tag;
        Names active;
        int ascent, height;
    } cases[] = {
        {12, nullptr, {"MAIN"}, 11, 14},
        {12, "outline", {"MAIN", "OUTLINE"}, 11, 14},
        {12, "Bold", {"MAIN", "BOLD"}, 11, 14},
        {15, nullptr, {"MAIN"}, 13, 17}, // 11 and 14 x 1.25, truncated
        {18, "OUTLINE", {"LARGE", "LARGEOUTLINE"}, 16, 21},
        {24, nullptr, {"LARGE"}, 22, 28},
    };
    for (auto& c : cases) {
        std::unique_ptr<ImageFont> f(static_cast<ImageFont*>(font.Duplicate()));
        f->SetPointSize(c.pointSize);
        if (c.tag)
            f->AddTag(c.tag);
        EXPECT_EQ(ActiveLayerNames(*f), c.active) << c.pointSize << " " << (c.tag ? c.tag : "");
        EXPECT_EQ(f->GetAscent(), c.ascent) << c.pointSize;
        EXPECT_EQ(f->GetHeight(), c.height) << c.pointSize;
    }
}

TEST_F(SampleFont, KerningAndColourCodes)
{
    int a = Width12(L'A'), v = Width12(L'V'), x = Width12(L'x');
    ASSERT_GT(a, 0);
    EXPECT_EQ(font.StringWidth(L"AV"), a + v - 1);
    EXPECT_EQ(font.StringWidth(L"AVx"), a + v - 1 + x);
    EXPECT_EQ(font.StringWidth(L"VxA"), v + x + a);

    // A colour code splits the text into runs; each run is queued in its colour.
    Graphics g(nullptr);
    g.SetFont(&font);
    g.SetColor(Color(10, 20, 30));
    EXPECT_EQ(g.DrawColorCodedString(L"AV^FF8000^x", 0, 20, 0, -1), a + v - 1 + x);
    gTextRenderPool.Each([](const TextRenderRecord& r) { EXPECT_EQ(r.mColor, Color(255, 128, 0)); });
    EXPECT_EQ(gTextRenderPool.Used(), 1);
}

TEST_F(SampleFont, ScreenOfBoxesAndWrappedTextInBothKinds)
{
    plat::FreeTypeTextDevice device;
    plat::Get().text = &device;
    SysFont sans("Liberation Sans", 9);
    SysFont label("Liberation Sans", 10, true);
    label.mDrawShadow = true;

    std::unique_ptr<ImageFont> title(static_cast<ImageFont*>(font.Duplicate()));
    title->SetPointSize(24);
    title->AddTag("OUTLINE");
    std::unique_ptr<ImageFont> body(static_cast<ImageFont*>(font.Duplicate()));
    body->AddTag("OUTLINE");
    std::unique_ptr<ImageFont> bold(static_cast<ImageFont*>(font.Duplicate()));
    bold->AddTag("BOLD");
    std::unique_ptr<ImageFont> scaled(static_cast<ImageFont*>(font.Duplicate()));
    scaled->SetPointSize(18);

    const int w = 320, h = 210;
    auto screen = Filled(w, h, 0xFF000000);
    Graphics g(screen.get());
    for (int y = 0; y < h; ++y) {
        g.SetColor(Color(30 + y / 4, 60 + y / 5, 90 + y / 3));
        g.FillRect(0, y, w, 1);
    }
    auto box = [&](int x, int y, int bw, int bh, Color fill) {
        g.SetColor(fill);
        g.FillRect(x, y, bw, bh);
        g.SetColor(Color(230, 230, 240));
        g.DrawRect(x, y, bw - 1, bh - 1);
    };

    box(8, 8, 304, 194, Color(20, 24, 40, 200));
    // The panel's own text helpers draw its title and the two wrapped texts.
    Widget panel;
    panel.Resize(8, 8, 304, 194);
    g.PushState();
    g.Translate(panel.mX, panel.mY);
    g.SetFont(title.get());
    panel.DrawCenteredTextShadowed(&g, title->GetAscent() + 4, L"Office Hours", Color(255, 220, 120),
                                   Color(0, 0, 0, 160), Point{2, 2});
    g.PopState();

    const std::wstring story = L"Clients ^FFD040^wait^oldclr^ at the counter. Serve them before their "
                               L"patience runs out, or the ^FF6060^scandal^oldclr^ costs a life!";
    box(16, 48, 140, 110, Color(40, 48, 72, 220));
    g.SetFont(body.get());
    g.SetColor(Color::White);
    panel.DrawWrappedText(&g, Rect(22, 52, 128, 100), story, -1, -1);

    box(164, 48, 140, 110, Color(40, 48, 72, 220));
    g.SetFont(&sans);
    g.SetColor(Color(220, 230, 255));
    panel.DrawWrappedText(&g, Rect(170, 52, 128, 100), story, -1, 0);

    g.SetFont(scaled.get());
    g.SetColor(Color(160, 255, 200));
    g.DrawString(L"Scaled 18 of 24", 20, 180);

    // Two buttons in the frame look, labelled in each kind of font.
    ButtonWidget ok(1, nullptr), cancel(2, nullptr);
    ok.Resize(176, 166, 60, 26);
    ok.mLabel = L"OK";
    ok.SetFont(bold.get());
    cancel.Resize(244, 166, 60, 26);
    cancel.mLabel = L"Cancel";
    cancel.SetFont(&label);
    for (ButtonWidget* button : {&ok, &cancel}) {
        button->SetColor(0, Color(255, 240, 200));
        button->SetColor(2, Color(20, 20, 30));
        button->SetColor(3, Color(200, 210, 230));
        button->SetColor(4, Color(60, 60, 80));
        button->SetColor(5, button == &ok ? Color(60, 110, 60) : Color(110, 60, 60));
        g.PushState();
        g.Translate(button->mX, button->mY);
        button->Draw(&g);
        g.PopState();
    }

    CheckGolden("fonts/screen", w, h, Pixels(*screen));
}
