#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace plat {

// Reads an HTTP/1.x response as its bytes arrive: status line, headers
// (names compared without regard to case), interim 1xx responses skipped,
// and a body by Content-Length, chunked transfer coding or the end of the
// connection. Bounded: a header line longer than kMaxLine, more than
// kMaxHeaders header lines, or a body above the caller's cap is an error.
class HttpResponseParser {
public:
    static constexpr size_t kMaxLine = 8192;
    static constexpr size_t kMaxHeaders = 100;
    enum class State { NeedMore, Done, Error };

    explicit HttpResponseParser(size_t bodyCap) : mBodyCap(bodyCap) {}
    // Takes the next bytes of the connection.
    State Feed(const char* data, size_t size);
    // The connection ended: a body read until the end is complete, anything
    // else cut short is an error.
    State Finish();
    State Current() const { return mState; }

    int Status() const { return mStatus; }
    const std::string& Body() const { return mBody; }
    // The value of the first header with the name (any case); empty if none.
    std::string Header(const std::string& name) const;
    const std::string& Error() const { return mError; }

private:
    enum class Phase { StatusLine, Headers, Body, ChunkSize, ChunkData, ChunkDataEnd, Trailer, Done };
    State Fail(const char* why);
    bool TakeLine(const char*& p, const char* end, std::string& line, bool& complete);
    State StatusLine(const std::string& line);
    State HeaderLine(const std::string& line);
    State HeadersDone();
    bool AppendBody(const char* p, size_t n);

    size_t mBodyCap;
    State mState = State::NeedMore;
    Phase mPhase = Phase::StatusLine;
    std::string mLine;
    int mStatus = 0;
    std::vector<std::pair<std::string, std::string>> mHeaders;
    std::string mBody;
    std::string mError;
    bool mChunked = false;
    bool mUntilClose = false;
    uint64_t mRemaining = 0; // of the body or the chunk
};

} // namespace plat
