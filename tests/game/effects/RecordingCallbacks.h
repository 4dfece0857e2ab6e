#pragma once
// Callbacks that write down every call, installed as the program's exported
// functions for the length of a test.
#include "game/core/XmlFunctions.h"
#include "game/effects/AnimRecords.h"
#include "game/effects/ExportedFunctions.h"

#include <string>
#include <vector>

class Effect;

struct RecordedCall {
    std::string function;
    int32_t id;
    float progress;
    const void* argument; // the owner effect of a track call, or the effect of a message
};

// Every recorded call, in order.
std::vector<RecordedCall>& Calls();

// Installs "Rec" and "Rec2" (track), "Msg" (message), "Both" (either) and
// restores the program's table when it goes.
class RecordingExports {
public:
    RecordingExports();
    ~RecordingExports();
};

// Parses an element from text; the document lives as long as the node.
XmlNode ParseElement(const std::wstring& text);
