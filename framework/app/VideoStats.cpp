#include "framework/app/VideoStats.h"

#include "framework/app/StringUtil.h"

namespace Zelk {

namespace {

std::string KB(int64_t bytes) { return WStringToString(CommaSeparate64(bytes / 1024)); }

} // namespace

std::string VideoStats::SupportWord() const
{
    if (!haveTester || testFailed)
        return "Unsupported";
    return testWarned ? "Supported" : "Recommended";
}

std::string VideoStats::Text() const
{
    int64_t textureTotal = 0;
    for (const auto& t : textures)
        textureTotal += t.second.bytes;
    std::string text = StrFormat("3D-Mode is %s (3D is %s on this system)\r\n\r\n", is3D ? "On" : "Off",
                                 SupportWord().c_str());
    text += StrFormat("Num Images: %d\r\n", numImages);
    text += StrFormat("Num Sounds: %d\r\n", numSounds);
    text += StrFormat("Video Memory: %s/%s KB\r\n", KB(videoTotal - videoFree).c_str(), KB(videoTotal).c_str());
    text += StrFormat("Texture Memory: %s KB\r\n", KB(textureTotal).c_str());
    const struct {
        int32_t code;
        const char* name;
    } formats[] = {{1, "A8R8G8B8"}, {2, "A4R4G4B4"}, {4, "R5G6B5"}, {8, "Palette8"}};
    for (const auto& f : formats) {
        auto it = textures.find(f.code);
        const Textures t = it == textures.end() ? Textures() : it->second;
        text += StrFormat("%s: %d - %s KB\r\n", f.name, t.count, KB(t.bytes).c_str());
    }
    return text;
}

} // namespace Zelk
