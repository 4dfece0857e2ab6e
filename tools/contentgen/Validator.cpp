#include "Validator.h"

#include "AnimationRules.h"
#include "ConfigFiles.h"
#include "LayoutRules.h"
#include "LevelRules.h"
#include "MediaRules.h"
#include "ReadabilityRule.h"
#include "UiFile.h"
#include "XmlRead.h"
#include "framework/app/Utf16.h"
#include "framework/fonts/DescParser.h"
#include "game/core/PakDirectory.h"
#include "platform/xml/XmlDocument.h"
#include "tools/makepak/PakWriter.h"

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace contentgen {

namespace {

bool IsHexColour(const std::string& text)
{
    if (text.size() != 8)
        return false;
    return std::all_of(text.begin(), text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

// Hexadecimal as the layouts give row heights and spacings.
long Hex(const std::string& text)
{
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }))
        return -1;
    return std::strtol(text.c_str(), nullptr, 16);
}

const char* const kImageExtensions[] = {".png", ".jpg", ".tga", ".gif", ".jp2"};

uint32_t Big16(const std::vector<uint8_t>& b, size_t at) { return (uint32_t(b[at]) << 8) | b[at + 1]; }
uint32_t Little16(const std::vector<uint8_t>& b, size_t at) { return uint32_t(b[at]) | (uint32_t(b[at + 1]) << 8); }

// The size a picture file declares (PNG, GIF, TGA, JPEG); false when the
// header is not one of those.
bool PictureSize(const std::vector<uint8_t>& b, int& width, int& height)
{
    if (b.size() >= 24 && b[0] == 0x89 && b[1] == 'P' && b[2] == 'N' && b[3] == 'G') {
        width = static_cast<int>((Big16(b, 16) << 16) | Big16(b, 18));
        height = static_cast<int>((Big16(b, 20) << 16) | Big16(b, 22));
        return true;
    }
    if (b.size() >= 10 && b[0] == 'G' && b[1] == 'I' && b[2] == 'F') {
        width = static_cast<int>(Little16(b, 6));
        height = static_cast<int>(Little16(b, 8));
        return true;
    }
    if (b.size() >= 4 && b[0] == 0xFF && b[1] == 0xD8) {
        for (size_t at = 2; at + 9 < b.size();) {
            if (b[at] != 0xFF)
                return false;
            const uint8_t marker = b[at + 1];
            if (marker >= 0xC0 && marker <= 0xC3) {
                height = static_cast<int>(Big16(b, at + 5));
                width = static_cast<int>(Big16(b, at + 7));
                return true;
            }
            at += 2 + Big16(b, at + 2);
        }
        return false;
    }
    if (b.size() >= 18 && (b[2] == 2 || b[2] == 10 || b[2] == 3 || b[2] == 11)) {
        width = static_cast<int>(Little16(b, 12));
        height = static_cast<int>(Little16(b, 14));
        return true;
    }
    return false;
}

// The characters a font description maps to glyph pictures: every list
// named by a LayerSetImageMap, read with the game's own description reader.
class GlyphSetReader : public Zelk::DescParser {
public:
    bool Read(const std::wstring& text) { return ReadCommands(text); }
    std::set<wchar_t> glyphs;

private:
    bool HandleCommand(const Zelk::ListDataElement& params) override
    {
        const auto& values = params.mElementVector;
        if (values.size() < 3 || values[0]->mIsList)
            return true;
        std::wstring word = static_cast<const Zelk::SingleDataElement*>(values[0])->mString;
        for (wchar_t& c : word)
            c = static_cast<wchar_t>(std::towupper(c));
        if (word == L"DEFINE" && !values[1]->mIsList) {
            Zelk::ListDataElement in;
            in.mElementVector.push_back(values[2]->Duplicate());
            auto* out = new Zelk::ListDataElement();
            if (!Dereference(in, *out) || out->mElementVector.size() != 1) {
                delete out;
                return false;
            }
            Zelk::DataElement* value = out->mElementVector.front();
            out->mElementVector.clear();
            delete out;
            SetDefine(static_cast<const Zelk::SingleDataElement*>(values[1])->mString, value);
        } else if (word == L"LAYERSETIMAGEMAP" && values.size() >= 4) {
            Zelk::ListDataElement in;
            in.mElementVector.push_back(values[2]->Duplicate());
            Zelk::ListDataElement out;
            if (!Dereference(in, out))
                return false;
            Collect(*out.mElementVector.front());
        }
        return true;
    }
    void Collect(const Zelk::DataElement& element)
    {
        if (element.mIsList) {
            for (const Zelk::DataElement* child : static_cast<const Zelk::ListDataElement&>(element).mElementVector)
                Collect(*child);
        } else {
            const std::wstring& text = static_cast<const Zelk::SingleDataElement&>(element).mString;
            if (text.size() == 1)
                glyphs.insert(text[0]);
        }
    }
};

// Characters for a message: printable ASCII quoted, others as U+XXXX.
std::string CharacterNames(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text) {
        char buffer[16];
        if (c > 0x20 && c < 0x7F)
            std::snprintf(buffer, sizeof buffer, "'%c'", static_cast<char>(c));
        else
            std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
        out += (out.empty() ? "" : " ") + std::string(buffer);
    }
    return out;
}

// Perceived brightness 0..255 of an AARRGGBB colour.
int Brightness(const std::string& colour)
{
    const unsigned long argb = std::strtoul(colour.c_str(), nullptr, 16);
    const unsigned long r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
    return static_cast<int>((299 * r + 587 * g + 114 * b) / 1000);
}

class Checker {
public:
    Checker(const DataSet& data, bool full) : mData(data), mFull(full) {}

    std::vector<Finding> Run()
    {
        for (const auto& file : mData.files)
            CheckEncoding(file.first, file.second);
        Load("cfg\\loc.xml", mLoc);
        Load("cfg\\effect.xml", mEffects);
        Load("cfg\\ui.xml", mUi);
        Load("cfg\\office.xml", mOffice);
        Load("properties\\resources.xml", mManifest);
        CheckLoc();
        CheckEffects();
        CheckEveryCallbackBound();
        CheckUi();
        CheckOffice();
        CheckLevels();
        CheckAnimations();
        CheckMediaDecode(mData, mFindings);
        return mFindings;
    }

private:
    void Report(const std::string& file, const std::string& id, const std::string& message)
    {
        mFindings.push_back({file, id, message});
    }

    bool IsXml(const std::string& path) const
    {
        return (path.rfind("cfg\\", 0) == 0 && path.size() > 4 && path.compare(path.size() - 4, 4, ".xml") == 0) ||
               path == "properties\\resources.xml";
    }

    void CheckEncoding(const std::string& path, const std::vector<uint8_t>& bytes)
    {
        if (IsXml(path)) {
            if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) {
                Report(path, "(file)", "must start with the UTF-16LE mark FF FE");
                return;
            }
            plat::XmlDocument document;
            const std::wstring text = Zelk::Utf16LEToWide(bytes.data() + 2, bytes.size() - 2);
            if (!document.LoadText(text)) {
                Report(path, "(file)", "is not well-formed XML: line " + std::to_string(document.ErrorLine()) + ", column " +
                                           std::to_string(document.ErrorColumn()) + ": " + document.ErrorReason());
                return;
            }
            CheckAttributes(path, document.Node());
            mDocuments[path] = document;
        } else if (path.rfind("fonts\\", 0) == 0 && path.size() > 4 && path.compare(path.size() - 4, 4, ".txt") == 0) {
            if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
                Report(path, "(file)", "a font description is UTF-16LE without a mark");
            else if (bytes.size() % 2 != 0)
                Report(path, "(file)", "a font description is UTF-16LE: odd byte count");
        }
    }

    // Attribute forms every file obeys.
    // A finding names the element's "name", a top-level entry's "id", or
    // else the named element it lies in.
    void CheckAttributes(const std::string& path, const plat::XmlNode& node, const std::string& owner = std::string(),
                         int depth = 0)
    {
        for (const plat::XmlNode& element : Elements(node)) {
            std::string id = Attr(element, L"name");
            if (id.empty() && depth <= 1)
                id = Attr(element, L"id");
            if (id.empty())
                id = owner.empty() ? Narrow(element.Name()) : owner;
            for (const plat::XmlNode& attribute : element.Attributes()) {
                const std::string name = Narrow(attribute.Name());
                std::wstring wide;
                attribute.Value(wide);
                if (wide.find(L'"') != std::wstring::npos)
                    Report(path, id, "attribute " + name + " holds a double quote");
                const bool locText = path == "cfg\\loc.xml" && name == "text";
                if (locText) {
                    if (wide.size() >= 2048)
                        Report(path, id, "text of 2048 characters or more");
                } else if (wide.size() > 259) {
                    Report(path, id, "attribute " + name + " is over 259 characters");
                }
                const std::string value = Narrow(wide);
                if (name == "color" || name == "hcolor" || name == "dcolor" || name == "sel_color" ||
                    name == "hilite_color") {
                    if (!IsHexColour(value))
                        Report(path, id, "colour " + name + "=" + value + " is not 8 hexadecimal digits AARRGGBB");
                }
                if (name == "rgn")
                    CheckRegion(path, id, value);
                if (!value.empty() && value[0] == '+' && name != "texture" && name != "id")
                    Report(path, id, "number " + name + "=" + value + " starts with \"+\"");
            }
            CheckAttributes(path, element, id, depth + 1);
        }
    }

    void CheckRegion(const std::string& path, const std::string& id, const std::string& value)
    {
        if (value.size() > 128)
            Report(path, id, "rgn is over 128 characters");
        if (!value.empty() && value.back() == ' ')
            Report(path, id, "rgn ends with a blank");
        size_t count = 0;
        bool inNumber = false;
        for (char c : value) {
            const bool digit = (c >= '0' && c <= '9') || c == '-';
            if (digit && !inNumber)
                ++count;
            inNumber = digit;
        }
        if (count % 2 != 0)
            Report(path, id, "rgn has an odd count of numbers");
    }

    void Load(const std::string& path, plat::XmlNode& root)
    {
        auto found = mDocuments.find(path);
        if (found == mDocuments.end()) {
            if (!mData.Has(path))
                Report(path, "(file)", "is missing");
            return;
        }
        const std::vector<plat::XmlNode> top = Elements(found->second.Node());
        if (!top.empty())
            root = top.front();
    }

    bool PictureExists(const std::string& file) const { return !PicturePath(file).empty(); }

    // The data path a texture's file resolves to, or empty.
    std::string PicturePath(const std::string& file) const
    {
        const std::string path = Lower(file);
        if (mData.Has(path))
            return path;
        // Without an extension: any reader's extension, or the alpha mask
        // alone ("_" before the file name).
        const size_t slash = path.rfind('\\');
        const std::string mask = slash == std::string::npos ? "_" + path : path.substr(0, slash + 1) + "_" + path.substr(slash + 1);
        for (const char* extension : kImageExtensions) {
            if (mData.Has(path + extension))
                return path + extension;
            if (mData.Has(mask + extension))
                return mask + extension;
        }
        return std::string();
    }

    // Every region a widget cuts from a texture lies inside its picture.
    void CheckCut(const std::string& owner, const std::string& id, int u, int v, int w, int h)
    {
        auto found = mTextures.find(id);
        if (found == mTextures.end() || w <= 0 || h <= 0)
            return;
        const std::string path = PicturePath(found->second);
        if (path.empty())
            return;
        int width = 0;
        int height = 0;
        if (!PictureSize(mData.files.at(path), width, height))
            return;
        if (u < 0 || v < 0 || u + w > width || v + h > height)
            Report("cfg\\ui.xml", owner,
                   "cuts " + std::to_string(w) + " x " + std::to_string(h) + " at " + std::to_string(u) + "," +
                       std::to_string(v) + " from " + id + ", which is " + std::to_string(width) + " x " +
                       std::to_string(height));
    }

    void CheckLoc()
    {
        if (mLoc.IsEmpty())
            return;
        for (const plat::XmlNode& loc : Elements(mLoc, L"loc")) {
            const std::string id = Attr(loc, L"id");
            if (id.empty() || id.size() >= 260) {
                Report("cfg\\loc.xml", id, "loc id empty or of 260 characters or more");
                continue;
            }
            std::wstring text;
            const plat::XmlNode attribute = loc.Attribute(L"text");
            if (attribute.IsEmpty() || !attribute.Value(text) || text.empty())
                Report("cfg\\loc.xml", id, "has no text");
            else {
                mLocIds.insert(id);
                mLocTexts[id] = text;
            }
        }
    }

    void NeedLoc(const std::string& file, const std::string& owner, const std::string& id)
    {
        if (!mLoc.IsEmpty() && !mLocIds.count(id))
            Report(file, owner, "names the text " + id + ", which cfg\\loc.xml lacks");
    }

    void CheckEffects()
    {
        if (mEffects.IsEmpty())
            return;
        const std::vector<std::string>& exported = ExportedCallbackNames();
        const std::set<std::string> known(exported.begin(), exported.end());
        for (const plat::XmlNode& effect : Elements(mEffects, L"effect")) {
            const std::string name = Attr(effect, L"name");
            mEffectNames.insert(name);
            std::set<std::string> timers;
            for (const plat::XmlNode& group : Elements(effect, L"timers")) {
                for (const plat::XmlNode& timer : Elements(group, L"timer")) {
                    timers.insert(Attr(timer, L"name"));
                    std::set<std::string> ids;
                    for (const plat::XmlNode& control : Elements(timer, L"control")) {
                        const std::string function = Attr(control, L"function");
                        if (!known.count(function))
                            Report("cfg\\effect.xml", name, "unknown callback name \"" + function + "\"");
                        if (!ids.insert(Attr(control, L"id")).second)
                            Report("cfg\\effect.xml", name, "control id " + Attr(control, L"id") + " repeated in a timer");
                        mFunctionsUsed.insert(function);
                        mEffectFunctions[name].insert(function);
                    }
                }
            }
            std::map<std::string, std::vector<std::pair<std::string, std::string>>> messages;
            for (const plat::XmlNode& group : Elements(effect, L"messages")) {
                for (const plat::XmlNode& message : Elements(group, L"message")) {
                    const std::string command = Attr(message, L"command");
                    const std::string target = Attr(message, L"timer_id");
                    messages[Attr(message, L"name")].emplace_back(command, target);
                    if (command == "call") {
                        if (!known.count(target))
                            Report("cfg\\effect.xml", name, "unknown callback name \"" + target + "\"");
                        mFunctionsUsed.insert(target);
                    } else if (command == "start" || command == "stop" || command == "pause" || command == "resume") {
                        if (!timers.count(target))
                            Report("cfg\\effect.xml", name, "message names the missing timer " + target);
                    } else {
                        Report("cfg\\effect.xml", name, "unknown command \"" + command + "\"");
                    }
                }
            }
            mEffectMessages[name] = messages;
            mLocks[name] = false;
            for (const plat::XmlNode& group : Elements(effect, L"timers"))
                for (const plat::XmlNode& timer : Elements(group, L"timer"))
                    for (const plat::XmlNode& control : Elements(timer, L"control"))
                        if (Attr(control, L"function") == "WidgetsLock")
                            mLocks[name] = true;
        }
    }

    // A whole data set binds every callback the game exports at least once.
    void CheckEveryCallbackBound()
    {
        if (!mFull || mEffects.IsEmpty())
            return;
        for (const std::string& name : ExportedCallbackNames())
            if (!mFunctionsUsed.count(name))
                Report("cfg\\effect.xml", name, "no effect binds this callback; every exported callback is used");
    }

    // A UI effect answers "onshow" and "onhide"; one that locks input
    // unlocks first thing in its "onhide".
    void CheckUiEffect(const std::string& owner, const std::string& effect)
    {
        if (!mEffectNames.count(effect)) {
            Report("cfg\\ui.xml", owner, "names the effect " + effect + ", which cfg\\effect.xml lacks");
            return;
        }
        if (!mCheckedUiEffects.insert(effect).second)
            return;
        const auto& messages = mEffectMessages[effect];
        for (const char* message : {"onshow", "onhide"})
            if (!messages.count(message))
                Report("cfg\\effect.xml", effect, std::string("a UI effect without \"") + message + "\"");
        if (mLocks[effect]) {
            auto hide = messages.find("onhide");
            if (hide == messages.end() || hide->second.empty() || hide->second.front() != std::make_pair(std::string("call"), std::string("WidgetsUnlock")))
                Report("cfg\\effect.xml", effect, "locks input but does not unlock at the start of \"onhide\"");
        }
    }

    void CheckUi()
    {
        if (mUi.IsEmpty())
            return;
        const std::string file = "cfg\\ui.xml";
        for (const plat::XmlNode& texture : Elements(mUi, L"texture")) {
            const std::string id = Attr(texture, L"id");
            const std::string path = Attr(texture, L"file");
            if (!HasAttr(texture, L"id") || !HasAttr(texture, L"file") || id.empty() || path.empty()) {
                Report(file, id.empty() ? "(texture)" : id, "a texture needs both \"id\" and \"file\"");
                continue;
            }
            mTextures[id] = path;
            if (!PictureExists(path))
                Report(file, id, "its picture " + path + " is not in the data");
        }
        for (const plat::XmlNode& font : Elements(mUi, L"font")) {
            const std::string name = Attr(font, L"name");
            mFonts.insert(name);
            const std::string type = Attr(font, L"type");
            if (type == "System" && Int(Attr(font, L"size"), 0) <= 0)
                Report(file, name, "a system font needs a size");
            if (type == "Image" && !mData.Has(Lower(Attr(font, L"face"))))
                Report(file, name, "its description " + Attr(font, L"face") + " is not in the data");
            else if (type == "Image")
                mImageFonts[name] = Lower(Attr(font, L"face"));
        }
        for (const plat::XmlNode& cursor : Elements(mUi, L"cursors"))
            NeedTexture(Attr(cursor, L"mode"), Attr(cursor, L"image"));
        std::set<std::string> layouts;
        for (const plat::XmlNode& layout : Elements(mUi, L"element")) {
            const std::string name = Attr(layout, L"name");
            layouts.insert(name);
            CheckWidget(layout, name);
        }
        CheckPanelLayouts(mUi, [this](const std::string& id) { return TexturePixels(id); }, mFindings);
        CheckTextsReadable();
        if (mFull)
            for (const std::string& name : LayoutNames())
                if (!layouts.count(name))
                    Report(file, name, "layout missing");
        if (layouts.count("hud") && !mTextures.count("hud_clock0"))
            Report(file, "hud", "the HUD needs its clock frames hud_clock0, hud_clock1, ...");
    }

    // Texts against the outlines of their fonts or what is under them.
    void CheckTextsReadable()
    {
        std::map<std::string, uint32_t> outlines;
        for (const auto& font : mImageFonts) {
            const std::vector<uint8_t>& bytes = mData.files.at(font.second);
            uint32_t colour = 0;
            if (FontOutline(Zelk::Utf16LEToWide(bytes.data(), bytes.size()), colour))
                outlines[font.first] = colour;
        }
        Backdrops backdrops;
        backdrops.frontEnd = TexturePixels("bg_frontend");
        const std::string floor = PicturePath("images\\office\\ground");
        if (!floor.empty() && DecodePicture(floor, mData.files.at(floor), mFloor))
            backdrops.floor = &mFloor;
        CheckReadability(mUi, [this](const std::string& id) { return TexturePixels(id); }, backdrops, outlines, mFindings);
    }

    // A registry texture's picture as the game decodes it, decoded once.
    const DecodedPicture* TexturePixels(const std::string& id)
    {
        auto cached = mPixels.find(id);
        if (cached != mPixels.end())
            return cached->second.width > 0 ? &cached->second : nullptr;
        DecodedPicture& picture = mPixels[id];
        auto texture = mTextures.find(id);
        const std::string path = texture == mTextures.end() ? std::string() : PicturePath(texture->second);
        if (path.empty() || !DecodePicture(path, mData.files.at(path), picture))
            picture = DecodedPicture();
        return picture.width > 0 ? &picture : nullptr;
    }

    void NeedTexture(const std::string& owner, const std::string& id)
    {
        if (id == "+" ) {
            Report("cfg\\ui.xml", owner, "texture id \"+\" names no frames");
            return;
        }
        if (!mTextures.count(id))
            Report("cfg\\ui.xml", owner, "names the texture " + id + ", which the registry lacks");
    }

    std::vector<plat::XmlNode> Layers(const plat::XmlNode& widget) { return Elements(widget, L"textattr"); }

    // The characters a font description has pictures for, read once per file.
    const std::set<wchar_t>& Glyphs(const std::string& description)
    {
        auto found = mGlyphs.find(description);
        if (found != mGlyphs.end())
            return found->second;
        GlyphSetReader reader;
        const std::vector<uint8_t>& bytes = mData.files.at(description);
        if (!reader.Read(Zelk::Utf16LEToWide(bytes.data(), bytes.size())))
            Report(description, "(file)", "the font description does not read");
        return mGlyphs[description] = reader.glyphs;
    }

    // Text drawn in an image font: every character of the label (the UI
    // variables aside, which the game fills in) has a glyph; body text is
    // not dark on a dark dialog panel.
    void CheckText(const plat::XmlNode& widget, const std::string& path, const std::string& surface)
    {
        const std::string file = "cfg\\ui.xml";
        for (const plat::XmlNode& layer : Layers(widget)) {
            if (Attr(layer, L"id") != "normal")
                continue;
            const std::string colour = Attr(layer, L"color");
            if (surface.rfind("panel_", 0) == 0 && IsHexColour(colour) && colour.compare(0, 2, "00") != 0 &&
                Brightness(colour) < 128)
                Report(file, path, "dark text colour " + colour + " on the dark panel " + surface);
            auto font = mImageFonts.find(Attr(layer, L"font"));
            auto text = mLocTexts.find(Attr(widget, L"label"));
            if (font == mImageFonts.end() || text == mLocTexts.end())
                continue;
            const std::set<wchar_t>& glyphs = Glyphs(font->second);
            std::wstring missing;
            bool inVariable = false;
            for (wchar_t c : text->second) {
                if (c == L'%')
                    inVariable = !inVariable;
                else if (!inVariable && c >= 0x20 && !glyphs.count(c) && missing.find(c) == std::wstring::npos)
                    missing += c;
            }
            if (!missing.empty())
                Report(file, path, "the font " + font->first + " has no glyph for " + CharacterNames(missing) +
                                       " of the text " + text->first);
        }
    }

    void CheckWidget(const plat::XmlNode& widget, const std::string& path, std::string surface = std::string())
    {
        const std::string file = "cfg\\ui.xml";
        const std::string type = Attr(widget, L"type");
        const std::string name = Attr(widget, L"name");
        for (const plat::XmlNode& texture : Elements(widget, L"texture"))
            if (Attr(texture, L"id") == "normal")
                surface = Attr(texture, L"texture");
        CheckText(widget, path, surface);
        if (HasAttr(widget, L"label"))
            NeedLoc(file, path, Attr(widget, L"label"));
        if (HasAttr(widget, L"effect"))
            CheckUiEffect(path, Attr(widget, L"effect"));
        if (HasAttr(widget, L"fps") && Int(Attr(widget, L"fps"), -1) < 0)
            Report(file, path, "fps must be 0 or more");
        const long widgetWidth = Int(Attr(widget, L"width"), 0);
        const long widgetHeight = Int(Attr(widget, L"height"), 0);
        for (const plat::XmlNode& texture : Elements(widget, L"texture")) {
            const std::string id = Attr(texture, L"texture");
            NeedTexture(path, id);
            // A bar cuts one segment per state; other widgets their size.
            const long w = type == "quorbar" ? Int(Attr(widget, L"seg_width"), 0) : widgetWidth;
            CheckCut(path, id, static_cast<int>(Int(Attr(texture, L"u"), 0)), static_cast<int>(Int(Attr(texture, L"v"), 0)),
                        static_cast<int>(w), static_cast<int>(widgetHeight));
        }
        for (const plat::XmlNode& layer : Layers(widget))
            if (!mFonts.count(Attr(layer, L"font")))
                Report(file, path, "text layer " + Attr(layer, L"id") + " names the missing font \"" + Attr(layer, L"font") + "\"");
        auto children = [&widget]() {
            std::set<std::string> names;
            for (const plat::XmlNode& child : Elements(widget, L"element"))
                names.insert(Attr(child, L"name"));
            return names;
        };
        auto needLayers = [&]() {
            std::set<std::string> ids;
            for (const plat::XmlNode& layer : Layers(widget))
                if (!Attr(layer, L"font").empty())
                    ids.insert(Attr(layer, L"id"));
            for (const char* id : {"normal", "stroke", "shadow"})
                if (!ids.count(id))
                    Report(file, path, std::string("needs a font on its \"") + id + "\" text layer");
        };
        if (type == "quorbar" && Int(Attr(widget, L"seg_width"), 0) <= 0)
            Report(file, path, "a bar needs seg_width above 0");
        if (type == "quorlist") {
            if (Hex(Attr(widget, L"line_spacing")) <= 0)
                Report(file, path, "a list needs a row height (line_spacing) above 0");
            needLayers();
            const std::set<std::string> names = children();
            if (!names.count("scroll"))
                Report(file, path, "a list needs its scroll child");
        }
        if (type == "quoredit")
            needLayers();
        if (name == "scroll" || type == "quorscroll") {
            const std::set<std::string> names = children();
            for (const char* part : {"up", "down", "slider"})
                if (!names.count(part))
                    Report(file, path, std::string("a scroll bar needs its child \"") + part + "\"");
        }
        if (type == "quorslider") {
            if (Int(Attr(widget, L"mz_width"), 0) <= 0)
                Report(file, path, "a slider needs mz_width above 0");
            const std::set<std::string> names = children();
            for (const char* part : {"back", "bar", "thumb"})
                if (!names.count(part))
                    Report(file, path, std::string("a slider needs its child \"") + part + "\"");
        }
        for (const plat::XmlNode& child : Elements(widget, L"element"))
            CheckWidget(child, path + "/" + Attr(child, L"name"), surface);
    }

    void CheckOffice()
    {
        if (mOffice.IsEmpty())
            return;
        const std::string file = "cfg\\office.xml";
        std::set<std::string> sounds;
        std::set<std::string> music;
        for (const plat::XmlNode& group : Elements(mOffice, L"sounds"))
            for (const plat::XmlNode& sound : Elements(group, L"sound")) {
                sounds.insert(Attr(sound, L"name"));
                if (!mData.Has(Lower(Attr(sound, L"path"))))
                    Report(file, Attr(sound, L"name"), "its file " + Attr(sound, L"path") + " is not in the data");
            }
        for (const plat::XmlNode& group : Elements(mOffice, L"music"))
            for (const plat::XmlNode& stream : Elements(group, L"stream")) {
                music.insert(Attr(stream, L"name"));
                if (!mData.Has(Lower(Attr(stream, L"path"))))
                    Report(file, Attr(stream, L"name"), "its file " + Attr(stream, L"path") + " is not in the data");
            }
        if (mFull) {
            for (const std::string& name : SoundNamesPlayed())
                if (!sounds.count(name))
                    Report(file, name, "the game plays this sound, which office.xml lacks");
            for (const std::string& name : MusicNamesPlayed())
                if (!music.count(name))
                    Report(file, name, "the game plays this music, which office.xml lacks");
        }
        for (const plat::XmlNode& group : Elements(mOffice, L"bonus_config"))
            for (const plat::XmlNode& stage : Elements(group, L"bonus_stages"))
                NeedLoc(file, "bonus_stages", Attr(stage, L"loc_str"));
        // Objects: fonts, base lines, and the order the loader resolves
        // references in (workers before their plates, sources before their
        // indicators).
        std::set<std::string> objects;
        std::map<std::string, std::string> parentZ;  // "object:part" of every part -> its parent_z, or ""
        for (const plat::XmlNode& group : Elements(mOffice, L"objects"))
            for (const plat::XmlNode& object : Elements(group, L"object"))
                for (const plat::XmlNode& part : Elements(object, L"part"))
                    parentZ[Attr(object, L"name") + ":" + Attr(part, L"name")] = Attr(part, L"parent_z");
        std::vector<BaseLine> baseLines;
        for (const plat::XmlNode& group : Elements(mOffice, L"objects"))
            for (const plat::XmlNode& object : Elements(group, L"object")) {
                const std::string name = Attr(object, L"name");
                const std::string cls = Attr(object, L"class");
                if (cls == "specialization" && !objects.count(Attr(object, L"worker")))
                    Report(file, name, "its worker " + Attr(object, L"worker") + " must come before it");
                if (cls == "status_hp" || cls == "status_bubble") {
                    const std::string source = name.substr(0, name.rfind('_'));
                    if (!objects.count(source))
                        Report(file, name, "its source " + source + " must come before it");
                }
                objects.insert(name);
                mOfficeFacts.classes[name] = cls;
                if (HasAttr(object, L"thing"))
                    mOfficeFacts.things[name] = Attr(object, L"thing");
                for (const plat::XmlNode& target : Elements(object, L"target"))
                    if (cls == "door") {
                        const std::string walker = Attr(target, L"object");
                        if (walker != "boss" && walker != "secretary" && walker != "engineer")
                            Report(file, name, "the door's target " + walker + " is not a walker");
                    }
                for (const plat::XmlNode& part : Elements(object, L"part")) {
                    const std::string partName = Attr(part, L"name");
                    for (const wchar_t* font : {L"font", L"sub_font"})
                        if (HasAttr(part, font) && !mUi.IsEmpty() && !mFonts.count(Attr(part, font)))
                            Report(file, name, "part " + partName + " names the missing font " + Attr(part, font));
                    const std::string effect = Attr(part, L"effect");
                    if (!effect.empty() && mEffectFunctions[effect].count("UpgradeEffectBlink"))
                        Report(file, name, "part " + partName + " binds the effect " + effect +
                                               ", which calls UpgradeEffectBlink: that is for object effects only");
                    const std::string parent = Attr(part, L"parent_z");
                    if (!parent.empty()) {
                        auto found = parentZ.find(parent);
                        if (found == parentZ.end())
                            Report(file, name, "part " + partName + ": parent_z " + parent + " names no part of the office");
                        else if (!found->second.empty())
                            Report(file, name, "part " + partName + ": parent_z " + parent +
                                                   " names a part with a parent_z of its own");
                    }
                    if (!HasAttr(part, L"order0_x"))
                        continue;
                    BaseLine line{name + ":" + partName, {}};
                    long previousX = -1;
                    for (int k = 0; k < 3; ++k) {
                        const std::wstring xName = L"order" + std::to_wstring(k) + L"_x";
                        const std::wstring yName = L"order" + std::to_wstring(k) + L"_y";
                        const long x = Int(Attr(part, xName.c_str()), -1);
                        const long y = Int(Attr(part, yName.c_str()), -1);
                        if (x < 0 || x >= 800 || y < 0 || y >= 600 || x < previousX)
                            Report(file, name, "part " + partName + ": base line points must lie in 800 x 600, left to right");
                        previousX = x;
                        line.points[k] = {x, y};
                    }
                    if (parent.empty())
                        baseLines.push_back(line);
                }
                for (const plat::XmlNode& point : Elements(object, L"point"))
                    mOfficeFacts.approach[Attr(point, L"owner")][name] = {static_cast<int>(Int(Attr(point, L"offs_x"), 0)),
                                                                      static_cast<int>(Int(Attr(point, L"offs_y"), 0))};
            }
        CheckCrossings(baseLines);
        // Walkers whose graphs levels extend reach some objects only on
        // the days that bring the edges: those are checked per day.
        std::set<std::string> extended;
        for (const auto& document : mDocuments)
            if (IsLevelFile(document.first))
                for (const plat::XmlNode& top : Elements(document.second.Node()))
                    for (const plat::XmlNode& group : Elements(top, L"graphs"))
                        for (const plat::XmlNode& graph : Elements(group, L"graph"))
                            extended.insert(Attr(graph, L"name"));
        for (const plat::XmlNode& group : Elements(mOffice, L"graphs"))
            for (const plat::XmlNode& graph : Elements(group, L"graph")) {
                mOfficeFacts.graphs[Attr(graph, L"name")] = graph;
                CheckGraph(graph, mOfficeFacts.approach[Attr(graph, L"name")], objects, extended.count(Attr(graph, L"name")) != 0);
            }
    }

    struct BaseLine {
        std::string id;  // object:part
        std::pair<long, long> points[3];
    };

    // Base lines that cross make the drawing order a cycle: no two ground
    // parts' lines cross (touching or running along each other is not a
    // crossing).
    void CheckCrossings(const std::vector<BaseLine>& lines)
    {
        auto side = [](std::pair<long, long> a, std::pair<long, long> b, std::pair<long, long> c) {
            const long long cross = (long long)(b.first - a.first) * (c.second - a.second) -
                                    (long long)(b.second - a.second) * (c.first - a.first);
            return cross > 0 ? 1 : cross < 0 ? -1 : 0;
        };
        for (size_t i = 0; i < lines.size(); ++i)
            for (size_t j = i + 1; j < lines.size(); ++j) {
                bool crossing = false;
                for (int a = 0; a < 2 && !crossing; ++a)
                    for (int b = 0; b < 2 && !crossing; ++b) {
                        const auto p1 = lines[i].points[a], p2 = lines[i].points[a + 1];
                        const auto q1 = lines[j].points[b], q2 = lines[j].points[b + 1];
                        const int d1 = side(p1, p2, q1), d2 = side(p1, p2, q2);
                        const int d3 = side(q1, q2, p1), d4 = side(q1, q2, p2);
                        crossing = d1 * d2 < 0 && d3 * d4 < 0;
                    }
                if (crossing) {
                    const std::string& id = lines[i].id;
                    Report("cfg\\office.xml", id.substr(0, id.find(':')),
                           "part " + id.substr(id.find(':') + 1) + ": its base line crosses that of " + lines[j].id);
                }
            }
    }

    static bool IsLevelFile(const std::string& path)
    {
        return (path.rfind("cfg\\l", 0) == 0 || path.rfind("cfg\\endless", 0) == 0) && path.size() > 8 &&
               path.compare(path.size() - 4, 4, ".xml") == 0 && path != "cfg\\loc.xml";
    }

    // A walk graph: edges join points that exist, none of length 0; every
    // approach point of the walker's objects is reachable from its home
    // (unless levels extend the graph: then each day is checked).
    void CheckGraph(const plat::XmlNode& graph, const std::map<std::string, std::pair<int, int>>& approach,
                    const std::set<std::string>& objects, bool extendedByLevels)
    {
        const std::string file = "cfg\\office.xml";
        const std::string walker = Attr(graph, L"name");
        WalkGraph walk;
        walk.points.insert(approach.begin(), approach.end());
        AddToGraph(file, graph, walk, mFindings);
        const std::string home = walker + "_home";
        if (walker == "boss" || walker == "secretary" || walker == "engineer") {
            if (!walk.points.count(home)) {
                Report(file, walker, "the graph lacks the point " + home);
                return;
            }
            if (extendedByLevels)
                return;
            const std::set<std::string> reached = Reached(walk, home);
            for (const auto& target : approach)
                if (objects.count(target.first) && !reached.count(target.first))
                    Report(file, walker, "cannot reach " + target.first + " from " + home);
        }
    }

    void CheckLevels()
    {
        // A level's objects are office.xml's: the loader places only those.
        std::vector<std::string> levelFiles;
        for (int level = 1; level <= 60; ++level)
            levelFiles.push_back("cfg\\l" + std::to_string(level) + ".xml");
        for (int level = 1; level <= 3; ++level)
            levelFiles.push_back("cfg\\endless" + std::to_string(level) + ".xml");
        for (const std::string& path : levelFiles) {
            auto found = mDocuments.find(path);
            if (found == mDocuments.end() || mOffice.IsEmpty())
                continue;
            for (const plat::XmlNode& top : Elements(found->second.Node())) {
                for (const plat::XmlNode& group : Elements(top, L"objects"))
                    for (const plat::XmlNode& object : Elements(group, L"object"))
                        if (!mOfficeFacts.classes.count(Attr(object, L"name")))
                            Report(path, Attr(object, L"name"), "the level names this object, which office.xml lacks");
                CheckLevelFile(path, top, mOfficeFacts, mFindings);
            }
        }
        for (int level = 1; level <= 60; ++level) {
            const std::string path = "cfg\\l" + std::to_string(level) + ".xml";
            auto found = mDocuments.find(path);
            if (found == mDocuments.end()) {
                if (mFull && !mData.Has(path))
                    Report(path, "(file)", "is missing");
                continue;
            }
            const std::vector<plat::XmlNode> top = Elements(found->second.Node());
            if (top.empty())
                continue;
            for (const wchar_t* key : {L"briefing", L"debriefing_bad", L"debriefing_good", L"debriefing_perfect"})
                if (HasAttr(top.front(), key))
                    NeedLoc(path, Narrow(key), Attr(top.front(), key));
            const plat::XmlNode params = top.front().SelectSingle(L"//params");
            if (params.IsEmpty() || !HasAttr(params, L"expert"))
                Report(path, "params", "needs \"expert\"");
        }
    }

    // The parts' animation files and the pictures their records name.
    void CheckAnimations()
    {
        const PictureLookup lookup = [this](const std::string& name) {
            PictureInfo info;
            info.path = PicturePath(name);
            info.found = !info.path.empty();
            if (info.found && !PictureSize(mData.files.at(info.path), info.width, info.height))
                info.width = info.height = -1;
            return info;
        };
        for (const auto& file : mData.files)
            if (file.first.rfind("anm\\", 0) == 0 && file.first.size() > 8 &&
                file.first.compare(file.first.size() - 4, 4, ".anm") == 0)
                CheckAnimationFile(file.first, file.second, lookup, mFindings);
    }

    const DataSet& mData;
    bool mFull;
    OfficeFacts mOfficeFacts;
    std::map<std::string, DecodedPicture> mPixels;  // texture id -> its picture
    DecodedPicture mFloor;
    std::map<std::string, std::set<std::string>> mEffectFunctions;  // effect -> the callbacks its timers call
    std::vector<Finding> mFindings;
    std::map<std::string, plat::XmlDocument> mDocuments;
    plat::XmlNode mLoc, mEffects, mUi, mOffice, mManifest;
    std::set<std::string> mLocIds;
    std::map<std::string, std::wstring> mLocTexts;
    std::map<std::string, std::string> mImageFonts; // font name -> description path
    std::map<std::string, std::set<wchar_t>> mGlyphs; // description path -> characters with a glyph
    std::set<std::string> mEffectNames;
    std::map<std::string, std::map<std::string, std::vector<std::pair<std::string, std::string>>>> mEffectMessages;
    std::map<std::string, bool> mLocks;
    std::set<std::string> mCheckedUiEffects;
    std::set<std::string> mFunctionsUsed;
    std::map<std::string, std::string> mTextures;
    std::set<std::string> mFonts;
};

} // namespace

const std::vector<std::string>& ExportedCallbackNames()
{
    static const std::vector<std::string> names = {
        "EffectItemShow", "EffectItemHide", "EffectBlinkHP", "EffectBlinkHPOff", "EffectScaleZero",
        "EffectScaleUpRecoil", "EffectScaleDown", "EffectSetCheckmarkScalepoint", "EffectScalePulse",
        "EffectScaleDownToOne", "EffectSlideFromBottomDecel", "EffectShake", "EffectFadeIn", "EffectFadeOut",
        "EffectFadeOne", "EffectFadeZero", "EffectJumpUp", "EffectSlideUpAccel", "EffectSetCashBonusColor",
        "EffectSetCashPenaltyColor", "EffectSetCashPenaltyOffset", "EffectSetChainColor", "UpgradeEffectBlink",
        "EffectTableSpecColor", "WindowFadeOut", "WindowReset", "DlgShow", "DlgHide", "DlgFadeIn", "DlgFadeOut",
        "DlgSetCenterScalePoint", "DlgScaleUpRecoil", "DlgSmallScaleDownAccel", "DlgScaleUpEaseOut",
        "DlgBigScaleDownAccel", "DlgSmallScaleUpAccel", "DlgShiftDown", "DlgShiftDownAccel", "DlgSlideDownAccel",
        "DlgSlideFromBottomAccel", "DlgSlideRightAccel", "DlgSlideFromRightAccel", "DlgUpgradeBtnBlink",
        "FuncOnGoalExpertPSEffect", "FuncOnWorkerWorkingPSEffect", "RenderPSFunc", "StopPSFunc", "WidgetsLock",
        "WidgetsUnlock"};
    return names;
}

bool ReadGameFolder(const std::string& folder, DataSet& data, std::string& error)
{
    data.files.clear();
    const fs::path root(folder);
    std::error_code ec;
    for (const char* dir : {"cfg", "properties", "images", "fonts", "sounds", "music", "anm"}) {
        if (!fs::is_directory(root / dir, ec))
            continue;
        for (auto it = fs::recursive_directory_iterator(root / dir, ec); !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
            if (!it->is_regular_file())
                continue;
            std::string bytes;
            if (!ReadWholeFile(it->path().string(), bytes)) {
                error = "cannot read " + it->path().string();
                return false;
            }
            std::string name = Lower(fs::relative(it->path(), root).generic_string());
            std::replace(name.begin(), name.end(), '/', '\\');
            data.Add(name, bytes);
        }
    }
    for (const char* archive : {"loc.pak", "data.pak", "mod.pak"}) {
        const fs::path path = root / archive;
        if (!fs::exists(path, ec))
            continue;
        std::string bytes;
        if (!ReadWholeFile(path.string(), bytes)) {
            error = "cannot read " + path.string();
            return false;
        }
        std::vector<PakDirectoryEntry> entries;
        if (!ParsePakDirectory(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), entries)) {
            error = path.string() + " is not a readable archive";
            return false;
        }
        for (const PakDirectoryEntry& entry : entries) {
            std::vector<uint8_t> content(entry.size);
            DescramblePak(content.data(), reinterpret_cast<const uint8_t*>(bytes.data()) + entry.offset, entry.size);
            data.Add(Lower(entry.name), std::move(content));
        }
    }
    return true;
}

std::vector<Finding> Validate(const DataSet& data, bool full)
{
    return Checker(data, full).Run();
}

} // namespace contentgen
