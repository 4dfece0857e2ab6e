#include "AnimationRules.h"

#include "tools/makeanm/AnmReader.h"

namespace contentgen {

namespace {

// A picture name that could reach outside the game's folder.
bool LeavesTheData(const std::string& name)
{
    if (name.empty() || name[0] == '\\' || name[0] == '/' || name.find(':') != std::string::npos)
        return true;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("\\/", start);
        if (end == std::string::npos)
            end = name.size();
        if (name.compare(start, end - start, "..") == 0)
            return true;
        start = end + 1;
    }
    return false;
}

std::string Size(int width, int height)
{
    return std::to_string(width) + " x " + std::to_string(height);
}

// More records than any part needs; the name search over earlier records
// stays small below it.
constexpr size_t kMaxRecords = 4096;

} // namespace

void CheckAnimationFile(const std::string& path, const std::vector<uint8_t>& bytes, const PictureLookup& picture,
                        std::vector<Finding>& findings)
{
    makeanm::AnmFile file;
    std::string error;
    if (!makeanm::ReadAnm(bytes.data(), bytes.size(), file, error)) {
        findings.push_back({path, "(file)", "does not read as an animation file: " + error});
        return;
    }
    const bool many = file.animations.size() > kMaxRecords;
    if (many)
        findings.push_back({path, "(file)", "more than " + std::to_string(kMaxRecords) + " records"});
    for (size_t i = 0; i < file.animations.size(); ++i) {
        const makeanm::Animation& a = file.animations[i];
        const std::string id = a.name.empty() ? "record " + std::to_string(i + 1) : a.name;
        auto report = [&](const std::string& message) { findings.push_back({path, id, message}); };
        if (a.name.empty())
            report("an animation name is 1 to 63 bytes: it is empty");
        if (a.name.size() >= makeanm::kNameBytes)
            report("an animation name is 1 to 63 bytes: it has no NUL within 64");
        if (a.image.size() >= makeanm::kNameBytes)
            report("an image file name is 1 to 63 bytes: it has no NUL within 64");
        for (size_t k = 0; k < i && !many && !a.name.empty(); ++k)
            if (file.animations[k].name.find(a.name) != std::string::npos) {
                report("is never found by its name: record " + std::to_string(k + 1) + " (" + file.animations[k].name +
                       ") contains it and comes first");
                break;
            }
        if (a.mode != makeanm::kModeCycle && a.mode != makeanm::kModeOnce)
            report("mode " + std::to_string(a.mode) + ": only 0 (cycle) and 1 (once) are played as meant");
        if (a.fps <= 0)
            report("fps " + std::to_string(a.fps) + ": must be above 0");
        if (a.frames.empty())
            report("has no frames");
        if (LeavesTheData(a.image)) {
            report("its picture \"" + a.image + "\" does not name a file below the game's folder");
            continue;
        }
        const PictureInfo info = picture(a.image);
        if (!info.found) {
            report("its picture " + a.image + " is not in the data");
            continue;
        }
        if (info.width < 0)
            continue;  // a picture whose header this tool does not read
        for (size_t f = 0; f < a.frames.size(); ++f) {
            const makeanm::Frame& frame = a.frames[f];
            const int64_t right = int64_t(frame.x) + frame.w;
            const int64_t bottom = int64_t(frame.y) + frame.h;
            if (frame.w <= 0 || frame.h <= 0 || frame.x < 0 || frame.y < 0 || right > info.width || bottom > info.height)
                report("frame " + std::to_string(f) + " (" + Size(frame.w, frame.h) + " at " + std::to_string(frame.x) +
                       "," + std::to_string(frame.y) + ") does not lie inside its picture " + a.image + ", which is " +
                       Size(info.width, info.height));
        }
    }
}

} // namespace contentgen
