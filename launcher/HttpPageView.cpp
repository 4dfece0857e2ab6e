#include "launcher/HttpPageView.h"

#include "launcher/PageText.h"
#include "launcher/TextLines.h"
#include "platform/loop/BackgroundTask.h"
#include "platform/net/HttpClient.h"
#include "platform/text/TextDevice.h"
#include "platform/text/Utf8.h"

namespace vorsel {

namespace {
constexpr int kMargin = 8;
}

HttpPageView::HttpPageView(plat::EventLoop& loop, plat::TextDevice* text) : mLoop(loop), mTextDevice(text) {}

HttpPageView::~HttpPageView()
{
    mTask.reset();
}

void HttpPageView::Navigate(const std::wstring& url)
{
    mTask.reset(); // cancels an earlier navigation
    const std::string address = plat::WideToUtf8(url);
    plat::HttpUrl parsed;
    if (!plat::ParseHttpUrl(address, parsed))
        return;
    auto result = std::make_shared<plat::HttpResult>();
    mTask = std::make_unique<plat::BackgroundTask>(
        mLoop,
        [address, result](const plat::Canceller& cancel) {
            plat::HttpGetOptions options;
            options.budgetMs = 0x7FFFFFFF; // the form's own timer limits the wait
            options.bodyCap = kPageCap;
            options.maxRedirects = 5;
            options.cancel = &cancel;
            *result = plat::HttpGet(address, options);
        },
        [this, result] {
            if (!result->ok)
                return; // a failed page completes nothing
            mHaveDocument = true;
            mSource = result->body;
            mText = PageTextFromHtml(DecodeText(mSource));
            mWrappedWidth = -1;
            if (onDocumentComplete)
                onDocumentComplete();
        });
}

bool HttpPageView::SaveDocumentSource(std::string& source)
{
    if (!mHaveDocument)
        return false;
    source = mSource;
    return true;
}

void HttpPageView::Draw(const Canvas& canvas)
{
    if (!mHaveDocument || Width() <= 2 * kMargin || Height() <= 2 * kMargin)
        return;
    if (!mFontTried && mTextDevice) {
        mFontTried = true;
        plat::TextFontDesc desc;
        desc.face = "DejaVu Sans";
        desc.height = 14;
        mFont = mTextDevice->CreateFont(desc);
    }
    if (!mFont)
        return;
    const int width = Width() - 2 * kMargin;
    if (mWrappedWidth != width) {
        mLines = WrapText(mText, width, [this](const std::wstring& s) { return mFont->Extent(s); });
        mWrappedWidth = width;
    }
    plat::TextTarget target = plat::TextTarget::Bitmap32(canvas.pixels, canvas.width, canvas.height);
    target.pitch = canvas.stride * 4;
    target.IntersectClip(Left(), Top(), Left() + Width(), Top() + Height());
    const int lineHeight = std::max(1, mFont->Metrics().height);
    int y = Top() + kMargin;
    for (const std::wstring& line : mLines) {
        if (y >= Top() + Height())
            break;
        mFont->Draw(target, Left() + kMargin, y, line, 0x000000);
        y += lineHeight;
    }
}

} // namespace vorsel
