#pragma once
// Writes animation files (anm\<part>.anm) for the office's parts.
//
// The text makeanm reads: one statement per line, words separated by blanks,
// "#" starts a comment, blank lines are skipped. Numbers are decimal, or
// hexadecimal after "0x".
//
//   base ADDRESS
//       Optional, before the first animation: the base address of the image
//       (default 0x10000000).
//   animation IMAGE NAME CANVAS_WIDTH MODE FPS
//       One record: the picture file that holds its frames (named as the game
//       loads it, with "\"), the animation name (below 64 bytes each, no
//       blanks), the canvas width the frames are mirrored in, the mode
//       ("cycle" or 0, "once" or 1, "backward" or 2, or any number), frames per
//       second.
//   frame X Y W H OFFSET_X OFFSET_Y
//       The next frame of the animation above: its region of the picture and
//       where that region lies on the canvas.
//
//   # the table's idle, two frames side by side in one picture
//   animation images\anm\table_plain.png tableplainbridle 100 cycle 4
//   frame 0 0 100 90 0 -90
//   frame 100 0 100 90 0 -90
//
// The binary file, every number little-endian: "ANM!" (u32 0x214D4E41),
// u32 base, u32 size, then an image of size bytes. A link is an offset in the
// image plus base (modulo 2^32). The image holds:
//   at 0:  i32 record count, link to the records;
//   at 8:  the records, 140 bytes each: image file name char[64] (NUL
//          padded), u32 reserved (0), animation name char[64] at 68, i32
//          canvas width at 132, link to the record's sequence at 136;
//   then, record by record, its sequence of 24 bytes (u32 0, u32 0, i32 mode,
//          i32 fps, i32 frame count, link to the frames) directly followed by
//          its frames, 24 bytes each (i32 x, y, w, h, offset x, offset y).
#include "tools/makeanm/AnmFile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace makeanm {

// A sound file: false with a message naming the animation when a name has 64
// bytes or more (or holds a NUL byte), fps or a count is negative, or an odd
// value is set. Each animation played once (not cycled) with a single frame
// adds a warning: it never reports an end.
bool WriteAnm(const AnmFile& file, std::vector<uint8_t>& bytes, std::string& error,
              std::vector<std::string>* warnings = nullptr);

// Every value as given, odd values included, for files that test a reader.
// False only for what the layout cannot hold: a name over 64 bytes (one of
// exactly 64 is written without its NUL), a shared sequence that is not an
// earlier animation's, an image of 4 GiB or more.
bool WriteOddAnm(const AnmFile& file, std::vector<uint8_t>& bytes, std::string& error);

} // namespace makeanm
