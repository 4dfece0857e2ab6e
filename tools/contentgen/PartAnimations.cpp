#include "PartAnimations.h"

#include "assets/ImageFiles.h"
#include "assets/Picture.h"
#include "tools/makeanm/AnmWriter.h"

#include <algorithm>

namespace contentgen {

namespace {

// Rows and columns that keep every frame's colour apart.
constexpr size_t kMaxClips = 16;
constexpr int kMaxFrames = 16;

} // namespace

uint32_t PartFrameColour(const std::string& part, size_t clip, int frame)
{
    uint32_t hash = 2166136261u;
    for (char c : part)
        hash = (hash ^ uint8_t(c)) * 16777619u;
    const uint32_t red = 40 + 12 * uint32_t(clip);
    const uint32_t green = 40 + 24 * uint32_t(frame);
    const uint32_t blue = 40 + 12 * (hash % 16);
    return 0xFF000000u | (red << 16) | (green << 8) | blue;
}

bool AddPartAnimations(const std::vector<PartAnimationTable>& tables, DataSet& data, std::string& error)
{
    for (const PartAnimationTable& table : tables) {
        const std::string file = "anm\\" + table.part + ".anm";
        int columns = 0;
        for (const PartClip& clip : table.clips)
            columns = std::max(columns, clip.frames);
        if (table.clips.size() > kMaxClips || columns > kMaxFrames) {
            error = file + ": more than 16 clips or 16 frames a clip";
            return false;
        }
        makeanm::AnmFile anm;
        for (const std::string& skin : table.skins) {
            const std::string image = "images\\anm\\" + table.part + (skin.empty() ? "" : "_" + skin) + ".png";
            Picture sheet(columns * table.width, int(table.clips.size()) * table.height);
            for (size_t row = 0; row < table.clips.size(); ++row)
                for (int frame = 0; frame < table.clips[row].frames; ++frame)
                    sheet.Put(Picture(table.width, table.height, PartFrameColour(table.part, row, frame)),
                              frame * table.width, int(row) * table.height);
            data.Add(image, EncodePng(sheet));
            for (size_t row = 0; row < table.clips.size(); ++row) {
                const PartClip& clip = table.clips[row];
                for (const std::string& orientation : clip.orientations.empty() ? table.orientations : clip.orientations) {
                    makeanm::Animation animation;
                    animation.image = image;
                    animation.name = table.part + skin + orientation + clip.name;
                    animation.canvasWidth = table.width;
                    animation.mode = clip.mode;
                    animation.fps = clip.fps;
                    for (int frame = 0; frame < clip.frames; ++frame)
                        animation.frames.push_back({frame * table.width, int(row) * table.height, table.width,
                                                    table.height, table.offsetX, table.offsetY});
                    anm.animations.push_back(animation);
                }
            }
        }
        std::vector<uint8_t> bytes;
        std::vector<std::string> warnings;
        if (!makeanm::WriteAnm(anm, bytes, error, &warnings) || !warnings.empty()) {
            error = file + ": " + (warnings.empty() ? error : warnings.front());
            return false;
        }
        data.Add(file, std::move(bytes));
    }
    return true;
}

} // namespace contentgen
