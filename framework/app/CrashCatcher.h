#pragma once
#include "platform/crash/CrashSignals.h"
#include "platform/crash/CrashUi.h"

#include <cstdint>
#include <map>
#include <string>

namespace Zelk {

class Buffer;
class HTTPTransfer;

// The crash catcher's settings and texts, process-wide.
extern bool gCrashShowWindow;       // show the crash window (true)
extern bool gCrashAllowSubmit;      // offer "Send Report" when a report host is set (true)
extern std::string gCrashReportHost; // host[:port] of the report upload; empty: no upload
extern bool gCrashAttachDemo;       // attach the demo file to the report (false)
extern std::string gCrashDemoFile;
extern std::string gCrashErrorTitle; // the report's "errortitle"
extern std::string gCrashErrorText;  // the report's "errortext": the crash text
extern std::string gCrashUserText;   // the report's "usertext": the user's comment
extern std::wstring gCrashHeaderText;
extern std::wstring gCrashDetailsText;
extern std::wstring gCrashConnectFailedText;
extern HTTPTransfer gCrashTransfer; // carries the report

// Catches every fault nothing else handles, in any thread: lets the
// application object quiet itself, writes the crash text (exception, module
// and logical address, stack walk, registers, system and application lines),
// names addresses from a linker map in the current folder, and shows the text
// in the "Fatal Error!" window, which can send a report when a host is set.
namespace CrashCatcher {

// Installs the handler (the program's static object does, see
// CrashCatcherInstaller); Uninstall puts the previous one back.
void Install();
void Uninstall();

// The process's handler: OnCrash of the application, then HandleCrash.
// Returns 0: the default action then ends the process.
int Filter(const plat::ExceptionInfo& info);
// Builds the crash text, names map symbols and shows the crash window.
void HandleCrash(const plat::ExceptionInfo& info);
// The crash text before map symbols are named, and its title.
std::string BuildCrashText(const plat::ExceptionInfo& info, std::string& title);

// Name of an exception code, or null when the table has none.
const char* ExceptionName(uint32_t code);
std::string ExceptionLine(const plat::ExceptionInfo& info);
std::string RegistersText(const plat::CrashRegisters& regs);
// Whether the stack walker with symbols can be used ("imagehlp.dll").
bool LoadImageHlp();
// Module path, section and offset of an address; false when no module holds it.
bool GetLogicalAddress(uint64_t address, std::string& modulePath, uint32_t& section, uint32_t& offset);
// The walk with symbols from the faulting instruction outwards.
std::string ImageHlpStackWalk(const plat::ExceptionInfo& info);
// The walk along the saved frame-pointer chain, only inside [stackLow, stackHigh).
std::string FrameStackWalk(uint64_t pc, uint64_t frame, uintptr_t stackLow, uintptr_t stackHigh);
std::string FrameStackWalk(const plat::ExceptionInfo& info);
std::string GetSystemInfoText();

// Hex digits only, most significant first; "" is 0.
bool ParseHex(const std::string& text, uint32_t& value);
// Replaces every "ssss:oooooooo" in the text by the symbol of the first
// "*.map" file in the current folder (and its source line when known).
void ResolveMapSymbols(std::string& text);
void ResolveMapSymbolsFrom(std::string& text, const std::string& mapPath);

// ---- the windows and the report ----
void ShowCrashWindow(const std::string& title, const std::string& text);
void CrashWindowProc(const plat::CrashEvent& event);
void ShowSubmitInfoWindow();
void SubmitInfoWindowProc(const plat::CrashEvent& event);
void ShowProgressWindow();
void ProgressWindowProc(const plat::CrashEvent& event);
// The window loop's end was asked for.
bool WindowExitRequested();
// "Please Wait" and (counter mod 10) dots.
std::wstring ProgressText(int counter);
// Body of the report thread: builds the request and starts gCrashTransfer.
void SubmitReport();
// Waits until the report thread has handed the request to the transfer.
void JoinReportThread();
// The multipart/form-data POST of a report.
std::string BuildReportRequest(const std::string& host, const std::map<std::string, std::string>& extraFields,
                               const std::string& product, const std::string& version, const std::string& userText,
                               const std::string& errorTitle, const std::string& errorText, const Buffer* demo);

} // namespace CrashCatcher

} // namespace Zelk
