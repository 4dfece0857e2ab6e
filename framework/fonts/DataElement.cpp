#include "framework/fonts/DataElement.h"

#include <algorithm>

namespace Zelk {

ListDataElement::ListDataElement(const ListDataElement& other) : DataElement(other)
{
    mElementVector.reserve(other.mElementVector.size());
    for (const DataElement* e : other.mElementVector)
        mElementVector.push_back(e->Duplicate());
}

ListDataElement& ListDataElement::operator=(const ListDataElement& other)
{
    if (this == &other)
        return *this;
    std::vector<DataElement*> copy;
    copy.reserve(other.mElementVector.size());
    for (const DataElement* e : other.mElementVector)
        copy.push_back(e->Duplicate());
    Clear();
    mElementVector = std::move(copy);
    return *this;
}

ListDataElement::~ListDataElement()
{
    Clear();
}

void ListDataElement::Clear()
{
    for (DataElement* e : mElementVector)
        delete e;
    mElementVector.clear();
}

int ListDataElement::Depth() const
{
    int deepest = 0;
    for (const DataElement* e : mElementVector)
        if (e->mIsList)
            deepest = std::max(deepest, static_cast<const ListDataElement*>(e)->Depth());
    return deepest + 1;
}

} // namespace Zelk
