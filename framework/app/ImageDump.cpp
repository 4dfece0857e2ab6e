#include "framework/app/ImageDump.h"

#include "framework/app/PathUtil.h"
#include "framework/app/StringUtil.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace Zelk {

namespace {

std::string Narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text)
        out += char(c);
    return out;
}

std::string Number(int64_t value) { return Narrow(CommaSeparate64(value)); }

// A cell with a label and a quantity; a quantity of 0 leaves the cell empty.
std::string QuantityCell(const char* label, int64_t value)
{
    if (value == 0)
        return "<TD>&nbsp;</TD>";
    return std::string("<TD>") + label + "<BR>" + Number(value) + "</TD>";
}

std::string FlagCell(const char* label, bool on) { return on ? std::string("<TD>") + label + "</TD>" : "<TD>&nbsp;</TD>"; }

class HtmlFile {
public:
    explicit HtmlFile(const std::string& path) : mFile(fopen(path.c_str(), "w")) {}
    ~HtmlFile()
    {
        if (mFile)
            fclose(mFile);
    }
    bool IsOpen() const { return mFile != nullptr; }
    // Flushed at once, so a dump that dies half way still shows how far it got.
    void Write(const std::string& text)
    {
        fwrite(text.data(), 1, text.size(), mFile);
        fflush(mFile);
    }

private:
    FILE* mFile;
};

} // namespace

ImageDumpSizes ImageDump::Sizes(const ImageDumpEntry& image)
{
    ImageDumpSizes s;
    const int64_t n = int64_t(image.width) * int64_t(image.height);
    if (image.hasBits)
        s.bits = 4 * n;
    if (image.hasSurface)
        s.surface = 4 * n;
    if (image.hasPalette)
        s.palette = n + 1024;
    if (image.hasNativeData)
        s.nativeAlpha = image.hasPalette ? 1024 : 4 * n;
    if (image.hasRLAlpha)
        s.rlAlpha = n;
    if (image.hasRLAdditive)
        s.rlAdditive = n;
    if (image.hasTexture)
        s.texture = image.textureBytes;
    s.total = s.bits + s.surface + s.palette + s.nativeAlpha + s.rlAlpha + s.rlAdditive + s.texture;
    return s;
}

const char* ImageDump::TextureFormatName(int32_t code)
{
    switch (code) {
    case 1:
        return "A8R8G8B8";
    case 2:
        return "A4R4G4B4";
    case 4:
        return "R5G6B5";
    case 8:
        return "Palette8";
    default:
        return "";
    }
}

std::vector<size_t> ImageDump::Order(const std::vector<ImageDumpEntry>& images)
{
    std::vector<int64_t> totals;
    for (const ImageDumpEntry& image : images)
        totals.push_back(Sizes(image).total);
    std::vector<size_t> order(images.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return totals[a] > totals[b]; });
    return order;
}

std::vector<uint32_t> ImageDump::Thumbnail(const uint32_t* pixels, int width, int height)
{
    std::vector<uint32_t> thumb(size_t(kThumbSize) * kThumbSize);
    for (int y = 0; y < kThumbSize; ++y) {
        const int sy = int((y + 0.5) * height / kThumbSize);
        for (int x = 0; x < kThumbSize; ++x) {
            const int sx = int((x + 0.5) * width / kThumbSize);
            thumb[size_t(y) * kThumbSize + size_t(x)] = pixels[size_t(sy) * size_t(width) + size_t(sx)];
        }
    }
    return thumb;
}

std::string ImageDump::HtmlEscape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool ImageDump::Write(const std::string& folder, const std::string& timeText, const std::vector<ImageDumpEntry>& images,
                      const Writer& writePng, const Writer& writeJpeg)
{
    const std::string dir = RemoveTrailingSlash(NativePath(folder));
    DeleteDirectoryTree(dir);
    CreateDirectories(dir);
    HtmlFile html(dir + "/imagelist.html");
    if (!html.IsOpen())
        return false;

    html.Write("<HTML><BODY BGCOLOR=EEEEFF><CENTER><FONT SIZE=+2><B>" + timeText + "</B></FONT><BR>" + "\n");
    const std::vector<size_t> order = Order(images);
    ImageDumpSizes sum;
    for (const ImageDumpEntry& image : images) {
        const ImageDumpSizes s = Sizes(image);
        sum.total += s.total;
        sum.bits += s.bits;
        sum.palette += s.palette;
        sum.surface += s.surface;
        sum.texture += s.texture;
        sum.nativeAlpha += s.nativeAlpha;
        sum.rlAlpha += s.rlAlpha;
        sum.rlAdditive += s.rlAdditive;
    }
    html.Write("Total Image Allocation: " + Number(sum.total) + " bytes<BR>" +
               "<TABLE BORDER=1 CELLSPACING=0 CELLPADDING=4>");

    for (size_t row = 0; row < order.size(); ++row) {
        const ImageDumpEntry& image = images[order[row]];
        const ImageDumpSizes s = Sizes(image);
        const std::string png = StrFormat("img%04d.png", int(row));
        const std::string jpg = StrFormat("thumb%04d.jpg", int(row));
        html.Write("<TR>");
        const std::string cells[] = {
            "<TD><A HREF=" + png + "><IMG SRC=" + jpg + " WIDTH=" + std::to_string(kThumbSize) +
                " HEIGHT=" + std::to_string(kThumbSize) + "></A></TD>",
            "<TD ALIGN=RIGHT>" + StrFormat("%d x %d<BR>%s bytes", image.width, image.height, Number(s.total).c_str()) +
                "</TD>",
            QuantityCell("mBits", s.bits),
            QuantityCell("Palletized", s.palette),
            QuantityCell("DDSurface", s.surface),
            s.texture == 0 ? std::string("<TD>&nbsp;</TD>")
                           : std::string("<TD>Texture<BR>") + TextureFormatName(image.textureFormat) + "<BR>" +
                                 Number(s.texture) + "</TD>",
            FlagCell("Volatile", image.isVolatile),
            FlagCell("Forced", image.forced),
            FlagCell("HasAlpha", image.hasAlpha),
            FlagCell("HasTrans", image.hasTrans),
            QuantityCell("NativeAlpha", s.nativeAlpha),
            QuantityCell("RLAlpha", s.rlAlpha),
            QuantityCell("RLAdditive", s.rlAdditive),
            image.filePath.empty() ? std::string("<TD>&nbsp;</TD>") : "<TD>" + HtmlEscape(image.filePath) + "</TD>",
        };
        for (const std::string& cell : cells)
            html.Write(cell + "\n");
        html.Write("</TR>\n");

        // An empty image has no pixels to show.
        if (image.width <= 0 || image.height <= 0 || !image.pixels)
            continue;
        const std::vector<uint32_t> pixels = image.pixels();
        if (pixels.size() < size_t(image.width) * size_t(image.height))
            continue;
        if (writeJpeg) {
            const std::vector<uint32_t> thumb = Thumbnail(pixels.data(), image.width, image.height);
            writeJpeg(dir + "/" + jpg, kThumbSize, kThumbSize, thumb.data());
        }
        if (writePng)
            writePng(dir + "/" + png, image.width, image.height, pixels.data());
    }

    html.Write("<TD>Totals</TD>\n");
    for (int64_t v : {sum.total, sum.bits, sum.palette, sum.surface, sum.texture})
        html.Write("<TD>" + Number(v) + "</TD>\n");
    for (int i = 0; i < 4; ++i)
        html.Write("<TD>&nbsp;</TD>\n");
    for (int64_t v : {sum.nativeAlpha, sum.rlAlpha, sum.rlAdditive})
        html.Write("<TD>" + Number(v) + "</TD>\n");
    html.Write("<TD>&nbsp;</TD>\n");
    html.Write("</TABLE></CENTER></BODY></HTML>\n");
    return true;
}

} // namespace Zelk
