// Contact sheets: every picture of a data set, read back through the
// framework's loaders, shrunk onto one sheet per folder with its name, on a
// checkerboard so transparency shows.
#include "assets/Assets.h"
#include "assets/ArtKit.h"
#include "assets/ImageFiles.h"
#include "assets/Scratch.h"

#include "MediaRules.h"
#include "framework/resources/ImageLib.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

namespace contentgen {

namespace {

const int kCellW = 170, kCellH = 150, kColumns = 6;

bool IsPicture(const std::string& path)
{
    for (const char* ext : {".png", ".jpg", ".gif", ".tga", ".jp2"})
        if (path.size() > 4 && path.compare(path.size() - 4, 4, ext) == 0)
            return true;
    return false;
}

std::string DiskPath(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

void Thumbnail(cairo_t* cr, const ImageLib::Image& image, double x, double y)
{
    const int w = image.GetWidth(), h = image.GetHeight();
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px) {
            uint32_t c = image.GetBits()[size_t(py) * size_t(w) + size_t(px)], a = c >> 24;
            auto pre = [&](int shift) { return ((c >> shift & 0xFF) * a + 127) / 255 << shift; };
            reinterpret_cast<uint32_t*>(data + py * stride)[px] = a << 24 | pre(16) | pre(8) | pre(0);
        }
    cairo_surface_mark_dirty(s);
    double scale = std::min({1.0, 160.0 / w, 120.0 / h});
    cairo_save(cr);
    cairo_translate(cr, x + (160 - w * scale) / 2, y + (120 - h * scale) / 2);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, s, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(s);
}

} // namespace

std::vector<OutFile> DrawContactSheets(const std::map<std::string, std::vector<uint8_t>>& files)
{
    LoadPictureCodecs();
    // The loaders read files: lay the pictures out as in the game folder.
    const std::string root = ScratchPath("-sheets");
    std::map<std::string, std::vector<std::string>> byFolder;
    for (const auto& f : files) {
        if (!IsPicture(f.first))
            continue;
        std::filesystem::path disk = root + "/" + DiskPath(f.first);
        std::filesystem::create_directories(disk.parent_path());
        std::ofstream(disk, std::ios::binary).write(reinterpret_cast<const char*>(f.second.data()),
                                                     std::streamsize(f.second.size()));
        std::string name = disk.filename().string();
        if (name[0] != '_')
            byFolder[f.first.substr(0, f.first.rfind('\\'))].push_back(f.first);
    }
    std::vector<OutFile> sheets;
    for (const auto& folder : byFolder) {
        const int rows = int(folder.second.size() + kColumns - 1) / kColumns;
        Canvas canvas(kColumns * kCellW, rows * kCellH + 30);
        cairo_t* cr = canvas.cr();
        for (int y = 0; y < canvas.Height(); y += 10)
            for (int x = 0; x < canvas.Width(); x += 10) {
                cairo_rectangle(cr, x, y, 10, 10);
                // The glyph sheets are white: they show on a dark board.
                const bool glyphs = folder.first.rfind("fonts", 0) == 0;
                SetColor(cr, (x / 10 + y / 10) % 2 ? (glyphs ? 0xFF303848 : 0xFFD0D0D0) : (glyphs ? 0xFF202830 : 0xFFF0F0F0));
                cairo_fill(cr);
            }
        const bool dark = folder.first.rfind("fonts", 0) == 0;
        const uint32_t ink = dark ? palette::kCream : palette::kText;
        Text(cr, folder.first, 8, 20, 14, true, ink);
        for (size_t i = 0; i < folder.second.size(); ++i) {
            const std::string& path = folder.second[i];
            double x = 5 + double(i % kColumns) * kCellW, y = 30 + double(i / kColumns) * kCellH;
            // A picture with a separate alpha image is named without extension,
            // as the game names it, so the loader pairs them.
            const size_t slash = path.rfind('\\') + 1, dot = path.rfind('.');
            const std::string mask = path.substr(0, slash) + "_" + path.substr(slash, dot - slash) + ".png";
            const std::string name = files.count(mask) ? path.substr(0, dot) : path;
            std::unique_ptr<ImageLib::Image> image(ImageLib::GetImage(root + "/" + DiskPath(name)));
            std::string label = path.substr(slash);
            if (image)
                Thumbnail(cr, *image, x, y);
            else
                label += " (does not load)";
            Text(cr, label + (image ? " " + std::to_string(image->GetWidth()) + "x" + std::to_string(image->GetHeight()) : ""),
                 x, y + 136, 10, false, image ? ink : palette::kRed);
        }
        std::string stem = folder.first;
        std::replace(stem.begin(), stem.end(), '\\', '_');
        sheets.push_back(OutFile{"sheet_" + stem + ".png", EncodePng(canvas.Take())});
    }
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
    return sheets;
}

} // namespace contentgen
