#include "MediaRules.h"

#include "XmlRead.h"

#include "assets/Scratch.h"
#include "framework/app/Utf16.h"
#include "framework/fonts/DescParser.h"
#include "framework/resources/ImageLib.h"
#include "platform/Platform.h"
#include "platform/audio/MemoryByteSource.h"
#include "platform/audio/OggDecoder.h"
#include "platform/audio/WaveReader.h"
#include "platform/modules/Modules.h"

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <fstream>
#include <memory>
#include <set>

namespace contentgen {

namespace {

bool EndsWith(const std::string& text, const char* end)
{
    const std::string tail(end);
    return text.size() > tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

struct PictureKind {
    const char* extension;
    const char* name;
    ImageLib::Image* (*read)(const std::string& path);
    // The first bytes every file of the kind starts with (none for Targa).
    std::vector<std::vector<uint8_t>> marks;
};

const std::vector<PictureKind>& PictureKinds()
{
    static const std::vector<PictureKind> kinds = {
        {".png", "PNG", &ImageLib::ReadPngImage, {{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}}},
        {".jpg", "JPEG", &ImageLib::ReadJpegImage, {{0xFF, 0xD8, 0xFF}}},
        {".gif", "GIF", &ImageLib::ReadGifImage, {{'G', 'I', 'F', '8'}}},
        {".tga", "Targa", &ImageLib::ReadTgaImage, {}},
        {".jp2", "JPEG-2000", &ImageLib::ReadJpeg2000Image,
         {{0x00, 0x00, 0x00, 0x0C, 'j', 'P', ' ', ' '}, {0xFF, 0x4F, 0xFF, 0x51}}},
    };
    return kinds;
}

bool StartsWithAny(const std::vector<uint8_t>& bytes, const std::vector<std::vector<uint8_t>>& marks)
{
    if (marks.empty())
        return true;
    for (const std::vector<uint8_t>& mark : marks)
        if (bytes.size() >= mark.size() && std::equal(mark.begin(), mark.end(), bytes.begin()))
            return true;
    return false;
}

// Why a picture does not decode, or empty when it does; the pixels when
// asked for. The readers read files, so the bytes go to a scratch file first.
std::string PictureFault(const PictureKind& kind, const std::vector<uint8_t>& bytes, DecodedPicture* out = nullptr)
{
    if (bytes.empty())
        return "the file is empty";
    if (!StartsWithAny(bytes, kind.marks))
        return std::string("it does not start as a ") + kind.name + " file";
    const std::string path = ScratchPath(kind.extension);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    std::unique_ptr<ImageLib::Image> image(kind.read(path));
    std::remove(path.c_str());
    if (!image)
        return std::string("the image library's ") + kind.name + " reader does not decode it";
    if (out) {
        out->width = image->GetWidth();
        out->height = image->GetHeight();
        out->argb.assign(image->GetBits(), image->GetBits() + size_t(out->width) * size_t(out->height));
    }
    return std::string();
}

std::string SoundFault(const std::string& path, const std::vector<uint8_t>& bytes)
{
    if (bytes.empty())
        return "the file is empty";
    plat::MemoryByteSource source(bytes.data(), bytes.size());
    std::vector<uint8_t> samples;
    if (EndsWith(path, ".ogg")) {
        plat::OggDecoder ogg;
        if (!ogg.Open(source))
            return "the Ogg decoder refuses it: " + ogg.Error();
        samples.resize(size_t(ogg.Bytes()));
        if (!ogg.Read(samples.data(), samples.size()))
            return "the Ogg decoder stops before its last sample";
        return std::string();
    }
    plat::WaveHeader header;
    if (!plat::WaveReader::ReadHeader(source, header))
        return "the wave reader refuses its header";
    samples.resize(header.dataSize);
    if (!plat::WaveReader::ReadData(source, header, samples.data()))
        return "the wave reader cannot read its samples";
    return std::string();
}

// The pictures a font description layers on (LayerSetImage), named
// relative to the description's folder.
class LayerPictureReader : public Zelk::DescParser {
public:
    bool Read(const std::wstring& text) { return ReadCommands(text); }
    std::set<std::wstring> pictures;

private:
    bool HandleCommand(const Zelk::ListDataElement& params) override
    {
        const auto& values = params.mElementVector;
        if (values.size() < 3 || values[0]->mIsList || values[2]->mIsList)
            return true;
        std::wstring word = static_cast<const Zelk::SingleDataElement*>(values[0])->mString;
        for (wchar_t& c : word)
            c = static_cast<wchar_t>(std::towupper(c));
        if (word == L"LAYERSETIMAGE") {
            std::wstring name = static_cast<const Zelk::SingleDataElement*>(values[2])->mString;
            if (name.size() >= 2 && (name[0] == L'\'' || name[0] == L'"') && name.back() == name[0])
                name = name.substr(1, name.size() - 2);
            pictures.insert(name);
        }
        return true;
    }
};

} // namespace

bool DecodePicture(const std::string& path, const std::vector<uint8_t>& bytes, DecodedPicture& out)
{
    LoadPictureCodecs();
    for (const PictureKind& kind : PictureKinds())
        if (EndsWith(path, kind.extension))
            return PictureFault(kind, bytes, &out).empty();
    return false;
}

void LoadPictureCodecs()
{
    if (ImageLib::gJ2kCodecModule)
        return;
    plat::Services& services = plat::Get();
    if (services.modules) {
        ImageLib::LoadJ2kCodec();
        return;
    }
    static plat::Modules modules;
    services.modules = &modules;
    ImageLib::LoadJ2kCodec();
    services.modules = nullptr;
}

void CheckMediaDecode(const DataSet& data, std::vector<Finding>& findings)
{
    LoadPictureCodecs();
    for (const auto& file : data.files) {
        const std::string& path = file.first;
        std::string fault;
        for (const PictureKind& kind : PictureKinds())
            if (EndsWith(path, kind.extension))
                fault = PictureFault(kind, file.second);
        if ((path.rfind("sounds\\", 0) == 0 || path.rfind("music\\", 0) == 0) &&
            (EndsWith(path, ".wav") || EndsWith(path, ".ogg")))
            fault = SoundFault(path, file.second);
        if (!fault.empty())
            findings.push_back({path, "(file)", "does not decode: " + fault});
        if (path.rfind("fonts\\", 0) == 0 && EndsWith(path, ".txt") && file.second.size() % 2 == 0) {
            LayerPictureReader reader;
            if (!reader.Read(Zelk::Utf16LEToWide(file.second.data(), file.second.size())))
                continue;  // the validator's font rules name a description that does not read
            const std::string folder = path.substr(0, path.rfind('\\') + 1);
            for (const std::wstring& picture : reader.pictures)
                if (!data.Has(folder + Lower(Narrow(picture))))
                    findings.push_back({path, Narrow(picture), "the font's layer picture is not in the data"});
        }
    }
}

} // namespace contentgen
