// The root view. It owns the platform window (when opened inside a parent window), collects
// invalid rectangles and repaints them, dispatches mouse, wheel and key events, keeps the focus
// view and the modal popup, and applies the zoom (the content scale of the display).
#pragma once

#include "cviewcontainer.h"
#include "vstguieditorinterface.h"

#include <functional>
#include <memory>

namespace VSTGUI {

class IPlatformFrame;

// Platform specifics handed to CFrame::open (X11: the host's run loop).
class IPlatformFrameConfig
{
public:
    virtual ~IPlatformFrameConfig() = default;
};

class IViewAddedRemovedObserver
{
public:
    virtual ~IViewAddedRemovedObserver() = default;
    virtual void onViewAdded(CFrame* frame, CView* view) = 0;
    virtual void onViewRemoved(CFrame* frame, CView* view) = 0;
};

class IKeyboardHook
{
public:
    virtual ~IKeyboardHook() = default;
    // Return 1 to swallow the key, -1 to let the frame dispatch it.
    virtual int32_t onKeyDown(const VstKeyCode& code, CFrame* frame) = 0;
    virtual int32_t onKeyUp(const VstKeyCode& code, CFrame* frame) = 0;
};

class CFrame : public CViewContainer
{
public:
    CFrame(const CRect& size, VSTGUIEditorInterface* editor);

    // Creates the platform child window in 'parent' (an X11 window id for kX11EmbedWindowID).
    // Without open the frame works offscreen: draw it with drawRect into any context.
    bool open(void* parent, PlatformType type = kDefaultNative, IPlatformFrameConfig* config = nullptr);
    // Removes every view, destroys the platform window and drops the creator's reference.
    void close();
    bool isOpen() const { return platformFrame != nullptr; }
    IPlatformFrame* getPlatformFrame() const { return platformFrame.get(); }

    VSTGUIEditorInterface* getEditor() const { return editor; }
    void setEditor(VSTGUIEditorInterface* e) { editor = e; }

    // Size in points, asked of the editor first.
    bool setSize(CCoord width, CCoord height);
    bool getSize(CRect& size) const;
    // Zoom: the device pixels per point (content scale).
    bool setZoom(double zoomFactor);
    double getZoom() const { return zoom; }
    double getScaleFactor() const { return zoom; }

    // Repaint: invalid rectangles (frame coordinates) are collected and painted by the platform
    // window on its next expose/idle, or by updateOffscreen for an offscreen frame.
    void invalid() override;
    void invalidRect(const CRect& rect) override;
    const CRect& getInvalidRect() const { return invalidArea; }
    void clearInvalidRect() { invalidArea = CRect(); }
    // Paints the invalid area (the whole frame when 'all') into context; returns the area.
    CRect paint(CDrawContext* context, bool all = false);

    // Events in frame coordinates, as the platform window delivers them.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                 const CButtonState& buttons) override;
    int32_t onKeyDown(VstKeyCode& keyCode) override;
    int32_t onKeyUp(VstKeyCode& keyCode) override;

    // Tooltips are kept as view attributes ("tooltip"); the frame shows none.
    void enableTooltips(bool state) { tooltipsEnabled = state; }
    bool tooltipsEnabledState() const { return tooltipsEnabled; }

    // Focus
    void setFocusView(CView* view);
    CView* getFocusView() const { return focusView; }

    // Modal popup: while set, every event goes to it (and closes it when outside). On an open
    // frame the popup is shown in a window of its own; offscreen it is drawn over the frame.
    bool setModalView(CView* view);
    CView* getModalView() const { return modalView; }

    // Timers and idle
    void idle();
    void registerIdleView(CView* view);
    void unregisterIdleView(CView* view);

    void registerViewAddedRemovedObserver(IViewAddedRemovedObserver* observer) { viewObserver = observer; }
    void unregisterViewAddedRemovedObserver(IViewAddedRemovedObserver* observer);
    void registerKeyboardHook(IKeyboardHook* hook) { keyboardHook = hook; }
    void unregisterKeyboardHook(IKeyboardHook* hook);
    // Called by containers for every view attached to or removed from the tree.
    void onViewAdded(CView* view);
    void onViewRemoved(CView* view);

    CFrame* getFrame() const { return const_cast<CFrame*>(this); }
    CPoint& localToFrame(CPoint& point) const override { return point; }
    CPoint& frameToLocal(CPoint& point) const override { return point; }
    void drawRect(CDrawContext* context, const CRect& updateRect) override;

protected:
    ~CFrame() override;
    void beforeDelete() override;

    VSTGUIEditorInterface* editor;
    std::unique_ptr<IPlatformFrame> platformFrame;
    CRect invalidArea;
    double zoom{1.};
    CView* focusView{nullptr};
    CView* modalView{nullptr};
    CView* mouseDownTarget{nullptr};
    bool modalMouseDown{false};
    bool tooltipsEnabled{true};
    std::vector<CView*> idleViews;
    IViewAddedRemovedObserver* viewObserver{nullptr};
    IKeyboardHook* keyboardHook{nullptr};
};

} // namespace VSTGUI
