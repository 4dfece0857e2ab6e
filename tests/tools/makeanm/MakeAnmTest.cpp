#include "game/world/AnmFile.h"
#include "tests/support/RunCommand.h"
#include "tests/support/TempDir.h"
#include "tools/makeanm/AnmText.h"
#include "tools/makeanm/AnmWriter.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using makeanm::AnmFile;
using makeanm::Animation;
using makeanm::Frame;

const char* const kTwoAnimations =
    "# a table's idle and its activation\n"
    "base 0x20000000\n"
    "animation images\\anm\\table_plain.png tableplainbridle 100 cycle 4\n"
    "frame 0 0 100 90 0 -90\n"
    "frame 100 0 100 90 0 -90   # the second frame\n"
    "\n"
    "animation images\\anm\\table_plain.png tableplainbractivation 96 backward 0x10\n"
    "frame 200 4 96 86 -2 -88\n";

std::vector<uint8_t> Write(const AnmFile& file, std::vector<std::string>* warnings = nullptr)
{
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(makeanm::WriteAnm(file, bytes, error, warnings)) << error;
    return bytes;
}

std::vector<uint8_t> WriteOdd(const AnmFile& file)
{
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(makeanm::WriteOddAnm(file, bytes, error)) << error;
    return bytes;
}

AnmFile Parse(const std::string& text)
{
    AnmFile file;
    std::string error;
    EXPECT_TRUE(makeanm::ParseAnmText(text, file, error)) << error;
    return file;
}

uint32_t Word(const std::vector<uint8_t>& bytes, size_t at)
{
    return uint32_t(bytes[at]) | (uint32_t(bytes[at + 1]) << 8) | (uint32_t(bytes[at + 2]) << 16) |
           (uint32_t(bytes[at + 3]) << 24);
}

// A file of two records, as a two-frame table animation of one picture.
AnmFile SmallFile()
{
    AnmFile file;
    Animation idle;
    idle.image = "images\\anm\\p.png";
    idle.name = "pidle";
    idle.canvasWidth = 10;
    idle.fps = 5;
    idle.frames = {{0, 0, 10, 10, 0, 0}, {10, 0, 10, 10, 0, 0}};
    Animation hover = idle;
    hover.name = "phover";
    file.animations = {idle, hover};
    return file;
}

// The layout, field by field, at offsets in the file (the image starts at 12).
TEST(MakeAnm, WritesTheLayoutByteForByte)
{
    struct Field {
        size_t at;
        uint32_t value;
    };
    const Field words[] = {
        {0, 0x214D4E41}, {4, 0x20000000}, {8, 408},                  // magic, base, image size
        {12, 2}, {16, 0x20000008},                                   // count, link to the records at 8
        {12 + 8 + 64, 0}, {12 + 8 + 132, 100}, {12 + 8 + 136, 0x20000000 + 288},
        {12 + 148 + 64, 0}, {12 + 148 + 132, 96}, {12 + 148 + 136, 0x20000000 + 360},
        // first sequence at 288: unused, unused, mode, fps, frame count, link to the frames at 312
        {12 + 288, 0}, {12 + 292, 0}, {12 + 296, 0}, {12 + 300, 4}, {12 + 304, 2}, {12 + 308, 0x20000000 + 312},
        {12 + 312, 0}, {12 + 316, 0}, {12 + 320, 100}, {12 + 324, 90}, {12 + 328, 0}, {12 + 332, uint32_t(-90)},
        {12 + 336, 100}, {12 + 340, 0}, {12 + 344, 100}, {12 + 348, 90}, {12 + 352, 0}, {12 + 356, uint32_t(-90)},
        // second sequence at 360, its frame at 384
        {12 + 360, 0}, {12 + 364, 0}, {12 + 368, 2}, {12 + 372, 16}, {12 + 376, 1}, {12 + 380, 0x20000000 + 384},
        {12 + 384, 200}, {12 + 388, 4}, {12 + 392, 96}, {12 + 396, 86}, {12 + 400, uint32_t(-2)}, {12 + 404, uint32_t(-88)},
    };
    struct Name {
        size_t at;
        const char* text;
    };
    const Name names[] = {{12 + 8, "images\\anm\\table_plain.png"}, {12 + 8 + 68, "tableplainbridle"},
                          {12 + 148, "images\\anm\\table_plain.png"}, {12 + 148 + 68, "tableplainbractivation"}};
    std::vector<uint8_t> expected(12 + 408, 0);
    for (const Field& field : words)
        for (int i = 0; i < 4; ++i)
            expected[field.at + size_t(i)] = uint8_t(field.value >> (8 * i));
    for (const Name& name : names)
        std::copy(name.text, name.text + std::string(name.text).size(), expected.begin() + long(name.at));

    std::vector<std::string> warnings;
    const AnmFile parsed = Parse(kTwoAnimations);
    EXPECT_EQ(Write(parsed, &warnings), expected);
    EXPECT_EQ(warnings.size(), 1u);  // the backward one of a single frame

    // Read back by the game's reader: the same records.
    std::string error;
    const std::unique_ptr<::AnmFile> read = ::AnmFile::Parse(expected.data(), expected.size(), &error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(read->GetBase(), 0x20000000u);
    ASSERT_EQ(read->GetCount(), 2);
    for (int i = 0; i < 2; ++i) {
        const AnmRecord& a = read->GetRecord(i);
        const Animation& b = parsed.animations[size_t(i)];
        EXPECT_EQ(a.imageName, b.image);
        EXPECT_EQ(a.name, b.name);
        EXPECT_EQ(std::make_tuple(a.canvasWidth, a.sequence.mode, a.sequence.framesPerSecond),
                  std::make_tuple(b.canvasWidth, b.mode, b.fps));
        ASSERT_EQ(size_t(a.sequence.frameCount), b.frames.size());
        for (int f = 0; f < a.sequence.frameCount; ++f) {
            const AnmFrame frame = read->GetFrame(a, f);
            const Frame& written = b.frames[size_t(f)];
            EXPECT_EQ(std::make_tuple(frame.x, frame.y, frame.w, frame.h, frame.offsetX, frame.offsetY),
                      std::make_tuple(written.x, written.y, written.w, written.h, written.offsetX, written.offsetY));
        }
    }
    EXPECT_EQ(Parse("animation a b 1 0 1\n").base, makeanm::kDefaultBase);
}

TEST(MakeAnm, RefusesWhatASoundFileCannotHold)
{
    struct Case {
        const char* what;
        std::function<void(AnmFile&)> change;
        const char* message;
    };
    const std::string long64(64, 'n');
    const Case cases[] = {
        {"image file name of 64 bytes", [&](AnmFile& f) { f.animations[0].image = long64; }, "image file name of 64 bytes or more"},
        {"animation name of 64 bytes", [&](AnmFile& f) { f.animations[1].name = long64; }, "animation 2 (" },
        {"NUL in a name", [](AnmFile& f) { f.animations[0].name = std::string("p\0idle", 6); }, "holds a NUL byte"},
        {"negative fps", [](AnmFile& f) { f.animations[0].fps = -1; }, "negative fps -1"},
        {"negative frame count", [](AnmFile& f) { f.animations[0].frameCount = -3; }, "negative frame count -3"},
        {"negative record count", [](AnmFile& f) { f.count = -1; }, "negative record count -1"},
        {"a reserved word", [](AnmFile& f) { f.animations[0].reserved = 7; }, "written only by WriteOddAnm"},
        {"a shared sequence", [](AnmFile& f) { f.animations[1].sharesSequenceOf = 0; }, "written only by WriteOddAnm"},
        {"another magic", [](AnmFile& f) { f.magic = 0; }, "written only by WriteOddAnm"},
    };
    for (const Case& c : cases) {
        AnmFile file = SmallFile();
        c.change(file);
        std::vector<uint8_t> bytes;
        std::string error;
        EXPECT_FALSE(makeanm::WriteAnm(file, bytes, error)) << c.what;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": " << error;
    }
    // A name of 63 bytes fits with its NUL.
    AnmFile file = SmallFile();
    file.animations[0].name = std::string(63, 'n');
    EXPECT_EQ(Write(file).at(12 + 8 + 68 + 63), 0);
}

TEST(MakeAnm, RefusesTextItCannotReadNamingTheLine)
{
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"frame 0 0 1 1 0 0\n", "line 1: a frame before the first animation"},
        {"animation a b 1 cycle\n", "line 1: \"animation IMAGE NAME CANVAS_WIDTH MODE FPS\" takes five words"},
        {"animation a b 1 cycle 4\nframe 0 0 1 1 0\n", "line 2: \"frame X Y W H OFFSET_X OFFSET_Y\" takes six numbers"},
        {"animation a b 1 cycle 4\nframe 0 0 1 1 0 2147483648\n", "line 2: \"2147483648\" is not a 32-bit number"},
        {"animation a b 1 cycle 4x\n", "line 1: fps \"4x\" is not a 32-bit number"},
        {"animation a b 1 sometimes 4\n", "line 1: mode \"sometimes\" is not cycle, once, backward or a 32-bit number"},
        {"animation a b wide cycle 4\n", "line 1: canvas width \"wide\""},
        {"\n\nbase 0x100000000\n", "line 3: \"base ADDRESS\" takes one number from 0 to 0xFFFFFFFF"},
        {"animation a b 1 0 1\nbase 0\n", "line 2: \"base\" comes before the first animation"},
        {"animations a b 1 0 1\n", "line 1: unknown statement \"animations\""},
    };
    for (const auto& c : cases) {
        AnmFile file;
        std::string error;
        EXPECT_FALSE(makeanm::ParseAnmText(c.text, file, error)) << c.text;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.text << "gave: " << error;
    }
}

// Played once with one frame, an animation never reports its end.
TEST(MakeAnm, WarnsAboutASingleFramePlayedOnce)
{
    const struct {
        const char* mode;
        int frames;
        bool warns;
    } cases[] = {{"once", 1, true}, {"backward", 1, true}, {"7", 1, true},
                 {"cycle", 1, false}, {"once", 2, false}, {"once", 0, false}};
    for (const auto& c : cases) {
        std::string text = std::string("animation images\\p.png pact 10 ") + c.mode + " 8\n";
        for (int f = 0; f < c.frames; ++f)
            text += "frame 0 0 10 10 0 0\n";
        std::vector<std::string> warnings;
        Write(Parse(text), &warnings);
        ASSERT_EQ(warnings.size(), c.warns ? 1u : 0u) << c.mode << " " << c.frames;
        if (c.warns) {
            EXPECT_EQ(warnings[0], "animation 1 (pact): played once with a single frame, it never reports an end");
        }
    }
}

// Odd values, for files that test a reader, are written as given.
TEST(MakeAnm, WritesOddValuesOnRequest)
{
    AnmFile file = SmallFile();
    file.animations[0].name = std::string(64, 'n');  // no room for the NUL
    file.animations[1].sharesSequenceOf = 0;
    file.animations[1].reserved = 0xDEADBEEF;
    file.count = -5;
    std::vector<uint8_t> bytes = WriteOdd(file);
    ASSERT_EQ(bytes.size(), 12u + 8 + 2 * 140 + 24 + 2 * 24);  // one sequence for both records
    EXPECT_EQ(Word(bytes, 12), uint32_t(-5));
    EXPECT_EQ(bytes[12 + 8 + 68 + 63], 'n');
    EXPECT_EQ(bytes[12 + 8 + 132], 10);  // the canvas width follows the full name
    EXPECT_EQ(Word(bytes, 12 + 148 + 64), 0xDEADBEEFu);
    EXPECT_EQ(Word(bytes, 12 + 8 + 136), Word(bytes, 12 + 148 + 136));

    std::string error;
    file = SmallFile();
    file.animations[0].sharesSequenceOf = 1;
    EXPECT_FALSE(makeanm::WriteOddAnm(file, bytes, error));
    EXPECT_NE(error.find("not an earlier one"), std::string::npos) << error;
    file = SmallFile();
    file.animations[0].image = std::string(65, 'i');
    EXPECT_FALSE(makeanm::WriteOddAnm(file, bytes, error));
    EXPECT_NE(error.find("over 64 bytes"), std::string::npos) << error;
}

// Runs the program; its exit code, and what it printed in out.
int RunMakeAnm(const std::string& arguments, std::string* out = nullptr)
{
    return testsupport::RunCommand(std::string(MAKEANM_PROGRAM) + " " + arguments + " 2>&1", out);
}

TEST(MakeAnm, TheProgramWritesTheFileAndReportsWarningsAndErrors)
{
    testsupport::TempDir dir;
    dir.Write("t.txt", kTwoAnimations);
    std::string out;
    ASSERT_EQ(RunMakeAnm(dir / "t.txt " + dir / "anm/t.anm", &out), 0) << out;
    EXPECT_NE(out.find("warning: animation 2 (tableplainbractivation): played once with a single frame"), std::string::npos)
        << out;
    const std::string written = dir.Read("anm/t.anm");
    EXPECT_EQ(std::vector<uint8_t>(written.begin(), written.end()), Write(Parse(kTwoAnimations)));

    dir.Write("bad.txt", "animation a b 1 0 1\nframe 0 0 1 1 0 x\n");
    EXPECT_EQ(RunMakeAnm(dir / "bad.txt " + dir / "bad.anm", &out), 1);
    EXPECT_NE(out.find("line 2: \"x\" is not a 32-bit number"), std::string::npos) << out;
    EXPECT_EQ(RunMakeAnm(dir / "t.txt", &out), 1);
    EXPECT_NE(out.find("usage: makeanm IN.txt OUT.anm"), std::string::npos) << out;
    EXPECT_EQ(RunMakeAnm(dir / "missing.txt " + dir / "m.anm", &out), 1);
}

} // namespace
