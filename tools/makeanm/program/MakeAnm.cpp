// makeanm IN.txt OUT.anm
//   Writes the animation file that the text describes (the form is given in
//   tools/makeanm/AnmWriter.h). Warnings go to standard error.
// Exit code 0 on success, 1 on any failure.
#include "platform/files/AtomicFile.h"
#include "platform/files/WholeFile.h"
#include "tools/makeanm/AnmText.h"
#include "tools/makeanm/AnmWriter.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: makeanm IN.txt OUT.anm\n");
        return 1;
    }
    std::string text;
    if (plat::ReadWholeFile(argv[1], text) != plat::WholeFileRead::Ok) {
        std::fprintf(stderr, "makeanm: cannot read %s\n", argv[1]);
        return 1;
    }
    makeanm::AnmFile file;
    std::string error;
    std::vector<uint8_t> bytes;
    std::vector<std::string> warnings;
    if (!makeanm::ParseAnmText(text, file, error) || !makeanm::WriteAnm(file, bytes, error, &warnings)) {
        std::fprintf(stderr, "makeanm: %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    for (const std::string& warning : warnings)
        std::fprintf(stderr, "makeanm: %s: warning: %s\n", argv[1], warning.c_str());
    if (!plat::WriteFileAtomically(argv[2], bytes.data(), bytes.size())) {
        std::fprintf(stderr, "makeanm: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
