#pragma once

// The line read of the archive layer, shared by its byte and 16-bit forms:
// units from next() (a negative value at the end) are stored until a line
// feed has been stored or n-1 units are stored; carriage returns (13) are
// read and dropped; the text is terminated with a zero unit. Null when n is
// below 1 (nothing is written) and at the end with nothing stored.
template <class Char, class Next>
Char* ReadPakLine(Char* buffer, int n, Next next)
{
    if (!buffer || n < 1)
        return nullptr;
    int stored = 0;
    bool any = false;
    while (stored < n - 1) {
        int c = next();
        if (c < 0)
            break;
        any = true;
        if (c == 13)
            continue;
        buffer[stored++] = Char(c);
        if (c == 10)
            break;
    }
    buffer[stored] = Char(0);
    return any || n == 1 ? buffer : nullptr;
}
