#pragma once
#include "framework/resources/XMLElement.h"

#include <cstdint>
#include <string>
#include <vector>

struct PakFile;

namespace Zelk {

// The framework's pull parser for the XML-like files it reads itself (the
// resource manifest above all). It reads through the archive-aware file
// operations, decodes single bytes, UTF-8 or UTF-16 as the byte-order mark
// says, and hands out one token at a time. It is not a validating parser:
// white space collapses, only double quotes delimit values, and the first
// error stops it with its text and line number.
class XMLParser {
public:
    // The most characters the names of the open elements may hold, joined
    // by "/"; a start tag past it is the error "Elements Nested Too Deep".
    static constexpr size_t kMaxSectionLength = 1024;

    XMLParser();
    virtual ~XMLParser();
    XMLParser(const XMLParser&) = delete;
    XMLParser& operator=(const XMLParser&) = delete;

    // False (with "Unable to open file " and the name, line 0) when the file
    // cannot be opened.
    bool OpenFile(const std::string& fileName);
    // The next token; false at the end of the file (no error) or on an error.
    bool NextElement(XMLElement* element);

    std::wstring GetErrorText() const { return mErrorText; }
    std::string GetFileName() const { return mFileName; }
    int GetCurrentLineNum() const { return mLineNum; }
    bool HasFailed() const { return mHasFailed; }
    // Comments are skipped unless this is switched on.
    void AllowComments(bool allow) { mAllowComments = allow; }

private:
    enum class Reader { Bytes, Utf8, Utf16 };
    enum class Read { Char, End, Illegal };

    void Close();
    bool Fail(const std::wstring& text);
    bool NextByte(uint8_t* byte);
    Read Decode(uint32_t* c);
    Read DecodeUtf8(uint32_t* c);
    Read DecodeUtf16(uint32_t* c);
    Read NextChar(uint32_t* c);
    void PushBack(uint32_t c) { mPushedBack.push_back(c); }

    std::string mFileName;
    std::wstring mErrorText;
    bool mHasFailed = false;
    bool mAllowComments = false;
    int mLineNum = 0;
    PakFile* mFile = nullptr;
    std::vector<uint32_t> mPushedBack;
    std::wstring mSection;
    Reader mReader = Reader::Utf8;
    bool mFirstChar = true;
    bool mByteSwap = false;

    // Raw bytes of the file, read in blocks.
    std::vector<uint8_t> mBuffer;
    size_t mBufferPos = 0;
};

} // namespace Zelk
