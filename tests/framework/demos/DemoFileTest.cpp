#include "framework/app/DemoFile.h"
#include "tests/support/TempDir.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Zelk;

namespace {

const std::string kInvalid = "Invalid demo file.";

// Little-endian bytes of a demo file, field by field.
struct Bytes {
    std::vector<uint8_t> b;
    Bytes& U16(uint32_t v) { return Raw({uint8_t(v), uint8_t(v >> 8)}); }
    Bytes& U32(uint32_t v) { return Raw({uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}); }
    Bytes& Raw(const std::vector<uint8_t>& more)
    {
        b.insert(b.end(), more.begin(), more.end());
        return *this;
    }
    Bytes& Text(const std::string& s) { return Raw(std::vector<uint8_t>(s.begin(), s.end())); }
    Bytes& Version(const std::string& s) { return U16(uint32_t(s.size())).Text(s); }
    Bytes& Block(const std::vector<uint8_t>& block) { return U32(uint32_t(block.size())).Raw(block); }
};

std::vector<uint8_t> MarkerBlock(int32_t count, const std::vector<DemoMarker>& markers)
{
    Buffer b;
    b.WriteLong(count);
    for (const DemoMarker& m : markers) {
        b.WriteString(m.name);
        b.WriteLong(m.update);
    }
    return std::vector<uint8_t>(b.GetDataPtr(), b.GetDataPtr() + b.GetDataLen());
}

Bytes Header(uint32_t version = 2, const std::string& product = "1.0")
{
    Bytes f;
    f.U32(DemoFile::kMagic).U32(version).U32(777).Version(product);
    return f;
}

struct Loaded {
    bool ok;
    std::string error;
    DemoFile file;
};

Loaded Parse(const std::vector<uint8_t>& bytes, const std::string& product = "1.0")
{
    Loaded l;
    l.ok = l.file.Parse(bytes.data(), bytes.size(), product, l.error);
    return l;
}

DemoFile Sample()
{
    DemoFile f;
    f.seed = 0x12345678;
    f.productVersion = "1.0";
    f.markers = {{"start", 10}, {"boss arrives", 250}};
    f.recordedEnd = 1234;
    f.stream.WriteBits(5, 3);
    f.stream.WriteByte(0xFF);
    f.stream.WriteLong(-2);
    return f;
}

} // namespace

TEST(DemoFile, WrittenFileHasTheLayoutAndReadsBack)
{
    testsupport::TempDir dir;
    DemoFile f = Sample();
    ASSERT_TRUE(f.Save(dir / "run.dmo"));
    std::string text = dir.Read("run.dmo");
    std::vector<uint8_t> bytes(text.begin(), text.end());

    std::vector<uint8_t> stream(f.stream.GetDataPtr(), f.stream.GetDataPtr() + f.stream.GetDataLen());
    Bytes expected;
    expected.Raw({0x78, 0xEF, 0xBE, 0x42}).U32(2).U32(0x12345678).Version("1.0");
    expected.Block(MarkerBlock(2, f.markers)).U32(1234).Raw(stream);
    EXPECT_EQ(bytes, expected.b);

    DemoFile back;
    std::string error;
    ASSERT_TRUE(back.Load(dir / "run.dmo", "1.0", error)) << error;
    EXPECT_EQ(back.version, 2u);
    EXPECT_EQ(back.seed, 0x12345678u);
    EXPECT_EQ(back.productVersion, "1.0");
    ASSERT_EQ(back.markers.size(), 2u);
    EXPECT_EQ(back.markers[1].name, "boss arrives");
    EXPECT_EQ(back.markers[1].update, 250);
    EXPECT_EQ(back.recordedEnd, 1234);
    // The stream reads from its front; whole bytes, so the bit size rounds up.
    EXPECT_EQ(back.stream.GetReadPos(), 0);
    EXPECT_EQ(back.stream.GetDataLen(), f.stream.GetDataLen());
    EXPECT_EQ(back.stream.ReadBits(3, false), 5);
    EXPECT_EQ(back.stream.ReadByte(), 0xFF);
    EXPECT_EQ(back.stream.ReadLong(), -2);

    // A missing folder is made; a path that cannot be a folder fails with its reason.
    EXPECT_TRUE(f.Save(dir / "missing/deeper/run.dmo"));
    EXPECT_TRUE(back.Load(dir / "missing/deeper/run.dmo", "1.0", error)) << error;
    dir.Write("plain", "a file, not a folder");
    std::string why;
    EXPECT_FALSE(f.Save(dir / "plain/run.dmo", &why));
    EXPECT_FALSE(why.empty());
    EXPECT_FALSE(back.Load(dir / "other.dmo", "1.0", error));
    EXPECT_EQ(error, "Demo file not found: " + dir / "other.dmo");
}

TEST(DemoFile, LoadingChecksEveryField)
{
    const std::vector<uint8_t> stream = {0x12, 0x34};
    const std::vector<DemoMarker> one = {{"m", 5}};
    std::string longVersion(300, 'v');
    struct {
        const char* what;
        Bytes bytes;
        std::string product; // of the program loading it
        std::string error;   // "" = loads
        size_t markers;
    } cases[] = {
        {"valid", Header().Block(MarkerBlock(1, one)).U32(9).Raw(stream), "1.0", "", 1},
        {"bad magic", Bytes().U32(0x42BEEF79).U32(2).U32(1).Version("1.0").Block(MarkerBlock(0, {})).U32(9).Raw(stream),
         "1.0", kInvalid, 0},
        {"version 1 has no marker block", Header(1).U32(9).Raw(stream), "1.0", "", 0},
        {"later versions read like 2", Header(7).Block(MarkerBlock(0, {})).U32(9).Raw(stream), "1.0", "", 0},
        {"no stream bytes", Header().Block(MarkerBlock(0, {})).U32(9), "1.0", kInvalid, 0},
        {"version 1 without stream", Header(1).U32(9), "1.0", kInvalid, 0},
        {"marker block does not fit", Header().U32(40).Raw(MarkerBlock(1, one)).U32(9).Raw(stream), "1.0", kInvalid, 0},
        {"marker block leaves no room for the end",
         Header().Block(MarkerBlock(1, one)).Raw({1, 2, 3}), "1.0", kInvalid, 0},
        {"huge marker block, little left", Header().U32(0xFFFFFFFF).Raw({1, 2}), "1.0", kInvalid, 0},
        {"count above the markers", Header().Block(MarkerBlock(3, one)).U32(9).Raw(stream), "1.0", kInvalid, 0},
        {"count below the markers", Header().Block(MarkerBlock(0, one)).U32(9).Raw(stream), "1.0", "", 0},
        {"negative count", Header().Block(MarkerBlock(-1, one)).U32(9).Raw(stream), "1.0", kInvalid, 0},
        {"empty marker block", Header().Block({}).U32(9).Raw(stream), "1.0", "", 0},
        {"other program version", Header(2, "2.0").Block(MarkerBlock(0, {})).U32(9).Raw(stream), "1.0",
         "This demo file appears to be for '2.0'", 0},
        {"version text ends at its first NUL",
         Header(2, std::string("1.0\0junk", 8)).Block(MarkerBlock(0, {})).U32(9).Raw(stream), "1.0", "", 0},
        {"only 255 bytes of a long version text are read",
         Header(2, longVersion).Block(MarkerBlock(0, {})).U32(9).Raw(stream), longVersion,
         "This demo file appears to be for '" + longVersion.substr(0, 255) + "'", 0},
    };
    for (auto& c : cases) {
        Loaded l = Parse(c.bytes.b, c.product);
        EXPECT_EQ(l.ok, c.error.empty()) << c.what;
        EXPECT_EQ(l.error, c.error) << c.what;
        if (l.ok) {
            EXPECT_EQ(l.file.markers.size(), c.markers) << c.what;
            EXPECT_EQ(l.file.recordedEnd, 9) << c.what;
            EXPECT_EQ(l.file.stream.GetDataLen(), 2) << c.what;
        }
    }
}

TEST(DemoFile, TruncatedFilesAreInvalidUntilTheStreamBegins)
{
    std::vector<uint8_t> whole = Sample().Encode();
    size_t streamStart = whole.size() - size_t(Sample().stream.GetDataLen());
    for (size_t n = 0; n < whole.size(); ++n) {
        std::vector<uint8_t> cut(whole.begin(), whole.begin() + n);
        Loaded l = Parse(cut);
        if (n <= streamStart) {
            EXPECT_FALSE(l.ok) << n;
            EXPECT_EQ(l.error, kInvalid) << n;
        } else {
            // The stream is the rest of the file: a shorter one still loads.
            EXPECT_TRUE(l.ok) << n;
            EXPECT_EQ(l.file.stream.GetDataLen(), int32_t(n - streamStart)) << n;
        }
    }
}

TEST(DemoFile, CorruptedFilesFailCleanly)
{
    const std::vector<uint8_t> whole = Sample().Encode();
    auto check = [](const std::vector<uint8_t>& bytes, const std::string& what) {
        Loaded l = Parse(bytes);
        if (!l.ok)
            EXPECT_TRUE(l.error == kInvalid || l.error.rfind("This demo file appears to be for '", 0) == 0)
                << what << ": " << l.error;
        else
            EXPECT_LE(l.file.markers.size(), bytes.size()) << what;
    };
    // Every byte in turn, with every bit flipped and with a few chosen values.
    for (size_t i = 0; i < whole.size(); ++i) {
        for (uint8_t v : {uint8_t(whole[i] ^ 0xFF), uint8_t(0), uint8_t(0x7F), uint8_t(0x80), uint8_t(0xFF)}) {
            std::vector<uint8_t> bad = whole;
            bad[i] = v;
            check(bad, "byte " + std::to_string(i));
        }
    }
    // Runs of random bytes over the header, from a fixed seed.
    uint32_t state = 12345;
    auto next = [&state] { return (state = state * 214013u + 2531011u) >> 16; };
    for (int round = 0; round < 2000; ++round) {
        std::vector<uint8_t> bad = whole;
        for (int k = 0; k < 4; ++k)
            bad[next() % bad.size()] = uint8_t(next());
        check(bad, "round " + std::to_string(round));
    }
}

// Files that cannot be demo files however they continue: a device that never
// ends and a file larger than the format can describe. Each is refused in a
// child process whose memory is measured, and which is stopped if it reads on.
TEST(DemoFile, WhatIsLargerThanTheFormatAllowsIsRefusedWithoutBeingRead)
{
    testsupport::TempDir dir;
    // A valid start, then holes up to one byte more than the largest demo file.
    const std::string large = dir / "large.dmo";
    {
        const std::vector<uint8_t> start = Sample().Encode();
        dir.Write("large.dmo", std::string(start.begin(), start.end()));
        ASSERT_EQ(truncate(large.c_str(), off_t(DemoFile::kMaxFileBytes + 1)), 0);
    }
    struct {
        const char* what;
        std::string path;
    } cases[] = {
        {"endless device", "/dev/zero"},
        {"file over the size limit", large},
    };
    for (const auto& c : cases) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            rusage before{}, after{};
            getrusage(RUSAGE_SELF, &before);
            DemoFile f;
            std::string error;
            const bool loaded = f.Load(c.path, "1.0", error);
            getrusage(RUSAGE_SELF, &after);
            const long grownKb = after.ru_maxrss - before.ru_maxrss;
            _exit(loaded ? 2 : error != kInvalid ? 3 : grownKb > 64 * 1024 ? 4 : 0);
        }
        int status = 0;
        bool ended = false;
        for (int i = 0; i < 2000 && !ended; ++i) {
            ended = waitpid(pid, &status, WNOHANG) == pid;
            if (!ended)
                usleep(5000);
        }
        if (!ended) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
        }
        ASSERT_TRUE(ended) << c.what << ": still reading after 10 s";
        ASSERT_TRUE(WIFEXITED(status)) << c.what;
        EXPECT_NE(WEXITSTATUS(status), 2) << c.what << ": loaded";
        EXPECT_NE(WEXITSTATUS(status), 3) << c.what << ": not \"" << kInvalid << "\"";
        EXPECT_NE(WEXITSTATUS(status), 4) << c.what << ": more than 64 MB held";
        EXPECT_EQ(WEXITSTATUS(status), 0) << c.what;
    }
}
