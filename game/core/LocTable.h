#pragma once
#include <map>
#include <string>

// The fixed texts the player sees, by id, from cfg\loc.xml. Filled once when
// loading completes, read-only afterwards.
class LocTable {
public:
    // Reads the "loc" entries of the file's "root": an entry needs an "id"
    // and a non-empty "text"; the first entry of an id wins. True.
    bool Load(const std::string& path = "cfg\\loc.xml");
    // The text of the id, or one empty text shared by every unknown id.
    const std::wstring& Get(const std::string& id) const;

private:
    std::map<std::string, std::wstring> mTexts;
};
