#pragma once
#include "launcher/Canvas.h"

#include <functional>
#include <string>

namespace vorsel {

// The browser control `WebBrowser1`: loads a page and shows it in its
// rectangle of the form. A page that arrived whole is announced through
// onDocumentComplete, always later from the loop, never from inside
// Navigate; a page that fails announces nothing.
class PageView {
public:
    virtual ~PageView() = default;
    // Cancels an earlier navigation and starts loading the address.
    virtual void Navigate(const std::wstring& url) = 0;
    // The raw bytes of the page last completed; false before any.
    virtual bool SaveDocumentSource(std::string& source) = 0;
    // Shows the page in its rectangle of the canvas.
    virtual void Draw(const Canvas& canvas) = 0;

    void SetBounds(int x, int y, int width, int height)
    {
        mX = x, mY = y, mWidth = width, mHeight = height;
    }
    int Left() const { return mX; }
    int Top() const { return mY; }
    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    std::function<void()> onDocumentComplete;

private:
    int mX = 0, mY = 0, mWidth = 1, mHeight = 1;
};

} // namespace vorsel
