#pragma once
#include "platform/files/FileView.h"

#include <string>

// One archive added to the layer: its path and the read-only view of the
// whole file, kept until the layer ends.
struct PakCollection {
    std::string path;
    plat::FileView view;
};
