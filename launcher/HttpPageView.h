#pragma once
#include "launcher/PageView.h"

#include <memory>
#include <string>
#include <vector>

namespace plat {
class BackgroundTask;
class EventLoop;
class TextDevice;
class TextFont;
} // namespace plat

namespace vorsel {

// The page view of the launcher: "http://" pages fetched with our HTTP
// client on a worker (up to five redirects, at most kPageCap bytes, no time
// limit of its own), shown as wrapped plain text in DejaVu Sans. Scripts
// never run and links are not followed. Any other address fails.
class HttpPageView : public PageView {
public:
    static constexpr size_t kPageCap = size_t(8) << 20;
    // text may be null: the page is then not drawn.
    HttpPageView(plat::EventLoop& loop, plat::TextDevice* text);
    ~HttpPageView() override;
    void Navigate(const std::wstring& url) override;
    bool SaveDocumentSource(std::string& source) override;
    void Draw(const Canvas& canvas) override;
    // The page's text as it is drawn, before wrapping.
    const std::wstring& Text() const { return mText; }

private:
    plat::EventLoop& mLoop;
    plat::TextDevice* mTextDevice;
    std::unique_ptr<plat::TextFont> mFont;
    bool mFontTried = false;
    std::unique_ptr<plat::BackgroundTask> mTask;
    bool mHaveDocument = false;
    std::string mSource;
    std::wstring mText;
    std::vector<std::wstring> mLines;
    int mWrappedWidth = -1;
};

} // namespace vorsel
