#pragma once
#include <cstddef>
#include <cstdint>

namespace vorsel {

// The picture of the form's image control Image1 as the form stores it: a
// length byte and the graphic's class name, then its stream (the busy
// picture, made when the program is built).
const uint8_t* Image1PictureData();
size_t Image1PictureSize();

} // namespace vorsel
