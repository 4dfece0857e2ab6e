#include "framework/app/Buffer.h"
#include "framework/app/CrashCatcher.h"
#include "framework/app/HTTPTransfer.h"
#include "framework/app/ZelkAppBase.h"
#include "platform/NullPlatform.h"
#include "tests/framework/tools/LoopbackServer.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

using namespace Zelk;

namespace {

class ReportApp : public ZelkAppBase {
public:
    ReportApp()
    {
        mProdName = "TestProduct";
        mProductVersion = "1.2";
        mLoadingThreadWanted = false;
    }
    void GetCrashReportFields(std::map<std::string, std::string>& fields) override
    {
        fields["zeta"] = "last";
        fields["alpha"] = "first";
    }
};

std::wstring Labels(const plat::CrashWindowDesc& d)
{
    std::wstring out;
    for (auto& b : d.buttons)
        out += L"[" + b.label + (b.enabled ? L"" : L" (off)") + L"]";
    return out;
}

class CrashWindows : public ::testing::Test {
protected:
    void SetUp() override { plat::SetCrashUi(&ui); }
    void TearDown() override
    {
        plat::SetCrashUi(nullptr);
        CrashCatcher::JoinReportThread();
        gCrashTransfer.Reset();
        gCrashReportHost.clear();
        gCrashAllowSubmit = true;
        gCrashUserText.clear();
    }
    plat::NullPlatform platform;
    plat::StandInCrashUi ui;
};

} // namespace

TEST_F(CrashWindows, ButtonsOffered)
{
    struct {
        const char* host;
        bool allow;
        bool app;
        const wchar_t* buttons;
    } cases[] = {
        {"", true, true, L"[Close Now]"},
        {"reports.example", false, true, L"[Close Now]"},
        {"reports.example", true, false, L"[Send Report (off)][Close Now]"},
        {"reports.example", true, true, L"[Send Report][Close Now]"},
    };
    for (auto& c : cases) {
        ui.Clear();
        gCrashReportHost = c.host;
        gCrashAllowSubmit = c.allow;
        std::unique_ptr<ReportApp> app(c.app ? new ReportApp : nullptr);
        CrashCatcher::ShowCrashWindow("Exception at 0001:00000010", "the crash text");
        auto shown = ui.Windows();
        ASSERT_EQ(shown.size(), 1u) << c.host;
        EXPECT_EQ(shown[0].desc.title, L"Fatal Error!");
        EXPECT_EQ(shown[0].desc.header, L"An unexpected error has occured!");
        EXPECT_EQ(shown[0].desc.text, L"the crash text");
        EXPECT_EQ(Labels(shown[0].desc), c.buttons) << c.host;
        EXPECT_TRUE(shown[0].destroyed);
        EXPECT_EQ(gCrashErrorTitle, "Exception at 0001:00000010");
        EXPECT_EQ(gCrashErrorText, "the crash text");
    }
    // Only "Close Now": the window goes through the platform's message box.
    gCrashReportHost.clear();
    platform.messageBoxes.Clear();
    CrashCatcher::ShowCrashWindow("T", "text");
    auto boxes = platform.messageBoxes.Log();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, L"Fatal Error!");
    EXPECT_EQ(boxes[0].text, L"An unexpected error has occured!\r\n\r\ntext");

    // A whole crash text is cut to a box that fits the screen and says where
    // the rest is.
    std::string longText;
    for (int i = 0; i < 40; ++i)
        longText += "line " + std::to_string(i) + " " + std::string(300, 'x') + "\r\n";
    platform.messageBoxes.Clear();
    CrashCatcher::ShowCrashWindow("T", longText);
    boxes = platform.messageBoxes.Log();
    ASSERT_EQ(boxes.size(), 1u);
    const std::wstring& box = boxes[0].text;
    size_t lineCount = 1, longest = 0, start = 0;
    for (size_t at = box.find(L"\r\n"); at != std::wstring::npos; at = box.find(L"\r\n", start)) {
        longest = std::max(longest, at - start);
        start = at + 2;
        ++lineCount;
    }
    longest = std::max(longest, box.size() - start);
    EXPECT_LE(lineCount, 13u) << std::string(box.begin(), box.end());
    EXPECT_LE(longest, 100u);
    EXPECT_NE(box.find(L"line 0 xxx"), std::wstring::npos);
    EXPECT_EQ(box.find(L"line 39"), std::wstring::npos);
    EXPECT_NE(box.find(L"crash.txt"), std::wstring::npos);
}

TEST_F(CrashWindows, DetailsWithoutAnApplicationOffersOnlyAbort)
{
    gCrashReportHost = "reports.example";
    ReportApp* app = new ReportApp;
    ui.QueueAnswer(L"Send Report");
    delete app; // the application died before the crash: gCrashApp is cleared
    ASSERT_EQ(gCrashApp, nullptr);
    // Send Report is off now, so the scripted press closes the window.
    CrashCatcher::ShowCrashWindow("T", "text");
    EXPECT_EQ(ui.Windows().size(), 1u);

    // Pressed with an application alive, then the application goes away:
    // "Continue" is offered only while there is one.
    ui.Clear();
    gCrashReportHost = "reports.example";
    {
        ReportApp alive;
        ui.QueueAnswer(L"Send Report");
        ui.QueueAnswer(L"Abort");
        CrashCatcher::ShowCrashWindow("T", "text");
    }
    auto shown = ui.Windows();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_TRUE(shown[0].hidden);
    EXPECT_EQ(shown[1].desc.title, L"Error Details");
    EXPECT_EQ(shown[1].desc.header,
              L"Please help out by providing as much information as you can about this crash.");
    EXPECT_TRUE(shown[1].desc.editable);
    EXPECT_EQ(Labels(shown[1].desc), L"[Continue][Abort]");
}

TEST(CrashReport, RequestLayout)
{
    const std::string b = "---------------------------7d3e1f30eec";
    Buffer demo;
    const uint8_t bytes[] = {'D', 0, 'M', 0xFF};
    demo.SetData(bytes, sizeof bytes);
    const std::string request = CrashCatcher::BuildReportRequest(
        "reports.example:8080", {{"zeta", "z"}, {"alpha", "a"}}, "Prod", "1.0", "it broke", "Exception at 0001:00000010",
        "crash\r\ntext", &demo);

    const size_t split = request.find("\r\n\r\n");
    ASSERT_NE(split, std::string::npos);
    const std::string head = request.substr(0, split + 4);
    const std::string body = request.substr(split + 4);
    EXPECT_EQ(head, "POST /fentro_error.php HTTP/1.1\r\n"
                    "Content-Type: multipart/form-data; boundary=" + b + "\r\n"
                    "User-Agent: Mozilla/4.0 (compatible; hollin)\r\n"
                    "Host: reports.example:8080\r\n"
                    "Content-Length: " + std::to_string(body.size()) + "\r\n"
                    "Connection: close\r\n\r\n");
    auto part = [&](const std::string& name, const std::string& value) {
        return "--" + b + "\r\nContent-Disposition: form-data; name=\"" + name + "\"\r\n\r\n" + value + "\r\n";
    };
    EXPECT_EQ(body, part("alpha", "a") + part("zeta", "z") + part("prod", "Prod") + part("version", "1.0") +
                        part("usertext", "it broke") + part("errortitle", "Exception at 0001:00000010") +
                        part("errortext", "crash\r\ntext") + "--" + b +
                        "\r\nContent-Disposition: form-data; name=\"demofile\"; filename=\"hollin.dmo\"\r\n"
                        "Content-Type: application/octet-stream\r\n\r\n" +
                        std::string("D\0M\xFF", 4) + "\r\n--" + b + "--\r\n");

    // Without the demo there is no file part.
    const std::string plain = CrashCatcher::BuildReportRequest("h", {}, "P", "1", "", "t", "x", nullptr);
    EXPECT_EQ(plain.find("demofile"), std::string::npos);
    EXPECT_EQ(plain.substr(plain.size() - b.size() - 6), "--" + b + "--\r\n");
}

TEST_F(CrashWindows, ProgressWindow)
{
    // The dots cycle through 0 to 9.
    CrashCatcher::ShowProgressWindow();
    const int progress = int(ui.Windows().size()) - 1;
    EXPECT_EQ(ui.Windows()[size_t(progress)].desc.title, L"Submitting Report");
    EXPECT_EQ(ui.GetText(progress), L"Please Wait");
    for (int i = 1; i <= 11; ++i)
        CrashCatcher::ProgressWindowProc({plat::CrashEvent::Timer, 1});
    EXPECT_EQ(ui.GetText(progress), L"Please Wait .");
    EXPECT_EQ(CrashCatcher::ProgressText(9), L"Please Wait . . . . . . . . .");
    EXPECT_EQ(CrashCatcher::ProgressText(10), L"Please Wait");

    // Abort before the report thread started the upload ends the window at
    // once (the start would clear the abort and nothing would end it).
    ASSERT_EQ(gCrashTransfer.GetResult(), HTTPTransfer::RESULT_PENDING);
    EXPECT_FALSE(CrashCatcher::WindowExitRequested());
    CrashCatcher::ProgressWindowProc({plat::CrashEvent::Button, 0});
    EXPECT_TRUE(CrashCatcher::WindowExitRequested());
}

TEST_F(CrashWindows, FailedUploadAsksToRetry)
{
    // A bound port that does not listen: the upload fails with 8.
    int closed = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = testsupport::LoopbackServer::Loopback(0);
    ASSERT_EQ(bind(closed, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    socklen_t len = sizeof a;
    getsockname(closed, reinterpret_cast<sockaddr*>(&a), &len);
    gCrashReportHost = "127.0.0.1:" + std::to_string(ntohs(a.sin_port));

    ReportApp app;
    ui.QueueAnswer(L"Send Report");
    ui.QueueAnswer(L"Continue", L"comment");
    platform.messageBoxes.QueueAnswer(plat::IDCANCEL);
    CrashCatcher::ShowCrashWindow("T", "text");
    close(closed);

    auto boxes = platform.messageBoxes.Log();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, L"Connection Failed");
    EXPECT_EQ(boxes[0].text, L"Failed to connect to server.");
    EXPECT_EQ(boxes[0].flags, uint32_t(plat::MB_RETRYCANCEL));
    EXPECT_EQ(gCrashTransfer.GetResult(), HTTPTransfer::RESULT_PENDING); // reset after the failure
    EXPECT_EQ(gCrashUserText, "comment");
}

// The whole way of a report: the user sends it with a comment and the
// upload reaches the report host.
TEST_F(CrashWindows, ReportReachesTheHost)
{
    testsupport::LoopbackServer server({testsupport::Send("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok")});
    const std::string address = server.Address();
    gCrashReportHost = address.substr(0, address.find('/'));

    ReportApp app;
    ui.QueueAnswer(L"Send Report");
    ui.QueueAnswer(L"Continue", L"it broke when I clicked");
    CrashCatcher::ShowCrashWindow("Exception at 0001:00000010", "the crash text");
    CrashCatcher::JoinReportThread();

    EXPECT_EQ(gCrashTransfer.GetResult(), HTTPTransfer::RESULT_DONE);
    EXPECT_TRUE(platform.messageBoxes.Log().empty());
    auto shown = ui.Windows();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[2].desc.title, L"Submitting Report");

    const std::string request = server.Request();
    const std::string body = request.substr(request.find("\r\n\r\n") + 4);
    EXPECT_EQ(request.rfind("POST /fentro_error.php HTTP/1.1\r\n", 0), 0u);
    EXPECT_NE(request.find("Host: " + gCrashReportHost + "\r\n"), std::string::npos);
    EXPECT_NE(request.find("Content-Length: " + std::to_string(body.size()) + "\r\n"), std::string::npos);
    const size_t alpha = body.find("name=\"alpha\"\r\n\r\nfirst\r\n");
    const size_t zeta = body.find("name=\"zeta\"\r\n\r\nlast\r\n");
    const size_t prod = body.find("name=\"prod\"\r\n\r\nTestProduct\r\n");
    EXPECT_LT(alpha, zeta);
    EXPECT_LT(zeta, prod);
    EXPECT_NE(body.find("name=\"usertext\"\r\n\r\nit broke when I clicked\r\n"), std::string::npos);
    EXPECT_NE(body.find("name=\"errortitle\"\r\n\r\nException at 0001:00000010\r\n"), std::string::npos);
    EXPECT_NE(body.find("name=\"errortext\"\r\n\r\nthe crash text\r\n"), std::string::npos);
}
