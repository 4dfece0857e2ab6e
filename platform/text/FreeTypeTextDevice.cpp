#include "platform/text/FreeTypeTextDevice.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <mutex>
#include <string>

namespace plat {

// The FreeType library and the lock of every operation on it that is not
// thread-safe (opening and closing faces) and of fontconfig.
struct FreeTypeTextDevice::Library {
    std::mutex lock;
    FT_Library ft = nullptr;
    bool fontconfig = false;

    Library()
    {
        if (FT_Init_FreeType(&ft) != 0)
            ft = nullptr;
        fontconfig = FcInit() == FcTrue;
    }
    ~Library()
    {
        if (ft)
            FT_Done_FreeType(ft);
    }
};

namespace {

// Face names are narrow text (bytes standing for Latin-1 characters);
// fontconfig reads UTF-8.
std::string Latin1ToUtf8(const std::string& text)
{
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x80) {
            out += char(c);
        } else {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

struct FaceChoice {
    std::string file;
    int index = 0;
    std::string family;
    bool embolden = false;
    bool oblique = false;
};

// Asks fontconfig for the best face; false only when there is none at all.
bool MatchFace(const TextFontDesc& desc, FaceChoice& out)
{
    FcPattern* pattern = FcPatternCreate();
    if (!pattern)
        return false;
    std::string family = Latin1ToUtf8(desc.face);
    if (!family.empty())
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    bool bold = desc.weight >= 600;
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(std::clamp(desc.weight, 1, 1000)));
    FcPatternAddInteger(pattern, FC_SLANT, desc.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return false;
    FcChar8* file = nullptr;
    bool found = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file;
    if (found) {
        out.file = reinterpret_cast<const char*>(file);
        int index = 0;
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch)
            out.index = index;
        FcChar8* matchedFamily = nullptr;
        if (FcPatternGetString(match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch && matchedFamily)
            out.family = reinterpret_cast<const char*>(matchedFamily);
        int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(match, FC_SLANT, 0, &slant);
        out.embolden = bold && weight < FC_WEIGHT_DEMIBOLD;
        out.oblique = desc.italic && slant == FC_SLANT_ROMAN;
    }
    FcPatternDestroy(match);
    return found;
}

int Scale(long fontUnits, int ppem, int unitsPerEm)
{
    int v = MulDiv(int(std::clamp<long>(fontUnits, -0x7FFF, 0x7FFF)), ppem, unitsPerEm);
    return v < 0 ? 0 : v;
}

class FreeTypeFont : public TextFont {
public:
    FreeTypeFont(const TextFontDesc& desc, std::shared_ptr<FreeTypeTextDevice::Library> library, FT_Face face,
                 const FaceChoice& choice)
        : TextFont(desc), mLibrary(std::move(library)), mFace(face), mEmbolden(choice.embolden),
          mOblique(choice.oblique)
    {
        mFamily = choice.family;
        int ppem = desc.height;
        int upem = face->units_per_EM;
        TT_OS2* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        if (upem > 0) {
            long ascent = face->ascender, descent = -face->descender;
            if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
                ascent = os2->usWinAscent;
                descent = os2->usWinDescent;
            }
            mMetrics.ascent = Scale(ascent, ppem, upem);
            mMetrics.descent = Scale(descent, ppem, upem);
            int thickness = std::max(1, Scale(face->underline_thickness, ppem, upem));
            int centre = Scale(-face->underline_position, ppem, upem);
            mMetrics.underlineThickness = thickness;
            mMetrics.underlinePosition = std::max(1, centre - thickness / 2);
        } else {
            mMetrics.ascent = int(face->size->metrics.ascender >> 6);
            mMetrics.descent = int(-face->size->metrics.descender >> 6);
            mMetrics.underlineThickness = 1;
            mMetrics.underlinePosition = 1;
        }
        mMetrics.height = mMetrics.ascent + mMetrics.descent;
    }

    ~FreeTypeFont() override
    {
        std::lock_guard<std::mutex> guard(mLibrary->lock);
        FT_Done_Face(mFace);
    }

protected:
    bool RenderGlyph(wchar_t c, Glyph& out) override
    {
        if (c < 0x20 || c == 0x7F)
            return false; // control characters have no glyph
        FT_UInt index = FT_Get_Char_Index(mFace, FT_ULong(c));
        if (index == 0)
            return false;
        if (FT_Load_Glyph(mFace, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0)
            return false;
        FT_GlyphSlot slot = mFace->glyph;
        long advance = slot->advance.x;
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
            if (mEmbolden) {
                FT_Outline_EmboldenXY(&slot->outline, 64, 0);
                advance += 64;
            }
            if (mOblique)
                FT_GlyphSlot_Oblique(slot);
        }
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
            return false;
        const FT_Bitmap& bitmap = slot->bitmap;
        out.advance = int((advance + 32) >> 6);
        out.left = slot->bitmap_left;
        out.top = slot->bitmap_top;
        if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || !bitmap.buffer)
            return true; // nothing visible (a blank)
        out.width = int(bitmap.width);
        out.rows = int(bitmap.rows);
        out.coverage.resize(size_t(out.width) * size_t(out.rows));
        int levels = bitmap.num_grays > 1 ? bitmap.num_grays - 1 : 255;
        for (int row = 0; row < out.rows; ++row) {
            const unsigned char* src = bitmap.pitch >= 0 ? bitmap.buffer + ptrdiff_t(row) * bitmap.pitch
                                                         : bitmap.buffer + ptrdiff_t(out.rows - 1 - row) * -bitmap.pitch;
            uint8_t* dst = out.coverage.data() + size_t(row) * size_t(out.width);
            for (int col = 0; col < out.width; ++col)
                dst[col] = levels == 255 ? src[col] : uint8_t(src[col] * 255 / levels);
        }
        return true;
    }

private:
    std::shared_ptr<FreeTypeTextDevice::Library> mLibrary;
    FT_Face mFace;
    bool mEmbolden;
    bool mOblique;
};

} // namespace

FreeTypeTextDevice::FreeTypeTextDevice() : mLibrary(std::make_shared<Library>()) {}

FreeTypeTextDevice::~FreeTypeTextDevice() = default;

std::unique_ptr<TextFont> FreeTypeTextDevice::CreateFont(const TextFontDesc& desc)
{
    if (desc.height <= 0 || desc.height > 2000)
        return nullptr;
    FT_Face face = nullptr;
    FaceChoice choice;
    {
        std::lock_guard<std::mutex> guard(mLibrary->lock);
        if (!mLibrary->ft || !mLibrary->fontconfig || !MatchFace(desc, choice))
            return nullptr;
        if (FT_New_Face(mLibrary->ft, choice.file.c_str(), choice.index, &face) != 0)
            return nullptr;
    }
    FT_Error sizeError = 0;
    if (FT_IS_SCALABLE(face)) {
        sizeError = FT_Set_Pixel_Sizes(face, 0, FT_UInt(desc.height));
    } else if (face->num_fixed_sizes > 0) {
        int best = 0;
        for (int i = 1; i < face->num_fixed_sizes; ++i)
            if (std::abs(face->available_sizes[i].height - desc.height) <
                std::abs(face->available_sizes[best].height - desc.height))
                best = i;
        sizeError = FT_Select_Size(face, best);
    } else {
        sizeError = 1;
    }
    if (sizeError != 0) {
        std::lock_guard<std::mutex> guard(mLibrary->lock);
        FT_Done_Face(face);
        return nullptr;
    }
    return std::make_unique<FreeTypeFont>(desc, mLibrary, face, choice);
}

} // namespace plat
