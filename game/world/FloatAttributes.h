#pragma once
// Records whose float fields are read from the attributes of the same name.
#include "game/core/XmlFunctions.h"

#include <cstddef>

template <class Record>
struct FloatAttribute {
    const wchar_t* name;
    float Record::*field;
};

// Each field whose attribute is present takes its value; the others keep
// theirs.
template <class Record, size_t N>
void ReadFloatAttributes(const XmlNode& element, const FloatAttribute<Record> (&table)[N], Record& record)
{
    for (const FloatAttribute<Record>& entry : table)
        XmlGetAttrFloat(element, entry.name, record.*entry.field);
}
