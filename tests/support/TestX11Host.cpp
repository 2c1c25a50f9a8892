#include "support/TestX11Host.h"

#include <cairo.h>
#include <poll.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

using namespace Steinberg;

TestX11Host::TestX11Host()
{
    if (!std::getenv("DISPLAY"))
        return;
    // Right after an earlier test's host connection closed, Xvfb sometimes turns the next one
    // away once (XCB_CONN_ERROR); trying again a moment later works.
    for (int attempt = 0; attempt < 40; ++attempt)
    {
        conn = xcb_connect(nullptr, nullptr);
        if (!xcb_connection_has_error(conn))
            break;
        xcb_disconnect(conn);
        conn = nullptr;
        poll(nullptr, 0, 50);
    }
    if (!conn)
        return;
    screen = xcb_setup_roots_iterator(xcb_get_setup(conn)).data;
    window = xcb_generate_id(conn);
    const uint32_t values[] = {screen->black_pixel, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_create_window(conn, XCB_COPY_FROM_PARENT, window, screen->root, 10, 10, 640, 480, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    xcb_map_window(conn, window);
    xcb_flush(conn);
}

TestX11Host::~TestX11Host()
{
    if (conn)
    {
        if (window)
            xcb_destroy_window(conn, window);
        xcb_disconnect(conn);
    }
}

tresult PLUGIN_API TestX11Host::queryInterface(const TUID iid, void** obj)
{
    if (FUnknownPrivate::iidEqual(iid, IPlugFrame::iid) || FUnknownPrivate::iidEqual(iid, FUnknown::iid))
    {
        *obj = static_cast<IPlugFrame*>(this);
        return kResultOk;
    }
    if (FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid))
    {
        *obj = static_cast<Linux::IRunLoop*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

tresult PLUGIN_API TestX11Host::resizeView(IPlugView* view, ViewRect* newSize)
{
    ++resizeRequests;
    lastResize = *newSize;
    const uint32_t values[] = {static_cast<uint32_t>(newSize->getWidth()),
                               static_cast<uint32_t>(newSize->getHeight())};
    xcb_configure_window(conn, window, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, values);
    xcb_flush(conn);
    return view->onSize(newSize);
}

tresult PLUGIN_API TestX11Host::registerEventHandler(Linux::IEventHandler* handler, Linux::FileDescriptor fd)
{
    if (!handler)
        return kInvalidArgument;
    handler->addRef();
    handlers.push_back({handler, fd});
    return kResultTrue;
}

tresult PLUGIN_API TestX11Host::unregisterEventHandler(Linux::IEventHandler* handler)
{
    auto it = std::find_if(handlers.begin(), handlers.end(),
                           [&](const Handler& h) { return h.handler == handler; });
    if (it == handlers.end())
        return kInvalidArgument;
    handlers.erase(it);
    handler->release();
    return kResultTrue;
}

tresult PLUGIN_API TestX11Host::registerTimer(Linux::ITimerHandler* handler, Linux::TimerInterval ms)
{
    if (!handler || ms == 0)
        return kInvalidArgument;
    handler->addRef();
    const auto interval = std::chrono::milliseconds(ms);
    timers.push_back({handler, interval, std::chrono::steady_clock::now() + interval});
    return kResultTrue;
}

tresult PLUGIN_API TestX11Host::unregisterTimer(Linux::ITimerHandler* handler)
{
    auto it =
        std::find_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.handler == handler; });
    if (it == timers.end())
        return kInvalidArgument;
    timers.erase(it);
    handler->release();
    return kResultTrue;
}

void TestX11Host::runFor(int ms)
{
    using clock = std::chrono::steady_clock;
    const auto end = clock::now() + std::chrono::milliseconds(ms);
    while (clock::now() < end)
    {
        auto wake = end;
        for (const auto& t : timers)
            wake = std::min(wake, t.next);
        std::vector<pollfd> fds;
        for (const auto& h : handlers)
            fds.push_back({h.fd, POLLIN, 0});
        fds.push_back({xcb_get_file_descriptor(conn), POLLIN, 0});
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(wake - clock::now()).count();
        poll(fds.data(), fds.size(), static_cast<int>(std::max<long long>(0, wait)));
        // Handlers may unregister themselves (or others) while called: look each one up again.
        for (const auto& p : fds)
            if (p.revents & POLLIN)
                for (size_t i = 0; i < handlers.size(); ++i)
                    if (handlers[i].fd == p.fd)
                    {
                        handlers[i].handler->onFDIsSet(p.fd);
                        break;
                    }
        while (xcb_generic_event_t* e = xcb_poll_for_event(conn))
            std::free(e);
        const auto now = clock::now();
        for (size_t i = 0; i < timers.size(); ++i)
            if (timers[i].next <= now)
            {
                timers[i].next = now + timers[i].interval;
                Linux::ITimerHandler* h = timers[i].handler;
                h->onTimer();
            }
    }
}

void TestX11Host::rootPosition(int& x, int& y)
{
    auto reply = xcb_translate_coordinates_reply(
        conn, xcb_translate_coordinates(conn, window, screen->root, 0, 0), nullptr);
    x = reply ? reply->dst_x : 0;
    y = reply ? reply->dst_y : 0;
    std::free(reply);
}

void TestX11Host::click(int x, int y)
{
    int rx, ry;
    rootPosition(rx, ry);
    xcb_test_fake_input(conn, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, screen->root,
                        static_cast<int16_t>(rx + x), static_cast<int16_t>(ry + y), 0);
    // A person's click: the pointer arrives, then the press, then the release, with the loop
    // running in between as it would.
    xcb_flush(conn);
    runFor(30);
    xcb_test_fake_input(conn, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(conn);
    runFor(30);
    xcb_test_fake_input(conn, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(conn);
}

size_t TestX11Host::childWindowCount()
{
    auto reply = xcb_query_tree_reply(conn, xcb_query_tree(conn, window), nullptr);
    const size_t n = reply ? static_cast<size_t>(xcb_query_tree_children_length(reply)) : 0;
    std::free(reply);
    return n;
}

size_t TestX11Host::popupWindowCount()
{
    auto reply = xcb_query_tree_reply(conn, xcb_query_tree(conn, screen->root), nullptr);
    if (!reply)
        return 0;
    size_t n = 0;
    const xcb_window_t* children = xcb_query_tree_children(reply);
    for (int i = 0; i < xcb_query_tree_children_length(reply); ++i)
    {
        auto attr =
            xcb_get_window_attributes_reply(conn, xcb_get_window_attributes(conn, children[i]), nullptr);
        if (attr && attr->override_redirect && attr->map_state == XCB_MAP_STATE_VIEWABLE)
            ++n;
        std::free(attr);
    }
    std::free(reply);
    return n;
}

namespace {
// The host window's pixels as a cairo image (24-bit TrueColor servers such as Xvfb).
cairo_surface_t* grab(xcb_connection_t* conn, xcb_window_t window)
{
    auto geo = xcb_get_geometry_reply(conn, xcb_get_geometry(conn, window), nullptr);
    if (!geo)
        return nullptr;
    const int w = geo->width, h = geo->height;
    std::free(geo);
    auto image = xcb_get_image_reply(conn,
                                     xcb_get_image(conn, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                                   static_cast<uint16_t>(w), static_cast<uint16_t>(h), ~0u),
                                     nullptr);
    if (!image)
        return nullptr;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    const int stride = cairo_image_surface_get_stride(s);
    const uint8_t* data = xcb_get_image_data(image);
    const int length = xcb_get_image_data_length(image);
    if (length >= w * h * 4)
    {
        cairo_surface_flush(s);
        for (int y = 0; y < h; ++y)
            std::memcpy(cairo_image_surface_get_data(s) + y * stride, data + y * w * 4,
                        static_cast<size_t>(w) * 4);
        cairo_surface_mark_dirty(s);
    }
    std::free(image);
    return s;
}
} // namespace

bool TestX11Host::screenshot(const std::string& pngPath)
{
    cairo_surface_t* s = grab(conn, window);
    if (!s)
        return false;
    const bool ok = cairo_surface_write_to_png(s, pngPath.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(s);
    return ok;
}

namespace {
// Pixel (x, y) of a screenshot; transparent black outside it.
VSTGUI::CColor pixelOf(cairo_surface_t* s, int x, int y)
{
    if (x < 0 || y < 0 || x >= cairo_image_surface_get_width(s) || y >= cairo_image_surface_get_height(s))
        return VSTGUI::CColor{0, 0, 0, 0};
    uint32_t v;
    std::memcpy(&v, cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s) + x * 4, 4);
    return VSTGUI::CColor(static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8),
                          static_cast<uint8_t>(v), 255);
}
} // namespace

VSTGUI::CColor TestX11Host::pixel(int x, int y)
{
    cairo_surface_t* s = grab(conn, window);
    if (!s)
        return {};
    const VSTGUI::CColor c = pixelOf(s, x, y);
    cairo_surface_destroy(s);
    return c;
}

std::vector<VSTGUI::CColor> TestX11Host::pixels(int left, int top, int right, int bottom)
{
    std::vector<VSTGUI::CColor> found;
    cairo_surface_t* s = grab(conn, window);
    if (!s)
        return found;
    for (int y = top; y < bottom; y += 2)
        for (int x = left; x < right; x += 2)
            found.push_back(pixelOf(s, x, y));
    cairo_surface_destroy(s);
    return found;
}

void TestX11Host::pressKeys(const std::vector<uint32_t>& keysyms)
{
    const xcb_setup_t* setup = xcb_get_setup(conn);
    const uint8_t count = static_cast<uint8_t>(setup->max_keycode - setup->min_keycode + 1);
    auto map = xcb_get_keyboard_mapping_reply(conn, xcb_get_keyboard_mapping(conn, setup->min_keycode, count),
                                              nullptr);
    if (!map)
        return;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
    for (uint32_t sym : keysyms)
    {
        for (int k = 0; k < count; ++k)
            if (syms[k * map->keysyms_per_keycode] == sym)
            {
                const auto code = static_cast<uint8_t>(setup->min_keycode + k);
                xcb_test_fake_input(conn, XCB_KEY_PRESS, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
                xcb_test_fake_input(conn, XCB_KEY_RELEASE, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
                xcb_flush(conn);
                runFor(20);
                break;
            }
    }
    std::free(map);
}
