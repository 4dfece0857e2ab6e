#include "framework/app/ScreenshotNames.h"

#include "framework/app/PathUtil.h"
#include "framework/app/StringUtil.h"

#include <cstdio>
#include <filesystem>

namespace Zelk {

int NextScreenshotNumber(const std::string& folder)
{
    int largest = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(NativePath(folder), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() < 4 || StringToLower(name.substr(name.size() - 4)) != ".png")
            continue;
        int n = 0;
        if (sscanf(name.c_str(), "image%d.png", &n) == 1 && n > largest)
            largest = n;
    }
    return largest + 1;
}

} // namespace Zelk
