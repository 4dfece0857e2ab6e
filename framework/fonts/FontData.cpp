// Loading a font description, its error report and the value readers of its
// commands.
#include "framework/fonts/FontData.h"

#include "framework/app/StringUtil.h"
#include "framework/app/ZelkAppBase.h"

#include <charconv>
#include <climits>
#include <cmath>

namespace Zelk {

FontData::FontData() = default;

FontData::~FontData() = default;

bool FontData::Load(ZelkAppBase* app, const std::string& fontDescFileName)
{
    if (mInitialized)
        return false;
    mApp = app;
    mCurrentLine.clear();
    mFontErrorHeader = L"Font Descriptor Error in " + StringToWString(fontDescFileName) + L"\r\n";
    mSourceFile = fontDescFileName;
    mInitialized = LoadDescriptor(fontDescFileName);
    return true;
}

bool FontData::Error(const std::wstring& text)
{
    DescParser::Error(text);
    if (!mApp)
        return false;
    std::wstring message = mFontErrorHeader + text;
    if (mCurrentLineNum > 0)
        message += WStrFormat(L" on Line %d:\r\n\r\n", mCurrentLineNum) + mCurrentLine;
    mApp->FatalErrorW(message);
    return false;
}

// ---- layer image paths ----

namespace {

bool IsSep(char c)
{
    return c == '/' || c == '\\';
}

} // namespace

// A name with a drive ("X:...") is taken as it is. Otherwise the separator is
// "\" when either text holds one, else "/"; leading "." components of the name
// are dropped and each leading ".." takes the folder's last component away
// (or is kept when there is none to take, or that one is itself ".."); the
// rest of the name follows the folder with every separator made the chosen
// one. An empty folder (a description in the current folder) adds nothing.
std::string FontData::JoinImagePath(const std::string& folder, const std::string& name)
{
    if (name.size() >= 2 && name[1] == ':')
        return name;
    char sep = folder.find('\\') != std::string::npos || name.find('\\') != std::string::npos ? '\\' : '/';

    std::vector<std::string> dirs;
    size_t start = 0;
    for (size_t i = 0; i <= folder.size(); ++i) {
        if (i == folder.size() || IsSep(folder[i])) {
            if (i > start || (i == 0 && !folder.empty()))
                dirs.push_back(folder.substr(start, i - start)); // "" first stands for the root
            start = i + 1;
        }
    }

    size_t pos = 0;
    while (pos < name.size()) {
        size_t end = pos;
        while (end < name.size() && !IsSep(name[end]))
            ++end;
        std::string part = name.substr(pos, end - pos);
        if (part == ".") {
        } else if (part == "..") {
            if (!dirs.empty() && dirs.back() != ".." && !dirs.back().empty())
                dirs.pop_back();
            else if (dirs.empty() || dirs.back() == "..")
                dirs.push_back("..");
        } else {
            break;
        }
        pos = end < name.size() ? end + 1 : end;
    }

    std::string out;
    for (size_t i = 0; i < dirs.size(); ++i) {
        out += dirs[i];
        out += sep;
    }
    for (size_t i = pos; i < name.size(); ++i)
        out += IsSep(name[i]) ? sep : name[i];
    return out;
}

// ---- numbers ----

// Optional "-" and decimal digits, or "0x"/"0X" and hexadecimal digits (no
// sign, up to 32 bits, kept bit for bit). Nothing else, and nothing that
// overflows.
bool FontData::ParseInt(const std::wstring& text, int& out)
{
    size_t n = text.size();
    if (n > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        uint64_t v = 0;
        for (size_t i = 2; i < n; ++i) {
            wchar_t c = text[i];
            int d = c >= L'0' && c <= L'9' ? c - L'0' : c >= L'a' && c <= L'f' ? c - L'a' + 10
                                                      : c >= L'A' && c <= L'F' ? c - L'A' + 10 : -1;
            if (d < 0)
                return false;
            v = v * 16 + uint64_t(d);
            if (v > 0xFFFFFFFFull)
                return false;
        }
        out = int(uint32_t(v));
        return true;
    }
    size_t i = 0;
    bool negative = false;
    if (i < n && text[i] == L'-') {
        negative = true;
        ++i;
    }
    if (i == n)
        return false;
    int64_t v = 0;
    for (; i < n; ++i) {
        wchar_t c = text[i];
        if (c < L'0' || c > L'9')
            return false;
        v = v * 10 + (c - L'0');
        if (v > int64_t(INT_MAX) + 1)
            return false;
    }
    if (negative)
        v = -v;
    if (v > INT_MAX || v < INT_MIN)
        return false;
    out = int(v);
    return true;
}

// Optional "-", decimal digits, optional "." and more digits; no exponent.
bool FontData::ParseDouble(const std::wstring& text, double& out)
{
    std::string narrow;
    size_t i = 0, n = text.size();
    if (i < n && text[i] == L'-')
        narrow += char(text[i++]);
    size_t digits = 0;
    for (; i < n && text[i] >= L'0' && text[i] <= L'9'; ++i, ++digits)
        narrow += char(text[i]);
    if (digits == 0)
        return false;
    if (i < n && text[i] == L'.') {
        narrow += '.';
        for (++i; i < n && text[i] >= L'0' && text[i] <= L'9'; ++i)
            narrow += char(text[i]);
    }
    if (i != n)
        return false;
    double v = 0;
    auto result = std::from_chars(narrow.data(), narrow.data() + narrow.size(), v);
    if (result.ec != std::errc() || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

// ---- values ----

bool FontData::GetImmediateInt(DataElement* in, int& out)
{
    return !in->mIsList && ParseInt(static_cast<SingleDataElement*>(in)->mString, out);
}

bool FontData::GetString(DataElement* in, std::wstring& out)
{
    if (in->mIsList)
        return false;
    std::wstring text = static_cast<SingleDataElement*>(in)->mString;
    if (DataElement* value = FindDefine(text)) {
        if (value->mIsList || !Build(SizeOf(*value)))
            return false;
        text = static_cast<SingleDataElement*>(value)->mString;
    }
    out = WStringUnquote(text);
    return true;
}

// A list written in place is dereferenced; a single value must name a Define
// holding a list, which is used as it is.
bool FontData::DataToList(DataElement* in, ListDataElement& out, bool reportUnknown)
{
    out.Clear();
    if (in->mIsList)
        return Dereference(*static_cast<ListDataElement*>(in), out);
    const std::wstring& name = static_cast<SingleDataElement*>(in)->mString;
    DataElement* value = FindDefine(name);
    if (!value) {
        if (reportUnknown)
            Error(L"Unable to Dereference \"" + name + L"\"");
        return false;
    }
    if (!value->mIsList || !Build(SizeOf(*value)))
        return false;
    out = *static_cast<ListDataElement*>(value);
    return true;
}

bool FontData::GetStringVector(DataElement* in, std::vector<std::wstring>& out)
{
    ListDataElement list;
    if (!DataToList(in, list, true))
        return false;
    out.clear();
    for (DataElement* e : list.mElementVector) {
        if (e->mIsList)
            return false;
        out.push_back(static_cast<SingleDataElement*>(e)->mString);
    }
    return true;
}

namespace {

template <typename T>
bool ParseEach(const std::vector<std::wstring>& texts, std::vector<T>& out, bool (*parse)(const std::wstring&, T&))
{
    out.assign(texts.size(), T());
    for (size_t i = 0; i < texts.size(); ++i)
        if (!parse(texts[i], out[i]))
            return false;
    return true;
}

} // namespace

bool FontData::GetIntVector(DataElement* in, std::vector<int>& out)
{
    std::vector<std::wstring> texts;
    return GetStringVector(in, texts) && ParseEach(texts, out, &FontData::ParseInt);
}

bool FontData::GetDoubleVector(DataElement* in, std::vector<double>& out)
{
    std::vector<std::wstring> texts;
    return GetStringVector(in, texts) && ParseEach(texts, out, &FontData::ParseDouble);
}

bool FontData::DataToLayer(DataElement* in, GlyphLayer*& out)
{
    if (in->mIsList)
        return false;
    std::string name = StringToUpper(WStringToString(static_cast<SingleDataElement*>(in)->mString));
    auto it = mFontLayerMap.find(name);
    if (it == mFontLayerMap.end())
        return Error(L"Undefined Layer");
    out = it->second;
    return true;
}

// Four numbers (red, green, blue, alpha) from 0 to 1, or one integer
// 0xAARRGGBB.
bool FontData::DataToColor(DataElement* in, Color& out)
{
    if (!in->mIsList && IsImmediate(static_cast<SingleDataElement*>(in)->mString)) {
        int packed = 0;
        if (!ParseInt(static_cast<SingleDataElement*>(in)->mString, packed))
            return false;
        out = Color(uint32_t(packed));
        return true;
    }
    std::vector<double> v;
    if (!GetDoubleVector(in, v) || v.size() != 4)
        return false;
    int channels[4];
    for (int i = 0; i < 4; ++i) {
        double scaled = v[size_t(i)] * 255;
        if (!(scaled > double(INT_MIN) - 1 && scaled < double(INT_MAX) + 1))
            return false;
        channels[i] = int(scaled);
    }
    out = Color(channels[0], channels[1], channels[2], channels[3]);
    return true;
}

} // namespace Zelk
