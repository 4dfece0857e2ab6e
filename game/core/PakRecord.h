#pragma once
#include <cstdint>
#include <string>

struct PakCollection;

// One archive entry: the archive it lies in, its name as stored, its file
// time and where its data lies in the archive.
struct PakRecord {
    const PakCollection* collection = nullptr;
    std::string name;
    uint64_t fileTime = 0;
    uint32_t offset = 0;
    uint32_t size = 0;
};
