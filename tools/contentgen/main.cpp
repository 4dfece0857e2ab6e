// contentgen: writes the game's data set, checks a game folder, writes
// contact sheets or the fixture office.
#include "Options.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    contentgen::Options options;
    std::string error;
    if (!contentgen::ParseOptions(args, options, error)) {
        std::fprintf(stderr, "contentgen: %s\n%s", error.c_str(), contentgen::kUsage);
        return 2;
    }
    return 0;
}
