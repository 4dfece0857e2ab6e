#include "launcher/gif/TRLEEncoder.h"

namespace GIFImage {

namespace {

int IntegerSqrt(int x)
{
    if (x < 2)
        return x;
    int r = x, next = (r + x / r) / 2;
    while (next < r) {
        r = next;
        next = (r + x / r) / 2;
    }
    return r;
}

} // namespace

void TRLEEncoder::DoCompress()
{
    OutBumpInit = ClearCode - 1;
    OutClearInit = BitsPerPixel > 3 ? OutBumpInit - 1 : 9;
    MaxCodes = 4095 - BaseCode;
    Clear();
    Prefix = NextPixel();
    int count = 1;
    for (int c = NextPixel(); c >= 0; c = NextPixel()) {
        if (c == Prefix) {
            ++count;
            continue;
        }
        FlushRun(count);
        Prefix = c;
        count = 1;
    }
    FlushRun(count);
}

void TRLEEncoder::Clear()
{
    OutBump = OutBumpInit;
    OutClear = OutClearInit;
    OutCount = 0;
    RunLengthTableMax = 0;
    ClearTable();
    BitsPerCode = InitialBitsPerCode;
}

void TRLEEncoder::OutputPlain(int code)
{
    Output(code);
    ClearFlag = false;
    ++OutCount;
    if (OutCount >= OutBump) {
        OutBump += 1 << BitsPerCode;
        ++BitsPerCode;
    }
    if (OutCount >= OutClear)
        Clear();
}

int TRLEEncoder::Triangle(int count) const
{
    const int perRepeat = MaxCodes * (MaxCodes + 1) / 2;
    int cost = 0;
    while (count >= perRepeat) {
        cost += MaxCodes;
        count -= perRepeat;
    }
    if (count > 0) {
        int n = IntegerSqrt(count);
        while (n * (n + 1) >= 2 * count)
            --n;
        while (n * (n + 1) < 2 * count)
            ++n;
        cost += n;
    }
    return cost;
}

void TRLEEncoder::FlushRun(int count)
{
    if (count == 1) {
        OutputPlain(Prefix);
    } else if (ClearFlag) {
        FlushFromClear(count);
    } else if (RunLengthTableMax > 1 && RunLengthTablePixel == Prefix) {
        FlushWithTable(count);
    } else if (1 + Triangle(count) < count) {
        Clear();
        FlushFromClear(count);
    } else {
        for (; count > 0; --count)
            OutputPlain(Prefix);
    }
}

void TRLEEncoder::FlushFromClear(int count)
{
    OutClear = MaxCodes;
    RunLengthTablePixel = Prefix;
    int k = 1;
    while (count > 0) {
        if (k == 1) {
            RunLengthTableMax = 1;
            OutputPlain(Prefix);
            --count;
        } else if (count >= k) {
            RunLengthTableMax = k;
            OutputPlain(BaseCode + k - 2);
            count -= k;
        } else {
            ++RunLengthTableMax;
            OutputPlain(count == 1 ? Prefix : BaseCode + count - 2);
            count = 0;
        }
        k = OutCount == 0 ? 1 : k + 1;
    }
    ResetOutClear();
}

void TRLEEncoder::ResetOutClear()
{
    OutClear = OutClearInit;
    if (OutCount >= OutClear)
        Clear();
}

void TRLEEncoder::FlushWithTable(int count)
{
    int repeats = count / RunLengthTableMax;
    int leftover = count % RunLengthTableMax;
    int leftCost = leftover ? 1 : 0;
    if (OutCount + repeats + leftCost > MaxCodes) {
        repeats = MaxCodes - OutCount;
        leftover = count - repeats * RunLengthTableMax;
        leftCost = 1 + Triangle(leftover);
    }
    if (1 + Triangle(count) < repeats + leftCost) {
        Clear();
        FlushFromClear(count);
        return;
    }
    OutClear = MaxCodes;
    for (; repeats > 0; --repeats)
        OutputPlain(BaseCode + RunLengthTableMax - 2);
    if (leftover) {
        if (ClearFlag)
            FlushFromClear(leftover);
        else if (leftover == 1)
            OutputPlain(Prefix);
        else
            OutputPlain(BaseCode + leftover - 2);
    }
    ResetOutClear();
}

} // namespace GIFImage
