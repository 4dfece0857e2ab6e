#include "PartAnimations.h"

#include "assets/ImageFiles.h"
#include "assets/PartArt.h"
#include "assets/ShelfPacker.h"
#include "assets/Picture.h"
#include "tools/makeanm/AnmWriter.h"

#include <algorithm>

namespace contentgen {

namespace {

// Rows and columns that keep every frame's colour apart.
constexpr size_t kMaxClips = 16;
constexpr int kMaxFrames = 16;
// Sprite sheets are packed shelf by shelf on pages this wide.
constexpr int kSheetWidth = 2048;

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

bool AddPartAnimations(const std::vector<PartAnimationTable>& tables, PartArtStyle style, DataSet& data,
                       std::string& error)
{
    const bool plain = style == PartArtStyle::PlainColours;
    for (const PartAnimationTable& table : tables) {
        const std::string file = "anm\\" + table.part + ".anm";
        if (table.clips.size() > kMaxClips) {
            error = file + ": more than 16 clips";
            return false;
        }
        makeanm::AnmFile anm;
        for (const std::string& skin : table.skins) {
            const std::string image = "images\\anm\\" + table.part + (skin.empty() ? "" : "_" + skin) + ".png";
            // Every frame of every clip in every orientation, drawn, then
            // packed onto one sheet.
            struct Drawn {
                size_t clip;
                std::string orientation;
                Picture picture;
            };
            std::vector<Drawn> frames;
            for (size_t row = 0; row < table.clips.size(); ++row) {
                const PartClip& clip = table.clips[row];
                if (clip.frames > kMaxFrames) {
                    error = file + ": " + clip.name + " has more than 16 frames";
                    return false;
                }
                // Plain frames look alike in every orientation: drawn once.
                const std::vector<std::string> once = {""};
                for (const std::string& orientation :
                     plain ? once : clip.orientations.empty() ? table.orientations : clip.orientations)
                    for (int frame = 0; frame < clip.frames; ++frame) {
                        if (plain) {
                            frames.push_back({row, orientation,
                                              Picture(table.width, table.height, PartFrameColour(table.part, row, frame))});
                            continue;
                        }
                        PartFrame request;
                        request.part = table.part;
                        request.skin = skin;
                        request.orientation = orientation;
                        request.clip = clip.name;
                        request.frame = frame;
                        request.frames = clip.frames;
                        request.width = table.width;
                        request.height = table.height;
                        frames.push_back({row, orientation, DrawPartFrame(request)});
                    }
            }
            std::vector<std::pair<int, int>> sizes;
            for (const Drawn& drawn : frames)
                sizes.emplace_back(drawn.picture.width, drawn.picture.height);
            ShelfPacker packer(kSheetWidth, 0);
            const std::vector<PackedSpot> spots = packer.Pack(sizes);
            int width = 0;
            for (size_t i = 0; i < frames.size(); ++i)
                width = std::max(width, spots[i].x + frames[i].picture.width);
            Picture sheet(width, packer.UsedHeight());
            for (size_t i = 0; i < frames.size(); ++i)
                sheet.Put(frames[i].picture, spots[i].x, spots[i].y);
            data.Add(image, EncodePng(sheet));
            // One record a clip and orientation, its frames in order.
            size_t next = 0;
            for (size_t row = 0; row < table.clips.size(); ++row) {
                const PartClip& clip = table.clips[row];
                const size_t first = next;
                for (const std::string& orientation : clip.orientations.empty() ? table.orientations : clip.orientations) {
                    if (plain)
                        next = first;
                    makeanm::Animation animation;
                    animation.image = image;
                    animation.name = table.part + skin + orientation + clip.name;
                    animation.canvasWidth = table.width;
                    animation.mode = clip.mode;
                    animation.fps = clip.fps;
                    for (int frame = 0; frame < clip.frames; ++frame, ++next)
                        animation.frames.push_back({spots[next].x, spots[next].y, table.width, table.height, table.offsetX,
                                                    table.offsetY});
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
