#include "platform/cmdline/CommandLine.h"

#include <fstream>
#include <iterator>
#include <mutex>
#include <vector>

namespace plat {

namespace {
std::mutex gLock;
bool gSet = false;
std::vector<std::string> gArguments;

std::vector<std::string> ProcessArguments()
{
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> args;
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find('\0', start);
        if (end == std::string::npos)
            end = all.size();
        args.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    return args;
}
} // namespace

void SetCommandLineArguments(int argc, const char* const* argv)
{
    std::lock_guard<std::mutex> g(gLock);
    gArguments.clear();
    for (int i = 0; i < argc; ++i)
        gArguments.push_back(argv[i] ? argv[i] : "");
    gSet = true;
}

std::string GetCommandLine()
{
    std::vector<std::string> args;
    {
        std::lock_guard<std::mutex> g(gLock);
        args = gSet ? gArguments : ProcessArguments();
    }
    std::string text = "\"" + (args.empty() ? std::string() : args[0]) + "\"";
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool quote = a.empty() || a.find_first_of(" \t") != std::string::npos;
        text += quote ? " \"" + a + "\"" : " " + a;
    }
    return text;
}

} // namespace plat
