#include "framework/resources/XMLParser.h"

#include "framework/app/StringUtil.h"
#include "framework/resources/PakFileAccess.h"

namespace Zelk {

namespace {

const size_t kBlockSize = 4096;

// White space between and inside tags: tab, line feed, vertical tab, form
// feed, carriage return and blank, on the whole character value.
bool IsWhite(uint32_t c)
{
    return (c >= 9 && c <= 13) || c == 32;
}

// The wider classification that ends an instruction's target name.
bool IsWideSpace(uint32_t c)
{
    return IsWhite(c) || c == 0x85 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) ||
           c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

bool EndsWith(const std::wstring& text, const wchar_t* tail)
{
    size_t n = std::char_traits<wchar_t>::length(tail);
    return text.size() >= n && text.compare(text.size() - n, n, tail) == 0;
}

// Each "&name;" becomes one character; an unknown name leaves a lone "&";
// an ampersand without a semicolon after it stays as it is.
std::wstring DecodeEntities(const std::wstring& text)
{
    size_t amp = text.find(L'&');
    if (amp == std::wstring::npos)
        return text;
    std::wstring out = text.substr(0, amp);
    size_t pos = amp;
    while (pos < text.size()) {
        if (text[pos] != L'&') {
            out += text[pos++];
            continue;
        }
        size_t semi = text.find(L';', pos + 1);
        if (semi == std::wstring::npos) {
            out += text.substr(pos);
            break;
        }
        std::wstring name = text.substr(pos + 1, semi - pos - 1);
        static const struct {
            const wchar_t* name;
            wchar_t c;
        } kEntities[] = {{L"lt", L'<'},    {L"amp", L'&'},  {L"gt", L'>'}, {L"quot", L'"'},
                         {L"apos", L'\''}, {L"nbsp", L' '}, {L"cr", L'\n'}};
        wchar_t c = L'&';
        for (const auto& e : kEntities)
            if (name == e.name)
                c = e.c;
        out += c;
        pos = semi + 1;
    }
    return out;
}

} // namespace

XMLParser::XMLParser() = default;

XMLParser::~XMLParser()
{
    Close();
}

void XMLParser::Close()
{
    if (mFile) {
        PakFClose(mFile);
        mFile = nullptr;
    }
}

bool XMLParser::Fail(const std::wstring& text)
{
    mHasFailed = true;
    mErrorText = text;
    return false;
}

bool XMLParser::OpenFile(const std::string& fileName)
{
    Close();
    mPushedBack.clear();
    mBuffer.clear();
    mBufferPos = 0;
    // Read in binary: carriage returns are dropped as characters below, so a
    // file reads the same from an archive and from disk, and UTF-16 text is
    // never shifted by a dropped byte.
    mFile = PakFOpen(fileName.c_str(), "rb");
    if (!mFile) {
        mLineNum = 0;
        mFileName.clear();
        return Fail(L"Unable to open file " + StringToWString(fileName));
    }

    // Choose the reader from the byte-order mark. The first block stays in
    // the buffer, so the reader starts at the first byte without seeking.
    mBuffer.resize(kBlockSize);
    mBuffer.resize(PakFRead(mBuffer.data(), 1, kBlockSize, mFile));
    const std::vector<uint8_t>& b = mBuffer;
    if (b.size() >= 2 && ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF)))
        mReader = Reader::Utf16;
    else if (b.size() >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF)
        mReader = Reader::Utf8;
    else
        mReader = Reader::Bytes;

    mFileName = fileName;
    mLineNum = 1;
    mHasFailed = false;
    mErrorText.clear();
    mSection.clear();
    mFirstChar = true;
    mByteSwap = false;
    return true;
}

bool XMLParser::NextByte(uint8_t* byte)
{
    if (mBufferPos >= mBuffer.size()) {
        if (!mFile)
            return false;
        mBuffer.resize(kBlockSize);
        mBuffer.resize(PakFRead(mBuffer.data(), 1, kBlockSize, mFile));
        mBufferPos = 0;
        if (mBuffer.empty())
            return false;
    }
    *byte = mBuffer[mBufferPos++];
    return true;
}

XMLParser::Read XMLParser::DecodeUtf8(uint32_t* c)
{
    uint8_t lead;
    if (!NextByte(&lead))
        return Read::End;
    if (lead < 0x80) {
        *c = lead;
        return Read::Char;
    }
    int more;
    uint32_t value;
    if ((lead & 0xE0) == 0xC0) {
        more = 1;
        value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        more = 2;
        value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        more = 3;
        value = lead & 0x07;
    } else if ((lead & 0xFC) == 0xF8) {
        more = 4;
        value = lead & 0x03;
    } else {
        return Read::Illegal; // a continuation byte, or 0xFC to 0xFF
    }
    if (lead == 0xC0 || lead == 0xC1)
        return Read::Illegal;
    for (int i = 0; i < more; ++i) {
        uint8_t next;
        if (!NextByte(&next) || (next & 0xC0) != 0x80)
            return Read::Illegal;
        if (i == 0 && ((lead == 0xE0 && next < 0xA0) || (lead == 0xF0 && next < 0x90) ||
                       (lead == 0xF8 && next < 0x88)))
            return Read::Illegal; // over-long
        value = value << 6 | (next & 0x3F);
    }
    // Surrogates, the two non-characters and anything past the last code
    // point are not characters.
    if ((value >= 0xD800 && value <= 0xDFFF) || value == 0xFFFE || value == 0xFFFF || value > 0x10FFFF)
        return Read::Illegal;
    *c = value;
    return Read::Char;
}

XMLParser::Read XMLParser::DecodeUtf16(uint32_t* c)
{
    auto unit = [this](uint32_t* u) {
        uint8_t a, b;
        if (!NextByte(&a) || !NextByte(&b))
            return false;
        *u = mByteSwap ? (uint32_t(a) << 8 | b) : (uint32_t(b) << 8 | a);
        return true;
    };
    uint32_t u;
    if (!unit(&u))
        return Read::End;
    if (u >= 0xD800 && u <= 0xDBFF) {
        // A high surrogate needs its low surrogate; a lone one is an error,
        // not a silent end of the file.
        uint32_t low;
        if (!unit(&low) || low < 0xDC00 || low > 0xDFFF)
            return Read::Illegal;
        u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
    }
    *c = u;
    return Read::Char;
}

XMLParser::Read XMLParser::Decode(uint32_t* c)
{
    for (;;) {
        Read r;
        if (mReader == Reader::Bytes) {
            uint8_t byte;
            r = NextByte(&byte) ? Read::Char : Read::End;
            *c = byte;
        } else if (mReader == Reader::Utf8) {
            r = DecodeUtf8(c);
        } else {
            r = DecodeUtf16(c);
        }
        if (r != Read::Char)
            return r;
        bool first = mFirstChar;
        mFirstChar = false;
        if (first && mReader != Reader::Bytes && *c == 0xFEFF)
            continue;
        if (first && mReader == Reader::Utf16 && *c == 0xFFFE) {
            mByteSwap = true;
            continue;
        }
        if (*c == '\r')
            continue;
        return Read::Char;
    }
}

XMLParser::Read XMLParser::NextChar(uint32_t* c)
{
    if (!mPushedBack.empty()) {
        *c = mPushedBack.back();
        mPushedBack.pop_back();
        return Read::Char;
    }
    return Decode(c);
}

bool XMLParser::NextElement(XMLElement* element)
{
    if (!mFile || mHasFailed)
        return false;

    for (;;) {
        element->Clear();
        element->mSection = mSection;
        int& type = element->mType;
        std::wstring& value = element->mValue;
        std::wstring& instruction = element->mInstruction;

        bool inQuote = false, pendingSpace = false, nameDone = false;
        bool haveEquals = false, quoteClosed = false;
        std::wstring attrName, attrValue, lastAttrName;
        bool haveLastAttr = false;

        auto attributePending = [&] { return !attrName.empty() || !attrValue.empty(); };
        auto addAttribute = [&] {
            std::wstring name = DecodeEntities(attrName);
            element->AddAttribute(name, DecodeEntities(attrValue));
            lastAttrName = name;
            haveLastAttr = true;
            attrName.clear();
            attrValue.clear();
            haveEquals = false;
        };

        bool complete = false;
        while (!complete) {
            uint32_t c;
            Read r = NextChar(&c);
            if (r == Read::Illegal)
                return Fail(L"Illegal Character");
            if (r == Read::End) {
                if (type != XMLElement::TYPE_NONE)
                    return Fail(L"Unexpected End of File");
                return false;
            }
            if (c == '\n')
                ++mLineNum;

            if (type == XMLElement::TYPE_COMMENT) {
                instruction += wchar_t(c);
                if (c == '>' && EndsWith(instruction, L"-->")) {
                    instruction.resize(instruction.size() - 3);
                    complete = true;
                }
                continue;
            }
            if (type == XMLElement::TYPE_INSTRUCTION) {
                std::wstring& target = (instruction.empty() && !IsWideSpace(c)) ? value : instruction;
                target += wchar_t(c);
                if (c == '>' && EndsWith(target, L"?>")) {
                    target.resize(target.size() - 2);
                    complete = true;
                }
                continue;
            }

            bool inText = type == XMLElement::TYPE_NONE || type == XMLElement::TYPE_TEXT;
            if (c == '"') {
                inQuote = !inQuote;
                if (!inQuote)
                    quoteClosed = true;
                if (!inText)
                    continue; // quotes in a tag only delimit
            } else if (inQuote) {
                // every character is ordinary inside quotes
            } else if (c == '<') {
                if (type == XMLElement::TYPE_TEXT) {
                    PushBack(c);
                    complete = true;
                    continue;
                }
                if (type == XMLElement::TYPE_NONE) {
                    type = XMLElement::TYPE_START;
                    continue;
                }
                return Fail(L"Unexpected '<'");
            } else if (c == '>') {
                if (inText)
                    return Fail(L"Unexpected '>'");
                if (type == XMLElement::TYPE_START) {
                    quoteClosed = false;
                    bool empty = false;
                    if (attrName == L"/") {
                        empty = true;
                    } else {
                        if (attributePending())
                            addAttribute();
                        if (haveLastAttr && EndsWith(element->mAttributes[lastAttrName], L"/")) {
                            std::wstring v = element->mAttributes[lastAttrName];
                            v.pop_back();
                            element->AddAttribute(lastAttrName, v);
                            empty = true;
                        } else if (element->mAttributes.empty() && EndsWith(value, L"/")) {
                            value.pop_back();
                            empty = true;
                        }
                    }
                    attrName.clear();
                    if (empty) {
                        // The next call returns the matching end tag.
                        PushBack('>');
                        for (size_t i = value.size(); i-- > 0;)
                            PushBack(uint32_t(value[i]));
                        PushBack('/');
                        PushBack('<');
                    }
                    // Every token carries the open path: bounding it keeps
                    // a deeply nested file linear.
                    if (mSection.size() + 1 + value.size() > kMaxSectionLength)
                        return Fail(L"Elements Nested Too Deep");
                    mSection = mSection.empty() ? value : mSection + L"/" + value;
                } else { // end tag
                    size_t slash = mSection.rfind(L'/');
                    std::wstring open = slash == std::wstring::npos ? mSection : mSection.substr(slash + 1);
                    if (mSection.empty())
                        return Fail(L"Unexpected End");
                    if (open != value)
                        return Fail(L"End '" + value + L"' Doesn't Match Start '" + open + L"'");
                    mSection = slash == std::wstring::npos ? std::wstring() : mSection.substr(0, slash);
                }
                complete = true;
                continue;
            } else if (c == '/' && type == XMLElement::TYPE_START && value.empty()) {
                type = XMLElement::TYPE_END;
                continue;
            } else if (c == '?' && type == XMLElement::TYPE_START && value.empty()) {
                type = XMLElement::TYPE_INSTRUCTION;
                continue;
            } else if (IsWhite(c)) {
                if (!value.empty())
                    pendingSpace = true;
                if (type == XMLElement::TYPE_START && value == L"!--")
                    type = XMLElement::TYPE_COMMENT;
                continue;
            } else if (c < 0x21) {
                return Fail(L"Illegal Character");
            }

            // An ordinary character.
            if (type == XMLElement::TYPE_NONE)
                type = XMLElement::TYPE_TEXT;
            if (type == XMLElement::TYPE_TEXT || type == XMLElement::TYPE_END) {
                if (pendingSpace) {
                    value += L' ';
                    pendingSpace = false;
                }
                value += wchar_t(c);
                continue;
            }
            if (pendingSpace) {
                if (!nameDone)
                    nameDone = true;
                else if ((!haveEquals && c != '=') || (haveEquals && (!attrValue.empty() || quoteClosed)))
                    addAttribute();
                pendingSpace = false;
            }
            if (!nameDone) {
                value += wchar_t(c);
            } else if (c == '=' && !inQuote) {
                haveEquals = true;
                quoteClosed = false;
            } else if (haveEquals) {
                attrValue += wchar_t(c);
            } else {
                attrName += wchar_t(c);
            }
        }

        if (attributePending())
            addAttribute();
        value = DecodeEntities(value);
        if (type == XMLElement::TYPE_COMMENT && !mAllowComments)
            continue;
        return true;
    }
}

} // namespace Zelk
