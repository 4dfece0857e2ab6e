#pragma once
#include "XmlWriter.h"

// The survival files cfg\endless1.xml to cfg\endless3.xml: each over the
// office of a career month, its stages by money with their client types,
// the objects the stages add, the two lists of upgrade options and the order
// templates.
namespace contentgen {

// cfg\endless<file>.xml for file 1..3.
XmlElement SurvivalLevelFile(int file);

} // namespace contentgen
