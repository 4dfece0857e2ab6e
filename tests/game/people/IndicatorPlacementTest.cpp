// Where the running day draws its bubbles over the fixture office's own
// animation files and office records: every picture a bubble shows lies
// within its cloud, and the cloud floats above the head of the figure it
// speaks for, whatever the bubble shows.
#include "framework/graphics/Graphics.h"
#include "game/world/ObjectPart.h"
#include "game/world/StatusBubble.h"
#include "tests/framework/graphics/GraphicsFixtures.h"
#include "tests/game/people/PeopleFixture.h"

#include <sstream>

namespace peopletest {
namespace {

std::string Show(const Zelk::Rect& r)
{
    std::ostringstream text;
    text << "(" << r.mX << ", " << r.mY << ", " << r.mWidth << " x " << r.mHeight << ")";
    return text.str();
}

bool Inside(const Zelk::Rect& inner, const Zelk::Rect& outer)
{
    return inner.mX >= outer.mX && inner.mY >= outer.mY && inner.mX + inner.mWidth <= outer.mX + outer.mWidth &&
           inner.mY + inner.mHeight <= outer.mY + outer.mHeight;
}

class IndicatorPlacementTest : public PeopleTest {
protected:
    // The rectangles a part's draw covers (none while it shows nothing).
    static std::vector<Zelk::Rect> Drawn(ObjectPart* part)
    {
        Zelk::test::RecordingImage target(800, 600);
        Zelk::Graphics g(&target);
        part->Draw(&g);
        std::vector<Zelk::Rect> rects;
        for (const auto& draw : target.draws)
            rects.push_back(draw.dest);
        return rects;
    }

    // The bubble shows the word with its pictures inside its cloud, and the
    // cloud stands above the figure's head.
    void CheckBubble(const std::string& figure, const std::string& word, int pictures)
    {
        SCOPED_TRACE(figure + " showing " + word);
        StatusBubble* bubble = Fixture<StatusBubble>(figure + "_bubble");
        SceneObject* source = FindObject(figure);
        ASSERT_TRUE(bubble && source);
        // The bubble's show has ended.
        Ticks(60);
        ASSERT_TRUE(bubble->IsActive());
        ASSERT_TRUE(bubble->IsVisible());
        EXPECT_EQ(bubble->GetLastWord(), word);
        const std::vector<Zelk::Rect> cloud = Drawn(bubble->GetBubblePart());
        ASSERT_EQ(cloud.size(), 1u);
        std::vector<Zelk::Rect> shown;
        for (ObjectPart* part : {bubble->GetTypePart(), bubble->GetProductionPart(0), bubble->GetProductionPart(1)})
            for (const Zelk::Rect& rect : Drawn(part))
                shown.push_back(rect);
        EXPECT_EQ(int(shown.size()), pictures);
        for (const Zelk::Rect& rect : shown)
            EXPECT_TRUE(Inside(rect, cloud[0])) << Show(rect) << " outside the cloud " << Show(cloud[0]);
        const std::vector<Zelk::Rect> body = Drawn(source->GetParts().front());
        ASSERT_EQ(body.size(), 1u);
        const Zelk::Rect& seen = body[0]; // the figure as drawn, its head at the top
        EXPECT_LE(cloud[0].mY + cloud[0].mHeight, seen.mY + seen.mHeight / 4)
            << "cloud " << Show(cloud[0]) << ", figure " << Show(seen);
        EXPECT_LT(cloud[0].mX, seen.mX + seen.mWidth) << "cloud " << Show(cloud[0]) << ", figure " << Show(seen);
        EXPECT_GT(cloud[0].mX + cloud[0].mWidth, seen.mX) << "cloud " << Show(cloud[0]) << ", figure " << Show(seen);
    }
};

TEST_F(IndicatorPlacementTest, BubblePicturesLieWithinTheirCloudAboveTheFigure)
{
    // Patient clients of a type the office has pictures of.
    World().clientParams["student"] = World().clientParams["regular"];
    World().clientParams["student"].client_patience_speed = 0.01f;
    // An order of the first stage shows one product, a later stage two
    // pictures over each other.
    ASSERT_TRUE(SpawnClient("student", false, 2, {"0302"}));
    ASSERT_TRUE(SpawnClient("student", false, 3, {"0102"}));
    Client* waiting = GetClient(2);
    ASSERT_NE(waiting, nullptr);
    TicksWhile([&] { return waiting->GetState() != Client::kWaitingForBoss; }, 3000);
    CheckBubble("client03", "ready", 1);

    ClickAt("client_place03");
    TicksWhile([&] { return waiting->GetState() != Client::kWaitingForOrder; }, 3000);
    ASSERT_EQ(waiting->GetState(), Client::kWaitingForOrder);
    CheckBubble("client03", "0302", 2);

    Client* other = GetClient(3);
    ASSERT_NE(other, nullptr);
    ClickAt("client_place04");
    TicksWhile([&] { return other->GetState() != Client::kWaitingForOrder; }, 3000);
    ASSERT_EQ(other->GetState(), Client::kWaitingForOrder);
    CheckBubble("client04", "0102", 1);

    // A worker holding its product shows it.
    Worker* worker = Fixture<Worker>("worker02a");
    ASSERT_NE(worker, nullptr);
    worker->SetItem("0102");
    CheckBubble("worker02a", "0102", 1);
}

} // namespace
} // namespace peopletest
