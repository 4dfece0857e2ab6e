#include "framework/fonts/DescParser.h"

#include "framework/app/StringUtil.h"
#include "framework/app/Utf16.h"
#include "framework/resources/PakFileAccess.h"

namespace Zelk {

namespace {

// A single quote outside double quotes opens or closes single quotes, and the
// other way round; true when c did.
bool ToggleQuotes(wchar_t c, bool& inSingle, bool& inDouble)
{
    if (c == L'\'' && !inDouble)
        inSingle = !inSingle;
    else if (c == L'"' && !inSingle)
        inDouble = !inDouble;
    else
        return false;
    return true;
}

} // namespace

DescParser::DescParser() = default;

DescParser::~DescParser()
{
    for (auto& entry : mDefineMap)
        delete entry.second;
}

bool DescParser::Error(const std::wstring& text)
{
    mError = text;
    return false;
}

DataElement* DescParser::FindDefine(const std::wstring& name)
{
    auto it = mDefineMap.find(WStringToUpper(name));
    return it == mDefineMap.end() ? nullptr : it->second;
}

void DescParser::SetDefine(const std::wstring& name, DataElement* value)
{
    DataElement*& slot = mDefineMap[WStringToUpper(name)];
    delete slot;
    slot = value;
}

bool DescParser::Build(uint64_t units)
{
    if (mBuilt > kMaxBuiltSize)
        return false; // refused and reported already
    mBuilt += units;
    return mBuilt <= kMaxBuiltSize || Error(L"Description Too Large");
}

uint64_t DescParser::SizeOf(const DataElement& value)
{
    if (!value.mIsList)
        return 1 + static_cast<const SingleDataElement&>(value).mString.size();
    uint64_t size = 1;
    for (const DataElement* e : static_cast<const ListDataElement&>(value).mElementVector)
        size += SizeOf(*e);
    return size;
}

bool DescParser::IsImmediate(const std::wstring& text)
{
    if (text.empty())
        return false;
    wchar_t c = text[0];
    return (c >= L'0' && c <= L'9') || c == L'-' || c == L'+' || c == L'\'' || c == L'"';
}

bool DescParser::LoadDescriptor(const std::string& fileName)
{
    PakFile* file = PakFOpen(fileName, "rb");
    if (!file)
        return false;
    std::u16string units;
    while (!PakFEof(file)) {
        int c = PakFGetWC(file);
        if (c == 0xFFFF)
            break;
        units.push_back(char16_t(c));
    }
    PakFClose(file);
    std::wstring text = Utf16ToWide(units);
    // Files saved with a byte-order mark carry it before the first command.
    if (!text.empty() && text[0] == 0xFEFF)
        text.erase(0, 1);
    bool ok = ReadCommands(text);
    mCurrentLine.clear();
    mCurrentLineNum = 0;
    return ok;
}

bool DescParser::ReadCommands(const std::wstring& text)
{
    int line = 1;
    bool atLineStart = true, inSingle = false, inDouble = false, escape = false, inComment = false;
    mCurrentLine.clear();
    mCurrentLineNum = 0;
    mBuilt = 0;

    auto append = [&](wchar_t c) {
        if (mCurrentLine.empty())
            mCurrentLineNum = line;
        mCurrentLine += c;
    };
    auto runCommand = [&]() {
        bool ok = true;
        if (!mCurrentLine.empty())
            ok = ParseCommand(mCurrentLine);
        mCurrentLine.clear();
        mCurrentLineNum = 0;
        atLineStart = true;
        inSingle = inDouble = escape = inComment = false;
        return ok;
    };

    for (wchar_t c : text) {
        if (c == L'\r')
            continue;
        if (inComment) {
            if (c == L'\n') {
                inComment = false;
                atLineStart = true;
                ++line;
            }
            continue;
        }
        if (atLineStart) {
            if (c == L' ' || c == L'\t' || c == L'\n') {
                if (c == L'\n')
                    ++line;
                continue;
            }
            atLineStart = false;
            if (c == L'#') {
                inComment = true;
                continue;
            }
        }
        if (escape) {
            append(L'\\');
            append(c);
            escape = false;
        } else if (c == L'\\' && (inSingle || inDouble)) {
            escape = true;
        } else if (ToggleQuotes(c, inSingle, inDouble)) {
            append(c);
        } else if (c == L';' && !inSingle && !inDouble && (mCmdSep & CMDSEP_SEMICOLON)) {
            if (!runCommand())
                return false;
            continue;
        } else {
            append(c);
        }
        if (c == L'\n') {
            ++line;
            atLineStart = true;
        }
    }
    return runCommand();
}

bool DescParser::ParseCommand(const std::wstring& cmd)
{
    ListDataElement params;
    size_t pos = 0;
    mListDepth = 0;
    if (!Tokenize(cmd, &params, false, pos))
        return false;
    if (params.mElementVector.empty())
        return true;
    if (params.mElementVector[0]->mIsList)
        return Error(L"Missing Command");
    return HandleCommand(params);
}

bool DescParser::Tokenize(const std::wstring& text, ListDataElement* list, bool inList, size_t& pos)
{
    SingleDataElement* current = nullptr;
    bool inSingle = false, inDouble = false, escape = false;
    auto append = [&](wchar_t c) {
        if (!current) {
            current = new SingleDataElement();
            list->mElementVector.push_back(current);
        }
        current->mString += c;
    };

    while (pos < text.size()) {
        wchar_t c = text[pos++];
        if (escape) {
            append(c);
            escape = false;
        } else if (c == L'\\') {
            escape = true;
        } else if (ToggleQuotes(c, inSingle, inDouble) || inSingle || inDouble) {
            append(c);
        } else if (c == L'(') {
            if (current || mListDepth >= kMaxListDepth)
                return Error(L"Unexpected List Start");
            auto* sub = new ListDataElement();
            list->mElementVector.push_back(sub);
            ++mListDepth;
            bool ok = Tokenize(text, sub, true, pos);
            --mListDepth;
            if (!ok)
                return false;
        } else if (c == L')') {
            if (!inList)
                return Error(L"Unexpected List End");
            return true;
        } else if (c == L' ' || c == L'\t' || c == L'\n' || c == L',') {
            current = nullptr;
        } else {
            append(c);
        }
    }
    if (inSingle)
        return Error(L"Unterminated Single Quotes");
    if (inDouble)
        return Error(L"Unterminated Double Quotes");
    if (inList)
        return Error(L"Unterminated List");
    return true;
}

bool DescParser::Dereference(const ListDataElement& in, ListDataElement& out)
{
    return DereferenceAt(in, out, 1);
}

bool DescParser::DereferenceAt(const ListDataElement& in, ListDataElement& out, int depth)
{
    if (depth > kMaxListDepth)
        return Error(L"Unexpected List Start");
    for (const DataElement* e : in.mElementVector) {
        if (e->mIsList) {
            if (!Build(1))
                return false;
            auto* sub = new ListDataElement();
            out.mElementVector.push_back(sub);
            if (!DereferenceAt(*static_cast<const ListDataElement*>(e), *sub, depth + 1))
                return false;
            continue;
        }
        const std::wstring& s = static_cast<const SingleDataElement*>(e)->mString;
        if (IsImmediate(s)) {
            if (!Build(SizeOf(*e)))
                return false;
            out.mElementVector.push_back(new SingleDataElement(WStringUnquote(s)));
            continue;
        }
        DataElement* value = FindDefine(s);
        if (!value)
            return Error(L"Unable to Dereference \"" + s + L"\"");
        if (value->mIsList && depth + static_cast<const ListDataElement*>(value)->Depth() > kMaxListDepth)
            return Error(L"Unexpected List Start");
        if (!Build(SizeOf(*value)))
            return false;
        out.mElementVector.push_back(value->Duplicate());
    }
    return true;
}

} // namespace Zelk
