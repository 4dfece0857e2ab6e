#pragma once
#include <bitset>
#include <map>
#include <memory>

namespace Zelk {

// A map from character to T that is quick for characters 0 to 255 (a flat
// table) and keeps the rest in an ordered map. Find never inserts; Get does.
// Each visits the entries in increasing character order.
template <typename T> class CharTable {
public:
    CharTable() = default;
    CharTable(const CharTable& other) { *this = other; }
    CharTable& operator=(const CharTable& other)
    {
        if (this == &other)
            return *this;
        mPresent = other.mPresent;
        mLatin.reset(other.mLatin ? new T[256] : nullptr);
        if (other.mLatin)
            for (int i = 0; i < 256; ++i)
                mLatin[i] = other.mLatin[i];
        mOthers = other.mOthers;
        return *this;
    }

    const T* Find(wchar_t c) const
    {
        if (c >= 0 && c < 256)
            return mPresent[size_t(c)] ? &mLatin[c] : nullptr;
        auto it = mOthers.find(c);
        return it == mOthers.end() ? nullptr : &it->second;
    }

    // The entry, made (value-initialised) when missing.
    T& Get(wchar_t c)
    {
        if (c >= 0 && c < 256) {
            if (!mLatin)
                mLatin.reset(new T[256]());
            mPresent[size_t(c)] = true;
            return mLatin[c];
        }
        return mOthers[c];
    }

    bool Empty() const { return mPresent.none() && mOthers.empty(); }
    void Clear()
    {
        mPresent.reset();
        mLatin.reset();
        mOthers.clear();
    }

    template <typename F> void Each(F&& visit) const
    {
        for (int i = 0; i < 256; ++i)
            if (mPresent[size_t(i)])
                visit(wchar_t(i), mLatin[i]);
        for (const auto& entry : mOthers)
            visit(entry.first, entry.second);
    }
    template <typename F> void Each(F&& visit)
    {
        for (int i = 0; i < 256; ++i)
            if (mPresent[size_t(i)])
                visit(wchar_t(i), mLatin[i]);
        for (auto& entry : mOthers)
            visit(entry.first, entry.second);
    }

private:
    std::bitset<256> mPresent;
    std::unique_ptr<T[]> mLatin;
    std::map<wchar_t, T> mOthers; // characters above 255 (code points are never negative)
};

} // namespace Zelk
