#pragma once
#include "framework/resources/ImageLib.h"
#include "platform/NullPlatform.h"
#include "platform/j2k/J2kCodec.h"
#include "tests/support/TempDir.h"

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using ImagePtr = std::unique_ptr<ImageLib::Image>;

// The bytes of a file of tests/fixtures/images.
inline std::string ImageFixture(const std::string& name)
{
    std::ifstream in(std::string(ZELK_FIXTURES) + "/images/" + name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    EXPECT_FALSE(s.str().empty()) << name;
    return s.str();
}

inline std::vector<uint32_t> Pixels(const ImageLib::Image* image)
{
    if (!image)
        return {};
    return std::vector<uint32_t>(image->mBits, image->mBits + size_t(image->mWidth) * size_t(image->mHeight));
}

// A Targa file: the 18-byte header, an image ID, a colour map, the pixels.
inline std::string Tga(int type, int depth, int descriptor, int width, int height,
                       const std::vector<uint32_t>& pixels, int idLength = 0, int colourMapLength = 0)
{
    std::string s(18, '\0');
    s[0] = char(idLength);
    s[1] = char(colourMapLength ? 1 : 0);
    s[2] = char(type);
    s[5] = char(colourMapLength & 0xFF);
    s[6] = char(colourMapLength >> 8);
    s[7] = char(colourMapLength ? 24 : 0);
    s[12] = char(width & 0xFF);
    s[13] = char(width >> 8);
    s[14] = char(height & 0xFF);
    s[15] = char(height >> 8);
    s[16] = char(depth);
    s[17] = char(descriptor);
    s += std::string(size_t(idLength), 'I');
    s += std::string(size_t(colourMapLength) * 3, 'C');
    for (uint32_t p : pixels)
        for (int i = 0; i < 4; ++i)
            s += char(p >> (8 * i) & 0xFF);
    return s;
}

// Each test starts from the module's defaults and a codec that is not loaded.
class ImageLibTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        ImageLib::FreeJ2kCodec();
        ImageLib::gJ2kExportLookup = plat::J2kCodecExport;
        ImageLib::gAlphaImageColor = 0xFFFFFF;
        ImageLib::gLoadAlphaImages = true;
    }

    plat::NullPlatform platform;
    testsupport::TempDir dir;
};
