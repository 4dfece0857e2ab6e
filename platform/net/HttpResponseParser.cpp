#include "platform/net/HttpResponseParser.h"

#include "platform/net/HttpChunkSize.h"

#include <algorithm>

namespace plat {

namespace {

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
}

bool SameWord(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

std::string Trim(const std::string& s)
{
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
        --e;
    return s.substr(b, e - b);
}

// Decimal digits, blanks after them allowed. False on no digit, a stray
// character or a value above 2^62.
bool ParseDecimal(const std::string& text, uint64_t& value)
{
    value = 0;
    size_t i = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value > (uint64_t(1) << 62) / 10)
            return false;
        value = value * 10 + uint64_t(text[i] - '0');
    }
    return i > 0 && Trim(text.substr(i)).empty();
}

} // namespace

HttpResponseParser::State HttpResponseParser::Fail(const char* why)
{
    mError = why;
    mState = State::Error;
    return mState;
}

std::string HttpResponseParser::Header(const std::string& name) const
{
    for (const auto& h : mHeaders)
        if (SameWord(h.first, name))
            return h.second;
    return std::string();
}

// Collects one line ended by LF (a CR before it is dropped). False when the
// line is too long.
bool HttpResponseParser::TakeLine(const char*& p, const char* end, std::string& line, bool& complete)
{
    complete = false;
    while (p < end) {
        const char c = *p++;
        if (c == '\n') {
            if (!mLine.empty() && mLine.back() == '\r')
                mLine.pop_back();
            line.swap(mLine);
            mLine.clear();
            complete = true;
            return true;
        }
        if (mLine.size() >= kMaxLine)
            return false;
        mLine.push_back(c);
    }
    return true;
}

HttpResponseParser::State HttpResponseParser::StatusLine(const std::string& line)
{
    // "HTTP/1.x NNN reason"
    if (line.size() < 12 || line.compare(0, 7, "HTTP/1.") != 0 || line[8] != ' ')
        return Fail("bad status line");
    const std::string code = line.substr(9, 3);
    if (code[0] < '1' || code[0] > '5' || code[1] < '0' || code[1] > '9' || code[2] < '0' || code[2] > '9')
        return Fail("bad status code");
    if (line.size() > 12 && line[12] != ' ')
        return Fail("bad status line");
    mStatus = (code[0] - '0') * 100 + (code[1] - '0') * 10 + (code[2] - '0');
    mHeaders.clear();
    mPhase = Phase::Headers;
    return mState;
}

HttpResponseParser::State HttpResponseParser::HeaderLine(const std::string& line)
{
    if (line.empty())
        return HeadersDone();
    if (mHeaders.size() >= kMaxHeaders)
        return Fail("too many header lines");
    const size_t colon = line.find(':');
    if (colon == std::string::npos || colon == 0 || line[0] == ' ' || line[0] == '\t')
        return Fail("bad header line");
    mHeaders.emplace_back(line.substr(0, colon), Trim(line.substr(colon + 1)));
    return mState;
}

HttpResponseParser::State HttpResponseParser::HeadersDone()
{
    if (mStatus >= 100 && mStatus < 200) { // an interim answer: the real one follows
        mPhase = Phase::StatusLine;
        return mState;
    }
    if (mStatus == 204 || mStatus == 304) {
        mPhase = Phase::Done;
        return mState = State::Done;
    }
    const std::string coding = Header("Transfer-Encoding");
    if (!coding.empty()) {
        if (!SameWord(coding, "chunked"))
            return Fail("unknown transfer coding");
        mChunked = true;
        mPhase = Phase::ChunkSize;
        return mState;
    }
    // Every Content-Length must give the same number: with two different
    // ones either reading would take another answer's bytes or cut this one.
    bool haveLength = false;
    for (const auto& h : mHeaders) {
        if (!SameWord(h.first, "Content-Length") || h.second.empty())
            continue;
        uint64_t length = 0;
        if (!ParseDecimal(h.second, length))
            return Fail("bad content length");
        if (haveLength && length != mRemaining)
            return Fail("conflicting content lengths");
        mRemaining = length;
        haveLength = true;
    }
    if (haveLength) {
        if (mRemaining > mBodyCap)
            return Fail("body too large");
        if (mRemaining == 0) {
            mPhase = Phase::Done;
            return mState = State::Done;
        }
        mPhase = Phase::Body;
        return mState;
    }
    mUntilClose = true;
    mPhase = Phase::Body;
    return mState;
}

bool HttpResponseParser::AppendBody(const char* p, size_t n)
{
    if (n > mBodyCap - mBody.size())
        return false;
    mBody.append(p, n);
    return true;
}

HttpResponseParser::State HttpResponseParser::Feed(const char* data, size_t size)
{
    const char* p = data;
    const char* end = data + size;
    while (mState == State::NeedMore && p < end) {
        if (mPhase == Phase::Body && !mUntilClose) {
            const size_t n = size_t(std::min<uint64_t>(mRemaining, uint64_t(end - p)));
            if (!AppendBody(p, n))
                return Fail("body too large");
            p += n;
            mRemaining -= n;
            if (mRemaining == 0) {
                mPhase = Phase::Done;
                mState = State::Done;
            }
            continue;
        }
        if (mPhase == Phase::Body) {
            if (!AppendBody(p, size_t(end - p)))
                return Fail("body too large");
            p = end;
            continue;
        }
        if (mPhase == Phase::ChunkData) {
            const size_t n = size_t(std::min<uint64_t>(mRemaining, uint64_t(end - p)));
            if (!AppendBody(p, n))
                return Fail("body too large");
            p += n;
            mRemaining -= n;
            if (mRemaining == 0)
                mPhase = Phase::ChunkDataEnd;
            continue;
        }
        std::string line;
        bool complete = false;
        if (!TakeLine(p, end, line, complete))
            return Fail("line too long");
        if (!complete)
            break;
        switch (mPhase) {
        case Phase::StatusLine:
            StatusLine(line);
            break;
        case Phase::Headers:
            HeaderLine(line);
            break;
        case Phase::ChunkSize:
            if (!ParseHttpChunkSize(line, mRemaining))
                return Fail("bad chunk size");
            if (mRemaining > mBodyCap - mBody.size())
                return Fail("body too large");
            mPhase = mRemaining == 0 ? Phase::Trailer : Phase::ChunkData;
            break;
        case Phase::ChunkDataEnd:
            if (!line.empty())
                return Fail("chunk not followed by a line end");
            mPhase = Phase::ChunkSize;
            break;
        case Phase::Trailer:
            if (line.empty()) {
                mPhase = Phase::Done;
                mState = State::Done;
            } else if (++mRemaining > kMaxHeaders) {
                return Fail("too many trailer lines");
            }
            break;
        default:
            break;
        }
    }
    return mState;
}

HttpResponseParser::State HttpResponseParser::Finish()
{
    if (mState != State::NeedMore)
        return mState;
    if (mPhase == Phase::Body && mUntilClose) {
        mPhase = Phase::Done;
        return mState = State::Done;
    }
    return Fail("connection closed early");
}

} // namespace plat
