#include "platform/text/FreeTypeTextDevice.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

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

// The fontconfig pattern of a font description, substituted and completed;
// null when none can be made. The caller destroys it.
FcPattern* MakePattern(const TextFontDesc& desc)
{
    FcPattern* pattern = FcPatternCreate();
    if (!pattern)
        return nullptr;
    std::string family = Latin1ToUtf8(desc.face);
    if (!family.empty())
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(std::clamp(desc.weight, 1, 1000)));
    FcPatternAddInteger(pattern, FC_SLANT, desc.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    return pattern;
}

// The face a fontconfig font names, and what must be synthesised on it to
// give the weight and slant asked for; false when it names no file.
bool ChoiceFrom(FcPattern* font, const TextFontDesc& desc, FaceChoice& out)
{
    FcChar8* file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || !file)
        return false;
    out.file = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(font, FC_INDEX, 0, &index) == FcResultMatch)
        out.index = index;
    FcChar8* matchedFamily = nullptr;
    if (FcPatternGetString(font, FC_FAMILY, 0, &matchedFamily) == FcResultMatch && matchedFamily)
        out.family = reinterpret_cast<const char*>(matchedFamily);
    int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(font, FC_SLANT, 0, &slant);
    out.embolden = desc.weight >= 600 && weight < FC_WEIGHT_DEMIBOLD;
    out.oblique = desc.italic && slant == FC_SLANT_ROMAN;
    return true;
}

// Asks fontconfig for the best face; false only when there is none at all.
bool MatchFace(const TextFontDesc& desc, FaceChoice& out)
{
    FcPattern* pattern = MakePattern(desc);
    if (!pattern)
        return false;
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return false;
    bool found = ChoiceFrom(match, desc, out);
    FcPatternDestroy(match);
    return found;
}

// Sizes a face to the em height asked for; false when it cannot be.
bool SizeFace(FT_Face face, int height)
{
    if (FT_IS_SCALABLE(face))
        return FT_Set_Pixel_Sizes(face, 0, FT_UInt(height)) == 0;
    if (face->num_fixed_sizes <= 0)
        return false;
    int best = 0;
    for (int i = 1; i < face->num_fixed_sizes; ++i)
        if (std::abs(face->available_sizes[i].height - height) < std::abs(face->available_sizes[best].height - height))
            best = i;
    return FT_Select_Size(face, best) == 0;
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
          mOblique(choice.oblique), mChoiceFile(choice.file)
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
        for (Fallback& f : mFallbacks)
            if (f.face)
                FT_Done_Face(f.face);
        if (mFallbackSet)
            FcFontSetDestroy(mFallbackSet);
    }

protected:
    bool RenderGlyph(wchar_t c, Glyph& out) override
    {
        if (c < 0x20 || c == 0x7F)
            return false; // control characters have no glyph
        FT_UInt index = FT_Get_Char_Index(mFace, FT_ULong(c));
        if (index != 0)
            return Render(mFace, index, mEmbolden, mOblique, out);
        // Like desktop text drawing, a character the face lacks comes from
        // the first face of fontconfig's list for this font that has it.
        const Fallback* fallback = FallbackFor(c);
        if (!fallback)
            return false;
        return Render(fallback->face, FT_Get_Char_Index(fallback->face, FT_ULong(c)), fallback->choice.embolden,
                      fallback->choice.oblique, out);
    }

private:
    struct Fallback {
        FcPattern* font = nullptr; // owned by the font set
        FaceChoice choice;
        FT_Face face = nullptr;    // opened on first use
        bool tried = false;
    };

    // The first face after the font's own, in fontconfig's order for the
    // description, that has a glyph for c; null when none has.
    const Fallback* FallbackFor(wchar_t c)
    {
        std::lock_guard<std::mutex> guard(mLibrary->lock);
        if (!mFallbackSetMade) {
            mFallbackSetMade = true;
            if (FcPattern* pattern = MakePattern(mDesc)) {
                FcResult result = FcResultNoMatch;
                mFallbackSet = FcFontSort(nullptr, pattern, FcTrue, nullptr, &result);
                FcPatternDestroy(pattern);
            }
            for (int i = 0; mFallbackSet && i < mFallbackSet->nfont; ++i) {
                Fallback f;
                f.font = mFallbackSet->fonts[i];
                if (ChoiceFrom(f.font, mDesc, f.choice) && f.choice.file != mChoiceFile)
                    mFallbacks.push_back(f);
            }
        }
        for (Fallback& f : mFallbacks) {
            FcCharSet* chars = nullptr;
            if (FcPatternGetCharSet(f.font, FC_CHARSET, 0, &chars) != FcResultMatch || !chars ||
                !FcCharSetHasChar(chars, FcChar32(c)))
                continue;
            if (!f.tried) {
                f.tried = true;
                if (FT_New_Face(mLibrary->ft, f.choice.file.c_str(), f.choice.index, &f.face) != 0) {
                    f.face = nullptr;
                } else if (!SizeFace(f.face, mDesc.height)) {
                    FT_Done_Face(f.face);
                    f.face = nullptr;
                }
            }
            if (f.face && FT_Get_Char_Index(f.face, FT_ULong(c)) != 0)
                return &f;
        }
        return nullptr;
    }

    bool Render(FT_Face face, FT_UInt index, bool embolden, bool oblique, Glyph& out)
    {
        if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0)
            return false;
        FT_GlyphSlot slot = face->glyph;
        long advance = slot->advance.x;
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
            if (embolden) {
                FT_Outline_EmboldenXY(&slot->outline, 64, 0);
                advance += 64;
            }
            if (oblique)
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

    std::shared_ptr<FreeTypeTextDevice::Library> mLibrary;
    FT_Face mFace;
    bool mEmbolden;
    bool mOblique;
    std::string mChoiceFile;
    bool mFallbackSetMade = false;
    FcFontSet* mFallbackSet = nullptr;
    std::vector<Fallback> mFallbacks;
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
    if (!SizeFace(face, desc.height)) {
        std::lock_guard<std::mutex> guard(mLibrary->lock);
        FT_Done_Face(face);
        return nullptr;
    }
    return std::make_unique<FreeTypeFont>(desc, mLibrary, face, choice);
}

} // namespace plat
