#pragma once
// The tree a document and its nodes share. Only the sources of this folder
// include it: they alone see the parser.
#include <pugixml.hpp>

namespace plat {

struct XmlTree {
    pugi::xml_document doc;
};

} // namespace plat
