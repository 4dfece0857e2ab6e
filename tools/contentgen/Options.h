#pragma once
#include <string>
#include <vector>

namespace contentgen {

// What one run of the tool is asked to do.
struct Options {
    std::string out;      // --out DIR: the game folder to write
    bool loose = false;   // --loose: the unpacked tree instead of the archives
    std::string only;     // --only GROUP: write only this group
    std::string check;    // --check DIR: validate an existing game folder
    std::string sheets;   // --sheets DIR: contact sheets for a person to look at
    std::string fixture;  // --fixture DIR: the fixture office
    int threads = 0;      // --threads N: 0 = as many as the machine has
};

// Reads the command line (without the program name); false with a message
// for an unknown switch, a missing value or nothing to do.
bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error);

extern const char* const kUsage;

} // namespace contentgen
