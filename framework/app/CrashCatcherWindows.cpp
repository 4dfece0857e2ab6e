// The crash catcher's three windows ("Fatal Error!", "Error Details",
// "Submitting Report") and the report upload.
#include "framework/app/Buffer.h"
#include "framework/app/CrashCatcher.h"
#include "framework/app/HTTPTransfer.h"
#include "framework/app/StringUtil.h"
#include "framework/app/ZelkAppBase.h"
#include "platform/Platform.h"
#include "platform/crash/ThreadStart.h"
#include "platform/msgbox/MessageBoxes.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <thread>

namespace Zelk {

bool gCrashShowWindow = true;
bool gCrashAllowSubmit = true;
std::string gCrashReportHost;
bool gCrashAttachDemo = false;
std::string gCrashDemoFile;
std::string gCrashErrorTitle;
std::string gCrashErrorText;
std::string gCrashUserText;
std::wstring gCrashHeaderText = L"An unexpected error has occured!";
std::wstring gCrashDetailsText = L"Please help out by providing as much information as you can about this crash.";
std::wstring gCrashConnectFailedText = L"Failed to connect to server.";
HTTPTransfer gCrashTransfer;

namespace {

const wchar_t* const kSendReport = L"Send Report";
const wchar_t* const kCloseNow = L"Close Now";
const wchar_t* const kContinue = L"Continue";
const wchar_t* const kAbort = L"Abort";
const char* const kBoundary = "---------------------------7d3e1f30eec";
constexpr size_t kMaxUserText = 8192;

// The windows' shared state; everything runs on the faulting thread except
// the report thread, which only starts the transfer.
std::atomic<bool> gWindowExit{false};
int gCrashWindow = -1;
int gDetailsWindow = -1;
int gProgressWindow = -1;
int gActiveWindow = -1;
int gDotCounter = 0;

// The label of the button an event pressed, or "" for anything else.
std::wstring PressedLabel(const plat::CrashEvent& event, const std::vector<plat::CrashButton>& buttons)
{
    if (event.kind != plat::CrashEvent::Button || event.index < 0 || size_t(event.index) >= buttons.size())
        return std::wstring();
    return buttons[size_t(event.index)].label;
}

std::vector<plat::CrashButton> gCrashButtons;
std::vector<plat::CrashButton> gDetailsButtons;
std::vector<plat::CrashButton> gProgressButtons;

std::thread gReportThread;

void StartReportThread()
{
    if (gReportThread.joinable())
        gReportThread.join();
    gReportThread = plat::StartThread("zelk-report", CrashCatcher::SubmitReport);
}

// The file read as it stands (no demo takes part in reading it).
void ReadFileIntoBuffer(const std::string& path, Buffer& buffer)
{
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    buffer.Clear();
    buffer.SetData(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

plat::CrashWindowDesc WindowAt(const wchar_t* title, int x, int y, int width, int height)
{
    plat::CrashWindowDesc desc;
    desc.title = title;
    desc.x = x;
    desc.y = y;
    desc.width = width;
    desc.height = height;
    return desc;
}

std::string FormPart(const std::string& name, const std::string& value)
{
    return std::string("--") + kBoundary + "\r\n" + "Content-Disposition: form-data; name=\"" + name + "\"\r\n" +
           "\r\n" + value + "\r\n";
}

} // namespace

namespace CrashCatcher {

bool WindowExitRequested() { return gWindowExit.load(); }

void JoinReportThread()
{
    if (gReportThread.joinable())
        gReportThread.join();
}

void ShowCrashWindow(const std::string& title, const std::string& text)
{
    gCrashErrorTitle = title;
    gCrashErrorText = text;

    plat::CrashWindowDesc desc = WindowAt(L"Fatal Error!", 64, 64, 400, 300);
    desc.header = gCrashHeaderText;
    desc.text = StringToWString(text);
    if (gCrashAllowSubmit && !gCrashReportHost.empty())
        desc.buttons = {{kSendReport, gCrashApp != nullptr}, {kCloseNow, true}};
    else
        desc.buttons = {{kCloseNow, true}};
    gCrashButtons = desc.buttons;

    plat::CrashUi& ui = plat::GetCrashUi();
    gWindowExit = false;
    gCrashWindow = ui.Open(desc);
    gActiveWindow = gCrashWindow;
    plat::CrashEvent event;
    while (!gWindowExit && ui.NextEvent(gActiveWindow, event)) {
        if (gWindowExit)
            break;
        if (gActiveWindow == gCrashWindow)
            CrashWindowProc(event);
        else if (gActiveWindow == gDetailsWindow)
            SubmitInfoWindowProc(event);
        else if (gActiveWindow == gProgressWindow)
            ProgressWindowProc(event);
    }
    ui.Destroy(gCrashWindow);
}

void CrashWindowProc(const plat::CrashEvent& event)
{
    if (event.kind == plat::CrashEvent::Close) {
        gWindowExit = true;
        return;
    }
    const std::wstring label = PressedLabel(event, gCrashButtons);
    if (label == kSendReport) {
        plat::GetCrashUi().Hide(gCrashWindow);
        ShowSubmitInfoWindow();
    } else if (label == kCloseNow) {
        gWindowExit = true;
    }
}

void ShowSubmitInfoWindow()
{
    plat::CrashWindowDesc desc = WindowAt(L"Error Details", 80, 80, 400, 300);
    desc.header = gCrashDetailsText;
    desc.editable = true;
    desc.buttons = {{kContinue, gCrashApp != nullptr}, {kAbort, true}};
    gDetailsButtons = desc.buttons;
    gDetailsWindow = plat::GetCrashUi().Open(desc);
    gActiveWindow = gDetailsWindow;
}

void SubmitInfoWindowProc(const plat::CrashEvent& event)
{
    if (event.kind == plat::CrashEvent::Close) {
        gWindowExit = true;
        return;
    }
    const std::wstring label = PressedLabel(event, gDetailsButtons);
    if (label == kContinue) {
        plat::CrashUi& ui = plat::GetCrashUi();
        ui.Hide(gDetailsWindow);
        std::wstring comment = ui.GetText(gDetailsWindow);
        if (comment.size() > kMaxUserText)
            comment.resize(kMaxUserText);
        // The comment goes into a narrow text; characters it cannot hold become "?".
        gCrashUserText.clear();
        for (wchar_t c : comment)
            gCrashUserText += c >= 0 && c <= 0xFF ? char(c) : '?';
        ShowProgressWindow();
        StartReportThread();
    } else if (label == kAbort) {
        gWindowExit = true;
    }
}

void ShowProgressWindow()
{
    plat::CrashWindowDesc desc = WindowAt(L"Submitting Report", 64, 64, 240, 64);
    desc.text = L"Please Wait";
    desc.buttons = {{kAbort, true}};
    desc.timers = {20, 1000};
    gProgressButtons = desc.buttons;
    gDotCounter = 0;
    gWindowExit = false; // shown from inside the loop, which runs only while this is clear
    gProgressWindow = plat::GetCrashUi().Open(desc);
    gActiveWindow = gProgressWindow;
}

std::wstring ProgressText(int counter)
{
    std::wstring text = L"Please Wait";
    for (int i = 0; i < counter % 10; ++i)
        text += L" .";
    return text;
}

void ProgressWindowProc(const plat::CrashEvent& event)
{
    const bool abort = event.kind == plat::CrashEvent::Close ||
                       PressedLabel(event, gProgressButtons) == kAbort;
    if (abort) {
        gCrashTransfer.Abort();
        // Before the report thread has started the transfer nothing would
        // ever end the window: the start clears the abort.
        if (gCrashTransfer.GetResult() == HTTPTransfer::RESULT_PENDING)
            gWindowExit = true;
        return;
    }
    if (event.kind != plat::CrashEvent::Timer)
        return;
    if (event.index == 1) {
        ++gDotCounter;
        plat::GetCrashUi().SetText(gProgressWindow, ProgressText(gDotCounter));
        return;
    }
    gCrashTransfer.UpdateStatus();
    switch (gCrashTransfer.GetResult()) {
    case HTTPTransfer::RESULT_PENDING:
    case HTTPTransfer::RESULT_RUNNING:
        break;
    case HTTPTransfer::RESULT_DONE:
    case HTTPTransfer::RESULT_ABORTED:
        gWindowExit = true;
        break;
    default: {
        gCrashTransfer.Reset();
        plat::MessageBoxes* boxes = plat::Get().messageBoxes;
        const int answer =
            boxes ? boxes->Show(gCrashConnectFailedText, L"Connection Failed", plat::MB_RETRYCANCEL) : plat::IDCANCEL;
        if (answer == plat::IDRETRY)
            StartReportThread();
        else
            gWindowExit = true;
        break;
    }
    }
}

std::string BuildReportRequest(const std::string& host, const std::map<std::string, std::string>& extraFields,
                               const std::string& product, const std::string& version, const std::string& userText,
                               const std::string& errorTitle, const std::string& errorText, const Buffer* demo)
{
    std::string body;
    for (const auto& field : extraFields)
        body += FormPart(field.first, field.second);
    body += FormPart("prod", product);
    body += FormPart("version", version);
    body += FormPart("usertext", userText);
    body += FormPart("errortitle", errorTitle);
    body += FormPart("errortext", errorText);
    if (demo) {
        body += std::string("--") + kBoundary + "\r\n" +
                "Content-Disposition: form-data; name=\"demofile\"; filename=\"hollin.dmo\"\r\n" +
                "Content-Type: application/octet-stream\r\n" + "\r\n";
        if (const uint8_t* bytes = demo->GetDataPtr())
            body.append(reinterpret_cast<const char*>(bytes), size_t(demo->GetDataLen()));
        body += "\r\n";
    }
    body += std::string("--") + kBoundary + "--\r\n";

    return std::string("POST /fentro_error.php HTTP/1.1\r\n") + "Content-Type: multipart/form-data; boundary=" +
           kBoundary + "\r\n" + "User-Agent: Mozilla/4.0 (compatible; hollin)\r\n" + "Host: " + host + "\r\n" +
           "Content-Length: " + StrFormat("%d", int(body.size())) + "\r\n" + "Connection: close\r\n" + "\r\n" + body;
}

void SubmitReport()
{
    std::map<std::string, std::string> fields;
    std::string product, version;
    if (ZelkAppBase* app = gCrashApp) {
        app->GetCrashReportFields(fields);
        product = app->mProdName;
        version = app->mProductVersion;
    }
    Buffer demo;
    if (gCrashAttachDemo)
        ReadFileIntoBuffer(gCrashDemoFile, demo);
    const std::string request = BuildReportRequest(gCrashReportHost, fields, product, version, gCrashUserText,
                                                   gCrashErrorTitle, gCrashErrorText, gCrashAttachDemo ? &demo : nullptr);
    gCrashTransfer.Start(gCrashReportHost, request);
}

} // namespace CrashCatcher

} // namespace Zelk
