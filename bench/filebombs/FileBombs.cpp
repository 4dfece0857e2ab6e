// Runs every reader of outside files of the game and the launcher on hostile
// files under 1 MB, each in a process of its own, and reports its peak
// memory (ru_maxrss) and processor time against the goal: no such file may
// take more than 256 MB or 2 s to be refused or decoded.
//
//   file_bombs [--no-judge] [filter]   the table (rows whose reader or file
//                                      contains filter); exit status 1 when
//                                      a row misses the goal (with
//                                      --no-judge only when one crashes)
//   file_bombs --row N FILE            runs row N's reader on FILE
//
// A row is a reader (a function from a file name to what it made of it) and
// a maker of the file's bytes; add one to kRows below.
#include "bench/filebombs/ChildRun.h"
#include "framework/app/DemoFile.h"
#include "framework/app/StringUtil.h"
#include "framework/app/Utf16.h"
#include "framework/fonts/FontData.h"
#include "framework/resources/ImageLib.h"
#include "framework/resources/XMLParser.h"
#include "framework/sound/DSoundManager.h"
#include "game/core/HiscoreTables.h"
#include "game/core/PakDirectory.h"
#include "game/core/PakInterface.h"
#include "game/core/PrefFile.h"
#include "game/core/XmlFunctions.h"
#include "launcher/gif/BitmapFileImage.h"
#include "launcher/gif/GIFException.h"
#include "launcher/gif/MemoryStream.h"
#include "launcher/gif/TGIFImage.h"
#include "platform/NullPlatform.h"
#include "tools/hostilefiles/ImageBombs.h"
#include "tools/hostilefiles/J2kCodestream.h"
#include "tools/hostilefiles/OggPages.h"
#include "tools/hostilefiles/SoundBombs.h"
#include "tools/hostilefiles/TextBombs.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <unistd.h>

namespace {

constexpr long kGoalKilobytes = 256 * 1024;
constexpr double kGoalSeconds = 2.0;
constexpr size_t kFileLimit = 1 << 20;

struct Row {
    const char* reader;
    const char* file;
    const char* name; // the file's name (its extension chooses some readers)
    std::function<std::string()> make;
    std::function<std::string(const std::string& path)> read;
};

std::string Fixture(const std::string& name)
{
    std::ifstream in(std::string(ZELK_FIXTURES) + "/" + name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// ---- readers ----

std::string FrameworkImage(const std::string& path, bool alpha)
{
    plat::NullPlatform platform;
    ImageLib::LoadJ2kCodec();
    std::unique_ptr<ImageLib::Image> image(ImageLib::GetImage(path, alpha));
    if (!image)
        return "refused";
    return "decoded " + std::to_string(image->mWidth) + " x " + std::to_string(image->mHeight);
}

std::string ImageReader(const std::string& path) { return FrameworkImage(path, false); }

// The picture and, as "_" + its name beside it, the same bytes as its mask.
std::string ImageWithAlpha(const std::string& path)
{
    std::filesystem::path p(path);
    std::filesystem::copy_file(p, p.parent_path() / ("_" + p.filename().string()),
                               std::filesystem::copy_options::overwrite_existing);
    return FrameworkImage(path, true);
}

std::string SoundManagerReader(const std::string& path)
{
    plat::NullPlatform platform;
    Zelk::DSoundManager manager(1, false);
    const std::string ext = path.substr(path.rfind('.'));
    bool ok = ext == ".ogg"   ? manager.DecodeOgg(0, path)
              : ext == ".wav" ? manager.ReadWaveFile(0, path)
                              : manager.ReadAuFile(0, path);
    return ok ? "decoded " + std::to_string(manager.GetSampleLength(0)) + " bytes" : "refused";
}

std::string SoundLibraryReader(const std::string& path)
{
    plat::NullPlatform platform;
    plat::NullSoundLibrary& lib = platform.sound;
    plat::SoundLibrary::InitParams params;
    params.values[1] = 44100;
    params.values[2] = 16;
    params.values[3] = 32;
    if (lib.Init(params) != 0)
        return "no library";
    int sample = lib.LoadSample(path.c_str(), 0, nullptr);
    if (!sample)
        return "refused";
    while (lib.DecodeBlocks(64)) {
    }
    return "decoded " + std::to_string(lib.SampleFramesDecoded(sample)) + " frames";
}

std::string FontReader(const std::string& path)
{
    plat::NullPlatform platform;
    Zelk::FontData data;
    data.Load(nullptr, path);
    if (!data.mInitialized)
        return "refused: " + Zelk::WStringToString(data.mError);
    return "read, " + std::to_string(data.mDefineMap.size()) + " Defines";
}

std::string XmlParserReader(const std::string& path)
{
    plat::NullPlatform platform;
    Zelk::XMLParser parser;
    if (!parser.OpenFile(path))
        return "cannot open";
    Zelk::XMLElement e;
    long tokens = 0;
    while (parser.NextElement(&e))
        ++tokens;
    if (parser.HasFailed())
        return "refused: " + Zelk::WStringToString(parser.GetErrorText());
    return "read " + std::to_string(tokens) + " tokens";
}

std::string GameXmlReader(const std::string& path)
{
    plat::NullPlatform platform;
    XmlDocument document;
    if (!XmlLoadFile(path, document))
        return "cannot open";
    return document.Node().Children().empty() ? "refused" : "read";
}

std::string ArchiveReader(const std::string& path)
{
    plat::NullPlatform platform;
    PakInterface pak;
    return pak.AddPakFile(path) ? "read" : "refused";
}

std::string PrefReader(const std::string& path)
{
    HiscoreTables tables;
    PrefFile::Contents contents = PrefFile::Read(ReadFile(path), &tables);
    return std::string(contents.headerValid ? "read" : "no header") + (contents.damaged ? ", damaged" : "") + ", " +
           std::to_string(contents.slots.size()) + " slots";
}

std::string DemoReader(const std::string& path)
{
    plat::NullPlatform platform;
    Zelk::DemoFile demo;
    std::string error;
    if (!demo.Load(path, "1.0", error))
        return "refused: " + error;
    return "read, " + std::to_string(demo.markers.size()) + " markers";
}

std::string LauncherGifReader(const std::string& path)
{
    const std::string bytes = ReadFile(path);
    GIFImage::TGIFImage image;
    try {
        GIFImage::MemoryStream s(bytes.data(), bytes.size());
        image.LoadFromStream(s);
        GIFImage::Bitmap canvas(32, 32, GIFImage::pf32bit);
        image.Draw(canvas, GIFImage::TRect{0, 0, 32, 32});
        image.PaintStop();
    } catch (const GIFImage::GIFException& e) {
        return std::string("refused: ") + e.what();
    }
    return "drawn, " + std::to_string(image.Images().Count()) + " frames";
}

std::string LauncherBmpReader(const std::string& path)
{
    const std::string bytes = ReadFile(path);
    try {
        GIFImage::Bitmap b = GIFImage::LoadBitmapFileImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        return "read " + std::to_string(b.Width()) + " x " + std::to_string(b.Height());
    } catch (const GIFImage::GIFException& e) {
        return std::string("refused: ") + e.what();
    }
}

// ---- makers that need no library of their own ----

// Links of second.ogg (one second of stereo at 44100 Hz) chained up to the
// size limit: real audio near its lowest ratio, a long decode.
std::string ChainedSeconds(size_t limit)
{
    const std::string second = Fixture("sound/second.ogg");
    std::string out = second;
    while (out.size() + second.size() < limit)
        out = hostile::OggChain(out, second);
    return out;
}

std::string Utf16File(const std::wstring& text) { return Zelk::WideToUtf16LE(text); }

// An archive of that many empty entries.
std::string EmptyEntries(int count)
{
    std::string out;
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out += char(v >> (8 * i) & 0xFF);
    };
    u32(kPakMagic);
    u32(kPakVersion);
    for (int i = 0; i < count; ++i) {
        std::string name = "e" + std::to_string(i);
        out += '\0';
        out += char(name.size());
        out += name;
        u32(0);
        u32(0);
        u32(0);
    }
    out += char(kPakEndFlag);
    std::string scrambled(out.size(), '\0');
    DescramblePak(reinterpret_cast<uint8_t*>(&scrambled[0]), reinterpret_cast<const uint8_t*>(out.data()), out.size());
    return scrambled;
}

// A demo file of the version "1.0" whose marker block holds markers whose
// names claim 32767 bytes each.
std::string DemoOfLongMarkers(size_t size)
{
    std::string block;
    auto u32 = [](std::string& s, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            s += char(v >> (8 * i) & 0xFF);
    };
    u32(block, 0x7FFFFFFF);
    while (block.size() + 64 < size)
        block += std::string("\xFF\x7F", 2) + std::string(40, 'm');
    std::string out;
    u32(out, Zelk::DemoFile::kMagic);
    u32(out, 2);
    u32(out, 0);
    out += std::string("\x03\x00", 2) + "1.0";
    u32(out, uint32_t(block.size()));
    out += block;
    u32(out, 100);
    return out + std::string(16, '\0');
}

const std::vector<Row>& Rows()
{
    static const std::vector<Row> rows = {
        {"framework PNG", "8192 x 8192 RGBA of black", "black.png", [] { return hostile::PngOfBlack(8192, 8192); },
         ImageReader},
        {"framework PNG", "4096 x 4096 RGBA of black", "black4k.png", [] { return hostile::PngOfBlack(4096, 4096); },
         ImageReader},
        {"framework JPEG", "8192 x 8192 grey of black", "black.jpg", [] { return hostile::JpegOfBlack(8192, 8192); },
         ImageReader},
        {"framework JPEG", "4096 x 4096 grey of black", "black4k.jpg", [] { return hostile::JpegOfBlack(4096, 4096); },
         ImageReader},
        {"framework TGA", "header claiming 8192 x 8192", "claim.tga", [] { return hostile::TgaClaiming(8192, 8192); },
         ImageReader},
        {"framework GIF", "8192 x 8192 of one colour", "one.gif",
         [] { return hostile::GifOfOneColour(8192, 8192, 8192, 8192, 1); }, ImageReader},
        {"framework GIF", "4096 x 4096 of one colour", "one4k.gif",
         [] { return hostile::GifOfOneColour(4096, 4096, 4096, 4096, 1); }, ImageReader},
        {"framework alpha merge", "4096 x 4096 PNG and its \"_\" mask", "masked.png",
         [] { return hostile::PngOfBlack(4096, 4096); }, ImageWithAlpha},
        {"framework JPEG-2000", "4096 x 4096 RGBA, 4 x 4 code-blocks, 26 KB", "tiny.j2k",
         [] { return hostile::J2kCodestream(4096, 4096, 4, 2, 0, 26500); }, ImageReader},
        {"framework JPEG-2000", "2048 x 2048 RGBA, 4 x 4 code-blocks", "tiny2k.j2k",
         [] { return hostile::J2kCodestream(2048, 2048, 4, 2, 0, 26500); }, ImageReader},
        {"framework JPEG-2000", "64 x 64 code-blocks, 4 x 4 in the tile-part", "tilecod.j2k",
         [] { return hostile::J2kCodestream(2048, 2048, 4, 6, 2, 26500); }, ImageReader},
        {"framework JPEG-2000", "2048 x 2048 RGBA, 64 x 64 code-blocks", "big.j2k",
         [] { return hostile::J2kCodestream(2048, 2048, 4, 6, 0, 100); }, ImageReader},
        {"framework JPEG-2000", "50,000 tiles of 8 x 8", "tiles.j2k",
         [] { return hostile::J2kCodestream(2000, 1600, 1, 3, 0, 0, 8); }, ImageReader},
        {"framework JPEG-2000", "87,384 tiles claimed in 325 bytes", "claimed.j2k",
         [] { return hostile::J2kCodestream(4, 131076, 3, 2, 0, 0, 3).substr(0, 325); }, ImageReader},
        {"framework JPEG-2000", "4096 x 4096 grey, 64 x 64 code-blocks", "grey.j2k",
         [] { return hostile::J2kCodestream(4096, 4096, 1, 6, 0, 100); }, ImageReader},
        {"sound manager Ogg", "5 KB claiming 125 M frames", "lie.ogg",
         [] { return hostile::OggWithLastGranule(hostile::OggSilence(Fixture("sound/second.ogg"), 600), 125000000); },
         SoundManagerReader},
        {"sound library Ogg", "5 KB claiming 125 M frames", "lie.ogg",
         [] { return hostile::OggWithLastGranule(hostile::OggSilence(Fixture("sound/second.ogg"), 600), 125000000); },
         SoundLibraryReader},
        {"sound manager Ogg", "silence, 80 MB from 43 KB", "silence.ogg",
         [] { return hostile::OggSilence(Fixture("sound/second.ogg"), 20000); }, SoundManagerReader},
        {"sound library Ogg", "silence, 16 MB from 9 KB", "silence16.ogg",
         [] { return hostile::OggSilence(Fixture("sound/second.ogg"), 4000); }, SoundLibraryReader},
        {"sound library Ogg", "second.ogg chained to 1 MB", "chained.ogg", [] { return ChainedSeconds(kFileLimit); },
         SoundLibraryReader},
        {"sound manager Ogg", "second.ogg chained to 1 MB", "chained.ogg", [] { return ChainedSeconds(kFileLimit); },
         SoundManagerReader},
        {"sound manager Ogg", "links of 22050 and 44100 Hz", "mixed.ogg",
         [] { return hostile::OggChain(Fixture("sound/tone.ogg"), Fixture("sound/second.ogg")); }, SoundManagerReader},
        {"sound manager WAV", "data chunk claiming 256 MB", "claim.wav", [] { return hostile::WaveClaiming(0x0FFFFFF0); },
         SoundManagerReader},
        {"sound library WAV", "data chunk claiming 512 MB", "claim.wav", [] { return hostile::WaveClaiming(0x1FFFFFF0); },
         SoundLibraryReader},
        {"sound manager AU", "size claiming 128 MB", "claim.au", [] { return hostile::AuClaiming(0x07FFFFF0); },
         SoundManagerReader},
        {"font description", "ten Defines, each ten of the one before", "tenfold.txt",
         [] { return Utf16File(hostile::TenfoldDefines(10, L"1")); }, FontReader},
        {"framework XML parser", "100,000 nested elements", "deep.xml", [] { return hostile::NestedXml(100000); },
         XmlParserReader},
        {"game XML (pugixml)", "70,000 nested elements, UTF-16", "deep16.xml",
         [] { return hostile::NestedXmlUtf16(70000); }, GameXmlReader},
        {"game archive", "50,000 empty entries", "empty.pak", [] { return EmptyEntries(50000); }, ArchiveReader},
        {"pref.dat", "1 MB of 0xFF", "pref.dat", [] { return std::string(kFileLimit - 1, '\xFF'); }, PrefReader},
        {"demo file", "markers claiming 32767-byte names", "long.dmo", [] { return DemoOfLongMarkers(kFileLimit - 64); },
         DemoReader},
        {"launcher GIF", "65535 x 65535 screen, two 1 x 1 frames", "screen.gif",
         [] { return hostile::GifOfOneColour(65535, 65535, 1, 1, 2); }, LauncherGifReader},
        {"launcher GIF", "8000 x 8000 frame of one colour", "frame.gif",
         [] { return hostile::GifOfOneColour(8000, 8000, 8000, 8000, 1); }, LauncherGifReader},
        {"launcher GIF", "eight 8000 x 8000 frames", "frames.gif",
         [] { return hostile::GifOfOneColour(8000, 8000, 8000, 8000, 8); }, LauncherGifReader},
        {"launcher GIF", "eight 2048 x 2048 frames (the image limit)", "frames2k.gif",
         [] { return hostile::GifOfOneColour(2048, 2048, 2048, 2048, 8); }, LauncherGifReader},
        {"launcher GIF", "nine 2048 x 2048 frames", "frames9.gif",
         [] { return hostile::GifOfOneColour(2048, 2048, 2048, 2048, 9); }, LauncherGifReader},
        {"launcher GIF", "a hundred 256 x 256 frames", "frames256.gif",
         [] { return hostile::GifOfOneColour(256, 256, 256, 256, 100); }, LauncherGifReader},
        {"launcher BMP", "header claiming 65535 x 65535", "claim.bmp",
         [] { return hostile::BmpClaiming(65535, 65535, 32); }, LauncherBmpReader},
    };
    return rows;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<Row>& rows = Rows();
    if (argc == 4 && (std::strcmp(argv[1], "--row") == 0 || std::strcmp(argv[1], "--make") == 0)) {
        size_t row = size_t(std::atol(argv[2]));
        if (row >= rows.size())
            return 2;
        if (argv[1][2] == 'm') {
            const std::string bytes = rows[row].make();
            std::ofstream(argv[3], std::ios::binary) << bytes;
            std::printf("%zu\n", bytes.size());
        } else {
            std::printf("%s\n", rows[row].read(argv[3]).c_str());
        }
        return 0;
    }
    bool judge = true;
    std::string filter;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-judge") == 0)
            judge = false;
        else
            filter = argv[i];
    }
    std::string folder = (std::filesystem::temp_directory_path() / "file-bombs-XXXXXX").string();
    if (!mkdtemp(folder.data())) {
        std::perror("mkdtemp");
        return 2;
    }
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    std::printf("%-22s %-44s %8s %-42s %8s %7s %7s  %s\n", "reader", "file", "bytes", "result", "peak MB", "cpu s",
                "wall s", "goal (256 MB, 2 s)");
    int misses = 0, crashes = 0, ran = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        if (!filter.empty() && std::string(row.reader).find(filter) == std::string::npos &&
            std::string(row.file).find(filter) == std::string::npos)
            continue;
        // The file is made by a process of its own: a child started while
        // this one held much memory would report that as its peak.
        const std::string path = folder + "/" + row.name;
        filebombs::ChildRun made = filebombs::RunChild({self, "--make", std::to_string(i), path}, 600);
        const size_t size = made.ended ? size_t(std::atol(made.output.c_str())) : 0;
        filebombs::ChildRun run = filebombs::RunChild({self, "--row", std::to_string(i), path}, judge ? 30 : 300);
        std::filesystem::remove(folder + "/" + row.name);
        std::filesystem::remove(folder + "/_" + std::string(row.name));
        ++ran;
        const bool met = made.ended && run.ended && size < kFileLimit && run.peakKilobytes <= kGoalKilobytes &&
                         run.cpuSeconds <= kGoalSeconds;
        misses += !met;
        crashes += !made.ended || !run.ended || size >= kFileLimit;
        std::string result = !made.ended ? "not made: " + made.how : run.ended ? run.output : run.how;
        if (result.size() > 42)
            result = result.substr(0, 39) + "...";
        std::printf("%-22s %-44s %8zu %-42s %8.1f %7.2f %7.2f  %s\n", row.reader, row.file, size,
                    result.c_str(), double(run.peakKilobytes) / 1024, run.cpuSeconds, run.wallSeconds,
                    met ? "met" : "MISSED");
        std::fflush(stdout);
    }
    std::filesystem::remove_all(folder);
    std::printf("%d rows, %d missed the goal, %d ended badly\n", ran, misses, crashes);
    return (judge ? misses : crashes) > 0 ? 1 : 0;
}
