#include "GeneratedData.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

using namespace contentgentest;

// Every regular file below a folder: relative name -> bytes.
std::map<std::string, std::string> Tree(const std::string& folder)
{
    std::map<std::string, std::string> tree;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        const std::string name = std::filesystem::relative(entry.path(), folder).generic_string();
        std::ifstream in(entry.path(), std::ios::binary);
        tree[name] = std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return tree;
}

int RunTool(const std::string& arguments)
{
    const std::string command = std::string(CONTENTGEN_PROGRAM) + " " + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str());
}

TEST(ContentDeterminism, TwoRunsWithDifferentThreadCountsWriteTheSameBytes)
{
    testsupport::TempDir dir;
    ASSERT_EQ(RunTool("--out " + (dir / "one") + " --threads 1"), 0);
    ASSERT_EQ(RunTool("--out " + (dir / "four") + " --threads 4"), 0);
    const auto one = Tree(dir / "one");
    const auto four = Tree(dir / "four");
    ASSERT_EQ(one.size(), four.size());
    for (const auto& file : one) {
        auto other = four.find(file.first);
        ASSERT_NE(other, four.end()) << file.first;
        EXPECT_TRUE(file.second == other->second) << file.first << " differs";
    }
    EXPECT_TRUE(one.count("data.pak"));
    EXPECT_TRUE(one.count("loc.pak"));
    EXPECT_TRUE(one.count("mod.pak"));
}

TEST(ContentDeterminism, ArchiveTimesComeFromSourceDateEpoch)
{
    ASSERT_EQ(unsetenv("SOURCE_DATE_EPOCH"), 0);
    EXPECT_EQ(contentgen::ArchiveFileTime(), 132539328000000000ULL);  // 2021-01-01 00:00 UTC
    ASSERT_EQ(setenv("SOURCE_DATE_EPOCH", "0", 1), 0);
    EXPECT_EQ(contentgen::ArchiveFileTime(), 116444736000000000ULL);  // 1970-01-01
    ASSERT_EQ(setenv("SOURCE_DATE_EPOCH", "1609459200", 1), 0);
    EXPECT_EQ(contentgen::ArchiveFileTime(), 132539328000000000ULL);
    ASSERT_EQ(unsetenv("SOURCE_DATE_EPOCH"), 0);
}

TEST(ContentDeterminism, TheProgramRefusesBadCommandLinesAndReportsBadFolders)
{
    EXPECT_NE(RunTool(""), 0);
    EXPECT_NE(RunTool("--out x --only nothing"), 0);
    testsupport::TempDir dir;
    dir.Write("cfg/loc.xml", "<root/>");  // no byte-order mark
    EXPECT_NE(RunTool("--check " + dir.Path()), 0);
}

// The contact sheets go alone into their folder: one picture per data
// folder, none of a game folder's own files.
TEST(ContentSheets, TheProgramWritesOnlyTheSheets)
{
    testsupport::TempDir dir;
    ASSERT_EQ(RunTool("--sheets " + (dir / "sheets")), 0);
    const auto sheets = Tree(dir / "sheets");
    for (const auto& file : sheets)
        EXPECT_TRUE(file.first.rfind("sheet_", 0) == 0 && file.first.size() > 4 &&
                    file.first.compare(file.first.size() - 4, 4, ".png") == 0)
            << file.first;
    EXPECT_TRUE(sheets.count("sheet_fonts.png"));
    EXPECT_TRUE(sheets.count("sheet_images_help.png"));
}

} // namespace
