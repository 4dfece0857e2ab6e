// Writes the launcher form's picture as a C++ source, so that the program
// carries it: the form data of Image1's picture (a length byte and the class
// name "TGIFImage", then the busy picture's GIF stream).
//
//   make_form_picture OUT.cpp
#include "tools/imagefixtures/BusyPicture.h"

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_form_picture OUT.cpp\n");
        return 2;
    }
    const std::string className = "TGIFImage";
    const std::string data = std::string(1, char(className.size())) + className + fixtures::BusyPictureGif();
    std::string text = "// Made at build time by make_form_picture: do not edit.\n"
                       "#include \"launcher/FormPicture.h\"\n\n"
                       "namespace vorsel {\n\nnamespace {\n\nconst uint8_t kData[] = {";
    for (size_t i = 0; i < data.size(); ++i) {
        text += i % 16 == 0 ? "\n    " : " ";
        text += std::to_string(unsigned(uint8_t(data[i]))) + ",";
    }
    text += "\n};\n\n} // namespace\n\n"
            "const uint8_t* Image1PictureData() { return kData; }\n"
            "size_t Image1PictureSize() { return sizeof kData; }\n\n"
            "} // namespace vorsel\n";
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::fprintf(stderr, "make_form_picture: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
