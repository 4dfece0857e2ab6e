// The functions the program exports to its effect files, by name. The
// effect callbacks enter themselves here.
#include "game/effects/ExportedFunctions.h"

const ExportedFunction kProgramExports[] = {
    {nullptr, nullptr, CallForm::Either},
};
const size_t kProgramExportCount = 0;
