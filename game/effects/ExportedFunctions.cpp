#include "game/effects/ExportedFunctions.h"

#include <atomic>
#include <cstring>

namespace {

struct Table {
    const ExportedFunction* entries;
    size_t count;
};

std::atomic<const ExportedFunction*> gInstalled{nullptr};
std::atomic<size_t> gInstalledCount{0};

Table Current()
{
    const ExportedFunction* entries = gInstalled.load();
    if (!entries)
        return {kProgramExports, kProgramExportCount};
    return {entries, gInstalledCount.load()};
}

bool Fits(CallForm form, CallForm wanted) { return form == CallForm::Either || form == wanted; }

} // namespace

const ExportedFunction* ExportedFunctions::Find(const std::string& name)
{
    Table table = Current();
    for (size_t i = 0; i < table.count; ++i) {
        const ExportedFunction& entry = table.entries[i];
        if (entry.name && name == entry.name)
            return &entry;
    }
    return nullptr;
}

EffectCallback ExportedFunctions::FindTrackCallback(const std::string& name)
{
    const ExportedFunction* entry = Find(name);
    return entry && Fits(entry->form, CallForm::Track) ? entry->function : nullptr;
}

EffectCallback ExportedFunctions::FindMessageCallback(const std::string& name)
{
    const ExportedFunction* entry = Find(name);
    return entry && Fits(entry->form, CallForm::Message) ? entry->function : nullptr;
}

void ExportedFunctions::Install(const ExportedFunction* table, size_t count)
{
    gInstalledCount.store(table ? count : 0);
    gInstalled.store(table);
}
