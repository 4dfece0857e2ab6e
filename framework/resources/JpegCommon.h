#pragma once
// Shared by the JPEG reader and writer: libjpeg's error exit jumps back into
// the function that set up the jump. Every function holding a JpegErrors
// keeps only trivially destructible locals, since the jump skips destructors.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace ImageLib {

struct JpegErrors {
    jpeg_error_mgr pub;
    jmp_buf jump;
};

// jpeg_std_error with the jumping error exit; messages go to the developer
// output.
jpeg_error_mgr* SetUpJpegErrors(JpegErrors* errors);

} // namespace ImageLib
