#pragma once
#include "launcher/gif/TGIFEncoder.h"
#include "launcher/gif/THashTable.h"

namespace GIFImage {

// LZW with a hash table of strings; clears when the table is full.
class TLZWEncoder : public TGIFEncoder {
protected:
    void Output(int code) override;
    void DoCompress() override;

private:
    void Restart();
    int Prefix = 0;
    int FreeEntry = 0;
    std::unique_ptr<THashTable> HashTable;
};

} // namespace GIFImage
