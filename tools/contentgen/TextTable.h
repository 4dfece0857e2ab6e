#pragma once
#include <map>
#include <string>

namespace contentgen {

// The English texts: "id = text" lines, UTF-8; blank lines and lines
// starting with "#" are skipped; "\n" in a text is a line break.
class TextTable {
public:
    // False with a message naming the line for a malformed line, a repeated
    // id or a text holding a double quote.
    bool Parse(const std::string& text, std::string& error);
    bool Load(const std::string& path, std::string& error);

    bool Has(const std::string& id) const { return mTexts.count(id) != 0; }
    // The text of an id; empty when it has none.
    std::string Get(const std::string& id) const;
    const std::map<std::string, std::string>& All() const { return mTexts; }

private:
    std::map<std::string, std::string> mTexts;
};

} // namespace contentgen
