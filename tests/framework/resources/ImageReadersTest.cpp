#include "tests/framework/resources/FakePakInterface.h"
#include "tests/framework/resources/ImageTestSupport.h"
#include "tools/hostilefiles/ImageBombs.h"
#include "tools/hostilefiles/J2kCodestream.h"
#include "tools/imagefixtures/FixturePattern.h"

#include <cstdlib>
#include <random>

using fixtures::NoiseIndex;
using fixtures::PaletteColour;
using fixtures::PatternPixel;

namespace {

std::vector<uint32_t> PatternPixels(int width, int height, uint32_t orMask = 0)
{
    std::vector<uint32_t> out;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.push_back(PatternPixel(x, y) | orMask);
    return out;
}

int Channel(uint32_t p, int shift)
{
    return int(p >> shift & 0xFF);
}

TEST_F(ImageLibTest, PngFilesOfEveryLayoutArriveAsArgb)
{
    struct Case {
        const char* file;
        int width, height;
        std::vector<uint32_t> expect;
    } cases[] = {
        {"rgba.png", 5, 4, PatternPixels(5, 4)},
        {"interlaced.png", 9, 9, PatternPixels(9, 9)},
        {"rgb16.png", 3, 2, PatternPixels(3, 2, 0xFF000000)},
        {"palette_trns.png", 4, 1, {0x000A141E, 0x8028323C, 0xFF46505A, 0xFF646E78}},
        {"grey.png", 3, 1, {0xFF000000, 0xFF808080, 0xFFFFFFFF}},
        {"grey_alpha.png", 2, 1, {0x000A0A0A, 0x4DC8C8C8}},
    };
    for (const Case& c : cases) {
        dir.Write(c.file, ImageFixture(c.file));
        ImagePtr image(ImageLib::ReadPngImage(dir / c.file));
        ASSERT_NE(image, nullptr) << c.file;
        EXPECT_EQ(image->mWidth, c.width) << c.file;
        EXPECT_EQ(image->mHeight, c.height) << c.file;
        EXPECT_EQ(Pixels(image.get()), c.expect) << c.file;
    }
}

TEST_F(ImageLibTest, PngAndJpegWrittenFilesReadBack)
{
    ImageLib::Image image;
    ASSERT_TRUE(image.Create(7, 5));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            image.mBits[y * 7 + x] = PatternPixel(x, y);
    dir.Write("Shots/keep", "");

    ASSERT_TRUE(ImageLib::WritePngImage(dir.Path() + "\\shots\\Round.png", &image));
    ImagePtr png(ImageLib::ReadPngImage(dir / "Shots/Round.png"));
    ASSERT_NE(png, nullptr);
    EXPECT_EQ(Pixels(png.get()), Pixels(&image));

    // A smooth picture survives JPEG closely, and comes back opaque.
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            image.mBits[y * 7 + x] = 0x30000000u | uint32_t(100 + x * 4) << 16 | uint32_t(80 + y * 4) << 8 | 120;
    ASSERT_TRUE(ImageLib::WriteJpegImage(dir / "round.jpg", &image));
    ImagePtr jpg(ImageLib::ReadJpegImage(dir / "round.jpg"));
    ASSERT_NE(jpg, nullptr);
    ASSERT_EQ(jpg->mWidth, 7);
    ASSERT_EQ(jpg->mHeight, 5);
    for (int i = 0; i < 35; ++i) {
        EXPECT_EQ(jpg->mBits[i] >> 24, 0xFFu);
        for (int shift : {0, 8, 16})
            EXPECT_NEAR(Channel(jpg->mBits[i], shift), Channel(image.mBits[i], shift), 10) << i;
    }

    EXPECT_FALSE(ImageLib::WritePngImage(dir / "missing/x.png", &image));
    EXPECT_FALSE(ImageLib::WriteJpegImage(dir / "missing/x.jpg", &image));
    ImageLib::Image empty;
    EXPECT_FALSE(ImageLib::WritePngImage(dir / "empty.png", &empty));
}

TEST_F(ImageLibTest, JpegGreyColourAndCmykComeOutOpaqueRgb)
{
    dir.Write("grey.jpg", ImageFixture("grey.jpg"));
    ImagePtr grey(ImageLib::ReadJpegImage(dir / "grey.jpg"));
    ASSERT_NE(grey, nullptr);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) {
            uint32_t p = grey->mBits[y * 16 + x];
            EXPECT_EQ(p >> 24, 0xFFu);
            EXPECT_EQ(Channel(p, 0), Channel(p, 8));
            EXPECT_EQ(Channel(p, 0), Channel(p, 16));
            EXPECT_NEAR(Channel(p, 0), x * 16, 8);
        }

    dir.Write("colour.jpg", ImageFixture("colour.jpg"));
    ImagePtr colour(ImageLib::ReadJpegImage(dir / "colour.jpg"));
    ASSERT_NE(colour, nullptr);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) {
            uint32_t p = colour->mBits[y * 16 + x];
            EXPECT_EQ(p >> 24, 0xFFu);
            for (int shift : {0, 8, 16})
                EXPECT_NEAR(Channel(p, shift), Channel(fixtures::SmoothPixel(x, y), shift), 12) << x << "," << y;
        }

    // Four components are converted, never shown as three.
    dir.Write("cmyk.jpg", ImageFixture("cmyk.jpg"));
    ImagePtr cmyk(ImageLib::ReadJpegImage(dir / "cmyk.jpg"));
    ASSERT_NE(cmyk, nullptr);
    ASSERT_EQ(cmyk->mWidth, 16);
    for (uint32_t p : Pixels(cmyk.get())) {
        EXPECT_EQ(p >> 24, 0xFFu);
        EXPECT_NEAR(Channel(p, 16), fixtures::kCmykR, 6);
        EXPECT_NEAR(Channel(p, 8), fixtures::kCmykG, 6);
        EXPECT_NEAR(Channel(p, 0), fixtures::kCmykB, 6);
    }

    dir.Write("empty.jpg", "");
    EXPECT_EQ(ImageLib::ReadJpegImage(dir / "empty.jpg"), nullptr);
}

TEST_F(ImageLibTest, GifFirstFramesDecode)
{
    std::vector<uint32_t> interlaced, run(40, PaletteColour(1)), noise, frame;
    for (int y = 0; y < 9; ++y)
        interlaced.insert(interlaced.end(), 3, PaletteColour(y));
    for (int i = 0; i < 96 * 64; ++i)
        noise.push_back(PaletteColour(NoiseIndex(i)));
    frame = {0xFF112233, 0xFF445566, 0xFF778899, 0xFFAABBCC, 0xFFAABBCC, 0xFF778899, 0xFF445566, 0xFF112233};

    struct Case {
        const char* file;
        int width, height;
        std::vector<uint32_t> expect;
    } cases[] = {
        // Index 1 is transparent.
        {"transparent.gif", 2, 2, {PaletteColour(0), 0, PaletteColour(2), PaletteColour(3)}},
        {"interlaced.gif", 3, 9, interlaced},      // rows in pass order
        {"frames.gif", 4, 2, frame},               // first frame, its size, its palette
        {"run.gif", 40, 1, run},                   // KwKwK codes, code sizes 3 to 5
        {"deferred_clear.gif", 96, 64, noise},     // goes on with a full code table
    };
    for (const Case& c : cases) {
        dir.Write(c.file, ImageFixture(c.file));
        ImagePtr image(ImageLib::ReadGifImage(dir / c.file));
        ASSERT_NE(image, nullptr) << c.file;
        EXPECT_EQ(image->mWidth, c.width) << c.file;
        EXPECT_EQ(image->mHeight, c.height) << c.file;
        EXPECT_EQ(Pixels(image.get()), c.expect) << c.file;
    }
}

TEST_F(ImageLibTest, GifSizesAndCodeSizesAreChecked)
{
    const std::string base = ImageFixture("transparent.gif");
    const size_t descriptor = base.find('\x2C', 13 + 12);
    ASSERT_NE(descriptor, std::string::npos);
    auto patched = [&](size_t at, std::string bytes) {
        std::string s = base;
        s.replace(at, bytes.size(), bytes);
        return s;
    };
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"width 0", patched(descriptor + 5, std::string("\0\0", 2))},
        {"height 0", patched(descriptor + 7, std::string("\0\0", 2))},
        {"negative width", patched(descriptor + 5, "\xFF\xFF")},
        {"frame far larger than its data", patched(descriptor + 5, "\xFF\x7F\xFF\x7F")},
        {"minimum code size 12", patched(descriptor + 10, "\x0C")},
        {"not a GIF", patched(0, "GIF90")},
        {"trailer before an image", base.substr(0, 13 + 12) + "\x3B"},
        {"no image", base.substr(0, 13 + 12)},
    };
    for (const Case& c : cases) {
        dir.Write("bad.gif", c.bytes);
        EXPECT_EQ(ImagePtr(ImageLib::ReadGifImage(dir / "bad.gif")), nullptr) << c.what;
    }

    // Data that ends early still gives the whole frame, zero where nothing
    // was decoded.
    const std::string noise = ImageFixture("deferred_clear.gif");
    dir.Write("cut.gif", noise.substr(0, noise.size() / 2));
    ImagePtr cut(ImageLib::ReadGifImage(dir / "cut.gif"));
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(cut->mWidth, 96);
    EXPECT_EQ(cut->mHeight, 64);
    EXPECT_EQ(cut->mBits[0], PaletteColour(NoiseIndex(0)));
    EXPECT_EQ(cut->mBits[96 * 64 - 1], 0u);
}

// Damaged copies of every fixture, served from memory: every reader must
// fail or succeed cleanly (the sanitizers watch the reads and writes).
// Writes a big-endian number of the given width into bytes at offset.
std::string Patched(std::string bytes, size_t at, uint32_t value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes[at + i] = char(value >> (8 * (width - 1 - i)));
    return bytes;
}

// A JPEG whose frame header (at its SOF marker, which becomes marker) claims
// width x height.
std::string JpegClaiming(const char* fixture, uint8_t marker, int width, int height)
{
    std::string bytes = ImageFixture(fixture);
    size_t sof = bytes.find("\xFF\xC0");
    bytes[sof + 1] = char(marker);
    return Patched(Patched(bytes, sof + 5, uint32_t(height), 2), sof + 7, uint32_t(width), 2);
}

// A JPEG-2000 codestream whose size marker claims a picture and tile size.
std::string J2kClaiming(int width, int height, int tileWidth, int tileHeight)
{
    std::string bytes = ImageFixture("pattern.j2k");
    for (auto [offset, value] : {std::pair<size_t, int>{8, width}, {12, height}, {24, tileWidth}, {28, tileHeight}})
        bytes = Patched(bytes, offset, uint32_t(value), 4);
    return bytes;
}

// A codestream of nothing but empty packets (see hostile::J2kShape), padded
// as real data would be; tileExponent gives every tile-part its own smaller
// code-blocks.
std::string J2kBlocks(uint32_t width, uint32_t height, uint16_t components, int exponent, int tileExponent,
                      uint32_t tile = 0)
{
    return hostile::J2kCodestream(width, height, components, exponent, tileExponent, 26 * 1024, tile);
}

// Headers that claim far more than their few bytes could describe are refused
// before the picture is allocated; a cut file that could still hold its
// picture decodes.
TEST_F(ImageLibTest, HeadersClaimingMoreThanTheirBytesHoldAreRefused)
{
    ImageLib::LoadJ2kCodec();
    FakePakInterface pak;
    ASSERT_TRUE(pak.Publish());
    const std::string grey = ImageFixture("grey.jpg");
    struct Case {
        const char* name;
        std::string bytes;
        int width; // 0: refused
    } cases[] = {
        {"baseline.jpg", JpegClaiming("grey.jpg", 0xC0, 8192, 8192), 0},
        {"progressive.jpg", JpegClaiming("colour.jpg", 0xC2, 8192, 8192), 0},
        {"wide.jpg", JpegClaiming("colour.jpg", 0xC0, 8192, 64), 0},
        {"cut.jpg", grey.substr(0, grey.size() - 3), 16},
        {"tiles.j2k", J2kClaiming(4096, 4096, 43, 68), 0},
        {"onetile.j2k", J2kClaiming(4096, 4096, 4096, 4096), 0},
        {"smalltiles.j2k", J2kClaiming(64, 64, 1, 1), 0},
        {"pattern.j2k", J2kClaiming(4, 3, 4, 3), 4},
        // Nothing coded, so a few bytes describe any picture: what bounds the
        // decoder is the picture's samples and the code-blocks it would set up.
        {"tinyblocks.j2k", J2kBlocks(1024, 512, 4, 2, 0), 0},
        {"tileblocks.j2k", J2kBlocks(1024, 512, 4, 6, 2), 0},
        {"samples.j2k", J2kBlocks(2896, 2896, 4, 6, 0), 0},
        {"blocks.j2k", J2kBlocks(512, 256, 4, 5, 0), 512},
        {"tiled.j2k", J2kBlocks(512, 256, 3, 4, 4, 64), 512},
        // OpenJPEG sets up every tile of the main header before it reads on.
        {"manytiles.j2k", J2kBlocks(520, 512, 1, 3, 0, 8), 0},
        {"tiles4096.j2k", J2kBlocks(512, 512, 1, 3, 0, 8), 512},
    };
    for (const Case& c : cases) {
        pak.Add(c.name, c.bytes);
        ImagePtr image(ImageLib::GetImage(c.name, false));
        if (c.width == 0) {
            EXPECT_EQ(image, nullptr) << c.name;
        } else {
            ASSERT_NE(image, nullptr) << c.name;
            EXPECT_EQ(image->mWidth, c.width) << c.name;
            if (c.bytes.compare(4, 2, "\xFF\x51") == 0 && c.width > 4) { // nothing coded: mid grey
                EXPECT_EQ(image->mBits[size_t(image->mWidth) * size_t(image->mHeight) - 1], 0xFF808080u) << c.name;
            }
        }
    }
}

// Pictures of one colour take a few hundred kilobytes however large they are:
// past 4096 x 4096 pixels every reader refuses them before decoding.
TEST_F(ImageLibTest, PicturesPastTheSizeLimitAreRefusedWhateverTheirData)
{
    struct Case {
        const char* name;
        std::string bytes;
        int width; // 0: refused
        uint32_t last; // the last pixel
    } cases[] = {
        {"wide.png", hostile::PngOfBlack(8192, 2049), 0, 0},
        {"wide.jpg", hostile::JpegOfBlack(8192, 2049), 0, 0},
        {"wide.gif", hostile::GifOfOneColour(8192, 2049, 8192, 2049, 1), 0, 0},
        {"thin.png", hostile::PngOfBlack(8192, 16), 8192, 0}, // transparent black
        {"thin.jpg", hostile::JpegOfBlack(8192, 16), 8192, 0xFF000000u},
        {"thin.gif", hostile::GifOfOneColour(8192, 16, 8192, 16, 1), 8192, 0xFF000000u},
    };
    for (const Case& c : cases) {
        dir.Write(c.name, c.bytes);
        ImagePtr image(ImageLib::GetImage(dir / c.name, false));
        if (c.width == 0) {
            EXPECT_EQ(image, nullptr) << c.name;
            continue;
        }
        ASSERT_NE(image, nullptr) << c.name;
        EXPECT_EQ(image->mWidth, c.width) << c.name;
        EXPECT_EQ(image->mBits[size_t(image->mWidth) * size_t(image->mHeight) - 1], c.last) << c.name;
    }
}

TEST_F(ImageLibTest, DamagedFilesNeverCrashAReader)
{
    ImageLib::LoadJ2kCodec();
    FakePakInterface pak;
    ASSERT_TRUE(pak.Publish());
    std::mt19937 rng(20240607);
    const char* files[] = {"rgba.png", "interlaced.png", "palette_trns.png", "grey.jpg", "cmyk.jpg",
                           "transparent.gif", "interlaced.gif", "frames.gif", "run.gif", "deferred_clear.gif",
                           "pattern.j2k", "pattern.jp2"};
    for (const char* name : files) {
        const std::string original = ImageFixture(name);
        const std::string ext = std::string(name).substr(std::string(name).rfind('.'));
        for (int round = 0; round < 150; ++round) {
            std::string bytes = original;
            int edits = 1 + int(rng() % 6);
            for (int e = 0; e < edits; ++e) {
                size_t at = rng() % bytes.size();
                switch (rng() % 4) {
                case 0: bytes[at] = char(rng()); break;
                case 1: bytes[at] ^= char(1 << (rng() % 8)); break;
                case 2: bytes.resize(at + 1); break;
                default: bytes[at] = char(rng() % 2 ? 0xFF : 0x00); break;
                }
            }
            pak.Add("damaged" + ext, bytes);
            ImagePtr image(ImageLib::GetImage("damaged" + ext, false));
            if (image) {
                ASSERT_GT(image->mWidth, 0);
                ASSERT_GT(image->mHeight, 0);
                volatile uint32_t last = image->mBits[size_t(image->mWidth) * size_t(image->mHeight) - 1];
                (void)last;
            }
        }
    }
    EXPECT_EQ(pak.openHandles, 0);
}

} // namespace
