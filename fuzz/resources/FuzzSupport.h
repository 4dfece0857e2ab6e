#pragma once
// What every fuzz target shares: a minimal platform (the library table) and
// an archive layer held in memory through which the inputs are read, so each
// input goes through the framework's file operations.
#include "framework/resources/ImageLib.h"
#include "platform/Platform.h"
#include "platform/debug/DebugSink.h"
#include "platform/modules/Modules.h"
#include "tests/framework/resources/FakePakInterface.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzsupport {

// The developer output of the targets: held, never shown (the readers say
// why they refuse, millions of times).
inline plat::DebugSink& DeveloperOutput()
{
    static plat::DebugSink sink;
    return sink;
}

// Drops what the last input put on the developer output.
inline void ForgetDeveloperOutput()
{
    DeveloperOutput().StopCapture();
    DeveloperOutput().StartCapture();
}

inline FakePakInterface& Archive()
{
    static FakePakInterface* pak = [] {
        static plat::Modules modules;
        plat::Services services;
        services.modules = &modules;
        services.debug = &DeveloperOutput();
        DeveloperOutput().StartCapture();
        plat::Install(services);
        auto* p = new FakePakInterface;
        p->Publish();
        return p;
    }();
    return *pak;
}

// The archive with the JPEG-2000 codec loaded, for the image readers.
inline FakePakInterface& ArchiveWithCodec()
{
    static FakePakInterface& pak = [&]() -> FakePakInterface& {
        FakePakInterface& p = Archive();
        ImageLib::LoadJ2kCodec();
        return p;
    }();
    return pak;
}

// Serves an input as an archive entry (the layer's record of opened names is
// emptied, so it does not grow over millions of runs).
inline void Serve(const std::string& name, const uint8_t* data, size_t size)
{
    FakePakInterface& pak = Archive();
    ForgetDeveloperOutput();
    pak.opened.clear();
    pak.Add(name, std::string(reinterpret_cast<const char*>(data), size));
}

// ASCII text as the game's configuration files hold it: UTF-16LE after the
// byte-order mark.
inline std::string Utf16WithMark(const std::string& ascii)
{
    std::string out = "\xFF\xFE";
    for (char c : ascii) {
        out.push_back(c);
        out.push_back('\0');
    }
    return out;
}

inline std::string Bytes(const uint8_t* data, size_t size)
{
    return std::string(reinterpret_cast<const char*>(data), size);
}

} // namespace fuzzsupport
