#include "launcher/gif/TLZWEncoder.h"

namespace GIFImage {

void TLZWEncoder::Output(int code)
{
    TGIFEncoder::Output(code);
    if (ClearFlag) {
        BitsPerCode = InitialBitsPerCode;
        MaxCode = (1 << BitsPerCode) - 1;
        ClearFlag = false;
    } else if (FreeEntry > MaxCode) {
        ++BitsPerCode;
        MaxCode = BitsPerCode == 12 ? 4096 : (1 << BitsPerCode) - 1;
    }
}

void TLZWEncoder::Restart()
{
    ClearTable();
    HashTable->Clear();
    FreeEntry = ClearCode + 2;
}

void TLZWEncoder::DoCompress()
{
    if (!HashTable)
        HashTable = std::make_unique<THashTable>();
    FreeEntry = ClearCode + 2;
    Restart();
    Prefix = NextPixel();
    for (int c = NextPixel(); c >= 0; c = NextPixel()) {
        uint32_t key = uint32_t(Prefix) << 8 | uint32_t(c);
        int code = HashTable->Lookup(key);
        if (code != THashTable::kNotFound) {
            Prefix = code;
            continue;
        }
        Output(Prefix);
        Prefix = c;
        if (FreeEntry > 4094) {
            Restart();
        } else {
            HashTable->Insert(key, FreeEntry);
            ++FreeEntry;
        }
    }
    Output(Prefix);
}

} // namespace GIFImage
