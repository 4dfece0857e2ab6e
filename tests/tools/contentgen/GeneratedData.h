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

// True while the art kit and the font baker still give no pictures and fonts.
inline bool PicturesArePlaceholders() { return contentgen::DrawFixedPictures().empty() || contentgen::BakeFonts().empty(); }

// True while any of the art kit's pieces (the fixed pictures, the dialog
// panels, the atlases) is still a one-pixel stand-in.
inline bool AssetsArePlaceholders()
{
    if (PicturesArePlaceholders())
        return true;
    // A panel of one pixel (PNG width at bytes 16..19).
    const std::vector<uint8_t> panel = contentgen::DrawPanel("probe", 8, 8, false, 0, 0, 8, 8).bytes;
    return panel.size() < 24 || (panel[16] == 0 && panel[17] == 0 && panel[18] == 0 && panel[19] == 1);
}

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
