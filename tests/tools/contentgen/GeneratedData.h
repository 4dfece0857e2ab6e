#pragma once
// The data set the tool makes, made once per test program, and a game
// folder laid out from it.
#include "DataSet.h"
#include "GameFolder.h"
#include "Generator.h"
#include "assets/Assets.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace contentgentest {

inline const contentgen::TextTable& Texts()
{
    static const contentgen::TextTable texts = [] {
        contentgen::TextTable table;
        std::string error;
        EXPECT_TRUE(contentgen::LoadTexts(table, error)) << error;
        return table;
    }();
    return texts;
}

inline const contentgen::DataSet& Generated()
{
    static const contentgen::DataSet data = [] {
        contentgen::DataSet set;
        std::string error;
        EXPECT_TRUE(contentgen::GenerateDataSet(Texts(), contentgen::GenerateOptions(), set, error)) << error;
        return set;
    }();
    return data;
}

// True while the art kit, the font baker and the synthesiser still give
// their one-pixel and empty stand-ins.
inline bool AssetsArePlaceholders() { return contentgen::DrawFixedPictures().empty(); }

// The data set laid out into a fresh folder: archives, or loose files.
inline void WriteFolder(const contentgen::DataSet& data, bool loose, const testsupport::TempDir& dir)
{
    contentgen::FolderLayout layout;
    layout.loose = loose;
    layout.fileTime = contentgen::ArchiveFileTime();
    std::map<std::string, std::string> files;
    std::string error;
    ASSERT_TRUE(contentgen::LayOut(data, layout, files, error)) << error;
    ASSERT_TRUE(contentgen::WriteGameFolder(dir.Path(), files, loose, error)) << error;
}

inline std::string Bytes(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

} // namespace contentgentest
