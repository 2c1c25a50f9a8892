// Base of every view: a rectangle in its parent's coordinates that draws itself and may take
// mouse, wheel and key events.
#pragma once

#include "cbuttonstate.h"
#include "crect.h"
#include "vstguibase.h"

#include <map>
#include <string>
#include <vector>

namespace VSTGUI {

class CView : public CBaseObject
{
public:
    explicit CView(const CRect& size);
    CView(const CView& view);
    ~CView() override;

    // Drawing
    virtual void draw(CDrawContext* context) {}
    // Draws the part of the view inside updateRect (parent coordinates).
    virtual void drawRect(CDrawContext* context, const CRect& updateRect);
    virtual bool checkUpdate(const CRect& updateRect) const { return updateRect.rectOverlap(size); }
    virtual void setDirty(bool state = true);
    bool isDirty() const { return dirty; }
    // Asks the frame to repaint this view.
    virtual void invalid();
    virtual void invalidRect(const CRect& rect);

    // Mouse and keys; 'where' is in parent coordinates.
    virtual CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseCancel();
    virtual CMouseEventResult onMouseEntered(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons);
    virtual bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                         const CButtonState& buttons);
    // 1 when handled, -1 when not.
    virtual int32_t onKeyDown(VstKeyCode& keyCode);
    virtual int32_t onKeyUp(VstKeyCode& keyCode);
    virtual bool hitTest(const CPoint& where, const CButtonState& buttons = -1);

    void setMouseEnabled(bool state = true);
    bool getMouseEnabled() const { return mouseEnabled; }
    void setMouseableArea(const CRect& rect) { mouseableArea = rect; }
    const CRect& getMouseableArea() const { return mouseableArea; }
    void setWantsFocus(bool state) { wantsFocus = state; }
    bool getWantsFocus() const { return wantsFocus; }
    virtual void takeFocus() {}
    virtual void looseFocus() {}

    // Geometry
    const CRect& getViewSize() const { return size; }
    virtual void setViewSize(const CRect& rect, bool invalid = true);
    CCoord getWidth() const { return size.getWidth(); }
    CCoord getHeight() const { return size.getHeight(); }
    virtual CRect getVisibleViewSize() const;
    // Converts between this view's parent coordinates and the frame's.
    virtual CPoint& localToFrame(CPoint& point) const;
    virtual CPoint& frameToLocal(CPoint& point) const;

    // Look
    virtual void setBackground(CBitmap* background);
    CBitmap* getBackground() const { return background; }
    virtual void setTransparency(bool state);
    bool getTransparency() const { return transparency; }
    virtual void setAlphaValue(float alpha);
    float getAlphaValue() const { return alphaValue; }
    virtual void setVisible(bool state);
    bool isVisible() const { return visible && alphaValue > 0.f; }

    // Tree
    virtual bool attached(CView* parent);
    virtual bool removed(CView* parent);
    bool isAttached() const { return isAttachedFlag; }
    CView* getParentView() const { return parentView; }
    CViewContainer* getParentViewContainer() const;
    CFrame* getFrame() const { return parentFrame; }
    virtual void setParentView(CView* parent) { parentView = parent; }
    virtual void setParentFrame(CFrame* frame) { parentFrame = frame; }
    virtual CView* newCopy() const { return new CView(*this); }

    // Free-form attributes (tooltips and the like) keyed by name.
    void setAttribute(const std::string& id, const std::string& value) { attributes[id] = value; }
    bool getAttribute(const std::string& id, std::string& value) const;
    bool removeAttribute(const std::string& id) { return attributes.erase(id) != 0; }

    // A controller owned by this view (a sub-controller of a description); released with it.
    void setOwnedController(IController* controller);
    IController* getOwnedController() const { return ownedController; }

    // Idle work registered with the frame: onIdle is called about every 'idleRate' ms.
    void setWantsIdle(bool state);
    bool wantsIdle() const { return wantsIdleFlag; }
    virtual void onIdle() {}

protected:
    CRect size;
    CRect mouseableArea;
    CBitmap* background{nullptr};
    CView* parentView{nullptr};
    CFrame* parentFrame{nullptr};
    bool dirty{false};
    bool mouseEnabled{true};
    bool transparency{false};
    bool wantsFocus{false};
    bool visible{true};
    bool isAttachedFlag{false};
    bool wantsIdleFlag{false};
    float alphaValue{1.f};
    std::map<std::string, std::string> attributes;
    IController* ownedController{nullptr};
};

// The controller owned by view, or (deep) by the nearest parent that owns one.
IController* getViewController(const CView* view, bool deep = false);

} // namespace VSTGUI
