// The demo stream as the application writes and reads it: record layout,
// the replay of input records, the hooks and the end of the stream.
#include "DemoAppFixture.h"
#include "framework/app/StringUtil.h"
#include "platform/settings/SettingsStore.h"
#include "tests/support/TempDir.h"

using namespace Zelk;

namespace {

const std::string kKey = "SOFTWARE\\Test Co\\Test Game";

// The records of a stream as text, read field by field the way the file
// format lays them out ("+delta what fields").
std::vector<std::string> Records(Buffer b)
{
    std::vector<std::string> out;
    b.SeekFront();
    while (b.GetBitSize() - b.GetReadPos() >= 10) {
        const int delta = b.ReadBits(4, false);
        const bool isShort = b.ReadBits(1, false) != 0;
        const int command = b.ReadBits(isShort ? 1 : 5, false);
        std::string r = "+" + std::to_string(delta) + " ";
        if (isShort && command == 0) {
            const int dx = b.ReadBits(6, true);
            r += "short move " + std::to_string(dx) + "," + std::to_string(b.ReadBits(6, true));
        } else if (isShort) {
            const int down = b.ReadBits(1, false);
            r += std::string(down ? "button down " : "button up ") + std::to_string(b.ReadBits(3, true));
        } else if (command == 0) {
            const int x = b.ReadBits(12, false);
            r += "move " + std::to_string(x) + "," + std::to_string(b.ReadBits(12, false));
        } else if (command == 3 || command == 4) {
            r += std::string(command == 3 ? "keydown " : "keyup ") + std::to_string(b.ReadBits(8, false));
        } else if (command == 21) {
            r += "wheel " + std::to_string(b.ReadBits(8, true));
        } else if (command == 31) {
            r += "pad";
        } else {
            ADD_FAILURE() << "record " << command << " is not decoded here";
            break;
        }
        out.push_back(r);
    }
    return out;
}

class DemoStream : public AppTest {
protected:
    // A recorder that needs no window: messages go straight to the dispatch.
    void Dispatch(DemoApp& app, const plat::WindowMessage& msg)
    {
        app.mMessageQueue.push_back(msg);
        app.DispatchQueuedMessage(false);
    }
    // A player of the recorder's stream in whole bytes, as the file holds
    // it, at update 0.
    static void Play(DemoApp& player, const DemoApp& recorder)
    {
        player.mPlayingDemo = true;
        player.mDemoBuffer.Clear();
        player.mDemoBuffer.SetData(recorder.mDemoBuffer.GetDataPtr(), size_t(recorder.mDemoBuffer.GetDataLen()));
    }
};

} // namespace

TEST_F(DemoStream, GapsLongerThanFifteenUpdatesArePadded)
{
    DemoApp app;
    app.mRecordingDemo = true;
    const std::pair<int, int> keys[] = {{2, 'A'}, {42, 'B'}, {57, 'C'}, {57, 'D'}};
    for (auto [at, key] : keys) {
        app.mUpdateCount = at;
        Dispatch(app, KeyMessage(plat::WM_KEYDOWN, key));
    }
    EXPECT_EQ(Records(app.mDemoBuffer), (std::vector<std::string>{"+2 keydown 65", "+15 pad", "+15 pad",
                                                                  "+10 keydown 66", "+15 keydown 67",
                                                                  "+0 keydown 68"}));

    DemoApp player;
    Play(player, app);
    PlayUntil(player, 60);
    EXPECT_EQ(player.StampedEvents(),
              (std::vector<std::string>{"2: keydown 65", "42: keydown 66", "57: keydown 67", "57: keydown 68"}));
}

TEST_F(DemoStream, MouseMessagesBecomeShortOrAbsoluteMovesAndButtons)
{
    struct {
        plat::WindowMessage msg;
        std::vector<std::string> records;
        std::string replayed; // the probe's events on replay, ";"-joined
    } steps[] = {
        {MouseMessage(plat::WM_MOUSEMOVE, 100, 100), {"+0 move 100,100"}, "move 100,100"},
        {MouseMessage(plat::WM_MOUSEMOVE, 131, 69), {"+0 short move 31,-31"}, "move 131,69"},
        {MouseMessage(plat::WM_MOUSEMOVE, 163, 69), {"+0 move 163,69"}, "move 163,69"},
        {MouseMessage(plat::WM_MOUSEMOVE, 163, 37), {"+0 move 163,37"}, "move 163,37"},
        // At the recorded position: only the button.
        {MouseMessage(plat::WM_LBUTTONDOWN, 163, 37), {"+0 button down 1"}, "down 1"},
        {MouseMessage(plat::WM_LBUTTONUP, 160, 40), {"+0 short move -3,3", "+0 button up 1"}, "move 160,40;up 1"},
        {MouseMessage(plat::WM_RBUTTONDBLCLK, 160, 40), {"+0 button down -2"}, "down -2"},
        {MouseMessage(plat::WM_RBUTTONUP, 160, 40), {"+0 button up -1"}, "up -1"},
        {MouseMessage(plat::WM_MBUTTONDOWN, 160, 40), {"+0 button down 3"}, "down 3"},
        {MouseMessage(plat::WM_MBUTTONUP, 160, 40), {"+0 button up 3"}, "up 3"},
        // Outside the window: the low 12 bits, replayed as 0..4095.
        {MouseMessage(plat::WM_MOUSEMOVE, -5, -1), {"+0 move 4091,4095"}, "move 4091,4095"},
        // Measured from where the replay stands, so it lands exactly.
        {MouseMessage(plat::WM_MOUSEMOVE, 10, 10), {"+0 move 10,10"}, "move 10,10"},
        {MouseMessage(plat::WM_MOUSEMOVE, 4, 12), {"+0 short move -6,2"}, "move 4,12"},
        {WheelMessage(-240), {"+0 wheel -2"}, "wheel -2"},
        {WheelMessage(60), {"+0 wheel 0"}, "wheel 0"},
        // Beyond the 8-bit field: held at its ends.
        {WheelMessage(-32768), {"+0 wheel -128"}, "wheel -128"},
        {WheelMessage(32760), {"+0 wheel 127"}, "wheel 127"},
    };

    DemoApp recorder;
    recorder.mRecordingDemo = true;
    recorder.mMouseIn = true;
    std::vector<std::string> allRecords, allReplayed;
    for (auto& s : steps) {
        const size_t before = Records(recorder.mDemoBuffer).size();
        Dispatch(recorder, s.msg);
        std::vector<std::string> now = Records(recorder.mDemoBuffer);
        EXPECT_EQ(std::vector<std::string>(now.begin() + long(before), now.end()), s.records)
            << "message " << s.msg.message << " " << s.msg.lParam;
        size_t start = 0;
        for (size_t end; (end = s.replayed.find(';', start)) != std::string::npos; start = end + 1)
            allReplayed.push_back("0: " + s.replayed.substr(start, end - start));
        allReplayed.push_back("0: " + s.replayed.substr(start));
    }

    DemoApp player;
    Play(player, recorder);
    player.RunDemoEvents();
    EXPECT_EQ(player.StampedEvents(), allReplayed);
    EXPECT_EQ(player.mDemoMouseX, 4);
    EXPECT_EQ(player.mDemoMouseY, 12);
    EXPECT_TRUE(player.DemoStreamAtEnd());
}

TEST_F(DemoStream, HooksAnswerFromTheDemoAndNotAtAllAfterTheWindowClosed)
{
    testsupport::TempDir dir;
    dir.Write("data.bin", "file bytes");
    const std::string file = dir / "data.bin";
    platform.settings.SetDword(kKey, "Level", 7);

    DemoApp recorder;
    recorder.mRecordingDemo = true;
    auto runHooks = [&](DemoApp& app) {
        std::vector<std::string> answers;
        uint32_t type = 0, size = 4;
        uint8_t level[4] = {};
        const bool read = app.RegistryRead("Level", &type, level, &size);
        answers.push_back(StrFormat("read %d type %u size %u value %u", read, type, size, unsigned(level[0])));
        const uint32_t score = 42;
        answers.push_back(StrFormat("write %d", app.RegistryWrite("Score", plat::REG_DWORD, &score, 4)));
        Buffer contents;
        const bool got = app.ReadBufferFromFile(file, contents, false);
        const char* bytes = reinterpret_cast<const char*>(contents.GetDataPtr());
        answers.push_back(StrFormat("file %d '%s'", got, std::string(bytes ? bytes : "", size_t(contents.GetDataLen())).c_str()));
        Buffer synced;
        synced.WriteString("live");
        app.DemoSyncBuffer(synced);
        answers.push_back("sync '" + synced.ReadString() + "'");
        return answers;
    };
    const std::vector<std::string> recorded = runHooks(recorder);
    EXPECT_EQ(recorded, (std::vector<std::string>{"read 1 type 4 size 4 value 7", "write 1", "file 1 'file bytes'",
                                                  "sync 'live'"}));

    // The replay touches neither the settings nor the file.
    platform.settings.SetDword(kKey, "Level", 99);
    ASSERT_TRUE(platform.settings.DeleteValue(kKey, "Score"));
    std::remove(file.c_str());

    DemoApp player;
    Play(player, recorder);
    player.mDemoCloseSeen = true;
    EXPECT_EQ(runHooks(player),
              (std::vector<std::string>{"read 0 type 0 size 4 value 0", "write 1", "file 0 ''", "sync 'live'"}));
    EXPECT_EQ(player.mDemoBuffer.GetReadPos(), 0);

    player.mDemoCloseSeen = false;
    EXPECT_EQ(runHooks(player), recorded);
    EXPECT_TRUE(player.DemoStreamAtEnd());
    uint32_t level = 0;
    EXPECT_TRUE(platform.settings.GetDword(kKey, "Level", level));
    EXPECT_EQ(level, 99u);
    EXPECT_FALSE(platform.settings.GetDword(kKey, "Score", level));

    // After the end every hook gets nothing.
    EXPECT_EQ(runHooks(player),
              (std::vector<std::string>{"read 0 type 0 size 4 value 0", "write 0", "file 0 ''", "sync ''"}));
}

TEST_F(DemoStream, ARecordedValueLargerThanTheCallersRoomIsRefusedAndTheStreamStaysInStep)
{
    const std::vector<uint8_t> eight = {1, 2, 3, 4, 5, 6, 7, 8};
    platform.settings.CreateKey(kKey);
    platform.settings.SetValue(kKey, "Blob", plat::REG_BINARY, eight.data(), 8);
    auto run = [](DemoApp& app) {
        std::string answers;
        for (uint32_t room : {4u, 8u}) {
            uint8_t data[8] = {};
            uint32_t size = room;
            const bool ok = app.RegistryRead("Blob", nullptr, data, &size);
            answers += StrFormat("[%u: %d %u %u] ", room, ok, size, unsigned(data[7]));
        }
        std::string text = "live";
        app.DemoSyncString(text);
        return answers + text;
    };
    DemoApp recorder;
    recorder.mRecordingDemo = true;
    const std::string recorded = run(recorder);
    EXPECT_EQ(recorded, "[4: 0 4 0] [8: 1 8 8] live");

    DemoApp player;
    Play(player, recorder);
    platform.settings.Clear();
    EXPECT_EQ(run(player), recorded);
}

TEST_F(DemoStream, DamagedLengthsTakeOnlyTheBytesTheStreamHolds)
{
    struct {
        const char* name;
        int command;
        std::function<std::string(DemoApp&)> hook;
    } cases[] = {
        {"registry read", 11,
         [](DemoApp& app) {
             uint8_t data[16] = {};
             uint32_t size = sizeof data;
             const bool ok = app.RegistryRead("Blob", nullptr, data, &size);
             return StrFormat("%d %u %.3s", ok, size, (const char*)data);
         }},
        {"file", 15,
         [](DemoApp& app) {
             Buffer b;
             const bool ok = app.ReadBufferFromFile("any", b, false);
             return StrFormat("%d %d %.3s", ok, b.GetDataLen(), (const char*)b.GetDataPtr());
         }},
        {"sync", 18,
         [](DemoApp& app) {
             Buffer b;
             app.DemoSyncBuffer(b);
             return StrFormat("1 %d %.3s", b.GetDataLen(), (const char*)b.GetDataPtr());
         }},
    };
    for (auto& c : cases) {
        DemoApp recorder;
        recorder.mRecordingDemo = true;
        recorder.BeginDemoRecord(false, c.command);
        Buffer& b = recorder.mDemoBuffer;
        if (c.command != 18)
            b.WriteBits(1, 1); // found
        if (c.command == 11)
            b.WriteLong(plat::REG_BINARY);
        b.WriteLong(int32_t(0xFFFFFFF0)); // a length no stream holds
        b.WriteBytes(reinterpret_cast<const uint8_t*>("abc"), 3);

        DemoApp player;
        Play(player, recorder);
        EXPECT_EQ(c.hook(player), "1 3 abc") << c.name;
        EXPECT_TRUE(player.DemoStreamAtEnd()) << c.name;
    }
}

TEST_F(DemoStream, TheFillBitsAfterTheLastRecordAreNoRecordAndTheProgramRunsOn)
{
    DemoApp recorder;
    recorder.mRecordingDemo = true;
    recorder.mMouseIn = true;
    recorder.mUpdateCount = 3;
    Dispatch(recorder, MouseMessage(plat::WM_MOUSEMOVE, 5, 5));

    DemoApp player;
    Play(player, recorder);
    ASSERT_EQ(player.mDemoBuffer.GetBitSize(), 24); // an 18-bit record and 6 bits of fill
    PlayUntil(player, 50);
    EXPECT_EQ(player.mUpdateCount, 50);
    EXPECT_EQ(player.StampedEvents(), std::vector<std::string>{"3: move 5,5"});
    EXPECT_TRUE(player.DemoStreamAtEnd());
    bool flag = true;
    player.DemoSyncBool(flag);
    EXPECT_FALSE(flag);
}

TEST_F(DemoStream, AHookRecordNoHookTakesEndsThePlaybackInsteadOfStoppingTheProgram)
{
    DemoApp recorder;
    recorder.mRecordingDemo = true;
    recorder.mUpdateCount = 3;
    bool value = true;
    recorder.DemoSyncBool(value);
    recorder.mUpdateCount = 5;
    Dispatch(recorder, KeyMessage(plat::WM_KEYDOWN, 'K'));

    // The same run takes its record and replays the key.
    {
        DemoApp player;
        Play(player, recorder);
        player.onUpdate = [&] {
            if (player.mUpdateCount == 3) {
                bool v = false;
                player.DemoSyncBool(v);
                player.Note(v ? "true" : "false");
            }
        };
        PlayUntil(player, 10);
        EXPECT_EQ(player.notes, std::vector<std::string>{"3: true"});
        EXPECT_EQ(player.StampedEvents(), std::vector<std::string>{"5: keydown 75"});
    }
    // A run that never asks: the demo is out of step and ends; updates go on.
    DemoApp player;
    Play(player, recorder);
    platform.debug.StartCapture();
    PlayUntil(player, 40);
    const std::string said = platform.debug.StopCapture();
    EXPECT_EQ(player.mUpdateCount, 40);
    EXPECT_TRUE(player.probe.events.empty());
    EXPECT_NE(said.find("Demo out of step at update 3"), std::string::npos) << said;
}

TEST_F(DemoStream, HooksOfTheLoadingCompletionReplayAfterItAndWaitForThisRunsLoading)
{
    auto syncInCompletion = [](DemoApp& app) {
        app.onLoadingComplete = [&app] {
            std::string text = app.mPlayingDemo ? "replay" : "recorded";
            app.DemoSyncString(text);
            app.Note("synced " + text);
        };
    };
    DemoApp recorder;
    recorder.mRecordingDemo = true;
    syncInCompletion(recorder);
    PlayUntil(recorder, 4);
    recorder.mLoadingFinished = true;
    recorder.UpdateOnce(); // the completion, and update 5
    recorder.mUpdateCount = 6;
    Dispatch(recorder, KeyMessage(plat::WM_KEYDOWN, 'Q'));
    EXPECT_EQ(recorder.notes, (std::vector<std::string>{"4: loading complete", "4: synced recorded"}));

    DemoApp player;
    Play(player, recorder);
    syncInCompletion(player);
    player.mLoadingStarted = true; // this run's loading is still at work
    PlayUntil(player, 10, 50);
    EXPECT_EQ(player.mUpdateCount, 4);
    EXPECT_TRUE(player.mDemoLoadingCompleteSeen);
    EXPECT_EQ(player.loadingCompletes, 0);

    player.mLoadingFinished = true;
    PlayUntil(player, 10);
    EXPECT_EQ(player.notes, (std::vector<std::string>{"4: loading complete", "4: synced recorded"}));
    EXPECT_EQ(player.StampedEvents(), std::vector<std::string>{"6: keydown 81"});
}

// A recording that cannot be kept is said, with its path and the reason; one
// whose folder is missing is kept there.
TEST_F(DemoStream, ARecordingIsSavedIntoANewFolderOrItsLossIsSaid)
{
    testsupport::TempDir dir;
    DemoApp app;
    app.mRecordingDemo = true;
    app.mDemoFileName = dir / "new/folder/run.dmo";
    app.WriteDemoFile();
    EXPECT_TRUE(dir.Exists("new/folder/run.dmo"));

    dir.Write("plain", "a file, not a folder");
    app.mDemoFileName = dir / "plain/run.dmo";
    platform.debug.StartCapture();
    app.WriteDemoFile();
    const std::string said = platform.debug.StopCapture();
    EXPECT_NE(said.find("The demo could not be saved to " + dir / "plain/run.dmo" + ": "), std::string::npos)
        << said;
}
