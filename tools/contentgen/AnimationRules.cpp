#include "AnimationRules.h"

#include "game/world/AnmFile.h"
#include "tools/makeanm/AnmFile.h"

#include <memory>

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
    std::string error;
    const std::unique_ptr<AnmFile> file = AnmFile::Parse(bytes.data(), bytes.size(), &error);
    if (!file) {
        findings.push_back({path, "(file)", "does not read as an animation file: " + error});
        return;
    }
    const bool many = size_t(file->GetCount()) > kMaxRecords;
    if (many)
        findings.push_back({path, "(file)", "more than " + std::to_string(kMaxRecords) + " records"});
    for (int i = 0; i < file->GetCount(); ++i) {
        const AnmRecord& a = file->GetRecord(i);
        const AnmSequence& sequence = a.sequence;
        const std::string id = a.name.empty() ? "record " + std::to_string(i + 1) : a.name;
        auto report = [&](const std::string& message) { findings.push_back({path, id, message}); };
        if (a.name.empty())
            report("an animation name is 1 to 63 bytes: it is empty");
        if (a.name.size() >= AnmFile::kNameBytes)
            report("an animation name is 1 to 63 bytes: it has no NUL within 64");
        if (a.imageName.size() >= AnmFile::kNameBytes)
            report("an image file name is 1 to 63 bytes: it has no NUL within 64");
        for (int k = 0; k < i && !many && !a.name.empty(); ++k)
            if (file->GetRecord(k).name.find(a.name) != std::string::npos) {
                report("is never found by its name: record " + std::to_string(k + 1) + " (" + file->GetRecord(k).name +
                       ") contains it and comes first");
                break;
            }
        if (sequence.mode != makeanm::kModeCycle && sequence.mode != makeanm::kModeOnce)
            report("mode " + std::to_string(sequence.mode) + ": only 0 (cycle) and 1 (once), the modes of the game's data");
        // A still is one frame at fps 0; anything that plays needs a rate.
        if (sequence.framesPerSecond < 0 || (sequence.framesPerSecond == 0 && sequence.frameCount != 1))
            report("fps " + std::to_string(sequence.framesPerSecond) + ": must be above 0 (fps 0 is a still of one frame)");
        if (sequence.frameCount == 0)
            report("has no frames");
        if (LeavesTheData(a.imageName)) {
            report("its picture \"" + a.imageName + "\" does not name a file below the game's folder");
            continue;
        }
        const PictureInfo info = picture(a.imageName);
        if (!info.found) {
            report("its picture " + a.imageName + " is not in the data");
            continue;
        }
        if (info.width < 0)
            continue;  // a picture whose header this tool does not read
        for (int f = 0; f < sequence.frameCount; ++f) {
            const AnmFrame frame = file->GetFrame(a, f);
            const int64_t right = int64_t(frame.x) + frame.w;
            const int64_t bottom = int64_t(frame.y) + frame.h;
            if (frame.w <= 0 || frame.h <= 0 || frame.x < 0 || frame.y < 0 || right > info.width || bottom > info.height)
                report("frame " + std::to_string(f) + " (" + Size(frame.w, frame.h) + " at " + std::to_string(frame.x) +
                       "," + std::to_string(frame.y) + ") does not lie inside its picture " + a.imageName + ", which is " +
                       Size(info.width, info.height));
        }
    }
}

} // namespace contentgen
