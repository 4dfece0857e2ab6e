#include "game/core/ResourceIds.h"

#include <gtest/gtest.h>

TEST(ResourceIds, NamesAndIdsBothWays)
{
    const char* names[] = {"FONT_ARIAL10", "FONT_DEFAULT", "FONT_ARIAL8", "FONT_ARIAL6", "GFX_GAME_GROUND"};
    for (int id = 0; id < RESOURCE_ID_MAX; ++id) {
        EXPECT_EQ(ResourceIds::IdOfName(names[id]), id);
        EXPECT_EQ(ResourceIds::NameOfId(id), names[id]);
    }
    EXPECT_EQ(ResourceIds::IdOfName("FONT_ARIAL8"), 2);
    for (const char* unknown : {"", "font_arial8", "FONT_ARIAL", "GFX_GAME_GROUND "})
        EXPECT_EQ(ResourceIds::IdOfName(unknown), RESOURCE_ID_MAX) << unknown;
    for (int id : {-1, 5, 7, 1000})
        EXPECT_EQ(ResourceIds::NameOfId(id), "") << id;
}

TEST(ResourceIds, OnlyTheInitGroupIsExtractedAndUnknownResourcesHaveNoId)
{
    // Other names are refused before the manager is asked for anything.
    for (const char* group : {"init", "INIT", "Init ", "", "Fonts"})
        EXPECT_FALSE(ResourceIds::ExtractGroup(nullptr, group)) << group;
    int local = 0;
    EXPECT_EQ(ResourceIds::IdOfResource(&local), RESOURCE_ID_MAX);
    EXPECT_EQ(ResourceIds::ResourceOfId(9), nullptr);
    EXPECT_EQ(ResourceIds::SlotOfId(-1), nullptr);
    EXPECT_EQ(ResourceIds::SlotOfId(GFX_GAME_GROUND_ID), static_cast<void*>(&GFX_GAME_GROUND));
}
