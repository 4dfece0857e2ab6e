#include "Options.h"

#include <gtest/gtest.h>

namespace {

using contentgen::Options;
using contentgen::ParseOptions;

TEST(ContentgenOptions, ReadsEverySwitch)
{
    Options options;
    std::string error;
    ASSERT_TRUE(ParseOptions({"--out", "g", "--loose", "--only", "Init", "--threads", "3"}, options, error)) << error;
    EXPECT_EQ(options.out, "g");
    EXPECT_TRUE(options.loose);
    EXPECT_EQ(options.only, "Init");
    EXPECT_EQ(options.threads, 3);
}

TEST(ContentgenOptions, RefusesBadCommandLines)
{
    const std::vector<std::vector<std::string>> cases = {
        {},                          // nothing to do
        {"--out"},                   // missing value
        {"--out", "g", "--frob"},    // unknown switch
        {"--out", "g", "--threads", "0"},
        {"--out", "g", "--threads", "2x"},
    };
    for (const auto& args : cases) {
        Options options;
        std::string error;
        EXPECT_FALSE(ParseOptions(args, options, error)) << ::testing::PrintToString(args);
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
