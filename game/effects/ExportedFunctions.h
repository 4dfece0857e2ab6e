#pragma once
// The program's exported functions by name, as effect files bind them: an
// exact, case-sensitive name, the function and the form it is called in.
#include "game/effects/EffectCallback.h"

#include <cstddef>
#include <string>

// How a function expects to be called: by a track control (with the
// control's AnimCallbackArgs), by a "call" message (with the Effect), or
// either (the function ignores its argument).
enum class CallForm { Track = 1, Message = 2, Either = 3 };

struct ExportedFunction {
    const char* name;
    EffectCallback function;
    CallForm form;
};

class ExportedFunctions {
public:
    // The function a track control may call, or null: a name that is not
    // exported, or a function that serves only messages.
    static EffectCallback FindTrackCallback(const std::string& name);
    // The function a "call" message may run, or null.
    static EffectCallback FindMessageCallback(const std::string& name);

    // Puts a table in place of the program's own (null: the program's own
    // again). The table must outlive its use.
    static void Install(const ExportedFunction* table, size_t count);

private:
    static const ExportedFunction* Find(const std::string& name);
};

// The program's own table (ProgramExports.cpp).
extern const ExportedFunction kProgramExports[];
extern const size_t kProgramExportCount;
