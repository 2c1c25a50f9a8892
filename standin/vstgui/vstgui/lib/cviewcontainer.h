// A view that holds child views in drawing order, draws its background (colour, bitmap or
// both) and clips its children to its own rectangle. The background is cached offscreen at the
// device scale, so a full repaint costs one surface paint for it.
#pragma once

#include "ccolor.h"
#include "cview.h"

#include <functional>
#include <vector>

namespace VSTGUI {

class CViewContainer : public CView
{
public:
    explicit CViewContainer(const CRect& size);
    CViewContainer(const CViewContainer& container);
    ~CViewContainer() override;

    // Children (owned: addView takes the caller's reference)
    virtual bool addView(CView* view);
    virtual bool addView(CView* view, CView* before);
    virtual bool removeView(CView* view, bool withForget = true);
    virtual bool removeAll(bool withForget = true);
    virtual bool changeViewZOrder(CView* view, uint32_t newIndex);
    uint32_t getNbViews() const { return static_cast<uint32_t>(children.size()); }
    CView* getView(uint32_t index) const;
    bool isChild(CView* view, bool deep = false) const;
    // The topmost visible child under where (container coordinates).
    CView* getViewAt(const CPoint& where, bool deep = false, bool mustbeMouseEnabled = false) const;
    CViewContainer* getContainerAt(const CPoint& where, bool deep = true) const;
    // Calls f for each child, in drawing order (deep: children of child containers too).
    void forEachChild(const std::function<void(CView*)>& f, bool deep = false) const;
    template <class T>
    void getChildViewsOfType(std::vector<T*>& result, bool deep = false) const
    {
        forEachChild(
            [&](CView* v) {
                if (auto t = dynamic_cast<T*>(v))
                    result.push_back(t);
            },
            deep);
    }

    // Background
    virtual void setBackgroundColor(const CColor& color);
    const CColor& getBackgroundColor() const { return backgroundColor; }
    virtual void setBackgroundColorDrawStyle(CDrawStyle style);
    CDrawStyle getBackgroundColorDrawStyle() const { return backgroundColorDrawStyle; }
    void setBackgroundOffset(const CPoint& p);
    const CPoint& getBackgroundOffset() const { return backgroundOffset; }
    void setBackground(CBitmap* background) override;
    void setTransparency(bool state) override;
    // Draws the background part inside rect (container-local coordinates).
    virtual void drawBackgroundRect(CDrawContext* context, const CRect& rect);
    // Drops the cached background (done automatically on every change that affects it).
    void invalidateBackgroundCache();

    // CView. A container's invalidRect takes its own (children's) coordinates.
    void invalid() override;
    void invalidRect(const CRect& rect) override;
    void draw(CDrawContext* context) override;
    void drawRect(CDrawContext* context, const CRect& updateRect) override;
    void setViewSize(const CRect& rect, bool invalid = true) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseCancel() override;
    bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                 const CButtonState& buttons) override;
    bool hitTest(const CPoint& where, const CButtonState& buttons = -1) override;
    bool attached(CView* parent) override;
    bool removed(CView* parent) override;
    void setParentFrame(CFrame* frame) override;
    CPoint& localToFrame(CPoint& point) const override;
    CPoint& frameToLocal(CPoint& point) const override;
    CView* newCopy() const override { return new CViewContainer(*this); }

protected:
    void drawChildren(CDrawContext* context, const CRect& localUpdate);
    // The child that receives the moves and the up of a press.
    CView* mouseDownView{nullptr};
    std::vector<CView*> children;
    CColor backgroundColor{kBlackCColor};
    CDrawStyle backgroundColorDrawStyle{kDrawFilledAndStroked};
    CPoint backgroundOffset;
    void* backgroundCache{nullptr};
    double backgroundCacheScale{0};
};

} // namespace VSTGUI
