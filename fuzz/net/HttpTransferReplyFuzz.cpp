// The HTTP transfer's reading of a reply over any bytes. The first byte
// gives the size of the pieces the bytes arrive in (and whether the
// connection then closes); the same bytes read in one piece must end the
// same way, since TCP may split a reply anywhere.
#include "framework/app/HTTPReplyReader.h"
#include "framework/app/HTTPTransfer.h"

#include <cstdint>
#include <string>

namespace {

constexpr size_t kSizeLimit = 4096;

int32_t Read(const char* data, size_t size, size_t piece, bool close, std::string& content, int32_t& length)
{
    Zelk::HTTPReplyReader reader(content, kSizeLimit);
    for (size_t at = 0; at < size && reader.Result() == Zelk::HTTPTransfer::RESULT_RUNNING; at += piece)
        reader.Feed(data + at, std::min(piece, size - at));
    if (close && reader.Result() == Zelk::HTTPTransfer::RESULT_RUNNING)
        reader.Closed();
    length = reader.ContentLength();
    return reader.Result();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t piece = size_t(data[0] & 0x7F) + 1;
    const bool close = (data[0] & 0x80) == 0;
    const char* reply = reinterpret_cast<const char*>(data) + 1;
    std::string pieces, whole;
    int32_t piecesLength = 0, wholeLength = 0;
    const int32_t a = Read(reply, size - 1, piece, close, pieces, piecesLength);
    const int32_t b = Read(reply, size - 1, size, close, whole, wholeLength);
    if (a != b || piecesLength != wholeLength)
        __builtin_trap();
    // A reply cut by the size limit keeps what came before, which depends
    // on the pieces; every other ending keeps the same body.
    if (a != Zelk::HTTPTransfer::RESULT_TOO_LARGE && pieces != whole)
        __builtin_trap();
    if (pieces.size() > kSizeLimit || whole.size() > kSizeLimit)
        __builtin_trap();
    return 0;
}
