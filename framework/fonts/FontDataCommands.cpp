// The commands of a font description.
#include "framework/fonts/FontData.h"

#include "framework/app/PathUtil.h"
#include "framework/app/StringUtil.h"
#include "framework/fonts/FontImageLoader.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"

#include <climits>

namespace Zelk {

namespace {

const std::wstring& Text(const DataElement* e)
{
    return static_cast<const SingleDataElement*>(e)->mString;
}

// The number of values (the command word included) each command takes; -1
// for any number.
int ValueCount(const std::wstring& word)
{
    static const struct {
        const wchar_t* word;
        int count;
    } kCommands[] = {
        {L"DEFINE", 3},
        {L"CREATEHORZSPANRECTLIST", 4},
        {L"SETDEFAULTPOINTSIZE", 2},
        {L"CREATELAYER", 2},
        {L"CREATELAYERFROM", 3},
        {L"LAYERREQUIRETAGS", 3},
        {L"LAYEREXCLUDETAGS", 3},
        {L"LAYERPOINTRANGE", 4},
        {L"LAYERSETPOINTSIZE", 3},
        {L"LAYERSETHEIGHT", 3},
        {L"LAYERSETIMAGE", 3},
        {L"LAYERSETDRAWMODE", 3},
        {L"LAYERSETCOLORMULT", 3},
        {L"LAYERSETCOLORADD", 3},
        {L"LAYERSETASCENT", 3},
        {L"LAYERSETASCENTPADDING", 3},
        {L"LAYERSETLINESPACINGOFFSET", 3},
        {L"LAYERSETOFFSET", 3},
        {L"LAYERSETCHARWIDTHS", 4},
        {L"LAYERSETSPACING", 3},
        {L"LAYERSETIMAGEMAP", 4},
        {L"LAYERSETCHAROFFSETS", 4},
        {L"LAYERSETKERNINGPAIRS", 4},
        {L"LAYERSETBASEORDER", 3},
        {L"LAYERSETCHARORDERS", 4},
        {L"LAYERSETCHAROFFSETSSHIFT", -1},
    };
    for (const auto& c : kCommands)
        if (word == c.word)
            return c.count;
    return 0;
}

// What a new layer costs the description's budget: its table of the first
// 256 characters, and what it copies of its source (glyphs, kerning, tags).
uint64_t LayerSize(const GlyphLayer* source)
{
    uint64_t size = 256;
    if (!source)
        return size;
    for (const auto* tags : {&source->mRequiredTags, &source->mExcludedTags})
        for (const std::string& tag : *tags)
            size += 1 + tag.size();
    source->mGlyphs.Each([&](wchar_t, const GlyphInfo& g) { size += 1 + g.mKerningOffsets.size(); });
    return size;
}

} // namespace

bool FontData::HandleCommand(const ListDataElement& params)
{
    std::wstring word = WStringToUpper(Text(params.mElementVector[0]));
    int count = ValueCount(word);
    if (count == 0)
        return Error(L"Unknown Command");
    if (count > 0 && int(params.mElementVector.size()) != count)
        return Error(L"Invalid Number of Parameters");

    if (word == L"DEFINE")
        return CmdDefine(params);
    if (word == L"CREATEHORZSPANRECTLIST")
        return CmdCreateHorzSpanRectList(params);
    if (word == L"SETDEFAULTPOINTSIZE")
        return GetImmediateInt(params.mElementVector[1], mDefaultPointSize) || Fail();
    if (word == L"CREATELAYER")
        return CmdCreateLayer(params, false);
    if (word == L"CREATELAYERFROM")
        return CmdCreateLayer(params, true);
    if (word == L"LAYERREQUIRETAGS")
        return CmdLayerTags(params, true);
    if (word == L"LAYEREXCLUDETAGS")
        return CmdLayerTags(params, false);
    if (word == L"LAYERPOINTRANGE")
        return CmdLayerPointRange(params);
    if (word == L"LAYERSETPOINTSIZE")
        return CmdLayerInt(params, &GlyphLayer::mPointSize);
    if (word == L"LAYERSETHEIGHT")
        return CmdLayerInt(params, &GlyphLayer::mHeight);
    if (word == L"LAYERSETIMAGE")
        return CmdLayerSetImage(params);
    if (word == L"LAYERSETDRAWMODE")
        return CmdLayerSetDrawMode(params);
    if (word == L"LAYERSETCOLORMULT")
        return CmdLayerColor(params, &GlyphLayer::mColorMult);
    if (word == L"LAYERSETCOLORADD")
        return CmdLayerColor(params, &GlyphLayer::mColorAdd);
    if (word == L"LAYERSETASCENT")
        return CmdLayerInt(params, &GlyphLayer::mAscent);
    if (word == L"LAYERSETASCENTPADDING")
        return CmdLayerInt(params, &GlyphLayer::mAscentPadding);
    if (word == L"LAYERSETLINESPACINGOFFSET")
        return CmdLayerInt(params, &GlyphLayer::mLineSpacingOffset);
    if (word == L"LAYERSETOFFSET")
        return CmdLayerSetOffset(params);
    if (word == L"LAYERSETCHARWIDTHS")
        return CmdLayerSetCharWidths(params, &GlyphInfo::mWidth);
    if (word == L"LAYERSETSPACING")
        return CmdLayerInt(params, &GlyphLayer::mSpacing);
    if (word == L"LAYERSETIMAGEMAP")
        return CmdLayerSetImageMap(params);
    if (word == L"LAYERSETCHAROFFSETS")
        return CmdLayerSetCharOffsets(params);
    if (word == L"LAYERSETKERNINGPAIRS")
        return CmdLayerSetKerningPairs(params);
    if (word == L"LAYERSETBASEORDER")
        return CmdLayerInt(params, &GlyphLayer::mBaseOrder);
    if (word == L"LAYERSETCHARORDERS")
        return CmdLayerSetCharWidths(params, &GlyphInfo::mOrder);
    return true; // LayerSetCharOffsetsShift: accepted, no effect
}

bool FontData::CmdDefine(const ListDataElement& p)
{
    DataElement* name = p.mElementVector[1];
    DataElement* value = p.mElementVector[2];
    if (name->mIsList || IsImmediate(Text(name)))
        return Fail();
    DataElement* stored = nullptr;
    if (value->mIsList) {
        auto* list = new ListDataElement();
        if (!Dereference(*static_cast<ListDataElement*>(value), *list)) {
            delete list;
            return Fail();
        }
        stored = list;
    } else {
        DataElement* defined = FindDefine(Text(value));
        const DataElement& source = defined ? *defined : *value;
        if (!Build(SizeOf(source)))
            return Fail();
        stored = source.Duplicate();
    }
    SetDefine(Text(name), stored);
    return true;
}

// name, (x y w h), (w1 w2 ...): the rectangles (x + s, y, wi, h), s being the
// sum of the widths before wi.
bool FontData::CmdCreateHorzSpanRectList(const ListDataElement& p)
{
    DataElement* name = p.mElementVector[1];
    std::vector<int> rect, widths;
    if (name->mIsList || IsImmediate(Text(name)) || !GetIntVector(p.mElementVector[2], rect) || rect.size() != 4 ||
        !GetIntVector(p.mElementVector[3], widths))
        return Fail();
    auto* list = new ListDataElement();
    int64_t x = rect[0];
    for (int w : widths) {
        if (x < INT_MIN || x > INT_MAX) {
            delete list;
            return Fail();
        }
        auto* r = new ListDataElement();
        for (int64_t v : {x, int64_t(rect[1]), int64_t(w), int64_t(rect[3])})
            r->mElementVector.push_back(new SingleDataElement(WStrFormat(L"%d", int(v))));
        list->mElementVector.push_back(r);
        x += w;
    }
    if (!Build(SizeOf(*list))) {
        delete list;
        return Fail();
    }
    SetDefine(Text(name), list);
    return true;
}

bool FontData::CmdCreateLayer(const ListDataElement& p, bool fromOther)
{
    DataElement* nameValue = p.mElementVector[1];
    if (nameValue->mIsList)
        return Fail();
    GlyphLayer* source = nullptr;
    if (fromOther && !DataToLayer(p.mElementVector[2], source))
        return Fail();
    if (!Build(LayerSize(source)))
        return Fail();
    if (source)
        mFontLayerList.push_back(*source);
    else
        mFontLayerList.emplace_back();
    GlyphLayer& layer = mFontLayerList.back();
    layer.mFontData = this;
    std::string name = StringToUpper(WStringToString(Text(nameValue)));
    if (mFontLayerMap.count(name)) {
        Error(L"Layer Already Exists"); // reported; the layer stays, without a name
        return true;
    }
    mFontLayerMap[name] = &layer;
    return true;
}

bool FontData::CmdLayerTags(const ListDataElement& p, bool required)
{
    GlyphLayer* layer = nullptr;
    std::vector<std::wstring> tags;
    if (!DataToLayer(p.mElementVector[1], layer) || !GetStringVector(p.mElementVector[2], tags))
        return Fail();
    std::vector<std::string>& into = required ? layer->mRequiredTags : layer->mExcludedTags;
    for (const std::wstring& tag : tags)
        into.push_back(StringToUpper(WStringToString(tag)));
    return true;
}

bool FontData::CmdLayerInt(const ListDataElement& p, int GlyphLayer::*field)
{
    GlyphLayer* layer = nullptr;
    int value = 0;
    if (!DataToLayer(p.mElementVector[1], layer) || !GetImmediateInt(p.mElementVector[2], value))
        return Fail();
    layer->*field = value;
    return true;
}

bool FontData::CmdLayerPointRange(const ListDataElement& p)
{
    GlyphLayer* layer = nullptr;
    int lo = 0, hi = 0;
    if (!DataToLayer(p.mElementVector[1], layer) || !GetImmediateInt(p.mElementVector[2], lo) ||
        !GetImmediateInt(p.mElementVector[3], hi))
        return Fail();
    layer->mMinPointSize = lo;
    layer->mMaxPointSize = hi;
    return true;
}

bool FontData::CmdLayerSetImage(const ListDataElement& p)
{
    GlyphLayer* layer = nullptr;
    std::wstring file;
    if (!DataToLayer(p.mElementVector[1], layer) || !GetString(p.mElementVector[2], file))
        return Fail();
    std::string path = JoinImagePath(GetFileDir(mSourceFile), WStringToString(file));
    SharedImageRef image;
    bool isNew = false;
    if (!LoadFontImage(mApp, path, image, isNew))
        return Error(L"Failed to Load Image");
    if (isNew)
        if (auto* memoryImage = dynamic_cast<MemoryImage*>(image.GetImage()))
            memoryImage->Palettize();
    // The layer takes the handle over: a counted record, or an image nobody
    // counts (with its ownership).
    layer->mImage.Release();
    if (image.mSharedImage) {
        layer->mImage.Assign(image.mSharedImage);
    } else {
        layer->mImage.mUnsharedImage = image.mUnsharedImage;
        layer->mImage.mOwnsUnshared = image.mOwnsUnshared;
        image.mUnsharedImage = nullptr;
        image.mOwnsUnshared = false;
    }
    return true;
}

bool FontData::CmdLayerSetDrawMode(const ListDataElement& p)
{
    GlyphLayer* layer = nullptr;
    int mode = 0;
    if (!DataToLayer(p.mElementVector[1], layer) || !GetImmediateInt(p.mElementVector[2], mode) ||
        (mode != 0 && mode != 1))
        return Fail();
    layer->mDrawMode = mode;
    return true;
}

bool FontData::CmdLayerColor(const ListDataElement& p, Color GlyphLayer::*field)
{
    GlyphLayer* layer = nullptr;
    Color color;
    if (!DataToLayer(p.mElementVector[1], layer) || !DataToColor(p.mElementVector[2], color))
        return Fail();
    layer->*field = color;
    return true;
}

bool FontData::CmdLayerSetOffset(const ListDataElement& p)
{
    GlyphLayer* layer = nullptr;
    std::vector<int> offset;
    if (!DataToLayer(p.mElementVector[1], layer) || !GetIntVector(p.mElementVector[2], offset) ||
        offset.size() != 2)
        return Fail();
    layer->mOffsetX = offset[0];
    layer->mOffsetY = offset[1];
    return true;
}

// layer, (keys), (values): the two lists must be as long as each other. Each
// entry whose key has keyLength characters goes to set; any other entry, and
// one set skips, makes the command fail once all were tried. Stop ends the
// command at once (set reported why). afterAll runs after the last entry.
bool FontData::SetPerCharacter(const ListDataElement& p, size_t keyLength, bool needsImage, const EntrySetter& set,
                               const std::function<void(GlyphLayer&)>& afterAll)
{
    GlyphLayer* layer = nullptr;
    if (!DataToLayer(p.mElementVector[1], layer))
        return Fail();
    ListDataElement keys, values;
    if (!DataToList(p.mElementVector[2], keys, true) || !DataToList(p.mElementVector[3], values, true))
        return Fail();
    if (keys.mElementVector.size() != values.mElementVector.size())
        return Error(L"List Size Mismatch");
    if (needsImage && !layer->GetImage())
        return Error(L"Layer image not set");
    bool allFit = true;
    for (size_t i = 0; i < keys.mElementVector.size(); ++i) {
        DataElement* key = keys.mElementVector[i];
        EntryResult result = EntryResult::Skipped;
        if (!key->mIsList && Text(key).size() == keyLength)
            result = set(*layer, Text(key), values.mElementVector[i]);
        if (result == EntryResult::Stop)
            return false;
        if (result == EntryResult::Skipped)
            allFit = false;
    }
    if (afterAll)
        afterAll(*layer);
    return allFit || Fail();
}

bool FontData::CmdLayerSetCharWidths(const ListDataElement& p, int GlyphInfo::*field)
{
    return SetPerCharacter(p, 1, false, [&](GlyphLayer& layer, const std::wstring& c, DataElement* value) {
        int v = 0;
        if (!GetImmediateInt(value, v))
            return EntryResult::Skipped;
        layer.mGlyphs.Get(c[0]).*field = v;
        return EntryResult::Set;
    });
}

bool FontData::CmdLayerSetImageMap(const ListDataElement& p)
{
    auto set = [&](GlyphLayer& layer, const std::wstring& c, DataElement* value) {
        ListDataElement rect;
        int r[4];
        if (!GetDefinedList(value, rect) || rect.mElementVector.size() != 4)
            return EntryResult::Skipped;
        for (int k = 0; k < 4; ++k)
            if (!GetImmediateInt(rect.mElementVector[size_t(k)], r[k]))
                return EntryResult::Skipped;
        const Image* image = layer.GetImage();
        if (r[0] < 0 || r[1] < 0 || r[2] < 0 || r[3] < 0 || int64_t(r[0]) + r[2] > image->mWidth ||
            int64_t(r[1]) + r[3] > image->mHeight) {
            Error(L"Image rectangle out of bounds");
            return EntryResult::Stop;
        }
        layer.mGlyphs.Get(c[0]).mImageRect = Rect(r[0], r[1], r[2], r[3]);
        return EntryResult::Set;
    };
    // The default height follows the glyphs of the first 256 characters.
    auto defaultHeight = [](GlyphLayer& layer) {
        int64_t tallest = INT64_MIN;
        layer.mGlyphs.Each([&](wchar_t c, const GlyphInfo& g) {
            if (c < 256)
                tallest = std::max<int64_t>(tallest, int64_t(g.mOffsetY) + g.mImageRect.mHeight);
        });
        if (tallest != INT64_MIN)
            layer.mDefaultHeight = int(std::clamp<int64_t>(tallest, INT_MIN, INT_MAX));
    };
    return SetPerCharacter(p, 1, true, set, defaultHeight);
}

bool FontData::CmdLayerSetCharOffsets(const ListDataElement& p)
{
    return SetPerCharacter(p, 1, false, [&](GlyphLayer& layer, const std::wstring& c, DataElement* value) {
        ListDataElement offset;
        int x = 0, y = 0;
        if (!GetDefinedList(value, offset) || offset.mElementVector.size() != 2 ||
            !GetImmediateInt(offset.mElementVector[0], x) || !GetImmediateInt(offset.mElementVector[1], y))
            return EntryResult::Skipped;
        GlyphInfo& g = layer.mGlyphs.Get(c[0]);
        g.mOffsetX = x;
        g.mOffsetY = y;
        return EntryResult::Set;
    });
}

bool FontData::CmdLayerSetKerningPairs(const ListDataElement& p)
{
    return SetPerCharacter(p, 2, false, [&](GlyphLayer& layer, const std::wstring& pair, DataElement* value) {
        int v = 0;
        if (!GetImmediateInt(value, v))
            return EntryResult::Skipped;
        layer.mGlyphs.Get(pair[0]).mKerningOffsets[pair[1]] = int8_t(uint8_t(v & 0xFF));
        return EntryResult::Set;
    });
}

} // namespace Zelk
