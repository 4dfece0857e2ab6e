// Runs a fuzz target over files: each argument is a file or a folder of files
// (a seed corpus). Fails when an argument cannot be read; a fault in the
// target ends the program through the sanitizers.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool RunFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 0;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path arg(argv[i]);
        std::error_code ec;
        if (std::filesystem::is_directory(arg, ec)) {
            for (const auto& entry : std::filesystem::directory_iterator(arg)) {
                if (entry.is_regular_file() && !RunFile(entry.path())) {
                    fprintf(stderr, "cannot read %s\n", entry.path().c_str());
                    return 1;
                }
                ++runs;
            }
        } else if (RunFile(arg)) {
            ++runs;
        } else {
            fprintf(stderr, "cannot read %s\n", argv[i]);
            return 1;
        }
    }
    printf("%d inputs replayed\n", runs);
    return runs > 0 ? 0 : 1;
}
