#pragma once
// A minimal Linux VST3 host for the editor tests: a top-level X window of its own, the plug-in
// frame (resize requests) and the run loop (file descriptors and timers) the view registers
// with, a poll() loop, real pointer clicks through XTest, and screenshots of its window.

#include "vstgui/lib/ccolor.h"

#include "pluginterfaces/gui/iplugview.h"

#include <xcb/xcb.h>

#include <chrono>
#include <string>
#include <vector>

class TestX11Host : public Steinberg::IPlugFrame, public Steinberg::Linux::IRunLoop
{
public:
    TestX11Host();
    ~TestX11Host();

    // False without an X server (no DISPLAY): the tests skip then.
    bool available() const { return window != 0; }
    void* parent() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(window)); }

    // Runs the loop: descriptors, timers and the host's own events, for about 'ms'.
    void runFor(int ms);
    // A real button-1 click at window coordinates (pixels) through XTest.
    void click(int x, int y);
    // Real key presses through XTest: the keys that give these keysyms without modifiers
    // (ASCII digits, letters and '.', or XK values such as 0xff0d for Return).
    void pressKeys(const std::vector<uint32_t>& keysyms);
    // The embedded view's window pixels, as the X server has them.
    bool screenshot(const std::string& pngPath);
    VSTGUI::CColor pixel(int x, int y);
    // Every second pixel of every second row of a rectangle, from one screenshot.
    std::vector<VSTGUI::CColor> pixels(int left, int top, int right, int bottom);
    // Windows inside the host window (the embedded view's) and mapped override-redirect windows.
    size_t childWindowCount();
    size_t popupWindowCount();

    size_t eventHandlerCount() const { return handlers.size(); }
    size_t timerCount() const { return timers.size(); }
    int resizeRequests{0};
    Steinberg::ViewRect lastResize;

    // IPlugFrame
    Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view,
                                             Steinberg::ViewRect* newSize) override;
    // IRunLoop
    Steinberg::tresult PLUGIN_API registerEventHandler(Steinberg::Linux::IEventHandler* handler,
                                                       Steinberg::Linux::FileDescriptor fd) override;
    Steinberg::tresult PLUGIN_API unregisterEventHandler(Steinberg::Linux::IEventHandler* handler) override;
    Steinberg::tresult PLUGIN_API registerTimer(Steinberg::Linux::ITimerHandler* handler,
                                                Steinberg::Linux::TimerInterval ms) override;
    Steinberg::tresult PLUGIN_API unregisterTimer(Steinberg::Linux::ITimerHandler* handler) override;
    // FUnknown (the host owns itself)
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    struct Handler
    {
        Steinberg::Linux::IEventHandler* handler;
        int fd;
    };
    struct Timer
    {
        Steinberg::Linux::ITimerHandler* handler;
        std::chrono::milliseconds interval;
        std::chrono::steady_clock::time_point next;
    };
    void rootPosition(int& x, int& y);

    xcb_connection_t* conn{nullptr};
    xcb_screen_t* screen{nullptr};
    xcb_window_t window{0};
    std::vector<Handler> handlers;
    std::vector<Timer> timers;
};
