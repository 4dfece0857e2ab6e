#pragma once
#include <cstdint>
#include <string>

namespace plat {

// What the desktop offers a program beyond its windows: the clipboard,
// addresses opened in the user's browser, and the version resource of a
// program file.
class Shell {
public:
    virtual ~Shell() = default;
    // Hands the address to the desktop's browser; true when it was handed over.
    virtual bool OpenUrl(const std::string& url) = 0;
    // Starts a program file with no arguments in the given folder (empty: the
    // current one), in a session of its own, without waiting for it; a file
    // that is not executable is handed to the desktop's opener instead. True
    // when something was started.
    virtual bool Execute(const std::string& path, const std::string& folder) = 0;
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
