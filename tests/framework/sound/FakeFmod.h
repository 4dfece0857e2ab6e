#pragma once
// A recording stand-in for "fmod.dll": its exports are plain functions that
// log every call with its arguments and answer from what the test set up.
#include "platform/fmod/FmodLibrary.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class FakeFmod {
public:
    struct Sample {
        std::vector<uint8_t> data;
        int frequency = 44100;
        unsigned int mode = 0;
        unsigned int length = 0; // in samples
        bool freed = false;
    };
    struct Module {
        std::string name;
        bool playing = false;
    };

    // Installs the library; the destructor makes it absent again.
    FakeFmod();
    ~FakeFmod();
    FakeFmod(const FakeFmod&) = delete;
    FakeFmod& operator=(const FakeFmod&) = delete;

    // A file FSOUND_Sample_Load can open, with its sample data and shape.
    void AddSampleFile(const std::string& name, const std::vector<uint8_t>& data, int frequency, unsigned int mode);
    void AddSongFile(const std::string& name) { mSongFiles.push_back(name); }
    // Takes an export out of the library (before anything binds it).
    void RemoveExport(const std::string& exportName) { exports.erase(exportName); }

    // Every call as "Name(arg, arg, ...)"; those whose name starts with prefix.
    std::vector<std::string> calls;
    std::vector<std::string> Calls(const std::string& prefix) const;
    void ClearCalls() { calls.clear(); }

    // What the library holds now.
    int LiveSamples() const;
    Sample* SampleOf(void* handle) { return static_cast<Sample*>(handle); }
    std::map<int, bool> channelPlaying;
    bool failSampleLock = false;

    plat::FmodExports exports;
    static FakeFmod* current;

    std::vector<std::unique_ptr<Sample>> samples;
    std::vector<std::unique_ptr<Module>> modules;
    std::map<std::string, Sample> sampleFiles;
    std::vector<std::string> mSongFiles;
};
