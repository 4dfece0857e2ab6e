#pragma once
#include <cstdint>
#include <string>

namespace plat {

// Show commands of an execute request (the values callers pass on).
constexpr int SW_SHOWNA = 8;
constexpr int SW_SHOWDEFAULT = 10;

// What the desktop offers a program beyond its windows: the clipboard,
// addresses opened in the user's browser, and the version resource of a
// program file.
class Shell {
public:
    virtual ~Shell() = default;
    // Hands the address to the desktop's browser; true when it was handed over.
    virtual bool OpenUrl(const std::string& url) = 0;
    // Carries out a verb ("open", any case, or empty) on a file: a program is
    // started on its own, a ".url" file's address and any other file are
    // opened by the desktop. The file is relative to folder when that is not
    // empty. The show command only asks how a window should first appear.
    // True when the request was handed on; a missing file fails.
    virtual bool Execute(const std::string& verb, const std::string& file, const std::string& parameters,
                         const std::string& folder, int showCommand) = 0;
    // Clipboard text, one code point per element; false when the clipboard
    // cannot be used (or, reading, holds no text).
    virtual bool SetClipboardText(const std::wstring& text) = 0;
    virtual bool GetClipboardText(std::wstring& text) = 0;
    // The size of the file's version resource (0: it has none) and one of its
    // string values by sub-block ("\StringFileInfo\040904B0\ProductVersion").
    virtual uint32_t VersionInfoSize(const std::string& path) = 0;
    virtual bool VersionValue(const std::string& path, const std::string& subBlock, std::string& value) = 0;
};

} // namespace plat
