// Object parts: orientation words, the animation names they ask for, their
// pictures, drawing with tint, opacity, scale, mirror, highlight and
// repeats, text parts and the parts' effects.
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "game/effects/AnimTrack.h"
#include "game/effects/Effect.h"
#include "game/effects/EffectWorld.h"
#include "game/effects/ExportedFunctions.h"
#include "game/world/ObjectParams.h"
#include "game/world/ObjectPart.h"
#include "game/world/OfficeDefinitions.h"
#include "game/world/SceneObject.h"
#include "tests/framework/graphics/GraphicsFixtures.h"
#include "tests/game/world/WorldFixture.h"

#include <cmath>
#include <functional>
#include <limits>

namespace {

using worldtest::Animation;
using Zelk::test::RecordingImage;

class ObjectPartTest : public worldtest::WorldTest {
protected:
    SceneObject* Make(const std::string& xml) { return CreateObjectFromDefinition(Parse(xml)); }
    // An object at (100, 200) with one part of that name.
    ObjectPart* MakePart(const std::string& partName, const std::string& partAttributes = std::string(),
                         const std::string& partChildren = std::string())
    {
        SceneObject* object = Make("<object class='item' name='holder' pos_x='100' pos_y='200'><part name='" +
                                   partName + "' " + partAttributes + ">" + partChildren + "</part></object>");
        object->SetVisibleFlag(true);
        return object->GetParts()[0];
    }
};

TEST_F(ObjectPartTest, MirroredOrientationWordsPlayTheirPlainWordMirrored)
{
    const struct {
        const char* word;
        const char* orientation;
        bool mirror;
    } cases[] = {
        {"mbr", "br", true}, {"mtr", "tr", true}, {"mtl", "tl", true}, {"mbl", "bl", true}, {"mr", "r", true},
        {"mb", "mb", true},  {"m", "m", true},    {"b", "b", false},   {"br", "br", false}, {"", "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        ObjectPart* part = MakePart("desk", "mirror='1'");
        ASSERT_TRUE(part->IsMirrored());
        part->SetOrientation(c.word, false);
        EXPECT_EQ(part->GetOrientation(), c.orientation);
        EXPECT_EQ(part->IsMirrored(), c.mirror);
        DeleteAllObjects();
    }
}

TEST_F(ObjectPartTest, TheRequestedNameIsPartSkinOrientationAndAnimation)
{
    WriteAnm("desk", Animation("deskidle", "cycle", 10, 4) + Animation("deskredbridle", "cycle", 10, 4) +
                         Animation("deskredtridle", "cycle", 10, 4, "images\\anm\\tr.png"));
    WriteAnm("checkmark", Animation("checkmarkidle", "cycle", 10, 4) + Animation("checkmarkredidle", "cycle", 10, 4));
    ObjectPart* desk = MakePart("desk", "", "<exchange_skin from='blue' to='red'/>");
    desk->SetSkin("blue");
    EXPECT_EQ(desk->GetSkin(), "red");
    desk->SetSkin("plain");
    EXPECT_EQ(desk->GetSkin(), "plain");
    desk->SetSkin("blue");
    desk->SetOrientation("br", false);
    ASSERT_TRUE(desk->PlayAnimation("idle", false));
    EXPECT_EQ(desk->GetPlayer().GetCurrentAnimation()->name, "deskredbridle");
    EXPECT_FALSE(desk->PlayAnimation("", false));
    EXPECT_FALSE(desk->PlayAnimation("wave", false));
    EXPECT_EQ(desk->GetAnimationName(), "idle");

    // Turning while playing goes on in the new orientation at the same time,
    // with that orientation's pictures.
    for (int i = 0; i < 25; ++i)
        desk->UpdateAnimation();
    const int loadsBefore = app.loads;
    desk->SetOrientation("mtr", true);
    EXPECT_EQ(desk->GetPlayer().GetCurrentAnimation()->name, "deskredtridle");
    EXPECT_NEAR(desk->GetPlayer().GetTrack()->GetPosition(), 0.25, 1e-4);
    EXPECT_EQ(app.loads, loadsBefore + 1);

    ObjectPart* checkmark = MakePart("checkmark");
    checkmark->SetSkin("red");
    checkmark->SetOrientation("tr", false);
    ASSERT_TRUE(checkmark->PlayAnimation("idle", false));
    EXPECT_EQ(checkmark->GetPlayer().GetCurrentAnimation()->name, "checkmarkredidle");
}

TEST_F(ObjectPartTest, PicturesLoadOncePerRecordAndOnlyInsideTheGameData)
{
    WriteAnm("desk", Animation("deskredidle", "cycle", 10, 2, "images\\red.png") +
                         Animation("deskredwave", "cycle", 10, 2, "missing.png") +
                         Animation("deskredjump", "cycle", 10, 2, "..\\outside.png") +
                         Animation("deskredfall", "cycle", 10, 2, "/etc/passwd") +
                         Animation("deskblueidle", "cycle", 10, 2, "images\\blue.png"));
    ObjectPart* part = MakePart("desk");
    part->SetSkin("red");
    ASSERT_TRUE(part->LoadImages());
    EXPECT_EQ(app.loads, 2);
    AnmFile* file = part->GetPlayer().GetFile();
    EXPECT_NE(file->GetRecord(0).image.GetImage(), nullptr);
    EXPECT_EQ(file->GetRecord(1).image.GetImage(), nullptr);
    EXPECT_EQ(file->GetRecord(2).image.GetImage(), nullptr);
    EXPECT_EQ(file->GetRecord(3).image.GetImage(), nullptr);
    EXPECT_EQ(file->GetRecord(4).image.GetImage(), nullptr);
    ASSERT_TRUE(part->LoadImages());
    EXPECT_EQ(app.loads, 2);
    part->SetSkin("blue");
    part->LoadImages();
    EXPECT_EQ(app.loads, 3);
    part->ReleaseImages();
    EXPECT_EQ(file->GetRecord(0).image.GetImage(), nullptr);
    EXPECT_EQ(file->GetRecord(4).image.GetImage(), nullptr);
    // Without a file there is nothing to load.
    EXPECT_FALSE(MakePart("nofile")->LoadImages());
}

// A record of canvas width 40 whose picture is 64 x 64.
void GivePicture(AnmRecord& record)
{
    record.canvasWidth = 40;
    auto* picture = new Zelk::MemoryImage();
    picture->Create(64, 64);
    record.image.AssignOwned(picture);
}

// The 10 x 20 region at (0, 0), placed at the offset on the canvas.
AnmFrame Frame(int offsetX, int offsetY)
{
    AnmFrame frame;
    frame.w = 10;
    frame.h = 20;
    frame.offsetX = offsetX;
    frame.offsetY = offsetY;
    return frame;
}

// A frame drawn with one setting changed, and the draws it must give.
struct DrawCase {
    const char* what;
    std::function<void(ObjectPart&)> set;
    std::vector<RecordingImage::Draw> want;
};

std::string Describe(const std::vector<RecordingImage::Draw>& draws)
{
    std::string text;
    for (const RecordingImage::Draw& d : draws) {
        char line[160];
        std::snprintf(line, sizeof line, "[%d,%d %dx%d from %d,%d (%d,%d,%d,%d) mode %d%s] ", d.dest.mX, d.dest.mY,
                      d.dest.mWidth, d.dest.mHeight, d.src.mX, d.src.mY, d.color.mRed, d.color.mGreen, d.color.mBlue,
                      d.color.mAlpha, d.drawMode, d.mirrored ? " mirrored" : "");
        text += line;
    }
    return text;
}

bool Same(const std::vector<RecordingImage::Draw>& a, const std::vector<RecordingImage::Draw>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!(a[i].dest == b[i].dest) || !(a[i].src == b[i].src) || a[i].color != b[i].color ||
            a[i].drawMode != b[i].drawMode || a[i].mirrored != b[i].mirrored)
            return false;
    return true;
}

TEST_F(ObjectPartTest, AFrameIsDrawnWithThePartsLook)
{
    const Zelk::Color white = Zelk::Color::White;
    auto draw = [&](int x, int y, int w, int h, Zelk::Color color = Zelk::Color::White, bool mirrored = false,
                    int mode = 0, Zelk::Rect src = Zelk::Rect(0, 0, 10, 20)) {
        return RecordingImage::Draw{Zelk::Rect(x, y, w, h), src, color, mode, mirrored};
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<DrawCase> cases = {
        {"plain", [](ObjectPart&) {}, {draw(102, 180, 10, 20)}},
        {"half opacity", [](ObjectPart& p) { p.SetOpacity(0.5f); }, {draw(102, 180, 10, 20, {255, 255, 255, 127})}},
        {"opacity above 1", [](ObjectPart& p) { p.SetOpacity(1.7f); }, {draw(102, 180, 10, 20, {255, 255, 255, 255})}},
        {"opacity NaN", [nan](ObjectPart& p) { p.SetOpacity(nan); }, {draw(102, 180, 10, 20, {255, 255, 255, 0})}},
        {"negative opacity", [](ObjectPart& p) { p.SetOpacity(-3); }, {draw(102, 180, 10, 20, {255, 255, 255, 0})}},
        {"green tint", [](ObjectPart& p) { p.GetRepeatBlock().tint = 0xFF00FF00; },
         {draw(102, 180, 10, 20, {0, 255, 0, 255})}},
        {"translucent tint at half opacity",
         [](ObjectPart& p) {
             p.GetRepeatBlock().tint = 0x8000FF00;
             p.SetOpacity(0.5f);
         },
         {draw(102, 180, 10, 20, {0, 255, 0, 64})}},
        {"scale within a hundredth", [](ObjectPart& p) { *p.GetItemList().items[0].scale = 1.005f; },
         {draw(102, 180, 10, 20)}},
        {"scale 1.5 about (10, 20)",
         [](ObjectPart& p) {
             *p.GetItemList().items[0].scale = 1.5f;
             p.SetScalePoint(10, 20);
         },
         {draw(97, 170, 15, 30)}},
        {"scale 2 about a point an effect moved",
         [](ObjectPart& p) {
             *p.GetItemList().items[0].scale = 2.0f;
             p.SetScalePoint(4, 0);
             p.GetItemList().items[0].scalePoint[0] = 6;
             p.GetItemList().items[0].scalePoint[1] = 10;
         },
         {draw(92, 170, 20, 40)}},
        {"three repeats",
         [](ObjectPart& p) {
             p.GetRepeatBlock().count = 3;
             p.GetRepeatBlock().stepY = -4;
         },
         {draw(102, 180, 10, 20), draw(102, 176, 10, 20), draw(102, 172, 10, 20)}},
        {"mirrored", [](ObjectPart& p) { p.SetOrientation("mbr", false); },
         {draw(128, 180, 10, 20, white, true)}},
    };
    for (const DrawCase& c : cases) {
        SCOPED_TRACE(c.what);
        ObjectPart* part = MakePart("desk");
        c.set(*part);
        AnmRecord record;
        GivePicture(record);
        AnmFrame frame = Frame(2, -20);
        RecordingImage target(800, 600);
        Zelk::Graphics g(&target);
        g.SetColor(Zelk::Color(1, 2, 3, 4));
        part->DrawFrame(&g, Zelk::Point{100, 200}, &record, &frame);
        EXPECT_TRUE(Same(target.draws, c.want)) << Describe(target.draws) << "\nwanted " << Describe(c.want);
        // The graphics is left as it was found, modulation off.
        EXPECT_EQ(g.GetColor(), Zelk::Color(1, 2, 3, 4));
        EXPECT_FALSE(g.mModulateImages);
        EXPECT_EQ(g.GetDrawMode(), Zelk::DRAWMODE_NORMAL);
        // A frame reaching outside its picture draws nothing.
        target.draws.clear();
        frame.x = 60;
        part->DrawFrame(&g, Zelk::Point{100, 200}, &record, &frame);
        EXPECT_TRUE(target.draws.empty());
        DeleteAllObjects();
    }
}

// The hovered object is the owner's pair: each frame is drawn once more,
// lit.
class HoverScreen : public OfficeScreenInterface {
public:
    bool IsSurvival() const override { return false; }
    void ChangeObjects(const StageObject&) override {}
    SceneObject* GetHoveredObject() const override { return hovered; }
    SceneObject* hovered = nullptr;
};

TEST_F(ObjectPartTest, TheHoveredObjectsPairItemsAreLit)
{
    HoverScreen screen;
    SetOfficeScreenInterface(&screen);
    SceneObject* table = Make("<object class='item' name='table'><select_block pair_item='holder'/></object>");
    ObjectPart* part = MakePart("checkmark");
    part->SetOrientation("mtr", false);
    part->GetRepeatBlock().tint = 0xFF00FF00;
    table->SetActive(true);
    AnmRecord record;
    GivePicture(record);
    AnmFrame frame = Frame(0, 0);
    RecordingImage target(800, 600);
    Zelk::Graphics g(&target);
    part->DrawFrame(&g, Zelk::Point{100, 200}, &record, &frame);
    ASSERT_EQ(target.draws.size(), 1u);
    screen.hovered = table;
    part->DrawFrame(&g, Zelk::Point{100, 200}, &record, &frame);
    ASSERT_EQ(target.draws.size(), 3u);
    // A checkmark is never mirrored.
    EXPECT_FALSE(target.draws[1].mirrored);
    EXPECT_EQ(target.draws[1].color, Zelk::Color(0, 255, 0, 255));
    EXPECT_EQ(target.draws[1].drawMode, Zelk::DRAWMODE_NORMAL);
    EXPECT_EQ(target.draws[2].color, Zelk::Color(255, 255, 255, 50));
    EXPECT_EQ(target.draws[2].drawMode, Zelk::DRAWMODE_ADDITIVE);
    EXPECT_TRUE(target.draws[2].dest == target.draws[1].dest);
    EXPECT_EQ(g.GetDrawMode(), Zelk::DRAWMODE_NORMAL);
    EXPECT_FALSE(g.mModulateImages);
}

TEST_F(ObjectPartTest, ATextPartRendersItsTextOnceAtTheNextDraw)
{
    ObjectPart* part = MakePart("cash");
    Zelk::test::FakeFont font, subFont;
    part->SetFonts(&font, &subFont);
    *part->GetItemList().items[0].fontColor = 0x5AFF00FF;
    *part->GetItemList().items[0].subFontColor = 0x000000FF;
    part->SetText(L"$12", 100, 30);
    EXPECT_TRUE(font.calls.empty());
    RecordingImage target(800, 600);
    Zelk::Graphics g(&target);
    part->Draw(&g);
    ASSERT_EQ(subFont.calls.size(), 1u);
    ASSERT_EQ(font.calls.size(), 1u);
    EXPECT_EQ(font.calls[0].text, L"$12");
    EXPECT_EQ(font.calls[0].color, Zelk::Color(90, 255, 0, 255));
    EXPECT_EQ(subFont.calls[0].color, Zelk::Color(0, 0, 0, 255));
    ASSERT_EQ(target.draws.size(), 1u);
    EXPECT_TRUE(target.draws[0].dest == Zelk::Rect(100, 200, 100, 30));
    EXPECT_TRUE(target.draws[0].src == Zelk::Rect(0, 0, 100, 30));
    part->Draw(&g);
    EXPECT_EQ(font.calls.size(), 1u);
    EXPECT_EQ(target.draws.size(), 2u);

    // An empty text keeps the size and goes back to the (missing) animation.
    part->SetText(L"", 0, 0);
    EXPECT_FALSE(part->HasText());
    part->Draw(&g);
    EXPECT_EQ(target.draws.size(), 2u);
    // A text image of no size is not made.
    part->SetText(L"$5", 0, 30);
    part->Draw(&g);
    part->SetText(L"$5", 100, -1);
    part->Draw(&g);
    EXPECT_EQ(target.draws.size(), 2u);
    EXPECT_EQ(font.calls.size(), 1u);
}

Zelk::Graphics* gGraphicsSeen = nullptr;
int gRenderCalls = 0;

int32_t SeeGraphics(void* argument)
{
    ++gRenderCalls;
    gGraphicsSeen = static_cast<Zelk::Graphics*>(static_cast<Effect*>(argument)->GetParam(OBJECT_PARAM_GRAPHICS));
    return 0;
}

TEST_F(ObjectPartTest, APartEffectDrawsItsParticlesEvenWhileHidden)
{
    const ExportedFunction exports[] = {{"SeeGraphics", SeeGraphics, CallForm::Message}};
    ExportedFunctions::Install(exports, 1);
    LoadEffects("<effect name='smoke'><messages><message name='render_ps' command='call' timer_id='SeeGraphics'/>"
                "</messages></effect>");
    ObjectPart* part = MakePart("desk", "effect='smoke'");
    part->GetOwner()->SetVisibleFlag(false);
    RecordingImage target(800, 600);
    Zelk::Graphics g(&target);
    gRenderCalls = 0;
    part->Draw(&g);
    EXPECT_EQ(gRenderCalls, 1);
    EXPECT_EQ(gGraphicsSeen, &g);
    EXPECT_EQ(part->GetEffect()->GetParam(OBJECT_PARAM_GRAPHICS), nullptr);
    EXPECT_TRUE(target.draws.empty());
}

TEST_F(ObjectPartTest, APartEffectIsPlacedAtThePartsAnchor)
{
    LoadEffects("<effect name='smoke'/>");
    SceneObject* object =
        Make("<object class='item' name='desk' pos_x='100' pos_y='50' offs_x='5' offs_y='5' orient='mbr'>"
             "<part name='lamp' effect='smoke' offs_x='10' scale_point_x='3' scale_point_y='2'/></object>");
    Effect* effect = object->GetParts()[0]->GetEffect();
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->GetParamValue(OBJECT_PARAM_X), 518);
    EXPECT_EQ(effect->GetParamValue(OBJECT_PARAM_Y), 357);
    EXPECT_EQ(effect->GetParam(OBJECT_PARAM_ITEMS), &object->GetParts()[0]->GetItemList());
    auto* orientation = static_cast<std::string*>(effect->GetParam(OBJECT_PARAM_ORIENTATION));
    ASSERT_NE(orientation, nullptr);
    object->GetParts()[0]->SetOrientation(object->GetOrientWord(), false);
    EXPECT_EQ(*orientation, "br");
    EXPECT_TRUE(*static_cast<bool*>(effect->GetParam(OBJECT_PARAM_MIRROR)));
}

TEST_F(ObjectPartTest, TheEffectCallbacksFindAPartsOwner)
{
    ObjectPart* part = MakePart("table");
    part->GetOwner()->SetSkin("walnut", false);
    EffectWorld* effects = GetEffectWorld();
    ASSERT_NE(effects, nullptr);
    std::string name, skin;
    ASSERT_TRUE(effects->GetPartOwner(part, name, skin));
    EXPECT_EQ(name, "holder");
    EXPECT_EQ(skin, "walnut");
    EXPECT_FALSE(effects->GetPartOwner(nullptr, name, skin));
    std::string code;
    EXPECT_FALSE(effects->FindWorkerTransformTo("worker", code));
    InstallOfficeWorld(nullptr);
    EXPECT_EQ(GetEffectWorld(), nullptr);
    InstallOfficeWorld(&world);
}

TEST_F(ObjectPartTest, ParentZNamesAPartOfAnotherObject)
{
    Make("<object class='item' name='table'><part name='top'/><part name='leg'/><part name='leg'/></object>");
    const struct {
        const char* parentZ;
        bool found;
    } cases[] = {{"table:leg", true}, {"table:top", true}, {"", false},       {"tableleg", false},
                 {"chair:leg", false}, {"table:seat", false}, {"table:", false}, {":leg", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.parentZ);
        ObjectPart* part = MakePart("lamp", std::string("parent_z='") + c.parentZ + "'");
        ObjectPart* parent = part->GetParentZPart();
        EXPECT_EQ(parent != nullptr, c.found);
        if (parent) {
            EXPECT_EQ(parent, FindObject("table")->FindPart(std::string(c.parentZ).substr(6), 0));
        }
        delete part->GetOwner();
    }
}

} // namespace
