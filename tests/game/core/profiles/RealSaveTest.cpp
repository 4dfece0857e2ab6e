// pref.dat on the real folders and file system: where the documents folder
// is, and a save killed at any moment.
#include "PrefFixture.h"

#include "game/core/PrefStore.h"
#include "platform/Platform.h"
#include "platform/folders/Folders.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// Sets or clears environment variables for the life of the object.
class ScopedEnv {
public:
    void Set(const char* name, const char* value)
    {
        const char* old = getenv(name);
        mSaved.push_back({name, old != nullptr, old ? old : ""});
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv()
    {
        for (auto it = mSaved.rbegin(); it != mSaved.rend(); ++it) {
            if (it->had)
                setenv(it->name, it->value.c_str(), 1);
            else
                unsetenv(it->name);
        }
    }

private:
    struct Saved {
        const char* name;
        bool had;
        std::string value;
    };
    std::vector<Saved> mSaved;
};

// Application state of one of two known profile sets.
struct ProfileSet {
    PrefHeader header;
    ProfileRecord current;
    bool valid = true;
    HiscoreTables tables;

    explicit ProfileSet(int which)
    {
        header.SetDefaults();
        header.mCurrentIndex = 1;
        header.mMusicVolume = which == 0 ? 10 : 90;
        current.Init(which == 0 ? L"Second, early" : L"Second, later \U0001F600", "man");
        current.mLevel = which == 0 ? 3 : 44;
        current.mPlayTime = which == 0 ? 100.0f : 98765.0f;
        for (int place = 0; place < HiscoreTables::kPlaces; ++place)
            tables.Insert(which == 0, L"Entry " + std::to_wstring(place), 1000 * (place + 1) + which);
    }

    bool Save(const std::string& path)
    {
        PrefStore store(path, header, current, valid, tables);
        return store.Save();
    }
};

} // namespace

TEST(RealFolders, TheDocumentsFolderIsTheOverrideElseTheDataHome)
{
    ScopedEnv env;
    env.Set("HOME", "/home/player");
    plat::XdgFolders folders;
    struct {
        const char* override;
        const char* dataHome;
        const char* folder;
    } cases[] = {
        {"/saves", "/data", "/saves"},
        {nullptr, "/data", "/data"},
        {"", "/data", "/data"},
        {nullptr, nullptr, "/home/player/.local/share"},
        {nullptr, "", "/home/player/.local/share"},
    };
    for (const auto& c : cases) {
        env.Set("ZELK_DOCUMENTS_DIR", c.override);
        env.Set("XDG_DATA_HOME", c.dataHome);
        EXPECT_EQ(folders.DocumentsFolder(), c.folder);
    }
}

TEST(RealFolders, PrefsPathOnTheRealFoldersMakesBothFolders)
{
    for (const char* variable : {"ZELK_DOCUMENTS_DIR", "XDG_DATA_HOME"}) {
        testsupport::TempDir dir;
        ScopedEnv env;
        env.Set("ZELK_DOCUMENTS_DIR", nullptr);
        env.Set("XDG_DATA_HOME", nullptr);
        env.Set(variable, (dir / "data").c_str());
        plat::XdgFolders folders;
        plat::Services saved = plat::Get();
        plat::Services services = saved;
        services.folders = &folders;
        plat::Install(services);
        std::string path;
        const bool found = GetPrefsPath(path);
        plat::Install(saved);
        ASSERT_TRUE(found) << variable;
        EXPECT_EQ(path, dir / "data/Tarnwick Games/Quillmore/pref.dat") << variable;
        EXPECT_TRUE(std::filesystem::is_directory(dir / "data/Tarnwick Games/Quillmore")) << variable;
    }
}

// A child saves the two sets in turn until it is killed; after every kill
// pref.dat is whole and one of the two, and nothing is kept aside. This holds
// at every moment, so the random moments cannot make it fail by chance.
TEST(RealSave, AKillAtAnyMomentLeavesOneOfTheTwoWholeFiles)
{
    testsupport::TempDir dir;
    const std::string path = dir / "Quillmore/pref.dat";
    std::filesystem::create_directories(dir / "Quillmore");
    // The two files as a save writes them, starting from two profiles.
    WriteBytes(path, Fixture("pref1.dat"));
    {
        HiscoreTables tables;
        PrefFile::Contents one = PrefFile::Read(Fixture("pref1.dat"), &tables);
        ProfileRecord first = one.slots[0];
        ProfileRecord second;
        second.Init(L"Second", "woman");
        WriteBytes(path, PrefFile::Write(one.header, tables, {first, second}));
    }
    ProfileSet early(0);
    ProfileSet later(1);
    ASSERT_TRUE(early.Save(path));
    const std::string earlyBytes = ReadBytes(path);
    ASSERT_TRUE(later.Save(path));
    const std::string laterBytes = ReadBytes(path);
    ASSERT_NE(earlyBytes, laterBytes);
    ASSERT_EQ(earlyBytes.size(), 10520u + 2 * 1028);

    std::mt19937 random(12345);
    for (int round = 0; round < 50; ++round) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(ready[0]);
            ProfileSet sets[2] = {ProfileSet(0), ProfileSet(1)};
            for (unsigned n = 0;; ++n) {
                if (!sets[n % 2].Save(path))
                    _exit(3);
                if (n == 0 && write(ready[1], "r", 1) != 1)
                    _exit(4);
            }
        }
        close(ready[1]);
        char byte = 0;
        const bool started = read(ready[0], &byte, 1) == 1;
        close(ready[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(started) << "round " << round << ": the child ended before its first save, status " << status;
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "round " << round << ": status " << status;

        const std::string now = ReadBytes(path);
        ASSERT_TRUE(now == earlyBytes || now == laterBytes) << "round " << round << ": " << now.size() << " bytes";
        HiscoreTables tables;
        const PrefFile::Contents c = PrefFile::Read(now, &tables);
        EXPECT_TRUE(c.headerValid);
        EXPECT_FALSE(c.damaged);
        // The next start removes the temporary file a child killed between
        // its write and the rename left, and keeps nothing aside.
        ProfileSet loaded(0);
        EXPECT_TRUE(PrefStore(path, loaded.header, loaded.current, loaded.valid, loaded.tables).Load());
        for (const auto& e : std::filesystem::directory_iterator(dir / "Quillmore"))
            EXPECT_EQ(e.path().filename().string(), "pref.dat") << "round " << round;
    }
}
