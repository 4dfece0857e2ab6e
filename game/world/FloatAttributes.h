#pragma once
// Records whose float fields are read from the attributes of the same name.
#include "game/core/XmlFunctions.h"

#include <cstddef>
#include <map>
#include <string>

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

// One record read from the element, filed under its "name" (empty when
// missing) unless that name already has one.
template <class Record, size_t N>
void ReadNamedFloatRecord(const XmlNode& element, const FloatAttribute<Record> (&table)[N],
                          std::map<std::string, Record>& records)
{
    std::string name;
    XmlGetAttrString(element, L"name", name);
    Record record;
    ReadFloatAttributes(element, table, record);
    records.emplace(name, record);
}
