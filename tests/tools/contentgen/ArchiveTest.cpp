#include "GeneratedData.h"

#include "MediaRules.h"
#include "Validator.h"
#include "assets/Assets.h"
#include "game/core/PakInterface.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using namespace contentgentest;

// A file as the archive layer serves it; false when it cannot open it.
bool ReadThrough(PakInterface& pak, const std::string& name, std::string& bytes)
{
    PakFile* file = pak.FOpen(name.c_str(), "rb");
    if (!file)
        return false;
    bytes.clear();
    char buffer[4096];
    size_t got;
    while ((got = pak.FRead(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, got);
    pak.FClose(file);
    return true;
}

const char kVersionPage[] = "images\\splash\\version.png";

TEST(ContentArchives, EveryStagedFileComesBackThroughTheArchiveLayer)
{
    const contentgen::DataSet& data = Generated();
    testsupport::TempDir dir;
    WriteFolder(data, false, dir);
    PakInterface pak;
    for (const char* archive : {"loc.pak", "data.pak", "mod.pak"})
        ASSERT_TRUE(pak.AddPakFile(dir / archive)) << archive;
    size_t checked = 0;
    for (const auto& file : data.files) {
        if (contentgen::ArchiveOf(file.first).empty() || file.first == kVersionPage)
            continue;
        std::string bytes;
        ASSERT_TRUE(ReadThrough(pak, file.first, bytes)) << file.first;
        EXPECT_EQ(bytes, Bytes(file.second)) << file.first;
        ++checked;
    }
    EXPECT_GT(checked, 60u);
    // The language data lies in loc.pak, the rest in data.pak.
    EXPECT_EQ(contentgen::ArchiveOf("cfg\\loc.xml"), "loc.pak");
    EXPECT_EQ(contentgen::ArchiveOf("fonts\\text.txt"), "loc.pak");
    EXPECT_EQ(contentgen::ArchiveOf("images\\loc\\logo_title.png"), "loc.pak");
    EXPECT_EQ(contentgen::ArchiveOf("cfg\\ui.xml"), "data.pak");
    EXPECT_TRUE(contentgen::ArchiveOf("z_order.dat").empty());
    // Beside the program, on disk.
    EXPECT_EQ(dir.Read("website.url"), "[InternetShortcut]\r\nURL=about.html\r\n");
    EXPECT_NE(dir.Read("about.html").find("DejaVu"), std::string::npos);
    EXPECT_TRUE(dir.Exists("z_order.dat"));
    EXPECT_FALSE(dir.Exists("cfg"));
}

TEST(ContentArchives, TheVersionPageComesFromModPakAndWithoutItFromDataPak)
{
    contentgen::DataSet data;
    data.Add(kVersionPage, std::vector<uint8_t>(contentgen::DrawVersionPage("base data").bytes));
    const std::string base = Bytes(data.files[kVersionPage]);
    testsupport::TempDir dir;
    WriteFolder(data, false, dir);

    std::string bytes;
    {
        PakInterface pak;
        for (const char* archive : {"loc.pak", "data.pak", "mod.pak"})
            ASSERT_TRUE(pak.AddPakFile(dir / archive));
        ASSERT_TRUE(ReadThrough(pak, kVersionPage, bytes));
        // The override shows: its label differs from the base page's.
        contentgen::DecodedPicture basePage, shown;
        ASSERT_TRUE(contentgen::DecodePicture(kVersionPage, data.files[kVersionPage], basePage));
        ASSERT_TRUE(contentgen::DecodePicture(kVersionPage, std::vector<uint8_t>(bytes.begin(), bytes.end()), shown));
        ASSERT_EQ(shown.argb.size(), basePage.argb.size());
        size_t differ = 0;
        for (size_t i = 0; i < shown.argb.size(); ++i)
            differ += shown.argb[i] != basePage.argb[i];
        EXPECT_GT(differ, 500u);
    }
    {
        PakInterface pak;
        for (const char* archive : {"loc.pak", "data.pak"})
            ASSERT_TRUE(pak.AddPakFile(dir / archive));
        ASSERT_TRUE(ReadThrough(pak, kVersionPage, bytes));
        EXPECT_EQ(bytes, base);
    }
}

TEST(ContentArchives, LooseModeWritesTheSameBytesAndReplacesTheArchives)
{
    const contentgen::DataSet& data = Generated();
    testsupport::TempDir dir;
    WriteFolder(data, false, dir);
    WriteFolder(data, true, dir);
    EXPECT_FALSE(dir.Exists("data.pak"));
    EXPECT_FALSE(dir.Exists("loc.pak"));
    EXPECT_FALSE(dir.Exists(".contentgen-new"));
    for (const auto& file : data.files) {
        std::string name = file.first;
        std::replace(name.begin(), name.end(), '\\', '/');
        ASSERT_TRUE(dir.Exists(name)) << name;
        EXPECT_EQ(dir.Read(name), Bytes(file.second)) << name;
    }
    // And the validator's reader sees the same set from either layout.
    contentgen::DataSet loose;
    std::string error;
    ASSERT_TRUE(contentgen::ReadGameFolder(dir.Path(), loose, error)) << error;
    for (const auto& file : data.files) {
        if (!contentgen::ArchiveOf(file.first).empty()) {
            EXPECT_TRUE(loose.Has(file.first)) << file.first;
        }
    }
}

TEST(ContentArchives, AFailedWriteLeavesTheFolderAsItWas)
{
    testsupport::TempDir dir;
    dir.Write("data.pak", "old archive");
    // The second file cannot be written: its folder would be the first file.
    const std::map<std::string, std::string> files = {{"a.txt", "new"}, {"a.txt/b", "y"}, {"data.pak", "new archive"}};
    std::string error;
    EXPECT_FALSE(contentgen::WriteGameFolder(dir.Path(), files, false, error));
    EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
    EXPECT_EQ(dir.Read("data.pak"), "old archive");
    EXPECT_FALSE(dir.Exists("a.txt"));
    EXPECT_FALSE(dir.Exists(".contentgen-new"));
}

// A run whose output is unchanged writes nothing: every file keeps its
// time; a changed file alone is written again.
TEST(ContentArchives, UnchangedFilesAreNotWrittenAgain)
{
    testsupport::TempDir dir;
    std::map<std::string, std::string> files = {{"data.pak", "archive"}, {"about.html", "page"}, {"cfg/x.xml", "x"}};
    std::string error;
    ASSERT_TRUE(contentgen::WriteGameFolder(dir.Path(), files, false, error)) << error;
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    for (const auto& file : files)
        std::filesystem::last_write_time(dir / file.first, old);
    files["about.html"] = "new page";
    ASSERT_TRUE(contentgen::WriteGameFolder(dir.Path(), files, true, error)) << error;
    EXPECT_EQ(std::filesystem::last_write_time(dir / "cfg/x.xml"), old);
    EXPECT_NE(std::filesystem::last_write_time(dir / "about.html"), old);
    EXPECT_EQ(dir.Read("about.html"), "new page");
    EXPECT_FALSE(dir.Exists("data.pak"));  // the other layout's data goes
    EXPECT_FALSE(dir.Exists(".contentgen-new"));
}

} // namespace
