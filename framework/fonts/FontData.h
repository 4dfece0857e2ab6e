#pragma once
#include "framework/fonts/DescParser.h"
#include "framework/fonts/GlyphLayer.h"

#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <string>
#include <vector>

namespace Zelk {

class ZelkAppBase;

// A parsed font description: its glyph layers and default point size. One is
// shared by an image font and all its copies (the use count says by how many).
class FontData : public DescParser {
public:
    FontData();
    ~FontData() override;

    // False at once when already loaded; otherwise reads the file for the
    // application (errors are shown in its fatal-error box; without an
    // application nothing is shown) and returns true, also when reading
    // failed (the loaded flag says whether it worked).
    bool Load(ZelkAppBase* app, const std::string& fontDescFileName);

    // Without an application: false and nothing shown. Otherwise the header,
    // the text and, while a command runs, its line and text go to the
    // application's fatal-error box.
    bool Error(const std::wstring& text) override;
    bool HandleCommand(const ListDataElement& params) override;

    // The path of a layer image named in the description, relative to the
    // description's folder: see the definition.
    static std::string JoinImagePath(const std::string& folder, const std::string& name);

    // Value readers of the commands; each returns false when the value does
    // not fit (reporting only what the rules say it reports).
    bool GetString(DataElement* in, std::wstring& out);
    bool GetStringVector(DataElement* in, std::vector<std::wstring>& out);
    bool GetIntVector(DataElement* in, std::vector<int>& out);
    bool GetDoubleVector(DataElement* in, std::vector<double>& out);
    bool DataToList(DataElement* in, ListDataElement& out, bool reportUnknown);
    bool DataToLayer(DataElement* in, GlyphLayer*& out);
    bool DataToColor(DataElement* in, Color& out);
    static bool ParseInt(const std::wstring& text, int& out);
    static bool ParseDouble(const std::wstring& text, double& out);

    bool mInitialized = false; // loaded
    int mRefCount = 0;
    ZelkAppBase* mApp = nullptr;
    int mDefaultPointSize = 0;
    std::list<GlyphLayer> mFontLayerList; // in declaration order
    std::map<std::string, GlyphLayer*> mFontLayerMap; // by upper-cased name
    std::string mSourceFile;
    std::wstring mFontErrorHeader;

private:
    bool Fail() { return Error(L"Invalid Paramater Type"); }
    bool GetImmediateInt(DataElement* in, int& out);
    bool GetDefinedList(DataElement* in, ListDataElement& out) { return DataToList(in, out, false); }
    enum class EntryResult { Set, Skipped, Stop };
    typedef std::function<EntryResult(GlyphLayer& layer, const std::wstring& key, DataElement* value)> EntrySetter;
    bool SetPerCharacter(const ListDataElement& p, size_t keyLength, bool needsImage, const EntrySetter& set,
                         const std::function<void(GlyphLayer&)>& afterAll = nullptr);
    GlyphLayer* NewLayer(DataElement* nameValue, bool& ok);

    bool CmdDefine(const ListDataElement& p);
    bool CmdCreateHorzSpanRectList(const ListDataElement& p);
    bool CmdCreateLayer(const ListDataElement& p, bool fromOther);
    bool CmdLayerTags(const ListDataElement& p, bool required);
    bool CmdLayerInt(const ListDataElement& p, int GlyphLayer::*field);
    bool CmdLayerPointRange(const ListDataElement& p);
    bool CmdLayerSetImage(const ListDataElement& p);
    bool CmdLayerSetDrawMode(const ListDataElement& p);
    bool CmdLayerColor(const ListDataElement& p, Color GlyphLayer::*field);
    bool CmdLayerSetOffset(const ListDataElement& p);
    bool CmdLayerSetCharWidths(const ListDataElement& p, int GlyphInfo::*field);
    bool CmdLayerSetImageMap(const ListDataElement& p);
    bool CmdLayerSetCharOffsets(const ListDataElement& p);
    bool CmdLayerSetKerningPairs(const ListDataElement& p);
};

} // namespace Zelk
