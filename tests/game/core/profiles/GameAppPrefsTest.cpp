#include "ProfilesGame.h"

#include "game/core/MusicManager.h"
#include "game/core/PrefStore.h"
#include "game/core/SfxManager.h"
#include "platform/files/AtomicFile.h"

#include <cmath>
#include <cstring>
#include <functional>

TEST_F(ProfilesGame, FirstRunWritesTheDefaultFileWithTheLocalisedTables)
{
    RecordingGame& g = Start();
    const std::string b = prefs.Bytes();
    ASSERT_EQ(b.size(), 10520u);
    std::string header(40, '\0');
    memcpy(&header[0], "\x78\xd8\x64\xfa\xd2\xca\x9e\x43\xab\xf6\x64\x46\xd2\xfe\x9b\xd7", 16);
    header[16] = 11;
    header[20] = 80;
    header[24] = 80;
    header.replace(32, 4, "\xff\xff\xff\xff");
    EXPECT_EQ(b.substr(0, 40), header);
    EXPECT_EQ(b.substr(40, 34), std::string("s\0u\0r\0v\0i\0v\0a\0l\0 \0d\0e\0f\0a\0u\0l\0t\0 \0", 34));
    EXPECT_EQ(b.substr(40 + 520, 4), std::string("\xe8\x03\0\0", 4)); // 1000
    HiscoreTables tables;
    PrefFile::Contents c = PrefFile::Read(b, &tables);
    EXPECT_FALSE(c.damaged);
    EXPECT_EQ(tables.GetTable(true)[9].mName, L"survival default 10");
    EXPECT_EQ(tables.GetTable(false)[0].mName, L"career default 1");
    EXPECT_EQ(tables.GetTable(false)[9].mScore, 100);
    EXPECT_FALSE(g.mProfileValid);
    EXPECT_EQ(g.GetCurrentProfile()->mName, L"unknown");
    EXPECT_EQ(g.GetCurrentProfile()->mFigure, "woman");
    EXPECT_EQ(prefs.Entries(), std::set<std::string>{"pref.dat"});
}

TEST_F(ProfilesGame, ProfileOperationsKeepFileHeaderAndSlotsInStep)
{
    RecordingGame& g = Start();
    struct Step {
        const char* what;
        std::function<bool()> run;
        bool result;
        size_t size;
        int32_t indexOnDisk;
        int32_t indexInMemory;
        std::vector<std::wstring> slots;
    } steps[] = {
        {"create A", [&] { return g.CreateProfile(L"A", "man"); }, true, 11548, 0, 0, {L"A"}},
        {"create B", [&] { return g.CreateProfile(L"B", "woman"); }, true, 12576, 1, 1, {L"A", L"B"}},
        {"select 0", [&] { return g.SelectProfile(0); }, true, 12576, 1, 0, {L"A", L"B"}},
        {"select past the end", [&] { return g.SelectProfile(2); }, false, 12576, 1, 0, {L"A", L"B"}},
        {"create C", [&] { return g.CreateProfile(L"C", "man"); }, true, 13604, 2, 2, {L"A", L"B", L"C"}},
        {"delete 0 of three, 2 current", [&] { return g.DeleteProfile(0); }, true, 12576, 1, 1, {L"B", L"C"}},
        {"delete the current slot", [&] { return g.DeleteProfile(1); }, false, 12576, 1, 1, {L"B", L"C"}},
        {"delete past the end", [&] { return g.DeleteProfile(2); }, false, 12576, 1, 1, {L"B", L"C"}},
        {"delete -1", [&] { return g.DeleteProfile(-1); }, false, 12576, 1, 1, {L"B", L"C"}},
        {"delete below the current", [&] { return g.SelectProfile(1) && g.DeleteProfile(0); }, true, 11548, 0, 0, {L"C"}},
        {"save", [&] { return g.SavePrefs(); }, true, 11548, 0, 0, {L"C"}},
        {"create D", [&] { return g.CreateProfile(L"D", "woman"); }, true, 12576, 1, 1, {L"C", L"D"}},
        {"select 0 unsaved", [&] { return g.SelectProfile(0); }, true, 12576, 1, 0, {L"C", L"D"}},
        {"delete the slot the file names", [&] { return g.DeleteProfile(1); }, true, 11548, 0, 0, {L"C"}},
    };
    for (Step& s : steps) {
        const std::string before = prefs.Bytes();
        EXPECT_EQ(s.run(), s.result) << s.what;
        const PrefFile::Contents c = OnDisk();
        EXPECT_EQ(prefs.Bytes().size(), s.size) << s.what;
        EXPECT_EQ(c.header.mCurrentIndex, s.indexOnDisk) << s.what;
        EXPECT_EQ(g.mPrefHeader.mCurrentIndex, s.indexInMemory) << s.what;
        EXPECT_EQ(Names(c.slots), s.slots) << s.what;
        EXPECT_FALSE(c.damaged) << s.what;
        if (!s.result) {
            EXPECT_EQ(prefs.Bytes(), before) << s.what << ": a refused operation changes nothing";
        }
        std::vector<ProfileRecord> listed;
        g.ListProfiles(listed);
        EXPECT_EQ(Names(listed), s.slots) << s.what;
    }
    // The current profile is the one at the index, and is published.
    EXPECT_EQ(g.GetCurrentProfile()->mName, L"C");
    EXPECT_EQ(g.GetStringTable()->Get("profilename"), L"C");
    EXPECT_EQ(prefs.Entries(), std::set<std::string>{"pref.dat"});
}

TEST_F(ProfilesGame, SelectingChangesMemoryOnlyUntilTheNextSave)
{
    prefs.Install(Fixture("pref3.dat"));
    RecordingGame& g = Start();
    const std::string loaded = prefs.Bytes();
    ASSERT_TRUE(g.SelectProfile(0));
    EXPECT_EQ(prefs.Bytes(), loaded);
    g.GetCurrentProfile()->mLevel = 26;
    ASSERT_TRUE(g.SavePrefs());
    const PrefFile::Contents c = OnDisk();
    EXPECT_EQ(c.header.mCurrentIndex, 0);
    ASSERT_EQ(c.slots.size(), 3u);
    EXPECT_EQ(c.slots[0].mLevel, 26);
    EXPECT_EQ(c.slots[2].mName, L"Bo");
}

TEST_F(ProfilesGame, WriteCurrentProfileAppendsAfterTheLastWholeSlotAndLeavesTheHeader)
{
    prefs.Install(Fixture("pref1.dat"));
    RecordingGame& g = Start();
    // The index names no slot: the record goes after slot 0, not at the end
    // of a longer file.
    g.mPrefHeader.mCurrentIndex = 7;
    g.GetCurrentProfile()->mName = L"Written";
    const std::string before = prefs.Bytes();
    ASSERT_TRUE(g.WriteCurrentProfile());
    const std::string after = prefs.Bytes();
    ASSERT_EQ(after.size(), 12576u);
    EXPECT_EQ(after.substr(0, 11548), before);
    EXPECT_EQ(g.mPrefHeader.mCurrentIndex, 1);
    EXPECT_EQ(Names(OnDisk().slots), (std::vector<std::wstring>{L"Zo\u00eb Marsh", L"Written"}));
    g.mProfileValid = false;
    EXPECT_FALSE(g.WriteCurrentProfile());
    EXPECT_EQ(prefs.Bytes(), after);
}

TEST_F(ProfilesGame, DamagedFilesAreKeptAsideAndReplacedByWellFormedOnes)
{
    prefs.Install(Fixture("pref0.dat"));
    RecordingGame& g = Start();
    struct Case {
        const char* file;
        bool headerKept;   // the file's volumes and index stay
        bool valid;        // profile-valid after loading
        std::wstring name; // the current profile
        int32_t level;
        float time;
        uint32_t music;
        uint8_t muted;
        int32_t index;
        size_t slots;       // in the new file
        bool survivalFromFile; // place 0 of the survival table
        bool bad;           // a copy is kept aside
    } cases[] = {
        {"bad-magic.dat", false, false, L"unknown", 1, 0.0f, 80, 0, -1, 0, false, true},
        {"version10.dat", false, false, L"unknown", 1, 0.0f, 80, 0, -1, 0, false, true},
        {"version12.dat", false, false, L"unknown", 1, 0.0f, 80, 0, -1, 0, false, true},
        {"size0.dat", false, false, L"unknown", 1, 0.0f, 80, 0, -1, 0, false, true},
        {"size30.dat", false, false, L"unknown", 1, 0.0f, 80, 0, -1, 0, false, true},
        // A cut file keeps its header, but its index names no slot left.
        {"size5000.dat", true, false, L"unknown", 1, 0.0f, 60, 0, -1, 0, true, true},
        {"size10600.dat", true, false, L"unknown", 1, 0.0f, 60, 0, -1, 0, true, true},
        {"name-unterminated.dat", true, true, L"Bo", 61, 123456.5f, 60, 0, 2, 3, true, true},
        {"figure-unterminated.dat", true, true, L"Bo", 61, 123456.5f, 60, 0, 2, 3, true, true},
        {"level0.dat", true, true, L"Bo", 1, 123456.5f, 60, 0, 2, 3, true, true},
        {"level-1.dat", true, true, L"Bo", 1, 123456.5f, 60, 0, 2, 3, true, true},
        {"level62.dat", true, true, L"Bo", 61, 123456.5f, 60, 0, 2, 3, true, true},
        {"time-nan.dat", true, true, L"Bo", 61, 0.0f, 60, 0, 2, 3, true, true},
        {"time-5.dat", true, true, L"Bo", 61, 0.0f, 60, 0, 2, 3, true, true},
        // A huge play time is a number: kept, and saturated when published.
        {"time1e30.dat", true, true, L"Bo", 61, 1e30f, 60, 0, 2, 3, true, false},
        {"volume250.dat", true, true, L"Bo", 61, 123456.5f, 100, 0, 2, 3, true, true},
        {"muted7.dat", true, true, L"Bo", 61, 123456.5f, 60, 1, 2, 3, true, true},
        {"index-7.dat", true, false, L"unknown", 1, 0.0f, 60, 0, -1, 3, true, true},
        {"index99.dat", true, false, L"unknown", 1, 0.0f, 60, 0, -1, 3, true, true},
    };
    for (const Case& c : cases) {
        prefs.RemoveBad();
        const std::string original = Fixture(c.file);
        prefs.Install(original);
        g.GetHiscoreTables()->LoadDefaults(&g);
        g.LoadPrefs();
        EXPECT_EQ(g.mProfileValid, c.valid) << c.file;
        EXPECT_EQ(g.GetCurrentProfile()->mName, c.name) << c.file;
        EXPECT_EQ(g.GetCurrentProfile()->mLevel, c.level) << c.file;
        EXPECT_EQ(g.GetCurrentProfile()->mPlayTime, c.time) << c.file;
        EXPECT_EQ(g.mPrefHeader.mMusicVolume, c.music) << c.file;
        EXPECT_EQ(g.mPrefHeader.mSfxVolume, c.headerKept ? 70u : 80u) << c.file;
        EXPECT_EQ(g.mPrefHeader.mMuted, c.muted) << c.file;
        EXPECT_EQ(g.mPrefHeader.mCurrentIndex, c.index) << c.file;
        EXPECT_EQ(g.GetHiscoreTables()->GetTable(true)[0].mName, c.survivalFromFile ? L"Survivor 1" : L"survival default 1")
            << c.file;
        EXPECT_EQ(prefs.Exists("pref.dat.bad"), c.bad) << c.file;
        if (c.bad) {
            EXPECT_EQ(ReadBytes(prefs.Folder() + "/pref.dat.bad"), original) << c.file;
        }
        HiscoreTables tables;
        const PrefFile::Contents now = OnDisk(&tables);
        EXPECT_TRUE(now.headerValid) << c.file;
        EXPECT_FALSE(now.damaged) << c.file;
        EXPECT_EQ(now.slots.size(), c.slots) << c.file;
        EXPECT_EQ(now.header.mMusicVolume, c.music) << c.file;
        EXPECT_EQ(now.header.mCurrentIndex, c.index) << c.file;
        EXPECT_EQ(tables.GetTable(true)[0].mName, g.GetHiscoreTables()->GetTable(true)[0].mName) << c.file;
    }
    // Only whole entries of a cut table are read; the rest are the defaults.
    prefs.RemoveBad();
    prefs.Install(Fixture("size5000.dat"));
    g.GetHiscoreTables()->LoadDefaults(&g);
    g.LoadPrefs();
    EXPECT_EQ(g.GetHiscoreTables()->GetTable(true)[8].mName, L"Survivor 9");
    EXPECT_EQ(g.GetHiscoreTables()->GetTable(true)[9].mName, L"survival default 10");
    EXPECT_EQ(g.GetHiscoreTables()->GetTable(false)[0].mName, L"career default 1");
    // Texts are cut at 259.
    prefs.RemoveBad();
    prefs.Install(Fixture("name-unterminated.dat"));
    g.LoadPrefs();
    EXPECT_EQ(OnDisk().slots[0].mName, std::wstring(259, L'N'));
    prefs.Install(Fixture("figure-unterminated.dat"));
    g.LoadPrefs();
    EXPECT_EQ(OnDisk().slots[0].mFigure, std::string(259, 'f'));
    // The second damaged file does not replace the first copy.
    EXPECT_EQ(ReadBytes(prefs.Folder() + "/pref.dat.bad"), Fixture("name-unterminated.dat"));
    EXPECT_EQ(ReadBytes(prefs.Folder() + "/pref.dat.1.bad"), Fixture("figure-unterminated.dat"));
    EXPECT_FALSE(prefs.Exists("pref.dat.2.bad"));
}

TEST_F(ProfilesGame, AFailedSaveChangesNothingAndTheNextSaveAppendsTheNewProfile)
{
    using plat::AtomicWriteFault;
    prefs.Install(Fixture("pref3.dat"));
    RecordingGame& g = Start();
    for (AtomicWriteFault fault : {AtomicWriteFault::Open, AtomicWriteFault::Write, AtomicWriteFault::Fsync,
                                   AtomicWriteFault::Rename, AtomicWriteFault::StopAfterTemp}) {
        const int which = int(fault);
        prefs.Install(Fixture("pref3.dat"));
        ASSERT_TRUE(g.SelectProfile(2));
        plat::FailNextAtomicWrite(fault, "pref.dat");
        EXPECT_FALSE(g.CreateProfile(L"New", "man")) << which;
        EXPECT_EQ(prefs.Bytes(), Fixture("pref3.dat")) << which;
        EXPECT_EQ(g.mPrefHeader.mCurrentIndex, -1) << which;
        EXPECT_TRUE(g.mProfileValid) << which;
        EXPECT_EQ(g.GetCurrentProfile()->mName, L"New") << which;
        // The next save appends it.
        ASSERT_TRUE(g.SavePrefs()) << which;
        EXPECT_EQ(g.mPrefHeader.mCurrentIndex, 3) << which;
        const PrefFile::Contents c = OnDisk();
        EXPECT_EQ(c.header.mCurrentIndex, 3) << which;
        ASSERT_EQ(c.slots.size(), 4u) << which;
        EXPECT_EQ(c.slots[3].mName, L"New") << which;
        EXPECT_EQ(c.slots[2].mName, L"Bo") << which;
        // No temporary file is left once a save went through.
        EXPECT_EQ(prefs.Entries(), std::set<std::string>{"pref.dat"}) << which;
        // A failed delete keeps the index and the file.
        const std::string saved = prefs.Bytes();
        plat::FailNextAtomicWrite(fault, "pref.dat");
        EXPECT_FALSE(g.DeleteProfile(0)) << which;
        EXPECT_EQ(prefs.Bytes(), saved) << which;
        EXPECT_EQ(g.mPrefHeader.mCurrentIndex, 3) << which;
    }
}

TEST_F(ProfilesGame, ApplySettingsSetsTheVolumesAndTheWindowedChoice)
{
    RecordingGame& g = Start();
    struct {
        uint32_t music, sfx;
        uint8_t muted, windowed;
        int musicSet, sfxSet;
    } cases[] = {{60, 70, 0, 0, 60, 70}, {60, 70, 1, 1, 0, 0}, {100, 0, 0, 1, 100, 0}};
    for (const auto& c : cases) {
        g.mPrefHeader.mMusicVolume = c.music;
        g.mPrefHeader.mSfxVolume = c.sfx;
        g.mPrefHeader.mMuted = c.muted;
        g.mPrefHeader.mWindowed = c.windowed;
        g.windowedCalls.clear();
        g.ApplySettings();
        EXPECT_EQ(g.GetMusicManager()->GetVolume(), c.musicSet);
        EXPECT_EQ(g.GetSfxManager()->GetVolume(), c.sfxSet);
        EXPECT_EQ(g.windowedCalls, std::vector<bool>{c.windowed != 0});
        // The save stores the windowed choice the framework now holds.
        ASSERT_TRUE(g.SavePrefs());
        EXPECT_EQ(uint8_t(prefs.Bytes()[28]), c.windowed);
    }
}

TEST_F(ProfilesGame, LoadingAppliesTheFileSettings)
{
    std::string muted = Fixture("pref3.dat");
    muted[28] = 1; // windowed
    prefs.Install(muted);
    RecordingGame& g = Start();
    EXPECT_EQ(g.windowedCalls.back(), true);
    EXPECT_EQ(g.GetMusicManager()->GetVolume(), 60);
    EXPECT_EQ(g.GetSfxManager()->GetVolume(), 70);
    EXPECT_EQ(g.GetStringTable()->Get("profilename"), L"Bo");
    EXPECT_EQ(prefs.Bytes(), muted);
}

TEST_F(ProfilesGame, ProfileTextsFollowTheCalendarAndThePlayTime)
{
    RecordingGame& g = Start();
    StringTable& texts = *g.GetStringTable();
    texts.SetText("progressday", L"untouched");
    g.GetCurrentProfile()->mLevel = 25;
    g.PublishProfileTexts();
    EXPECT_EQ(texts.Get("progressday"), L"untouched") << "nothing is published while profile-valid is false";
    g.mProfileValid = true;
    struct {
        int32_t level;
        const wchar_t* day;
        const wchar_t* month;
    } levels[] = {{1, L"1", L"1"},   {20, L"29", L"1"}, {21, L"1", L"2"},  {25, L"8", L"2"},  {40, L"30", L"2"},
                  {41, L"1", L"3"},  {60, L"31", L"3"}, {61, L"31", L"3"}, {0, L"1", L"1"},   {62, L"31", L"3"}};
    for (const auto& c : levels) {
        g.GetCurrentProfile()->mLevel = c.level;
        g.PublishProfileTexts();
        EXPECT_EQ(texts.Get("progressday"), c.day) << c.level;
        EXPECT_EQ(texts.Get("progressmonth"), c.month) << c.level;
    }
    struct {
        float seconds;
        const wchar_t* hours;
        const wchar_t* minutes;
    } times[] = {{3725.9f, L"1", L"2"}, {0.0f, L"0", L"0"}, {59.9f, L"0", L"0"}, {3600.0f, L"1", L"0"},
                 {1e30f, L"596523", L"14"}, {NAN, L"0", L"0"}, {-5.0f, L"0", L"0"}};
    for (const auto& c : times) {
        g.GetCurrentProfile()->mPlayTime = c.seconds;
        g.PublishProfileTexts();
        EXPECT_EQ(texts.Get("hoursplayed"), c.hours) << c.seconds;
        EXPECT_EQ(texts.Get("minutesplayed"), c.minutes) << c.seconds;
    }
    g.GetCurrentProfile()->mName = L"Zo\u00eb";
    g.PublishProfileTexts();
    EXPECT_EQ(texts.Get("profilename"), L"Zo\u00eb");
}

TEST_F(ProfilesGame, ASecondStartHasTheProfileTheFirstCreated)
{
    {
        RecordingGame& first = Start();
        ASSERT_TRUE(first.CreateProfile(L"Player \U0001F600", "man"));
        first.GetCurrentProfile()->mPlayTime = 90.0f;
        app.reset(); // the destructor saves
    }
    RecordingGame& second = Start();
    EXPECT_TRUE(second.mProfileValid);
    EXPECT_EQ(second.mPrefHeader.mCurrentIndex, 0);
    EXPECT_EQ(second.GetCurrentProfile()->mName, L"Player \U0001F600");
    EXPECT_EQ(second.GetCurrentProfile()->mFigure, "man");
    EXPECT_EQ(second.GetCurrentProfile()->mPlayTime, 90.0f);
    EXPECT_EQ(second.GetStringTable()->Get("profilename"), L"Player \U0001F600");
    EXPECT_EQ(second.GetStringTable()->Get("minutesplayed"), L"1");
}

TEST_F(ProfilesGame, NoFolderForTheFileGivesDefaultsAndWritesNothing)
{
    // A file stands where the maker's folder should be.
    WriteBytes(prefs.platform.folders.documents + "/Tarnwick Games", Fixture("pref3.dat"));
    prefs.platform.debug.StartCapture();
    RecordingGame& g = Start();
    EXPECT_FALSE(g.SavePrefs());
    EXPECT_FALSE(g.CreateProfile(L"A", "man"));
    const std::string said = prefs.platform.debug.StopCapture();
    EXPECT_EQ(g.mPrefHeader.mCurrentIndex, -1);
    EXPECT_EQ(g.mPrefHeader.mMusicVolume, 80u);
    EXPECT_EQ(g.GetHiscoreTables()->GetTable(true)[0].mName, L"survival default 1");
    EXPECT_EQ(ReadBytes(prefs.platform.folders.documents + "/Tarnwick Games"), Fixture("pref3.dat"));
    const std::string line = "No folder for pref.dat";
    ASSERT_NE(said.find(line), std::string::npos);
    EXPECT_EQ(said.find(line, said.find(line) + 1), std::string::npos) << "said once";
}

TEST_F(ProfilesGame, AFileThatCannotBeReadIsNeverWrittenOver)
{
    // A folder where the file should be: opening works, reading does not.
    std::filesystem::create_directories(prefs.Path() + "/inside");
    RecordingGame& g = Start();
    EXPECT_FALSE(g.mProfileValid);
    EXPECT_EQ(g.mPrefHeader.mMusicVolume, 80u);
    EXPECT_FALSE(g.CreateProfile(L"A", "man"));
    EXPECT_FALSE(g.SavePrefs());
    EXPECT_TRUE(std::filesystem::is_directory(prefs.Path() + "/inside"));
    EXPECT_EQ(prefs.Entries(), std::set<std::string>{"pref.dat"});
}

// A player who keeps pref.dat elsewhere through a symbolic link keeps the
// link: every save goes to the file it names, written beside that file.
TEST_F(ProfilesGame, APrefDatThatIsALinkIsWrittenThroughToTheFileItNames)
{
    namespace fs = std::filesystem;
    const std::string elsewhere = prefs.platform.folders.documents + "/elsewhere";
    struct Case {
        const char* what;
        std::string link;  // what pref.dat holds
        std::string hop;   // a link between, when not empty
        std::string target;
        bool exists;       // the target is there before the start
    } cases[] = {
        {"an absolute link", elsewhere + "/real.dat", "", elsewhere + "/real.dat", true},
        {"a relative link", "../../elsewhere/real.dat", "", elsewhere + "/real.dat", true},
        {"a chain of two links", "hop.dat", elsewhere + "/real.dat", elsewhere + "/real.dat", true},
        {"a link to a file not made yet", elsewhere + "/new/real.dat", "", elsewhere + "/new/real.dat", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        app.reset();
        fs::remove_all(prefs.Folder());
        fs::remove_all(elsewhere);
        fs::create_directories(prefs.Folder());
        fs::create_directories(elsewhere);
        fs::create_symlink(c.link, prefs.Path());
        if (!c.hop.empty())
            fs::create_symlink(c.hop, prefs.Folder() + "/hop.dat");
        if (c.exists)
            WriteBytes(c.target, Fixture("pref3.dat"));
        RecordingGame& g = Start();
        EXPECT_EQ(g.mProfileValid, c.exists);
        ASSERT_TRUE(g.CreateProfile(L"Linked", "man"));
        ASSERT_TRUE(g.SavePrefs());

        ASSERT_TRUE(fs::is_symlink(prefs.Path()));
        EXPECT_EQ(fs::read_symlink(prefs.Path()).string(), c.link);
        const PrefFile::Contents onDisk = PrefFile::Read(ReadBytes(c.target), nullptr);
        EXPECT_FALSE(onDisk.damaged);
        ASSERT_EQ(onDisk.slots.size(), c.exists ? 4u : 1u);
        EXPECT_EQ(onDisk.slots.back().mName, L"Linked");
        EXPECT_EQ(onDisk.header.mCurrentIndex, c.exists ? 3 : 0);
        // Nothing is left beside the link or the file.
        std::set<std::string> names{"pref.dat"};
        if (!c.hop.empty())
            names.insert("hop.dat");
        EXPECT_EQ(prefs.Entries(), names);
        std::set<std::string> beside;
        for (const auto& e : fs::directory_iterator(fs::path(c.target).parent_path()))
            beside.insert(e.path().filename().string());
        EXPECT_EQ(beside, std::set<std::string>{"real.dat"});
    }
}

TEST(PrefsPath, TheFileLivesInTheMakerAndGameFoldersOfTheDocuments)
{
    plat::NullPlatform platform;
    platform.folders.documents += "/not/yet/there";
    std::string path;
    ASSERT_TRUE(GetPrefsPath(path));
    EXPECT_EQ(path, platform.folders.documents + "/Tarnwick Games/Quillmore/pref.dat");
    EXPECT_TRUE(std::filesystem::is_directory(platform.folders.documents + "/Tarnwick Games/Quillmore"));
    EXPECT_TRUE(GetPrefsPath(path)) << "folders already there";
    platform.folders.documents.clear();
    EXPECT_FALSE(GetPrefsPath(path));
    EXPECT_TRUE(path.empty());
}
