#pragma once
#include <string>

namespace plat {

// Where things live: the program file and the user's folders.
// Paths are native ("/" separated), without a trailing separator.
class Folders {
public:
    virtual ~Folders() = default;
    virtual std::string ProgramPath() = 0;     // the running program file
    virtual std::string DocumentsFolder() = 0; // the user's saved data (pref.dat)
    virtual std::string CommonAppData() = 0;   // application data shared by all users
    virtual std::string RuntimeFolder() = 0;   // lock files and sockets
};

// XDG folders, each overridable by an environment variable:
//   ZELK_PROGRAM_PATH, ZELK_DOCUMENTS_DIR, ZELK_APPDATA_DIR, ZELK_RUNTIME_DIR.
// The documents folder is ZELK_DOCUMENTS_DIR, else $XDG_DATA_HOME, else
// ~/.local/share.
class XdgFolders : public Folders {
public:
    std::string ProgramPath() override;
    std::string DocumentsFolder() override;
    std::string CommonAppData() override;
    std::string RuntimeFolder() override;
};

// Fixed folders chosen by a test.
class FixedFolders : public Folders {
public:
    std::string programPath = "/nonexistent/program";
    std::string documents = "/nonexistent/documents";
    std::string appData = "/nonexistent/appdata";
    std::string runtime = "/nonexistent/runtime";
    std::string ProgramPath() override { return programPath; }
    std::string DocumentsFolder() override { return documents; }
    std::string CommonAppData() override { return appData; }
    std::string RuntimeFolder() override { return runtime; }
};

// Makes the folder and any missing folder above it. True when a folder stands
// at the path afterwards (false for an empty path or a file in the way).
bool MakeFolder(const std::string& path);

} // namespace plat
