#include "framework/fonts/ImageFont.h"

#include "framework/app/StringUtil.h"
#include "framework/fonts/FontData.h"
#include "framework/fonts/GlyphLayer.h"
#include "framework/fonts/TextRenderPool.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"

#include <algorithm>
#include <climits>

namespace Zelk {

namespace {

// A scaled value truncated toward zero, kept inside the int range.
int Trunc(double v)
{
    if (!(v > double(INT_MIN)))
        return v != v ? 0 : INT_MIN;
    if (!(v < double(INT_MAX)))
        return INT_MAX;
    return int(v);
}

// The most pixels one scaled layer image may have (64 MB).
constexpr size_t kMaxScaledPixels = size_t(1) << 24;

int ClampInt(int64_t v)
{
    return int(std::clamp<int64_t>(v, INT_MIN, INT_MAX));
}

void AppendDefineText(const DataElement* e, std::wstring& out)
{
    if (!e->mIsList) {
        out += static_cast<const SingleDataElement*>(e)->mString;
        return;
    }
    out += L'(';
    const auto& elements = static_cast<const ListDataElement*>(e)->mElementVector;
    for (size_t i = 0; i < elements.size(); ++i) {
        if (i > 0)
            out += L", ";
        AppendDefineText(elements[i], out);
    }
    out += L')';
}

} // namespace

ImageFont::ImageFont(ZelkAppBase* app, const std::string& fontDescFileName)
{
    mFontData = new FontData();
    mFontData->mRefCount = 1;
    mFontData->Load(app, fontDescFileName);
    mPointSize = mFontData->mDefaultPointSize;
    RebuildActiveLayers();
    mActiveListValid = true;
}

ImageFont::ImageFont(const ImageFont& other)
    : Font(other), mFontData(other.mFontData), mPointSize(other.mPointSize), mTagVector(other.mTagVector),
      mActiveListValid(other.mActiveListValid), mScale(other.mScale)
{
    mFontData->mRefCount++;
    if (other.mActiveListValid)
        for (const ActiveFontLayer& layer : other.mActiveLayerList)
            mActiveLayerList.emplace_back(layer);
}

ImageFont::~ImageFont()
{
    mActiveLayerList.clear();
    if (--mFontData->mRefCount == 0)
        delete mFontData;
}

Font* ImageFont::Duplicate()
{
    return new ImageFont(*this);
}

bool ImageFont::LayerWanted(const GlyphLayer& layer) const
{
    if (mPointSize < layer.mMinPointSize || (layer.mMaxPointSize != -1 && mPointSize > layer.mMaxPointSize))
        return false;
    for (const std::string& tag : layer.mRequiredTags)
        if (std::find(mTagVector.begin(), mTagVector.end(), tag) == mTagVector.end())
            return false;
    for (const std::string& tag : mTagVector)
        if (std::find(layer.mExcludedTags.begin(), layer.mExcludedTags.end(), tag) != layer.mExcludedTags.end())
            return false;
    return true;
}

double ImageFont::LayerScale(const GlyphLayer& layer) const
{
    return layer.mPointSize != 0 ? mPointSize * mScale / layer.mPointSize : mScale;
}

void ImageFont::RebuildActiveLayers()
{
    if (!mFontData->mInitialized)
        return;
    mActiveLayerList.clear();
    mAscent = mAscentPadding = mHeight = mLineSpacingOffset = 0;
    bool first = true;
    for (GlyphLayer& layer : mFontData->mFontLayerList) {
        if (!LayerWanted(layer))
            continue;
        double num = mScale, den = 1.0;
        if (layer.mPointSize != 0) {
            num = mPointSize * mScale;
            den = layer.mPointSize;
        }
        double inverse = 1.0 / den;
        // A layer at a size of 0 or less has nothing to draw or measure.
        if (!(num * inverse > 0))
            continue;
        mActiveLayerList.emplace_back();
        ActiveFontLayer& active = mActiveLayerList.back();
        active.mBaseLayer = &layer;

        if (mScale == 1.0 && (layer.mPointSize == 0 || layer.mPointSize == mPointSize)) {
            active.mScaledImage = layer.GetImage();
            layer.mGlyphs.Each([&](wchar_t c, const GlyphInfo& g) { active.mCells.Get(c) = g.mImageRect; });
        } else {
            auto* image = new MemoryImage(mFontData->mApp);
            active.mScaledImage = image;
            active.mOwnsImage = true;
            int64_t totalWidth = 0;
            int tallest = 0;
            layer.mGlyphs.Each([&](wchar_t c, const GlyphInfo& g) {
                int w = std::max(0, Trunc(g.mImageRect.mWidth * num * inverse));
                int h = std::max(0, Trunc(g.mImageRect.mHeight * num * inverse));
                active.mCells.Get(c) = Rect(ClampInt(totalWidth), 0, w, h);
                totalWidth += w;
                tallest = std::max(tallest, h);
            });
            size_t pixels = 0;
            if (totalWidth > INT_MAX || !MemoryImage::CheckedPixelCount(int(totalWidth), tallest, pixels) ||
                pixels > kMaxScaledPixels) {
                // Glyphs scaled beyond any screen (sizes come from data): the
                // layer draws nothing.
                active.mCells.Each([](wchar_t, Rect& cell) { cell = Rect(); });
            } else {
                image->Create(int(totalWidth), tallest);
            }
            if (Image* source = layer.GetImage(); source && image->mWidth > 0) {
                Graphics g(image);
                layer.mGlyphs.Each([&](wchar_t c, const GlyphInfo& glyph) {
                    Rect cell = active.Cell(c);
                    if (cell.mWidth > 0 && cell.mHeight > 0)
                        g.DrawImageRegionScaled(source, cell, glyph.mImageRect);
                });
            }
            image->Palettize(); // kept only when it holds at most 256 colours
        }

        int ascent = Trunc(layer.mAscent * num * inverse);
        int height = Trunc((layer.mHeight != 0 ? layer.mHeight : layer.mDefaultHeight) * num * inverse);
        int padding = Trunc(layer.mAscentPadding * num * inverse);
        int spacing = Trunc(layer.mLineSpacingOffset * num * inverse);
        mAscent = std::max(mAscent, ascent);
        mHeight = std::max(mHeight, height);
        mAscentPadding = first ? padding : std::min(mAscentPadding, padding);
        mLineSpacingOffset = first ? spacing : std::max(mLineSpacingOffset, spacing);
        first = false;
    }
}

void ImageFont::Prepare()
{
    if (!mActiveListValid) {
        RebuildActiveLayers();
        mActiveListValid = true;
    }
}

void ImageFont::SetPointSize(int pointSize)
{
    mPointSize = pointSize;
    mActiveListValid = false;
}

int ImageFont::GetPointSize()
{
    return mPointSize;
}

void ImageFont::SetScale(double scale)
{
    mScale = scale;
    mActiveListValid = false;
}

int ImageFont::GetDefaultPointSize()
{
    return mFontData->mDefaultPointSize;
}

bool ImageFont::AddTag(const std::string& tag)
{
    if (HasTag(tag))
        return false;
    mTagVector.push_back(StringToUpper(tag));
    mActiveListValid = false;
    return true;
}

bool ImageFont::RemoveTag(const std::string& tag)
{
    auto it = std::find(mTagVector.begin(), mTagVector.end(), StringToUpper(tag));
    if (it == mTagVector.end())
        return false;
    mTagVector.erase(it);
    mActiveListValid = false;
    return true;
}

bool ImageFont::HasTag(const std::string& tag)
{
    return std::find(mTagVector.begin(), mTagVector.end(), StringToUpper(tag)) != mTagVector.end();
}

std::wstring ImageFont::GetDefine(const std::wstring& name)
{
    DataElement* value = mFontData->FindDefine(name);
    std::wstring out;
    if (value)
        AppendDefineText(value, out);
    return out;
}

// ---- measuring ----

int ImageFont::GetAscent()
{
    Prepare();
    return Font::GetAscent();
}

int ImageFont::GetAscentPadding()
{
    Prepare();
    return Font::GetAscentPadding();
}

int ImageFont::GetDescent()
{
    Prepare();
    return Font::GetDescent();
}

int ImageFont::GetHeight()
{
    Prepare();
    return Font::GetHeight();
}

int ImageFont::GetLineSpacingOffset()
{
    Prepare();
    return Font::GetLineSpacingOffset();
}

int ImageFont::GetLineSpacing()
{
    Prepare();
    return Font::GetLineSpacing();
}

int ImageFont::CharWidthKerned(wchar_t c, wchar_t previous)
{
    Prepare();
    int widest = 0;
    for (const ActiveFontLayer& active : mActiveLayerList) {
        const GlyphLayer& layer = *active.mBaseLayer;
        double f = LayerScale(layer);
        int64_t w = Trunc(layer.Glyph(c).mWidth * f);
        int64_t k = 0;
        if (previous != 0)
            k = Trunc((int64_t(layer.mSpacing) + layer.Glyph(previous).KerningBefore(c)) * f);
        widest = std::max<int>(widest, ClampInt(w + k));
    }
    return widest;
}

int ImageFont::CharWidth(wchar_t c)
{
    return CharWidthKerned(c, 0);
}

int ImageFont::StringWidth(const std::wstring& text)
{
    int64_t width = 0;
    wchar_t previous = 0;
    for (wchar_t c : text) {
        width += CharWidthKerned(c, previous);
        previous = c;
    }
    return ClampInt(width);
}

// ---- drawing ----

void ImageFont::DrawString(Graphics* g, int x, int y, const std::wstring& text, const Color& color, const Rect& clip)
{
    DrawStringTagged(g, x, y, text, color, clip, nullptr, nullptr);
}

void ImageFont::DrawStringTagged(Graphics* g, int x, int y, const std::wstring& text, const Color& color,
                                 const Rect& clip, std::vector<Rect>* glyphRects, int* width)
{
    CritSectGuard guard(gImageFontLock);
    TextRenderPool& pool = gTextRenderPool;
    pool.Reset();
    if (glyphRects)
        glyphRects->clear();
    if (!mFontData->mInitialized) {
        if (width)
            *width = 0;
        return;
    }
    Prepare();
    bool wasModulating = g->mModulateImages;
    g->SetModulateImages(true);

    int64_t pen = x;
    bool poolFull = false;
    for (size_t i = 0; i < text.size() && !poolFull; ++i) {
        wchar_t c = text[i];
        wchar_t next = i + 1 < text.size() ? text[i + 1] : 0;
        int64_t end = pen;
        for (const ActiveFontLayer& active : mActiveLayerList) {
            const GlyphLayer& layer = *active.mBaseLayer;
            const GlyphInfo& glyph = layer.Glyph(c);
            double s = LayerScale(layer);
            int64_t gx, gy, advance, extra = 0;
            if (s == 1.0) {
                gx = int64_t(glyph.mOffsetX) + layer.mOffsetX + pen;
                gy = int64_t(glyph.mOffsetY) + layer.mOffsetY - layer.mAscent + y;
                advance = glyph.mWidth;
                if (next != 0)
                    extra = int64_t(layer.mSpacing) + glyph.KerningBefore(next);
            } else {
                gx = Trunc((int64_t(glyph.mOffsetX) + layer.mOffsetX) * s) + pen;
                gy = y - int64_t(Trunc((int64_t(layer.mAscent) - layer.mOffsetY - glyph.mOffsetY) * s));
                advance = Trunc(glyph.mWidth * s);
                if (next != 0)
                    extra = Trunc((int64_t(layer.mSpacing) + glyph.KerningBefore(next)) * s);
            }
            const int source[4] = {color.mRed, color.mGreen, color.mBlue, color.mAlpha};
            const int mult[4] = {layer.mColorMult.mRed, layer.mColorMult.mGreen, layer.mColorMult.mBlue,
                                 layer.mColorMult.mAlpha};
            const int add[4] = {layer.mColorAdd.mRed, layer.mColorAdd.mGreen, layer.mColorAdd.mBlue,
                                layer.mColorAdd.mAlpha};
            int channel[4];
            for (int k = 0; k < 4; ++k)
                channel[k] = int(std::clamp<int64_t>(int64_t(source[k]) * mult[k] / 255 + add[k], 0, 255));

            TextRenderRecord* record = pool.Add(ClampInt(int64_t(glyph.mOrder) + layer.mBaseOrder));
            if (!record) {
                poolFull = true; // this layer and the character's remaining ones queue nothing
                break;
            }
            Rect cell = active.Cell(c);
            record->mImage = active.mScaledImage;
            record->mX = ClampInt(gx);
            record->mY = ClampInt(gy);
            record->mSrcRect = cell;
            record->mDrawMode = layer.mDrawMode;
            record->mColor = Color(channel[0], channel[1], channel[2], channel[3]);
            if (glyphRects)
                glyphRects->push_back(Rect(record->mX, record->mY, cell.mWidth, cell.mHeight));
            end = std::max(end, pen + advance + extra);
        }
        pen = end;
    }
    if (width)
        *width = ClampInt(pen - x);

    Color oldColor = g->GetColor();
    pool.Each([&](const TextRenderRecord& r) {
        int oldMode = g->GetDrawMode();
        if (r.mDrawMode != -1)
            g->SetDrawMode(r.mDrawMode);
        g->SetColor(r.mColor);
        if (r.mImage)
            g->DrawImageRegion(r.mImage, r.mX, r.mY, r.mSrcRect);
        g->SetDrawMode(oldMode);
    });
    g->SetColor(oldColor);
    g->SetModulateImages(wasModulating);
}

} // namespace Zelk
