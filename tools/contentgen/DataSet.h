#pragma once
#include "assets/Assets.h"

#include <map>
#include <string>
#include <vector>

namespace contentgen {

// The files of a game folder by their data path ("cfg\\ui.xml"), in
// byte-wise order of the path.
struct DataSet {
    std::map<std::string, std::vector<uint8_t>> files;

    void Add(const OutFile& file) { files[file.path] = file.bytes; }
    void Add(const std::string& path, std::vector<uint8_t> bytes) { files[path] = std::move(bytes); }
    void Add(const std::string& path, const std::string& text) { files[path] = std::vector<uint8_t>(text.begin(), text.end()); }
    void AddAll(const std::vector<OutFile>& list)
    {
        for (const OutFile& file : list)
            Add(file);
    }
    bool Has(const std::string& path) const { return files.count(path) != 0; }
};

} // namespace contentgen
