#include "framework/resources/ResourceManager.h"

#include "framework/app/PathUtil.h"
#include "framework/app/StringUtil.h"
#include "framework/app/SystemInfo.h"
#include "framework/fonts/Font.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/resources/AppResourceHost.h"
#include "framework/resources/ImageLib.h"
#include "framework/resources/XMLParser.h"
#include "framework/sound/SoundManager.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace Zelk {

namespace {

// Manifest text to narrow text: each character up to U+00FF is its byte,
// anything above becomes "?" (ids, paths and messages stay readable).
std::string Narrow(const std::wstring& text)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text)
        out += uint32_t(c) <= 0xFF ? char(c) : '?';
    return out;
}

bool Has(const XMLElement* e, const wchar_t* name)
{
    return e->mAttributes.count(name) != 0;
}

std::string Attr(const XMLElement* e, const wchar_t* name)
{
    auto it = e->mAttributes.find(name);
    return it == e->mAttributes.end() ? std::string() : Narrow(it->second);
}

// "%d": leading white space, a sign and digits; false when there are none.
bool ScanInt(const std::string& text, int* value)
{
    const char* start = text.c_str();
    char* end;
    errno = 0;
    long v = std::strtol(start, &end, 10);
    if (end == start)
        return false;
    *value = v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : int(v);
    return true;
}

// "%x": hexadecimal digits, with an optional "0x".
bool ScanHex(const std::string& text, uint32_t* value)
{
    const char* start = text.c_str();
    char* end;
    unsigned long v = std::strtoul(start, &end, 16);
    if (end == start)
        return false;
    *value = uint32_t(v);
    return true;
}

// "%lf".
bool ScanDouble(const std::string& text, double* value)
{
    const char* start = text.c_str();
    char* end;
    double v = std::strtod(start, &end);
    if (end == start)
        return false;
    *value = v;
    return true;
}

// A number at the start and after each ",".
std::vector<int> ScanIntList(const std::string& text)
{
    std::vector<int> out;
    size_t at = 0;
    for (;;) {
        int v = 0;
        ScanInt(text.substr(at), &v);
        out.push_back(v);
        size_t comma = text.find(',', at);
        if (comma == std::string::npos)
            return out;
        at = comma + 1;
    }
}

std::string WithoutTrailingSeparator(const std::string& text)
{
    if (!text.empty() && (text.back() == '\\' || text.back() == '/'))
        return text.substr(0, text.size() - 1);
    return text;
}

bool IsTagSeparator(char c)
{
    return c == ',' || c == ' ' || c == '\r' || c == '\n' || c == '\t';
}

} // namespace

// ---- records ----

void ResourceManager::ImageRes::DeleteResource()
{
    mImage.Release();
}

void ResourceManager::SoundRes::DeleteResource()
{
    if (mSoundId >= 0) {
        if (SoundManager* sounds = mHost->GetSoundManager())
            sounds->ReleaseSound(unsigned(mSoundId));
    }
    mSoundId = -1;
}

void ResourceManager::FontRes::DeleteResource()
{
    delete mFont;
    delete mImage;
    mFont = nullptr;
    mImage = nullptr;
}

// ---- the manager ----

ResourceManager::ResourceManager(ZelkAppBase* app, ResourceHost* host) : mApp(app), mHost(host)
{
    if (!mHost) {
        mOwnHost.reset(new AppResourceHost(app));
        mHost = mOwnHost.get();
    }
}

ResourceManager::~ResourceManager()
{
    for (ResMap* map : {&mImageMap, &mSoundMap, &mFontMap}) {
        for (auto& entry : *map) {
            entry.second->DeleteResource();
            delete entry.second;
        }
        map->clear();
    }
    delete mXMLParser;
}

bool ResourceManager::Fail(const std::string& text)
{
    if (mHasFailed)
        return false;
    mHasFailed = true;
    mError = text;
    if (mXMLParser) {
        int line = mXMLParser->GetCurrentLineNum();
        if (line > 0)
            mError += StrFormat(" on Line %d", line);
        if (!mXMLParser->GetFileName().empty())
            mError += " in File '" + mXMLParser->GetFileName() + "'";
    }
    return false;
}

// ---- reading the manifest ----

bool ResourceManager::ParseResourcesFile(const std::string& fileName)
{
    delete mXMLParser;
    mXMLParser = new XMLParser;
    if (!mXMLParser->OpenFile(fileName))
        Fail("Resource file not found: " + fileName);

    XMLElement e;
    bool foundManifest = false;
    if (!mXMLParser->HasFailed()) {
        for (;;) {
            if (!mXMLParser->NextElement(&e)) {
                if (mXMLParser->HasFailed())
                    Fail(Narrow(mXMLParser->GetErrorText()));
                break;
            }
            if (e.mType == XMLElement::TYPE_START) {
                foundManifest = e.mValue == L"ResourceManifest";
                break;
            }
        }
    }
    if (!foundManifest)
        Fail("Expecting ResourceManifest tag");
    return ParseResourceManifest();
}

bool ResourceManager::ParseResourceManifest()
{
    if (!mXMLParser)
        return Fail("Resource file not found: ");
    XMLElement e;
    while (mXMLParser->NextElement(&e)) {
        if (e.mType == XMLElement::TYPE_START) {
            if (e.mValue != L"Resources") {
                Fail("Invalid Section '" + Narrow(e.mValue) + "'");
                break;
            }
            mCurResGroup = Attr(&e, L"id");
            mCurResGroupList = &mResGroupMap[mCurResGroup];
            if (mCurResGroup.empty()) {
                Fail("No id specified.");
                break;
            }
            if (!ParseResources())
                break;
        } else if (e.mType == XMLElement::TYPE_TEXT) {
            Fail("Element Not Expected '" + Narrow(e.mValue) + "'");
            break;
        }
    }
    if (mXMLParser->HasFailed())
        Fail(Narrow(mXMLParser->GetErrorText()));
    delete mXMLParser;
    mXMLParser = nullptr;
    mCurResGroupList = nullptr;
    return !mHasFailed;
}

bool ResourceManager::ParseResources()
{
    XMLElement e;
    for (;;) {
        if (!mXMLParser->NextElement(&e))
            return false; // end of the file (a truncated manifest keeps what it declared) or an error
        if (e.mType == XMLElement::TYPE_START) {
            bool ok;
            if (e.mValue == L"Image")
                ok = ParseImageResource(&e);
            else if (e.mValue == L"Sound")
                ok = ParseSoundResource(&e);
            else if (e.mValue == L"Font")
                ok = ParseFontResource(&e);
            else if (e.mValue == L"SetDefaults")
                ok = ParseSetDefaults(&e);
            else
                return Fail("Invalid Section '" + Narrow(e.mValue) + "'");
            if (!ok)
                return false;
            XMLElement end;
            if (!mXMLParser->NextElement(&end))
                return false;
            if (end.mType != XMLElement::TYPE_END)
                return Fail("Unexpected element found.");
        } else if (e.mType == XMLElement::TYPE_END) {
            return true;
        } else if (e.mType == XMLElement::TYPE_TEXT) {
            return Fail("Element Not Expected '" + Narrow(e.mValue) + "'");
        }
    }
}

bool ResourceManager::ParseCommonResource(XMLElement* element, BaseRes* res, ResMap& map)
{
    std::string path = Attr(element, L"path");
    if (path.empty()) {
        delete res;
        return Fail("No path specified.");
    }
    res->mXMLAttributes = element->mAttributes;
    res->mFromProgram = false;
    if (path[0] != '!') {
        res->mPath = mDefaultPath + path;
    } else {
        res->mPath = path;
        res->mFromProgram = path == "!program";
    }
    std::string id = Has(element, L"id") ? Attr(element, L"id") : GetFileName(res->mPath, true);
    res->mResGroup = mCurResGroup;
    res->mId = mDefaultIdPrefix + id;
    if (!map.insert({res->mId, res}).second) {
        delete res;
        return Fail("Resource already defined.");
    }
    mCurResGroupList->push_back(res);
    return true;
}

bool ResourceManager::ParseSoundResource(XMLElement* element)
{
    SoundRes* res = new SoundRes(mHost);
    if (!ParseCommonResource(element, res, mSoundMap))
        return false; // the record is gone
    double volume;
    if (Has(element, L"volume") && ScanDouble(Attr(element, L"volume"), &volume))
        res->mVolume = volume;
    int pan;
    if (Has(element, L"pan") && ScanInt(Attr(element, L"pan"), &pan))
        res->mPan = pan;
    return true;
}

bool ResourceManager::ParseImageResource(XMLElement* element)
{
    ImageRes* res = new ImageRes(mHost);
    if (!ParseCommonResource(element, res, mImageMap))
        return false; // the record is gone
    bool is3D = mHost->Is3DAccelerated();
    res->mPalletize = !Has(element, L"nopal");
    res->mA4R4G4B4 = Has(element, L"a4r4g4b4");
    res->mA8R8G8B8 = Has(element, L"a8r8g8b8");
    res->mDDSurface = Has(element, L"ddsurface");
    res->mPurgeBits = Has(element, L"nobits") || (is3D && Has(element, L"nobits3d")) ||
                      (!is3D && Has(element, L"nobits2d"));
    res->mMinimizeSubdivisions = Has(element, L"minsubdivide");
    res->mAutoFindAlpha = !Has(element, L"noalpha");
    if (Has(element, L"alphaimage"))
        res->mAlphaImage = mDefaultPath + Attr(element, L"alphaimage");
    uint32_t colour;
    if (Has(element, L"alphacolor") && ScanHex(Attr(element, L"alphacolor"), &colour))
        res->mAlphaColor = colour;
    res->mVariant = Attr(element, L"variant");
    if (Has(element, L"alphagrid"))
        res->mAlphaGridImage = mDefaultPath + Attr(element, L"alphagrid");
    // A sheet has at least one row and one column.
    int n;
    if (Has(element, L"rows") && ScanInt(Attr(element, L"rows"), &n))
        res->mRows = n < 1 ? 1 : n;
    if (Has(element, L"cols") && ScanInt(Attr(element, L"cols"), &n))
        res->mCols = n < 1 ? 1 : n;

    AnimInfo& anim = res->mAnimInfo;
    if (Has(element, L"anim")) {
        std::string type = StringToLower(Attr(element, L"anim"));
        if (type == "none")
            anim.mAnimType = ANIM_NONE;
        else if (type == "once")
            anim.mAnimType = ANIM_ONCE;
        else if (type == "loop")
            anim.mAnimType = ANIM_LOOP;
        else if (type == "pingpong")
            anim.mAnimType = ANIM_PINGPONG;
        else
            return Fail("Invalid animation type.");
    }
    int beginDelay = 0, endDelay = 0;
    if (anim.mAnimType != ANIM_NONE) {
        if (Has(element, L"framedelay"))
            ScanInt(Attr(element, L"framedelay"), &anim.mFrameDelay);
        if (Has(element, L"begindelay"))
            ScanInt(Attr(element, L"begindelay"), &beginDelay);
        if (Has(element, L"enddelay"))
            ScanInt(Attr(element, L"enddelay"), &endDelay);
        if (Has(element, L"perframedelay"))
            anim.mPerFrameDelay = ScanIntList(Attr(element, L"perframedelay"));
        if (Has(element, L"framemap"))
            anim.mFrameMap = ScanIntList(Attr(element, L"framemap"));
    }
    anim.Compute(res->mRows > res->mCols ? res->mRows : res->mCols, beginDelay, endDelay);
    return true;
}

bool ResourceManager::ParseFontResource(XMLElement* element)
{
    FontRes* res = new FontRes(mHost);
    if (!ParseCommonResource(element, res, mFontMap))
        return false; // the record is gone
    if (Has(element, L"image"))
        res->mImagePath = Attr(element, L"image");
    if (Has(element, L"tags"))
        res->mTags = Attr(element, L"tags");
    if (res->mPath.compare(0, 5, "!sys:") == 0) {
        res->mSysFont = true;
        res->mPath = res->mPath.substr(5);
        if (!Has(element, L"size") || !ScanInt(Attr(element, L"size"), &res->mSize) || res->mSize < 1)
            return Fail("SysFont needs point size");
        res->mBold = Has(element, L"bold");
        res->mItalic = Has(element, L"italic");
        res->mUnderline = Has(element, L"underline");
        res->mShadow = Has(element, L"shadow");
    }
    return true;
}

bool ResourceManager::ParseSetDefaults(XMLElement* element)
{
    if (Has(element, L"path")) {
        // An empty default path stays empty, so later paths stay relative.
        std::string path = WithoutTrailingSeparator(Attr(element, L"path"));
        mDefaultPath = path.empty() ? path : path + "/";
    }
    if (Has(element, L"idprefix"))
        mDefaultIdPrefix = WithoutTrailingSeparator(Attr(element, L"idprefix"));
    return true;
}

// ---- loading ----

bool ResourceManager::LoadResources(const std::string& group)
{
    mError.clear();
    mHasFailed = false;
    StartLoadResources(group);
    while (LoadNextResource()) {
    }
    if (mHasFailed)
        return false;
    mLoadedGroups.insert(group);
    return true;
}

void ResourceManager::StartLoadResources(const std::string& group)
{
    mError.clear();
    mHasFailed = false;
    mCurResGroup = group;
    mCurResGroupList = &mResGroupMap[group];
    mCurResGroupListItr = mCurResGroupList->begin();
}

bool ResourceManager::LoadNextResource()
{
    if (mHasFailed || !mCurResGroupList)
        return false;
    while (mCurResGroupListItr != mCurResGroupList->end()) {
        BaseRes* res = *mCurResGroupListItr++;
        if (res->mFromProgram)
            continue;
        switch (res->mType) {
        case ResType_Image: {
            ImageRes* image = static_cast<ImageRes*>(res);
            if (!image->mImage.GetImage())
                return LoadImageRes(image);
            break;
        }
        case ResType_Sound: {
            SoundRes* sound = static_cast<SoundRes*>(res);
            if (sound->mSoundId < 0)
                return LoadSoundRes(sound);
            break;
        }
        case ResType_Font: {
            FontRes* font = static_cast<FontRes*>(res);
            if (!font->mFont)
                return LoadFontRes(font);
            break;
        }
        }
    }
    return false;
}

// The blue channel of the alpha image (and of the alpha grid, cell by cell)
// becomes the image's alpha. Only for a newly made shared image.
bool ResourceManager::MergeAlpha(ImageRes* res, MemoryImage* image)
{
    if (res->mAlphaImage.empty() && res->mAlphaGridImage.empty())
        return true;
    uint32_t* bits = image->GetBits();
    int width = image->mWidth, height = image->mHeight;

    if (!res->mAlphaImage.empty()) {
        std::unique_ptr<ImageLib::Image> alpha(ImageLib::GetImage(res->mAlphaImage, true));
        if (!alpha)
            return Fail(StrFormat("Failed to load image: %s", res->mAlphaImage.c_str()));
        if (!bits || alpha->mWidth != width || alpha->mHeight != height)
            return Fail(StrFormat("AlphaImage size mismatch between %s and %s", res->mPath.c_str(),
                                  res->mAlphaImage.c_str()));
        size_t n = size_t(width) * size_t(height);
        for (size_t i = 0; i < n; ++i)
            bits[i] = (bits[i] & 0x00FFFFFF) | alpha->mBits[i] << 24;
        image->MarkBitsChanged();
    }

    if (!res->mAlphaGridImage.empty()) {
        std::unique_ptr<ImageLib::Image> grid(ImageLib::GetImage(res->mAlphaGridImage, true));
        if (!grid)
            return Fail(StrFormat("Failed to load image: %s", res->mAlphaGridImage.c_str()));
        int cellWidth = width / res->mCols;
        int cellHeight = height / res->mRows;
        if (!bits || grid->mWidth != cellWidth || grid->mHeight != cellHeight)
            return Fail(StrFormat("GridAlphaImage size mismatch between %s and %s", res->mPath.c_str(),
                                  res->mAlphaGridImage.c_str()));
        for (int row = 0; row < res->mRows; ++row)
            for (int col = 0; col < res->mCols; ++col)
                for (int y = 0; y < cellHeight; ++y) {
                    uint32_t* dest = bits + size_t(row * cellHeight + y) * size_t(width) + size_t(col * cellWidth);
                    const uint32_t* src = grid->mBits + size_t(y) * size_t(cellWidth);
                    for (int x = 0; x < cellWidth; ++x)
                        dest[x] = (dest[x] & 0x00FFFFFF) | src[x] << 24;
                }
        image->MarkBitsChanged();
    }
    return true;
}

bool ResourceManager::LoadImageRes(ImageRes* res)
{
    bool isNew = false;
    ImageLib::gAlphaImageColor = res->mAlphaColor;
    SharedImageRef ref = mHost->GetSharedImage(res->mPath, res->mVariant, &isNew);
    ImageLib::gAlphaImageColor = 0xFFFFFF;
    MemoryImage* image = dynamic_cast<MemoryImage*>(ref.GetImage());
    if (!image)
        return Fail(StrFormat("Failed to load image: %s", res->mPath.c_str()));
    if (isNew && !MergeAlpha(res, image))
        return false;

    image->AnalyzeBits();
    res->mImage = ref;
    image->mBitsDiscarded = res->mPurgeBits;
    if (res->mDDSurface) {
        image->AnalyzeBits();
        if (!image->mHasAlpha) {
            mHost->SetSurfaceWanted(image);
            image->mBitsDiscarded = true;
        }
    }
    if (res->mPalletize) {
        if (!mHost->HasSurface(image))
            image->Palettize();
        else
            image->mPalettized = true;
    }
    if (res->mA4R4G4B4)
        image->mTextureFlags |= TEXTUREFLAG_A4R4G4B4;
    if (res->mA8R8G8B8)
        image->mTextureFlags |= TEXTUREFLAG_A8R8G8B8;
    if (res->mMinimizeSubdivisions)
        image->mTextureFlags |= TEXTUREFLAG_MINSUBDIVIDE;
    if (res->mAnimInfo.mAnimType != ANIM_NONE) {
        delete image->mAnimInfo;
        image->mAnimInfo = new AnimInfo(res->mAnimInfo);
    }
    image->mNumRows = res->mRows;
    image->mNumCols = res->mCols;
    if (image->mBitsDiscarded)
        image->DiscardBits();
    ResourceLoaded(res);
    return true;
}

bool ResourceManager::LoadSoundRes(SoundRes* res)
{
    SoundManager* sounds = mHost->GetSoundManager();
    int id = sounds ? sounds->GetFreeSoundId() : -1;
    if (id < 0)
        return Fail("Out of free sound ids");
    if (!sounds->LoadSound(unsigned(id), res->mPath))
        return Fail(StrFormat("Failed to load sound: %s", res->mPath.c_str()));
    if (res->mVolume >= 0)
        sounds->SetBaseVolume(unsigned(id), res->mVolume);
    if (res->mPan != 0)
        sounds->SetBasePan(unsigned(id), res->mPan);
    res->mSoundId = id;
    ResourceLoaded(res);
    return true;
}

bool ResourceManager::LoadFontRes(FontRes* res)
{
    Font* font = nullptr;
    if (res->mSysFont) {
        // The Windows 9x family drew bold system fonts as simulated bold.
        bool simulateBold = res->mBold && IsWindows9x();
        font = mHost->MakeSysFont(res->mPath, res->mSize, res->mBold && !simulateBold, res->mItalic,
                                  res->mUnderline, res->mShadow, simulateBold);
        if (!font)
            return Fail(StrFormat("Failed to load font: %s", res->mPath.c_str()));
    } else {
        if (res->mXMLAttributes.count(L"image"))
            return Fail(StrFormat("Failed to load font: %s", res->mPath.c_str()));
        if (res->mPath.compare(0, 5, "!ref:") == 0) {
            std::string refId = res->mPath.substr(5);
            auto it = mFontMap.find(refId);
            FontRes* ref = it == mFontMap.end() ? nullptr : static_cast<FontRes*>(it->second);
            if (!ref || !ref->mFont)
                return Fail("Ref font not found: " + refId);
            font = ref->mFont->Duplicate();
        } else {
            font = mHost->MakeImageFont(res->mPath);
        }
        if (!font)
            return Fail(StrFormat("Failed to load font: %s", res->mPath.c_str()));
        if (mHost->IsImageFont(font)) {
            if (!mHost->ImageFontLoaded(font)) {
                delete font;
                return Fail(StrFormat("Failed to load font: %s", res->mPath.c_str()));
            }
            if (!res->mTags.empty()) {
                const std::string& tags = res->mTags;
                size_t at = 0;
                while (at < tags.size()) {
                    while (at < tags.size() && IsTagSeparator(tags[at]))
                        ++at;
                    size_t end = at;
                    while (end < tags.size() && !IsTagSeparator(tags[end]))
                        ++end;
                    if (end > at)
                        mHost->AddTag(font, tags.substr(at, end - at));
                    at = end;
                }
                mHost->Prepare(font);
            }
        }
    }
    res->mFont = font;
    ResourceLoaded(res);
    return true;
}

void ResourceManager::DeleteMap(ResMap& map, const std::string& group)
{
    for (auto& entry : map)
        if (group.empty() || entry.second->mResGroup == group)
            entry.second->DeleteResource();
}

void ResourceManager::DeleteResources(const std::string& group)
{
    DeleteMap(mImageMap, group);
    DeleteMap(mSoundMap, group);
    DeleteMap(mFontMap, group);
    mLoadedGroups.erase(group);
}

// ---- look-ups ----

SharedImageRef ResourceManager::GetImageThrow(const std::string& id)
{
    auto it = mImageMap.find(id);
    if (it != mImageMap.end()) {
        ImageRes* res = static_cast<ImageRes*>(it->second);
        if (res->mImage.GetImage())
            return res->mImage;
    }
    Fail(StrFormat("Image resource not found: %s", id.c_str()));
    throw ResourceManagerException(GetErrorText());
}

int ResourceManager::GetSoundThrow(const std::string& id)
{
    auto it = mSoundMap.find(id);
    if (it != mSoundMap.end()) {
        SoundRes* res = static_cast<SoundRes*>(it->second);
        if (res->mSoundId >= 0)
            return res->mSoundId;
    }
    Fail(StrFormat("Sound resource not found: %s", id.c_str()));
    throw ResourceManagerException(GetErrorText());
}

Font* ResourceManager::GetFontThrow(const std::string& id)
{
    auto it = mFontMap.find(id);
    if (it != mFontMap.end()) {
        FontRes* res = static_cast<FontRes*>(it->second);
        if (res->mFont)
            return res->mFont;
    }
    Fail(StrFormat("Font resource not found: %s", id.c_str()));
    throw ResourceManagerException(GetErrorText());
}

SharedImageRef ResourceManager::GetImageOrLoad(const std::string& id)
{
    auto it = mImageMap.find(id);
    if (it == mImageMap.end())
        return SharedImageRef();
    ImageRes* res = static_cast<ImageRes*>(it->second);
    if (res->mImage.GetSharedImage())
        return res->mImage;
    if (res->mFromProgram || !LoadImageRes(res))
        return SharedImageRef();
    return res->mImage;
}

bool ResourceManager::ReplaceImage(const std::string& id, Image* image)
{
    auto it = mImageMap.find(id);
    if (it == mImageMap.end())
        return false;
    static_cast<ImageRes*>(it->second)->mImage.AssignOwned(image);
    return true;
}

} // namespace Zelk
