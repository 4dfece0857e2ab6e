#pragma once
// The office day the people's tests run in, with the values of TestParams.h
// set after the level's load: the real office screen over the content tool's
// fixture office on level 3, whose one client record lies at 100000 s (the
// day never ends by itself and nobody comes by the clock), with a profile
// whose boss is "man". A tick is the screen's update then its fraction step
// of 1.0, so money, lives, the frame time, the tick order and the click
// dispatch are the day's own. A tutorial double writes down the events and
// forbids the action the test names; the rush reports are heard through the
// day's bonus stages; sounds are written down by the recording sound
// manager. Objects the fixture office lacks are made through the office
// file's own definitions into the running day.
#include "framework/app/Random.h"
#include "framework/app/StringUtil.h"
#include "framework/app/Utf16.h"
#include "game/flow/BriefingDialog.h"
#include "game/world/Boss.h"
#include "game/world/Client.h"
#include "game/world/NamedObjects.h"
#include "game/world/OfficeDefinitions.h"
#include "game/world/SceneObject.h"
#include "game/world/SceneObjectList.h"
#include "game/world/Worker.h"
#include "tests/game/flow/DayFixture.h"
#include "tests/game/people/TestParams.h"
#include "tools/makeanm/AnmText.h"
#include "tools/makeanm/AnmWriter.h"

#include <fstream>
#include <iterator>
#include <list>
#include <regex>
#include <string>
#include <utility>
#include <vector>

namespace peopletest {

// A tutorial that writes down the events it hears and forbids one action.
class RecordingTutorial : public TutorialScript {
public:
    RecordingTutorial() : TutorialScript(nullptr) {}
    void OnEvent(int32_t event) override { events.push_back(event); }
    bool IsActionAllowed(int32_t action) const override { return action != forbidden; }
    std::vector<int> events;
    int forbidden = -1;
};

// One rush report: its kind (1 a link, 0 a failure) and the target's name.
typedef std::pair<int32_t, std::string> RushReport;

class PeopleTest : public daytest::DayTest {
protected:
    static constexpr int kSeed = 7;

    void SetUp() override
    {
        DayTest::SetUp();
        app->LoadPrefs();
        ASSERT_TRUE(app->CreateProfile(L"Ada", "man"));
        WriteLevel("cfg/l3.xml", FixtureLevel("l3.xml", L"<clients_timeline>[\\s\\S]*</clients_timeline>",
                                              L"<clients_timeline><time_point time=\"100000\" event=\"regular\" "
                                              L"vip=\"0\"><orders><order name=\"0102\"/></orders></time_point>"
                                              L"</clients_timeline>"));
        // The survival day's one stage brings nobody.
        WriteLevel("cfg/endless1.xml", FixtureLevel("endless1.xml", L"<stages>[\\s\\S]*</stages>",
                                                    L"<stages><stage money=\"0\"/></stages>"));
        MakeScreen();
        BeginDay(false);
    }
    void TearDown() override
    {
        if (mScreenTutorial)
            gTutorialScript = mScreenTutorial;
        DayTest::TearDown();
    }

    // The level file of the fixture with a part replaced, as text.
    static std::string FixtureLevel(const std::string& file, const std::wstring& pattern,
                                    const std::wstring& replacement)
    {
        std::ifstream in(std::string(FIXTURE_OFFICE) + "/cfg/" + file, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_GT(bytes.size(), 2u) << file;
        if (bytes.size() <= 2)
            return "<level/>";
        std::wstring text =
            Zelk::Utf16LEToWide(reinterpret_cast<const uint8_t*>(bytes.data()) + 2, bytes.size() - 2);
        text = text.substr(text.find(L"<level"));
        return Zelk::WStringToString(std::regex_replace(text, std::wregex(pattern), replacement));
    }

    // The day of level 3 (or the survival day of level 1), running, with the
    // tests' values, the tutorial double and the rush reports heard.
    void BeginDay(bool survival)
    {
        if (mScreenTutorial)
            gTutorialScript = mScreenTutorial;
        screen->SetSurvival(survival);
        screen->LoadLevel(survival ? 1 : 3);
        screen->StartDay();
        if (!survival)
            screen->GetBriefing()->Continue();
        screen->SetDayRunning(true);
        SetTestParams(World());
        // The day's draws from here on are the test's own.
        Zelk::SRand(kSeed);
        // Workers copy their skin's record when switched on.
        for (Worker* worker : std::vector<Worker*>(World().workers.begin(), World().workers.end()))
            if (worker->IsActive()) {
                worker->SetActive(false);
                worker->SetActive(true);
            }
        mScreenTutorial = gTutorialScript;
        gTutorialScript = &tutorial;
        screen->GetBonusStages().SetObserver([this](int32_t kind, SceneObject* target) {
            rush.emplace_back(kind, target ? target->GetName() : std::string());
        });
        calls.clear();
    }
    // The survival day in place of the career day.
    void BeginSurvivalDay()
    {
        screen->StopDay();
        screen->ClearOffice();
        BeginDay(true);
    }

    // A second office screen in place of the first, its day begun.
    void ReplaceScreen()
    {
        gTutorialScript = mScreenTutorial;
        mScreenTutorial = nullptr;
        DeleteScreen();
        MakeScreen();
        BeginDay(false);
    }

    OfficeWorld& World() { return screen->GetWorld(); }
    int32_t Money() const { return screen->GetMoney(); }
    void Tick()
    {
        screen->Update();
        screen->UpdateF(1.0f);
    }
    void Ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            Tick();
    }
    // Ticks while the condition holds, at most the limit; the ticks run.
    template <class Condition>
    int TicksWhile(Condition condition, int limit = 10000)
    {
        int ticks = 0;
        while (condition() && ticks < limit) {
            Tick();
            ++ticks;
        }
        return ticks;
    }

    // A click on the middle of the object's region through the screen.
    void ClickAt(const std::string& name)
    {
        SceneObject* object = FindObject(name);
        ASSERT_NE(object, nullptr) << name;
        const auto& points = object->GetRegion().Points();
        ASSERT_FALSE(points.empty()) << name;
        int x = 0, y = 0;
        for (const auto& point : points) {
            x += point.x;
            y += point.y;
        }
        screen->Click(x / int(points.size()), y / int(points.size()));
    }
    // The boss walks to the object by a click and does his part there; the
    // ticks it took (at most 3000).
    int WalkBossTo(const std::string& name)
    {
        ClickAt(name);
        const int start = TicksWhile([this] { return !TheBoss()->IsBusy(); }, 50);
        const int walk = TicksWhile([this] { return TheBoss()->IsBusy(); }, 3000);
        // The handshake comes at the first update he is no longer busy.
        Tick();
        return start + walk + 1 + TicksWhile([this] { return TheBoss()->IsBusy(); }, 3000);
    }

    // anm\<part>.anm in the game folder from makeanm's text form, for a part
    // the fixture office has no drawings of.
    void WriteAnm(const std::string& part, const std::string& text)
    {
        makeanm::AnmFile file;
        std::string error;
        ASSERT_TRUE(makeanm::ParseAnmText(text, file, error)) << error;
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(makeanm::WriteAnm(file, bytes, error)) << error;
        game.dir.Write("anm/" + part + ".anm", std::string(bytes.begin(), bytes.end()));
    }
    // One animation of one frame in makeanm's text form.
    static std::string Animation(const std::string& name, const std::string& mode, int frames = 1)
    {
        std::string text = "animation images\\anm\\strip.png " + name + " 40 " + mode + " 10\n";
        for (int i = 0; i < frames; ++i)
            text += "frame " + std::to_string(i * 10) + " 0 10 20 0 -20\n";
        return text;
    }

    // The root element of a document made from text (kept with the node).
    XmlNode Parse(const std::string& text)
    {
        mDocuments.emplace_back();
        mDocuments.back().LoadText(Zelk::StringToWString(text));
        for (const XmlNode& child : mDocuments.back().Node().Children())
            if (child.Type() == plat::XML_NODE_ELEMENT)
                return child;
        return XmlNode();
    }
    // An object the fixture office lacks, made as the office file would
    // define it, switched on and shown in the running day.
    template <class Kind>
    Kind* Add(const std::string& kind, const std::string& name, const std::string& attributes = "",
              const std::string& children = "")
    {
        SceneObject* object = CreateObjectFromDefinition(
            Parse("<object class='" + kind + "' name='" + name + "' " + attributes + ">" + children + "</object>"));
        Kind* typed = ObjectAs<Kind>(object);
        EXPECT_NE(typed, nullptr) << name;
        if (typed) {
            typed->SetVisibleFlag(true);
            typed->SetActive(true);
        }
        return typed;
    }
    template <class Kind>
    Kind* Fixture(const std::string& name)
    {
        Kind* object = ObjectAs<Kind>(FindObject(name));
        EXPECT_NE(object, nullptr) << name;
        return object;
    }
    Boss* TheBoss() { return ObjectAs<Boss>(gBoss); }
    // Both halves of a handshake as the dispatch runs them: the object's
    // test, the walker's test, then both performs. False when either
    // refuses.
    static bool Handshake(SceneObject* walker, SceneObject* object, int* word = nullptr)
    {
        int local = 0;
        int* answer = word ? word : &local;
        if (!object->Interact(walker, true, answer) || !walker->Interact(object, true, answer))
            return false;
        object->Interact(walker, false, answer);
        walker->Interact(object, false, answer);
        return true;
    }
    // The sounds played since the last take, in order.
    std::vector<std::string> TakeSounds()
    {
        std::vector<std::string> sounds;
        for (const std::string& call : calls)
            if (call.rfind("sound ", 0) == 0)
                sounds.push_back(call.substr(6));
        calls.clear();
        return sounds;
    }
    bool Played(const std::string& sound) const { return Count("sound " + sound) > 0; }

    RecordingTutorial tutorial;
    std::vector<RushReport> rush;

private:
    TutorialScript* mScreenTutorial = nullptr;
    std::list<XmlDocument> mDocuments;
};

} // namespace peopletest
