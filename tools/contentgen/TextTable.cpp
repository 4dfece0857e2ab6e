#include "TextTable.h"

#include <fstream>
#include <sstream>

namespace contentgen {

namespace {

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

} // namespace

bool TextTable::Parse(const std::string& text, std::string& error)
{
    mTexts.clear();
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        const std::string where = "texts line " + std::to_string(number);
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == '#')
            continue;
        const size_t equals = trimmed.find(" = ");
        if (equals == std::string::npos) {
            error = where + ": expected \"id = text\"";
            return false;
        }
        const std::string id = Trim(trimmed.substr(0, equals));
        std::string value;
        const std::string raw = trimmed.substr(equals + 3);
        for (size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '\\' && i + 1 < raw.size() && raw[i + 1] == 'n') {
                value += '\n';
                ++i;
            } else {
                value += raw[i];
            }
        }
        if (id.empty() || id.find_first_of(" \t\"") != std::string::npos) {
            error = where + ": bad id \"" + id + "\"";
            return false;
        }
        if (value.find('"') != std::string::npos) {
            error = where + " (" + id + "): a text must not hold a double quote";
            return false;
        }
        if (!mTexts.emplace(id, value).second) {
            error = where + ": id " + id + " given twice";
            return false;
        }
    }
    return true;
}

bool TextTable::Load(const std::string& path, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read the text table " + path;
        return false;
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    return Parse(buffer.str(), error);
}

std::string TextTable::Get(const std::string& id) const
{
    auto found = mTexts.find(id);
    return found == mTexts.end() ? std::string() : found->second;
}

} // namespace contentgen
