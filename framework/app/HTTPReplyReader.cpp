#include "framework/app/HTTPReplyReader.h"

#include "framework/app/HTTPTransfer.h"
#include "framework/app/StringUtil.h"
#include "platform/net/HttpChunkSize.h"

#include <algorithm>
#include <climits>

namespace Zelk {

namespace {

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// A header line split at its first ":" into the name in lower case and the
// value without surrounding white space; false for a line without ":".
bool SplitHeader(const std::string& line, std::string& name, std::string& value)
{
    const size_t colon = line.find(':');
    if (colon == std::string::npos)
        return false;
    name = StringToLower(line.substr(0, colon));
    value = StringTrim(line.substr(colon + 1));
    return true;
}

} // namespace

HTTPReplyReader::HTTPReplyReader(std::string& content, size_t sizeLimit)
    : mContent(content), mSizeLimit(sizeLimit), mResult(HTTPTransfer::RESULT_RUNNING)
{
}

void HTTPReplyReader::End(int32_t result)
{
    if (mResult == HTTPTransfer::RESULT_RUNNING)
        mResult = result;
}

size_t HTTPReplyReader::Available() const
{
    return mPos < mBuffer.size() ? mBuffer.size() - mPos : size_t(0);
}

// The next whole line (without its CRLF), moving past it; false when none
// has arrived yet, or when it is longer than the size limit (which ends the
// reply).
bool HTTPReplyReader::TakeLine(std::string& line)
{
    const size_t end = mPos < mBuffer.size() ? mBuffer.find("\r\n", mPos) : std::string::npos;
    if (end == std::string::npos)
        return false;
    if (end - mPos > mSizeLimit) {
        End(HTTPTransfer::RESULT_TOO_LARGE);
        return false;
    }
    line.assign(mBuffer, mPos, end - mPos);
    mPos = end + 2;
    return true;
}

// Moves received body bytes into the content (at most `left` of them); 0
// when none are there yet or the size limit is passed.
size_t HTTPReplyReader::TakeBody(size_t left)
{
    const size_t take = std::min(left, Available());
    if (take == 0)
        return 0;
    if (mContent.size() + take > mSizeLimit) {
        End(HTTPTransfer::RESULT_TOO_LARGE);
        return 0;
    }
    mContent.append(mBuffer, mPos, take);
    mPos += take;
    return take;
}

void HTTPReplyReader::Feed(const char* data, size_t size)
{
    if (mResult != HTTPTransfer::RESULT_RUNNING || size == 0)
        return;
    if (mPos >= mBuffer.size()) { // all consumed: start the buffer afresh
        mPos -= mBuffer.size();
        mBuffer.clear();
    }
    mBuffer.append(data, size);
    while (mResult == HTTPTransfer::RESULT_RUNNING && Step()) {
    }
    // What is left unread is the start of a line (a header or a chunk size)
    // still waiting for its end: it may not outgrow the limit.
    if (Available() > mSizeLimit)
        End(HTTPTransfer::RESULT_TOO_LARGE);
}

void HTTPReplyReader::Closed()
{
    if (!mStatusSeen)
        End(HTTPTransfer::RESULT_NO_RESPONSE);
    else if (!mHeadersDone || mChunked || (mHasLength && mContentLeft > 0))
        End(HTTPTransfer::RESULT_INCOMPLETE);
    else
        End(HTTPTransfer::RESULT_DONE);
}

// One header line (the status line among them); false when it ended the reply.
bool HTTPReplyReader::HeaderLine(const std::string& line)
{
    std::string name, value;
    if (!mStatusSeen && StartsWith(line, "HTTP/1.")) {
        mStatusSeen = true;
        // A line too short to hold a status code is no "200".
        const std::string status = line.size() >= 12 ? line.substr(9, 3) : std::string();
        if (status == "404")
            End(HTTPTransfer::RESULT_NOT_FOUND);
        else if (status != "200")
            End(HTTPTransfer::RESULT_HTTP_ERROR);
    } else if (line.empty()) {
        mHeadersDone = true;
        // An announced empty body is complete at once.
        if (mHasLength && mContentLeft == 0 && !mChunked)
            End(HTTPTransfer::RESULT_DONE);
    } else if (!SplitHeader(line, name, value)) {
        // not a header: skipped
    } else if (name == "transfer-encoding") {
        mChunked = StringToLower(value) != "identity";
    } else if (name == "content-length") {
        const int32_t length = int32_t(ReadLeadingInteger(value, INT_MIN, INT_MAX));
        const bool isNumber = !value.empty() && value[0] >= '0' && value[0] <= '9';
        // A second length that says otherwise leaves no way to tell where the
        // body ends; the same length repeated is harmless.
        if (mHasLength && (!isNumber || length != mContentLength)) {
            End(HTTPTransfer::RESULT_BAD_RESPONSE);
            return false;
        }
        mContentLeft = length;
        mContentLength = length;
        mHasLength = isNumber;
        if (mHasLength && size_t(mContentLeft) > mSizeLimit)
            End(HTTPTransfer::RESULT_TOO_LARGE);
    }
    return mResult == HTTPTransfer::RESULT_RUNNING;
}

// One step of the reading; true when it consumed something, so another step
// may follow without new bytes.
bool HTTPReplyReader::Step()
{
    std::string line;
    if (!mHeadersDone)
        return TakeLine(line) && HeaderLine(line);

    if (mChunked) {
        bool moved = false;
        if (mChunkLeft == 0) {
            if (!TakeLine(line))
                return false;
            uint64_t size = 0;
            if (!plat::ParseHttpChunkSize(line, size)) {
                // A size that is no number cuts the body where it stands:
                // that is no whole reply.
                End(HTTPTransfer::RESULT_BAD_RESPONSE);
                return false;
            }
            if (size == 0) {
                End(HTTPTransfer::RESULT_DONE); // the last chunk: the body is whole
                return false;
            }
            if (size > mSizeLimit - std::min(mSizeLimit, mContent.size())) {
                End(HTTPTransfer::RESULT_TOO_LARGE);
                return false;
            }
            mChunkLeft = size;
            moved = true;
        }
        const size_t taken = TakeBody(size_t(mChunkLeft));
        mChunkLeft -= taken;
        moved = moved || taken > 0;
        if (mChunkLeft == 0 && moved)
            mPos += 2; // the CRLF after the chunk's data, arrived or not
        return moved;
    }
    if (mHasLength) {
        const size_t taken = TakeBody(size_t(mContentLeft));
        mContentLeft -= int32_t(taken);
        if (mContentLeft == 0)
            End(HTTPTransfer::RESULT_DONE);
        return taken > 0;
    }
    return TakeBody(SIZE_MAX) > 0;
}

} // namespace Zelk
