#pragma once
#include "framework/fonts/DataElement.h"

#include <cstdint>
#include <map>
#include <string>

namespace Zelk {

// Reads description files: UTF-16 little-endian text of commands ended by
// semicolons, with "#" comment lines, quoted texts, parenthesised lists and
// named values (Defines). Each command is split into values and handed to
// HandleCommand; reading stops at the first command that fails.
class DescParser {
public:
    enum { CMDSEP_SEMICOLON = 1 };
    // Lists nest at most this deep, in the text and in values built from
    // Defines.
    static constexpr int kMaxListDepth = 64;
    // The most one description may build, counted as elements and
    // characters: every value a Define stores or a command copies, and every
    // layer with what it copies. A Define naming another copies it whole, so
    // a few hundred bytes of Defines could otherwise ask for gigabytes.
    static constexpr uint64_t kMaxBuiltSize = uint64_t(1) << 20;

    DescParser();
    DescParser(const DescParser&) = delete;
    DescParser& operator=(const DescParser&) = delete;
    virtual ~DescParser();

    // Keeps the text and returns false.
    virtual bool Error(const std::wstring& text);
    // The value of the Define of that name (any letter case), or null.
    virtual DataElement* FindDefine(const std::wstring& name);
    virtual bool HandleCommand(const ListDataElement& params) = 0;

    // Reads and runs the whole file; false when it cannot be opened or a
    // command failed.
    bool LoadDescriptor(const std::string& fileName);
    bool ParseCommand(const std::wstring& cmd);
    // Splits text from pos on into values appended to list; a nested list is
    // read by a recursive call with inList set, up to its ")".
    bool Tokenize(const std::wstring& text, ListDataElement* list, bool inList, size_t& pos);
    // Copies in to out with quoted values unquoted, number-like values as
    // written and every other value replaced by its Define's value.
    bool Dereference(const ListDataElement& in, ListDataElement& out);

    // Begins with a digit, "-", "+" or a quote.
    static bool IsImmediate(const std::wstring& text);

    int mCmdSep = CMDSEP_SEMICOLON;
    std::wstring mError;
    int mCurrentLineNum = 0; // line of the command being run; 0 between commands
    std::wstring mCurrentLine;
    std::map<std::wstring, DataElement*> mDefineMap; // by upper-cased name, owned

protected:
    // Runs the commands of a whole description text.
    bool ReadCommands(const std::wstring& text);
    bool DereferenceAt(const ListDataElement& in, ListDataElement& out, int depth);
    // Replaces (or adds) a Define, taking ownership of the value.
    void SetDefine(const std::wstring& name, DataElement* value);
    // Counts units against the description's budget; false once it is spent,
    // reporting "Description Too Large" the first time.
    bool Build(uint64_t units);
    // Elements and characters of a value, nested lists included.
    static uint64_t SizeOf(const DataElement& value);

private:
    int mListDepth = 0;
    uint64_t mBuilt = 0;
};

} // namespace Zelk
