// The framework's file operations driven by the input: a name looked up on
// disk without regard to case, then a file of the input's bytes read with a
// sequence of operations, once from disk (text or binary mode) and once from
// an archive entry.
//
// Input: name bytes, 0, mode byte, operation bytes, 0, content bytes.
#include "framework/resources/PakFileAccess.h"
#include "fuzz/FuzzTempFolder.h"
#include "fuzz/resources/FuzzSupport.h"
#include "platform/files/DiskFiles.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string MakeTree()
{
    const std::string root = fuzzsupport::TempFolder("zelk-fuzz");
    for (const char* dir : {"/Data", "/Data/Images", "/properties"})
        mkdir((root + dir).c_str(), 0700);
    for (const char* file : {"/Data/Images/Logo.PNG", "/Data/images.txt", "/properties/resources.xml"})
        fclose(fopen((root + file).c_str(), "w"));
    return root;
}

void Run(PakFile* f, const std::string& ops)
{
    char buffer[64];
    for (size_t i = 0; i < ops.size(); ++i) {
        unsigned char op = static_cast<unsigned char>(ops[i]);
        switch (op % 8) {
        case 0: PakFGetC(f); break;
        case 1: PakUnGetC('x', f); break;
        case 2: PakFRead(buffer, 1 + op / 64, (op >> 3) % 16, f); break;
        case 3: PakFSeek(f, long(op >> 3) - 8, (op >> 3) % 3); break;
        case 4: PakFTell(f); break;
        case 5: PakFEof(f); break;
        case 6: PakFGetWC(f); break;
        default: PakFReadBytes(buffer, op >> 3, f); break;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string root = MakeTree();
    FakePakInterface& pak = fuzzsupport::Archive();
    std::string input = fuzzsupport::Bytes(data, size);
    size_t nameEnd = input.find('\0');
    if (nameEnd == std::string::npos || nameEnd + 1 >= input.size())
        return 0;
    std::string name = input.substr(0, nameEnd);
    char modeByte = input[nameEnd + 1];
    size_t opsEnd = input.find('\0', nameEnd + 2);
    if (opsEnd == std::string::npos)
        opsEnd = input.size();
    std::string ops = input.substr(nameEnd + 2, opsEnd - nameEnd - 2);
    std::string content = opsEnd < input.size() ? input.substr(opsEnd + 1) : std::string();

    plat::ResolvePath(root + "/" + name);
    plat::ResolvePath(root + "/" + name, true);

    const char* mode = (modeByte & 3) == 0 ? "r" : (modeByte & 3) == 1 ? "rt" : "rb";
    std::string file = root + "/content.bin";
    if (FILE* out = fopen(file.c_str(), "wb")) {
        fwrite(content.data(), 1, content.size(), out);
        fclose(out);
    }
    WithdrawPakInterface(&pak);
    if (PakFile* f = PakFOpen(root + "\\CONTENT.BIN", mode)) {
        Run(f, ops);
        PakFClose(f);
    }
    pak.Publish();
    pak.opened.clear();
    pak.Add("entry.bin", content);
    if (PakFile* f = PakFOpen("ENTRY.BIN", mode)) {
        Run(f, ops);
        PakFClose(f);
    }
    return 0;
}
