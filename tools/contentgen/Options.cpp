#include "Options.h"

#include <cstdlib>

namespace contentgen {

const char* const kUsage =
    "usage: contentgen --out DIR [--loose] [--only GROUP] [--threads N]\n"
    "       contentgen --check DIR\n"
    "       contentgen --sheets DIR\n"
    "       contentgen --fixture DIR\n";

bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error)
{
    options = Options();
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--loose") {
            options.loose = true;
            continue;
        }
        std::string* target = nullptr;
        if (arg == "--out")
            target = &options.out;
        else if (arg == "--only")
            target = &options.only;
        else if (arg == "--check")
            target = &options.check;
        else if (arg == "--sheets")
            target = &options.sheets;
        else if (arg == "--fixture")
            target = &options.fixture;
        else if (arg != "--threads") {
            error = "unknown argument \"" + arg + "\"";
            return false;
        }
        if (i + 1 >= args.size() || args[i + 1].empty()) {
            error = arg + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        if (target) {
            *target = value;
            continue;
        }
        char* end = nullptr;
        const long n = std::strtol(value.c_str(), &end, 10);
        if (*end != '\0' || n < 1 || n > 256) {
            error = "--threads needs a count from 1 to 256, not \"" + value + "\"";
            return false;
        }
        options.threads = static_cast<int>(n);
    }
    if (options.out.empty() && options.check.empty() && options.sheets.empty() && options.fixture.empty()) {
        error = "nothing to do: give --out, --check, --sheets or --fixture";
        return false;
    }
    return true;
}

} // namespace contentgen
