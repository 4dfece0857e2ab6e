#pragma once
#include "launcher/gif/Stream.h"
#include <string>
#include <vector>

// Field-by-field reading and writing of GIF records, little-endian. Every
// fixed-size read goes through ReadExactly: short data raises
// "Premature end of data".
namespace GIFImage::StreamIO {

void ReadExactly(Stream& s, void* buffer, size_t count);
uint8_t ReadUInt8(Stream& s);
uint16_t ReadUInt16(Stream& s);
// The next byte, or -1 at the end of the stream.
int ReadByteOrEnd(Stream& s);
// The next byte without consuming it, or -1 at the end of the stream.
int PeekByte(Stream& s);
void Skip(Stream& s, int64_t count);
// The next data sub-block into block; false at a zero-length block or the
// end of the stream (a short block raises "Premature end of data").
bool ReadSubBlock(Stream& s, std::vector<uint8_t>& block);

void WriteBytes(Stream& s, const void* buffer, size_t count);
void WriteUInt8(Stream& s, uint8_t value);
void WriteUInt16(Stream& s, uint16_t value);
void WriteUInt32(Stream& s, uint32_t value);

} // namespace GIFImage::StreamIO
