#pragma once
#include <string>
#include <vector>

namespace Zelk {

// A value of a description file: one token, or a parenthesised list of
// values.
class DataElement {
public:
    DataElement() = default;
    DataElement(const DataElement&) = default;
    DataElement& operator=(const DataElement&) = default;
    virtual ~DataElement() = default;
    // A deep copy; the caller owns it.
    virtual DataElement* Duplicate() const = 0;

    bool mIsList = false;
};

// One token as written, quotes included.
class SingleDataElement : public DataElement {
public:
    SingleDataElement() = default;
    explicit SingleDataElement(const std::wstring& text) : mString(text) {}
    DataElement* Duplicate() const override { return new SingleDataElement(*this); }

    std::wstring mString;
};

// A list owning its elements.
class ListDataElement : public DataElement {
public:
    ListDataElement() { mIsList = true; }
    ListDataElement(const ListDataElement& other);
    ListDataElement& operator=(const ListDataElement& other);
    ~ListDataElement() override;
    DataElement* Duplicate() const override { return new ListDataElement(*this); }

    void Clear();
    // Nesting depth: 1 for a list of single values.
    int Depth() const;

    std::vector<DataElement*> mElementVector;
};

} // namespace Zelk
