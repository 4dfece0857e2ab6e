#pragma once
#include "platform/window/WindowSystem.h"

#include <map>
#include <vector>

namespace plat {

// Windows that exist only as records: tests inspect them and post messages.
class NullWindowSystem : public WindowSystem {
public:
    struct Record {
        WindowDesc desc;
        bool visible = false;
        bool minimized = false;
        bool raised = false;
        int raiseCount = 0;
        int restoreCount = 0;
    };
    WindowHandle Create(const WindowDesc& desc) override;
    void Destroy(WindowHandle w) override;
    void Show(WindowHandle w) override;
    void Hide(WindowHandle w) override;
    void Raise(WindowHandle w) override;
    void Restore(WindowHandle w) override;
    bool IsMinimized(WindowHandle w) override;
    bool IsVisible(WindowHandle w) override;
    void SetTitle(WindowHandle w, const std::wstring& title) override;
    void DesktopSize(int& width, int& height) override;
    bool IsTabletPC() override { return tablet; }

    Record* Find(WindowHandle w);
    size_t LiveWindows();
    int desktopWidth = 1024;
    int desktopHeight = 768;
    bool tablet = false;

private:
    std::mutex mLock;
    std::map<WindowHandle, Record> mWindows;
    WindowHandle mNext = 1;
};

} // namespace plat
