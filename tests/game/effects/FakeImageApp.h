#pragma once
// An application whose image loader counts its loads and makes plain white
// images of a set size; names starting with "missing" fail.
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/DDImage.h"

#include <atomic>
#include <string>
#include <vector>

class FakeImageApp : public Zelk::ZelkAppBase {
public:
    Zelk::DDImage* GetImage(const std::string& fileName, bool commitBits) override
    {
        ++loads;
        if (fileName.rfind("missing", 0) == 0)
            return nullptr;
        auto* image = new Zelk::DDImage(nullptr);
        std::vector<uint32_t> bits(size_t(width * height), 0xFFFFFFFF);
        image->SetBits(bits.data(), width, height);
        return image;
    }
    std::atomic<int> loads{0};
    int width = 8;
    int height = 4;
};
