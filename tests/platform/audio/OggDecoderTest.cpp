// The Ogg reader against streams whose length asks for more than their bytes
// hold, and chained streams.
#include "platform/audio/MemoryByteSource.h"
#include "platform/audio/OggDecoder.h"
#include "tools/hostilefiles/OggPages.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace plat;

namespace {

std::string Fixture(const std::string& name)
{
    std::ifstream in(std::string(ZELK_FIXTURES) + "/sound/" + name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct Decoded {
    bool opened = false;
    std::string error;
    uint64_t frames = 0;
    uint32_t rate = 0;
    bool read = false;
    std::vector<int16_t> samples;
};

Decoded Decode(const std::string& bytes)
{
    Decoded d;
    MemoryByteSource src(bytes.data(), bytes.size());
    OggDecoder ogg;
    d.opened = ogg.Open(src);
    d.error = ogg.Error();
    if (!d.opened)
        return d;
    d.frames = ogg.Frames();
    d.rate = ogg.Rate();
    d.samples.resize(ogg.Bytes() / 2);
    d.read = ogg.Read(reinterpret_cast<uint8_t*>(d.samples.data()), ogg.Bytes());
    return d;
}

// tone.ogg: 2205 frames of stereo at 22050 Hz; second.ogg: 44100 frames of
// stereo at 44100 Hz (tools/oggfixture).
TEST(OggDecoder, LengthsTheBytesCannotHoldAreRefused)
{
    const std::string tone = Fixture("tone.ogg"), second = Fixture("second.ogg");
    ASSERT_GT(tone.size(), 1000u);
    ASSERT_GT(second.size(), 1000u);
    struct Case {
        const char* what;
        std::string bytes;
        uint64_t frames; // 0: refused
        const char* error;
    } cases[] = {
        {"the stream as made", tone, 2205, ""},
        {"bytes before the first page and between pages", "ID3 and more" + second.substr(0, 58) + "junk" + second.substr(58),
         44100, ""},
        // Silence coded at two bytes per 1024 frames really is that long.
        {"silence within 16 MB", hostile::OggSilence(second, 400), 399 * 1024, ""},
        // A 5 KB file whose last page claims 500 MB of samples.
        {"a last page claiming 125 M frames", hostile::OggWithLastGranule(hostile::OggSilence(second, 600), 125000000),
         0, "the stream claims 125000000 frames; its packets hold at most 614400"},
        {"silence of 80 MB from 43 KB", hostile::OggSilence(second, 20000), 0, "the stream decodes to 81915904 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Decoded d = Decode(c.bytes);
        EXPECT_EQ(d.opened, c.frames != 0);
        EXPECT_EQ(d.error.compare(0, strlen(c.error), c.error), 0) << d.error;
        if (!c.frames)
            continue;
        EXPECT_EQ(d.frames, c.frames);
        EXPECT_TRUE(d.read);
    }
}

TEST(OggDecoder, ChainedStreamsOfOneRateDecodeWholeAndOthersAreRefused)
{
    const std::string tone = Fixture("tone.ogg"), second = Fixture("second.ogg");
    const Decoded one = Decode(second);
    ASSERT_TRUE(one.read);

    const Decoded two = Decode(hostile::OggChain(second, second));
    ASSERT_TRUE(two.opened) << two.error;
    EXPECT_EQ(two.frames, 2 * one.frames);
    EXPECT_EQ(two.rate, 44100u);
    ASSERT_TRUE(two.read);
    // The second link is decoded too: the same samples again.
    EXPECT_EQ(std::vector<int16_t>(two.samples.begin() + long(one.samples.size()), two.samples.end()), one.samples);

    const Decoded mixed = Decode(hostile::OggChain(tone, second));
    EXPECT_FALSE(mixed.opened);
    EXPECT_EQ(mixed.error, "the links of the chained stream differ: 22050 Hz, 2 channels, then 44100 Hz, 2 channels");
}

} // namespace
