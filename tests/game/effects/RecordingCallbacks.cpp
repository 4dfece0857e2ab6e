#include "tests/game/effects/RecordingCallbacks.h"

#include "platform/NullPlatform.h"

#include <gtest/gtest.h>
#include <memory>
#include <mutex>

namespace {

std::mutex gCallsLock;

int32_t Record(const char* name, void* argument)
{
    std::lock_guard<std::mutex> guard(gCallsLock);
    auto* args = static_cast<AnimCallbackArgs*>(argument);
    Calls().push_back({name, args->id, args->progress, args->owner});
    return 1;
}

int32_t Rec(void* argument) { return Record("Rec", argument); }
int32_t Rec2(void* argument) { return Record("Rec2", argument); }
int32_t Msg(void* argument)
{
    std::lock_guard<std::mutex> guard(gCallsLock);
    Calls().push_back({"Msg", -1, 0, argument});
    return 1;
}
int32_t Both(void* argument)
{
    std::lock_guard<std::mutex> guard(gCallsLock);
    Calls().push_back({"Both", -1, 0, nullptr});
    return 1;
}

const ExportedFunction kTable[] = {
    {"Rec", Rec, CallForm::Track},
    {"Rec2", Rec2, CallForm::Track},
    {"Msg", Msg, CallForm::Message},
    {"Both", Both, CallForm::Either},
};

} // namespace

std::vector<RecordedCall>& Calls()
{
    static std::vector<RecordedCall> calls;
    return calls;
}

RecordingExports::RecordingExports()
{
    Calls().clear();
    ExportedFunctions::Install(kTable, sizeof(kTable) / sizeof(kTable[0]));
}

RecordingExports::~RecordingExports()
{
    ExportedFunctions::Install(nullptr, 0);
    Calls().clear();
}

XmlNode ParseElement(const std::wstring& text)
{
    XmlDocument document;
    if (!document.LoadText(text))
        return XmlNode();
    std::vector<XmlNode> children;
    document.Node().Select(L"*", children);
    return children.empty() ? XmlNode() : children[0];
}

namespace {

// The null platform (simulated clock) for the whole test program.
class NullPlatformEnvironment : public ::testing::Environment {
public:
    void SetUp() override { mPlatform = std::make_unique<plat::NullPlatform>(); }
    void TearDown() override { mPlatform.reset(); }

private:
    std::unique_ptr<plat::NullPlatform> mPlatform;
};

const auto* gEnvironment = ::testing::AddGlobalTestEnvironment(new NullPlatformEnvironment);

} // namespace
