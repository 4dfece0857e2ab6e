#include "AnimationRules.h"

#include "game/world/AnmFile.h"
#include "tools/makeanm/AnmFile.h"

#include <map>
#include <memory>
#include <string>

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

// The animations whose end the game waits for, by part file: the boss's and
// the clients' locked animations, the workers' hand-over and reactions, the
// devices' activation, the door.
bool AwaitedEnd(const std::string& path, const std::string& name)
{
    static const std::map<std::string, std::vector<std::string>> kEnds = {
        {"boss", {"boss_phone", "boss_drink", "boss_reproach"}},
        {"client", {"presentation_reaction", "drink_coffee", "patience_content", "patience_angry", "gratitude", "scandal"}},
        {"worker_up", {"idle_done", "disruption_reaction", "conference_reaction", "attention", "disruptive_action"}},
        {"shelving", {"activation"}},
        {"trash_bin", {"activation"}},
        {"safe", {"activation"}},
        {"coffeemachine", {"activation"}},
        {"conference_place", {"activation"}},
        {"cupboard", {"activation"}},
        {"presentation_place", {"activation"}},
        {"air_conditioner", {"activation"}},
        {"stereo_system", {"activation"}},
        {"door", {"open", "close"}},
    };
    const std::string part = path.substr(4, path.size() - 8);  // anm\<part>.anm
    auto ends = kEnds.find(part);
    if (ends == kEnds.end())
        return false;
    for (const std::string& end : ends->second)
        if (name.size() >= end.size() && name.compare(name.size() - end.size(), end.size(), end) == 0)
            return true;
    return false;
}

// Parts of objects that stop all their parts at a frame (the boss with his
// held items, the workers): a stop at frame n needs a rate.
bool StopsPartsAtFrames(const std::string& path)
{
    return path == "anm\\boss.anm" || path == "anm\\held_items.anm" || path == "anm\\worker_up.anm";
}

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
        const bool still = sequence.framesPerSecond == 0 && sequence.frameCount == 1 && sequence.mode == makeanm::kModeCycle;
        if (sequence.framesPerSecond < 0 || (sequence.framesPerSecond == 0 && !still))
            report("fps " + std::to_string(sequence.framesPerSecond) +
                   ": must be above 0 (only a still, one frame in mode 0, has fps 0)");
        else if (still && StopsPartsAtFrames(path))
            report("fps 0: its object stops every part at a frame, which needs fps above 0");
        if (sequence.frameCount == 0)
            report("has no frames");
        else if (sequence.mode == makeanm::kModeOnce && sequence.frameCount < 2)
            report("a once-animation of one frame: the game never sees it end");
        if (sequence.mode == makeanm::kModeCycle && AwaitedEnd(path, a.name))
            report("the game waits for this animation to end, and a cycle never ends: mode 1 (once)");
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
