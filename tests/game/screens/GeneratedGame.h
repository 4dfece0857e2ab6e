#pragma once
// The game's folder laid out once per test suite from the generated demo
// data, the null platform pointed at it, and a user folder of its own per
// test for the profiles and settings.
#include "tests/tools/contentgen/GeneratedData.h"

#include "game/ui/UiElement.h"
#include "platform/NullPlatform.h"
#include "tests/support/CurrentFolder.h"

#include <gtest/gtest.h>
#include <string>

namespace flowtest {

class GeneratedGame : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        sGame = new testsupport::TempDir();
        contentgentest::WriteFolder(contentgentest::Generated(), false, *sGame);
    }
    static void TearDownTestSuite()
    {
        delete sGame;
        sGame = nullptr;
    }

    // Skips while the art kit gives no real fonts and pictures.
    void SetUp() override
    {
        if (contentgentest::PicturesArePlaceholders())
            GTEST_SKIP() << "the start needs the real fonts and pictures of the group \"Init\"";
        ASSERT_TRUE(folder.Remember());
        platform.folders.programPath = *sGame / "quillmore";
        platform.folders.appData = user / "appdata";
        platform.folders.documents = user / "documents";
    }
    void TearDown() override { folder.Restore(); }

    // The element at a path of child names ("select_profile/list").
    static UiElement* Find(UiElement* from, const std::string& path)
    {
        size_t start = 0;
        while (from && start <= path.size()) {
            const size_t slash = path.find('/', start);
            from = from->FindChild(path.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
            if (slash == std::string::npos)
                break;
            start = slash + 1;
        }
        return from;
    }

    // Whether SetUp went through (not skipped, nothing failed).
    bool Ready() const { return !IsSkipped() && !HasFatalFailure(); }

    static inline testsupport::TempDir* sGame = nullptr;
    plat::NullPlatform platform;
    testsupport::TempDir user;
    testsupport::CurrentFolder folder;
};

} // namespace flowtest
