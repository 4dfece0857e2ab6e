#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace Zelk {

// The HTTP transfer's reading of a reply as its bytes arrive: the status
// line ("200" reads on, "404" and any other status end it), the headers
// (names in any case), then the body into the content: plain until the
// connection closes, bounded by Content-Length, or chunked. The results are
// the transfer's codes (HTTPTransfer::Result).
class HTTPReplyReader {
public:
    // The body goes into `content`; headers and body may each have at most
    // `sizeLimit` bytes.
    HTTPReplyReader(std::string& content, size_t sizeLimit);

    // Takes the next received bytes.
    void Feed(const char* data, size_t size);
    // The connection closed in order: that ends a body without a length and
    // cuts short anything else.
    void Closed();

    // RESULT_RUNNING while more is wanted; RESULT_DONE once the reply is
    // whole; otherwise the failure that ended it.
    int32_t Result() const { return mResult; }
    // The value of the Content-Length header (saturated), 0 when none.
    int32_t ContentLength() const { return mContentLength; }

private:
    bool Step();
    size_t Available() const;
    bool TakeLine(std::string& line);
    size_t TakeBody(size_t left);
    bool HeaderLine(const std::string& line);
    void End(int32_t result);

    std::string& mContent;
    size_t mSizeLimit;
    int32_t mResult;
    int32_t mContentLength = 0;
    // Positions are absolute within mBuffer and may run past its end (the
    // CRLF after chunk data is skipped before it has arrived): everything
    // treats a position past the end as "nothing available".
    std::string mBuffer;
    size_t mPos = 0;
    bool mStatusSeen = false;
    bool mHeadersDone = false;
    bool mChunked = false;
    bool mHasLength = false;
    int32_t mContentLeft = 0;
    uint64_t mChunkLeft = 0;
};

} // namespace Zelk
