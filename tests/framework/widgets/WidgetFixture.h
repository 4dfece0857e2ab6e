#pragma once
// Small trees of widgets that write down every call that reaches them, a
// manager to drive them with event scripts, and drawing stand-ins that record
// what reaches the image and the font.
#include "framework/fonts/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetManager.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

typedef std::vector<std::string> Log;

inline std::string Pt(int x, int y)
{
    return std::to_string(x) + "," + std::to_string(y);
}

// The entries of a log for one kind of event ("<name>.<event> ...").
inline Log Only(const Log& log, const std::string& event)
{
    Log only;
    for (const std::string& e : log) {
        size_t dot = e.find('.');
        if (dot != std::string::npos && e.compare(dot + 1, event.size(), event) == 0 &&
            (e.size() == dot + 1 + event.size() || e[dot + 1 + event.size()] == ' '))
            only.push_back(e);
    }
    return only;
}

// Writes "<name>.<event> <arguments>" into a shared log.
class LogWidget : public Zelk::Widget {
public:
    LogWidget(const std::string& name, Log* log, int x = 0, int y = 0, int w = 0, int h = 0) : mName(name), mLog(log)
    {
        mX = x;
        mY = y;
        mWidth = w;
        mHeight = h;
    }
    void Update() override
    {
        Zelk::Widget::Update();
        Write("update");
        if (onUpdate)
            onUpdate();
    }
    void UpdateFraction(float fraction) override { Write("fraction"); }
    void MouseEnter() override { Write("enter"); }
    void MouseLeave() override { Write("leave"); }
    void MouseMove(int x, int y) override { Write("move " + Pt(x, y)); }
    void MouseDrag(int x, int y) override { Write("drag " + Pt(x, y)); }
    void MouseDown(int x, int y, int clickCode) override
    {
        Write("down " + Pt(x, y) + " " + std::to_string(clickCode));
        Zelk::Widget::MouseDown(x, y, clickCode);
    }
    void MouseUp(int x, int y, int clickCode) override
    {
        Write("up " + Pt(x, y) + " " + std::to_string(clickCode) + (mIsDown ? " isdown" : ""));
        Zelk::Widget::MouseUp(x, y, clickCode);
    }
    void MouseWheel(int delta) override { Write("wheel " + std::to_string(delta)); }
    void KeyDown(int key) override
    {
        Write("keydown " + std::to_string(key));
        Zelk::Widget::KeyDown(key);
    }
    void KeyUp(int key) override { Write("keyup " + std::to_string(key)); }
    void KeyChar(wchar_t c) override { Write("char " + std::to_string(int(c))); }
    void GotFocus() override
    {
        Zelk::Widget::GotFocus();
        Write("gotfocus");
    }
    void LostFocus() override
    {
        Zelk::Widget::LostFocus();
        Write("lostfocus");
    }
    void OrderChanged() override { Write("orderchanged"); }
    void DrawOverlay(Zelk::Graphics* g) override { Write("overlay"); }
    void Draw(Zelk::Graphics* g) override
    {
        if (onDraw)
            onDraw(g);
        Write("draw");
    }

    void Write(const std::string& event)
    {
        if (mLog)
            mLog->push_back(mName + "." + event);
    }

    std::string mName;
    Log* mLog;
    std::function<void()> onUpdate;
    std::function<void(Zelk::Graphics*)> onDraw;
};

// A manager over an 800 x 600 area with widgets it owns for the test.
class TreeTest : public ::testing::Test {
protected:
    TreeTest() : mgr(nullptr) { mgr.Resize(Zelk::Rect(0, 0, 800, 600), Zelk::Rect(0, 0, 800, 600)); }
    ~TreeTest() override { mgr.RemoveAllWidgets(false, true); }
    LogWidget* Make(const std::string& name, int x = 0, int y = 0, int w = 0, int h = 0)
    {
        owned.push_back(std::make_unique<LogWidget>(name, &log, x, y, w, h));
        return owned.back().get();
    }
    LogWidget* Add(const std::string& name, int x, int y, int w, int h, Zelk::WidgetContainer* parent = nullptr)
    {
        LogWidget* widget = Make(name, x, y, w, h);
        (parent ? parent : &mgr)->AddWidget(widget);
        return widget;
    }
    // The log since the last call.
    Log Take()
    {
        Log taken;
        taken.swap(log);
        return taken;
    }
    std::vector<std::string> Names(Zelk::WidgetContainer* container)
    {
        std::vector<std::string> names;
        for (Zelk::Widget* widget : container->mWidgets)
            names.push_back(static_cast<LogWidget*>(widget)->mName);
        return names;
    }

    Log log;
    Zelk::WidgetManager mgr;
    std::vector<std::unique_ptr<LogWidget>> owned;
};

// An image that writes down the fills and blits Graphics hands it, in
// destination coordinates after translation and clipping.
class RecordingImage : public Zelk::Image {
public:
    RecordingImage(int w = 800, int h = 600)
    {
        mWidth = w;
        mHeight = h;
    }
    struct Op {
        std::string what;
        Zelk::Rect rect;
        Zelk::Color color;
        Zelk::Image* src = nullptr;
        Zelk::Rect srcRect;
    };
    void FillRect(const Zelk::Rect& rect, const Zelk::Color& color, int drawMode) override
    {
        ops.push_back({"fill", rect, color, nullptr, Zelk::Rect()});
    }
    void Blit(Zelk::Image* src, int x, int y, const Zelk::Rect& srcRect, const Zelk::Color& color,
              int drawMode) override
    {
        ops.push_back({"blit", Zelk::Rect(x, y, srcRect.mWidth, srcRect.mHeight), color, src, srcRect});
    }
    std::vector<Op> ops;
};

// A font with fixed metrics: every character 7 wide (those of zeroWidth 0,
// as a font that cannot draw them), ascent 10, height 14; drawn strings are
// written down at their final position.
class FakeFont : public Zelk::Font {
public:
    struct Drawn {
        std::wstring text;
        int x, y;
        Zelk::Color color;
    };
    explicit FakeFont(std::vector<Drawn>* drawn = nullptr) : mDrawn(drawn)
    {
        mAscent = 10;
        mHeight = 14;
    }
    int StringWidth(const std::wstring& text) override
    {
        int width = 0;
        for (wchar_t c : text)
            width += CharWidth(c);
        return width;
    }
    int CharWidth(wchar_t c) override { return zeroWidth.find(c) == std::wstring::npos ? 7 : 0; }
    void DrawString(Zelk::Graphics* g, int x, int y, const std::wstring& text, const Zelk::Color& color,
                    const Zelk::Rect& clip) override
    {
        if (mDrawn)
            mDrawn->push_back({text, x + int(g->mTransX), y + int(g->mTransY), color});
    }
    Zelk::Font* Duplicate() override { return new FakeFont(*this); }

    std::vector<Drawn>* mDrawn;
    std::wstring zeroWidth;
};
