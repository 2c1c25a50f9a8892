// The frame's window on X11: an xcb child window inside the host's window (XEmbed), painted
// with cairo, with its connection's events read on the host's run loop. Popups are
// override-redirect windows of the same connection with the pointer and keyboard grabbed.

#include "../../cdrawcontext.h"
#include "../../cframe.h"
#include "../iplatformframe.h"
#include "x11runloop.h"

#include <cairo-xcb.h>
#include <cairo.h>
#include <xcb/xcb.h>
#include <xkbcommon/xkbcommon-keysyms.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace VSTGUI {

namespace {

constexpr uint64_t kPaintIntervalMs = 33;

xcb_visualtype_t* findVisual(xcb_screen_t* screen, xcb_visualid_t id)
{
    for (auto d = xcb_screen_allowed_depths_iterator(screen); d.rem; xcb_depth_next(&d))
        for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v))
            if (v.data->visual_id == id)
                return v.data;
    return nullptr;
}

xcb_atom_t internAtom(xcb_connection_t* c, const char* name)
{
    auto cookie = xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookie, nullptr);
    xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

int32_t modifiersOf(uint16_t state)
{
    int32_t m = 0;
    if (state & XCB_MOD_MASK_SHIFT)
        m |= kShift;
    if (state & XCB_MOD_MASK_CONTROL)
        m |= kControl;
    if (state & XCB_MOD_MASK_1)
        m |= kAlt;
    return m;
}

int32_t buttonsOf(uint16_t state)
{
    int32_t b = 0;
    if (state & XCB_BUTTON_MASK_1)
        b |= kLButton;
    if (state & XCB_BUTTON_MASK_2)
        b |= kMButton;
    if (state & XCB_BUTTON_MASK_3)
        b |= kRButton;
    return b;
}

int32_t buttonOfDetail(uint8_t detail)
{
    switch (detail)
    {
    case 1: return int32_t{kLButton};
    case 2: return int32_t{kMButton};
    case 3: return int32_t{kRButton};
    case 8: return int32_t{kButton4};
    case 9: return int32_t{kButton5};
    default: return 0;
    }
}

unsigned char virtualKeyOf(xkb_keysym_t sym)
{
    switch (sym)
    {
    case XKB_KEY_BackSpace: return VKEY_BACK;
    case XKB_KEY_Tab: return VKEY_TAB;
    case XKB_KEY_Return: return VKEY_RETURN;
    case XKB_KEY_KP_Enter: return VKEY_ENTER;
    case XKB_KEY_Escape: return VKEY_ESCAPE;
    case XKB_KEY_space: return VKEY_SPACE;
    case XKB_KEY_End: return VKEY_END;
    case XKB_KEY_Home: return VKEY_HOME;
    case XKB_KEY_Left: return VKEY_LEFT;
    case XKB_KEY_Up: return VKEY_UP;
    case XKB_KEY_Right: return VKEY_RIGHT;
    case XKB_KEY_Down: return VKEY_DOWN;
    case XKB_KEY_Page_Up: return VKEY_PAGEUP;
    case XKB_KEY_Page_Down: return VKEY_PAGEDOWN;
    case XKB_KEY_Delete: return VKEY_DELETE;
    case XKB_KEY_Insert: return VKEY_INSERT;
    default: return 0;
    }
}

class X11Frame : public IPlatformFrame
{
public:
    X11Frame(CFrame* frame, X11::IRunLoop* runLoop)
        : frame(frame)
        , runLoop(runLoop)
    {}
    ~X11Frame() override;

    bool create(xcb_window_t parent);

    void invalidRect(const CRect&) override { needsPaint = true; }
    void setSize(const CRect& size, double scaleFactor) override;
    void flush() override { paint(); }
    bool showPopup(CView* popup, const CRect& rect) override;
    void hidePopup() override;
    void takeKeyboardFocus() override;
    uintptr_t nativeWindow() const override { return window; }

private:
    void onEvents();
    void handle(xcb_generic_event_t* event);
    void paint();
    void paintPopup();
    CPoint toFrame(xcb_window_t w, int16_t x, int16_t y) const;
    bool isDoubleClick(uint8_t button, int16_t x, int16_t y, uint32_t time);
    void setupKeyboard();
    VstKeyCode keyCode(const xcb_key_press_event_t* e);

    CFrame* frame;
    X11::IRunLoop* runLoop;
    xcb_connection_t* conn{nullptr};
    xcb_screen_t* screen{nullptr};
    xcb_visualtype_t* visual{nullptr};
    xcb_window_t window{0};
    cairo_surface_t* surface{nullptr};
    // Client-side copy of the window: views draw here and only the changed part is sent.
    cairo_surface_t* backing{nullptr};
    uint64_t fdHandle{0};
    uint64_t paintTimer{0};
    bool needsPaint{true};
    double scale{1.};
    CRect frameSize;

    // Popup window
    xcb_window_t popupWindow{0};
    cairo_surface_t* popupSurface{nullptr};
    CView* popupView{nullptr};
    CRect popupRect;

    // Keyboard
    xkb_context* xkbContext{nullptr};
    xkb_keymap* keymap{nullptr};
    xkb_state* keyState{nullptr};

    // Double clicks
    uint8_t lastButton{0};
    uint32_t lastTime{0};
    int16_t lastX{0}, lastY{0};
};

X11Frame::~X11Frame()
{
    hidePopup();
    if (fdHandle)
        runLoop->unregisterEventHandler(fdHandle);
    if (paintTimer)
        runLoop->unregisterTimer(paintTimer);
    if (backing)
        cairo_surface_destroy(backing);
    if (surface)
    {
        // cairo keeps per-connection state; it must let go before the connection closes, or a
        // later connection at the same address finds it stale.
        cairo_device_t* device = cairo_device_reference(cairo_surface_get_device(surface));
        cairo_surface_destroy(surface);
        cairo_device_finish(device);
        cairo_device_destroy(device);
    }
    if (conn)
    {
        if (window)
            xcb_destroy_window(conn, window);
        // Wait until the server has done it: the host may look at its window right after.
        std::free(xcb_get_input_focus_reply(conn, xcb_get_input_focus(conn), nullptr));
    }
    if (keyState)
        xkb_state_unref(keyState);
    if (keymap)
        xkb_keymap_unref(keymap);
    if (xkbContext)
        xkb_context_unref(xkbContext);
    if (conn)
        xcb_disconnect(conn);
}

bool X11Frame::create(xcb_window_t parent)
{
    int screenNumber = 0;
    conn = xcb_connect(nullptr, &screenNumber);
    if (!conn || xcb_connection_has_error(conn))
        return false;
    // The window takes the parent's visual, so the host may use any depth.
    auto attrCookie = xcb_get_window_attributes(conn, parent);
    xcb_get_window_attributes_reply_t* attr = xcb_get_window_attributes_reply(conn, attrCookie, nullptr);
    if (!attr)
        return false;
    const xcb_visualid_t visualId = attr->visual;
    std::free(attr);
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(conn)); it.rem; xcb_screen_next(&it))
        if ((visual = findVisual(it.data, visualId)))
        {
            screen = it.data;
            break;
        }
    if (!visual)
        return false;

    frameSize = frame->getViewSize();
    scale = frame->getZoom();
    const auto w = static_cast<uint16_t>(std::max(1.0, std::round(frameSize.getWidth() * scale)));
    const auto h = static_cast<uint16_t>(std::max(1.0, std::round(frameSize.getHeight() * scale)));
    window = xcb_generate_id(conn);
    const uint32_t mask = XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK;
    const uint32_t values[] = {XCB_BACK_PIXMAP_NONE, 0,
                               XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS
                                   | XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION
                                   | XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE
                                   | XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_FOCUS_CHANGE};
    auto cookie = xcb_create_window_checked(conn, XCB_COPY_FROM_PARENT, window, parent, 0, 0, w, h, 0,
                                            XCB_WINDOW_CLASS_INPUT_OUTPUT, visualId, mask, values);
    if (xcb_generic_error_t* error = xcb_request_check(conn, cookie))
    {
        std::free(error);
        window = 0;
        return false;
    }
    // XEmbed: protocol version 0, mapped.
    const xcb_atom_t xembedInfo = internAtom(conn, "_XEMBED_INFO");
    const uint32_t info[2] = {0, 1};
    xcb_change_property(conn, XCB_PROP_MODE_REPLACE, window, xembedInfo, xembedInfo, 32, 2, info);
    xcb_map_window(conn, window);
    surface = cairo_xcb_surface_create(conn, window, visual, w, h);
    setupKeyboard();
    xcb_flush(conn);
    fdHandle = runLoop->registerEventHandler(xcb_get_file_descriptor(conn), [this](int) { onEvents(); });
    // Changes that do not come from our own events (automation, timers) are shown within a
    // frame period, whatever the editor's idle rate.
    paintTimer = runLoop->registerTimer(kPaintIntervalMs, [this] {
        if (!frame->getInvalidRect().isEmpty())
            paint();
    });
    return fdHandle != 0 && paintTimer != 0;
}

void X11Frame::setupKeyboard()
{
    if (!xkb_x11_setup_xkb_extension(conn, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                     XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr,
                                     nullptr))
        return;
    xkbContext = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (!xkbContext)
        return;
    const int32_t device = xkb_x11_get_core_keyboard_device_id(conn);
    if (device < 0)
        return;
    keymap = xkb_x11_keymap_new_from_device(xkbContext, conn, device, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (keymap)
        keyState = xkb_x11_state_new_from_device(keymap, conn, device);
}

void X11Frame::setSize(const CRect& size, double scaleFactor)
{
    frameSize = size;
    scale = scaleFactor;
    const auto w = static_cast<uint32_t>(std::max(1.0, std::round(size.getWidth() * scale)));
    const auto h = static_cast<uint32_t>(std::max(1.0, std::round(size.getHeight() * scale)));
    const uint32_t values[] = {w, h};
    xcb_configure_window(conn, window, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, values);
    cairo_xcb_surface_set_size(surface, static_cast<int>(w), static_cast<int>(h));
    needsPaint = true;
    xcb_flush(conn);
}

void X11Frame::onEvents()
{
    // The frame may be closed by an event (a view closing the editor): keep it alive meanwhile.
    frame->remember();
    while (xcb_generic_event_t* event = xcb_poll_for_event(conn))
    {
        handle(event);
        std::free(event);
    }
    if (xcb_connection_has_error(conn) && fdHandle)
    {
        // A broken connection would report its descriptor readable forever.
        runLoop->unregisterEventHandler(fdHandle);
        fdHandle = 0;
    }
    else
        paint();
    frame->forget();
}

CPoint X11Frame::toFrame(xcb_window_t w, int16_t x, int16_t y) const
{
    CPoint p(x / scale, y / scale);
    if (w == popupWindow && popupWindow)
        p.offset(popupRect.left, popupRect.top);
    return p;
}

bool X11Frame::isDoubleClick(uint8_t button, int16_t x, int16_t y, uint32_t time)
{
    const bool dbl =
        button == lastButton && time - lastTime < 400 && std::abs(x - lastX) < 5 && std::abs(y - lastY) < 5;
    lastButton = dbl ? 0 : button;
    lastTime = time;
    lastX = x;
    lastY = y;
    return dbl;
}

VstKeyCode X11Frame::keyCode(const xcb_key_press_event_t* e)
{
    VstKeyCode code;
    if (!keyState)
        return code;
    // Core modifier bits follow the xkb modifier indices for the real modifiers.
    xkb_state_update_mask(keyState, e->state & 0xFF, 0, 0, 0, 0, (e->state >> 13) & 3);
    const xkb_keysym_t sym = xkb_state_key_get_one_sym(keyState, e->detail);
    code.virt = virtualKeyOf(sym);
    if (!code.virt)
        code.character = static_cast<int32_t>(xkb_state_key_get_utf32(keyState, e->detail));
    if (e->state & XCB_MOD_MASK_SHIFT)
        code.modifier |= MODIFIER_SHIFT;
    if (e->state & XCB_MOD_MASK_CONTROL)
        code.modifier |= MODIFIER_CONTROL;
    if (e->state & XCB_MOD_MASK_1)
        code.modifier |= MODIFIER_ALTERNATE;
    return code;
}

void X11Frame::handle(xcb_generic_event_t* event)
{
    switch (event->response_type & 0x7F)
    {
    case XCB_EXPOSE:
    {
        auto* e = reinterpret_cast<xcb_expose_event_t*>(event);
        if (e->window == window)
            frame->invalidRect(
                CRect(e->x / scale, e->y / scale, (e->x + e->width) / scale, (e->y + e->height) / scale));
        needsPaint = true;
        break;
    }
    case XCB_BUTTON_PRESS:
    {
        auto* e = reinterpret_cast<xcb_button_press_event_t*>(event);
        CPoint p = toFrame(e->event, e->event_x, e->event_y);
        const int32_t modifiers = modifiersOf(e->state);
        if (e->detail >= 4 && e->detail <= 7)
        {
            const CMouseWheelAxis axis = e->detail <= 5 ? kMouseWheelAxisY : kMouseWheelAxisX;
            const float distance = (e->detail == 4 || e->detail == 7) ? 1.f : -1.f;
            frame->onWheel(p, axis, distance, CButtonState(modifiers));
            break;
        }
        int32_t buttons = buttonOfDetail(e->detail) | modifiers;
        if (isDoubleClick(e->detail, e->event_x, e->event_y, e->time))
            buttons |= kDoubleClick;
        frame->onMouseDown(p, CButtonState(buttons));
        break;
    }
    case XCB_BUTTON_RELEASE:
    {
        auto* e = reinterpret_cast<xcb_button_release_event_t*>(event);
        if (e->detail >= 4 && e->detail <= 7)
            break;
        CPoint p = toFrame(e->event, e->event_x, e->event_y);
        frame->onMouseUp(p, CButtonState(buttonOfDetail(e->detail) | modifiersOf(e->state)));
        break;
    }
    case XCB_MOTION_NOTIFY:
    {
        auto* e = reinterpret_cast<xcb_motion_notify_event_t*>(event);
        CPoint p = toFrame(e->event, e->event_x, e->event_y);
        frame->onMouseMoved(p, CButtonState(buttonsOf(e->state) | modifiersOf(e->state)));
        break;
    }
    case XCB_KEY_PRESS:
    {
        VstKeyCode code = keyCode(reinterpret_cast<xcb_key_press_event_t*>(event));
        if (code.virt || code.character)
            frame->onKeyDown(code);
        break;
    }
    case XCB_KEY_RELEASE:
    {
        VstKeyCode code = keyCode(reinterpret_cast<xcb_key_release_event_t*>(event));
        if (code.virt || code.character)
            frame->onKeyUp(code);
        break;
    }
    case XCB_FOCUS_OUT:
    {
        auto* e = reinterpret_cast<xcb_focus_out_event_t*>(event);
        // Losing the keyboard to another window ends a text entry (it commits). Grabs, our
        // own windows and the pointer-root bookkeeping when we take the focus do not count.
        if (e->event == window && e->mode == XCB_NOTIFY_MODE_NORMAL && !popupWindow
            && e->detail != XCB_NOTIFY_DETAIL_INFERIOR && e->detail != XCB_NOTIFY_DETAIL_POINTER)
            frame->setFocusView(nullptr);
        break;
    }
    default: break;
    }
}

void X11Frame::paint()
{
    if (!surface)
        return;
    const int w = static_cast<int>(std::max(1.0, std::round(frameSize.getWidth() * scale)));
    const int h = static_cast<int>(std::max(1.0, std::round(frameSize.getHeight() * scale)));
    if (!backing || cairo_image_surface_get_width(backing) != w
        || cairo_image_surface_get_height(backing) != h)
    {
        if (backing)
            cairo_surface_destroy(backing);
        backing = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
        frame->invalid();
    }
    CRect area = frame->getInvalidRect();
    if (!area.isEmpty())
    {
        const double x0 = std::floor(area.left * scale), y0 = std::floor(area.top * scale);
        const double x1 = std::ceil(area.right * scale), y1 = std::ceil(area.bottom * scale);
        cairo_t* cr = cairo_create(backing);
        {
            CDrawContext context(cr, frameSize.getSize(), scale);
            frame->paint(&context);
        }
        cairo_destroy(cr);
        cairo_surface_flush(backing);
        // One upload of the changed pixels: the window never shows a half-painted state.
        cr = cairo_create(surface);
        cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
        cairo_clip(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(cr, backing, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_flush(surface);
        if (popupWindow)
            paintPopup();
    }
    needsPaint = false;
    xcb_flush(conn);
}

bool X11Frame::showPopup(CView* popup, const CRect& rect)
{
    hidePopup();
    auto cookie = xcb_translate_coordinates(conn, window, screen->root, 0, 0);
    xcb_translate_coordinates_reply_t* origin = xcb_translate_coordinates_reply(conn, cookie, nullptr);
    if (!origin)
        return false;
    const auto x = static_cast<int16_t>(origin->dst_x + std::lround(rect.left * scale));
    const auto y = static_cast<int16_t>(origin->dst_y + std::lround(rect.top * scale));
    std::free(origin);
    const auto w = static_cast<uint16_t>(std::max(1l, std::lround(rect.getWidth() * scale)));
    const auto h = static_cast<uint16_t>(std::max(1l, std::lround(rect.getHeight() * scale)));
    popupWindow = xcb_generate_id(conn);
    const uint32_t mask =
        XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK;
    const uint32_t values[] = {XCB_BACK_PIXMAP_NONE, 0, 1,
                               XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS
                                   | XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION
                                   | XCB_EVENT_MASK_KEY_PRESS};
    xcb_create_window(conn, XCB_COPY_FROM_PARENT, popupWindow, screen->root, x, y, w, h, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, mask, values);
    xcb_map_window(conn, popupWindow);
    popupSurface = cairo_xcb_surface_create(conn, popupWindow, findVisual(screen, screen->root_visual), w, h);
    popupView = popup;
    popupRect = rect;
    // Every press goes to the popup (one outside closes it) and every key too.
    xcb_grab_pointer(conn, 1, popupWindow,
                     XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE
                         | XCB_EVENT_MASK_POINTER_MOTION,
                     XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE, XCB_CURRENT_TIME);
    xcb_grab_keyboard(conn, 1, popupWindow, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    paintPopup();
    xcb_flush(conn);
    return true;
}

void X11Frame::paintPopup()
{
    if (!popupSurface || !popupView)
        return;
    cairo_t* cr = cairo_create(popupSurface);
    cairo_push_group(cr);
    {
        CDrawContext context(cr, popupRect.getSize(), scale);
        context.pushTransform(CPoint(-popupRect.left, -popupRect.top));
        popupView->drawRect(&context, popupRect);
        context.popTransform();
    }
    cairo_pop_group_to_source(cr);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(popupSurface);
}

void X11Frame::hidePopup()
{
    if (!popupWindow)
        return;
    xcb_ungrab_pointer(conn, XCB_CURRENT_TIME);
    xcb_ungrab_keyboard(conn, XCB_CURRENT_TIME);
    cairo_surface_destroy(popupSurface);
    popupSurface = nullptr;
    xcb_destroy_window(conn, popupWindow);
    popupWindow = 0;
    popupView = nullptr;
    std::free(xcb_get_input_focus_reply(conn, xcb_get_input_focus(conn), nullptr));
}

void X11Frame::takeKeyboardFocus()
{
    xcb_set_input_focus(conn, XCB_INPUT_FOCUS_PARENT, window, XCB_CURRENT_TIME);
    xcb_flush(conn);
}

} // namespace

std::unique_ptr<IPlatformFrame> createX11PlatformFrame(CFrame* frame, void* parent,
                                                       IPlatformFrameConfig* config)
{
    auto* x11Config = dynamic_cast<X11::FrameConfig*>(config);
    X11::IRunLoop* runLoop = (x11Config && x11Config->runLoop) ? x11Config->runLoop : X11::RunLoop::get();
    if (!runLoop)
        return nullptr;
    auto platform = std::make_unique<X11Frame>(frame, runLoop);
    if (!platform->create(static_cast<xcb_window_t>(reinterpret_cast<uintptr_t>(parent))))
        return nullptr;
    return platform;
}

} // namespace VSTGUI
