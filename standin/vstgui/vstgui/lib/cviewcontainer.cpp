#include "cviewcontainer.h"

#include "cbitmap.h"
#include "cdrawcontext.h"
#include "cframe.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace VSTGUI {

CViewContainer::CViewContainer(const CRect& size)
    : CView(size)
{}

CViewContainer::CViewContainer(const CViewContainer& c)
    : CView(c)
    , backgroundColor(c.backgroundColor)
    , backgroundColorDrawStyle(c.backgroundColorDrawStyle)
    , backgroundOffset(c.backgroundOffset)
{
    for (CView* child : c.children)
        addView(child->newCopy());
}

CViewContainer::~CViewContainer()
{
    removeAll(true);
    invalidateBackgroundCache();
}

bool CViewContainer::addView(CView* view) { return addView(view, nullptr); }

bool CViewContainer::addView(CView* view, CView* before)
{
    if (!view || view->isAttached() || isChild(view))
        return false;
    auto pos = before ? std::find(children.begin(), children.end(), before) : children.end();
    children.insert(pos, view);
    if (isAttached())
    {
        view->setParentFrame(getFrame());
        view->attached(this);
        view->invalid();
    }
    else
        view->setParentView(this);
    return true;
}

bool CViewContainer::removeView(CView* view, bool withForget)
{
    auto it = std::find(children.begin(), children.end(), view);
    if (it == children.end())
        return false;
    view->invalid();
    if (mouseDownView == view)
        mouseDownView = nullptr;
    children.erase(it);
    if (view->isAttached())
        view->removed(this);
    view->setParentView(nullptr);
    if (withForget)
        view->forget();
    return true;
}

bool CViewContainer::removeAll(bool withForget)
{
    mouseDownView = nullptr;
    while (!children.empty())
        removeView(children.back(), withForget);
    return true;
}

bool CViewContainer::changeViewZOrder(CView* view, uint32_t newIndex)
{
    auto it = std::find(children.begin(), children.end(), view);
    if (it == children.end() || newIndex >= children.size())
        return false;
    children.erase(it);
    children.insert(children.begin() + newIndex, view);
    view->invalid();
    return true;
}

CView* CViewContainer::getView(uint32_t index) const
{
    return index < children.size() ? children[index] : nullptr;
}

bool CViewContainer::isChild(CView* view, bool deep) const
{
    for (CView* child : children)
    {
        if (child == view)
            return true;
        if (deep)
            if (auto c = dynamic_cast<CViewContainer*>(child); c && c->isChild(view, true))
                return true;
    }
    return false;
}

CView* CViewContainer::getViewAt(const CPoint& where, bool deep, bool mustbeMouseEnabled) const
{
    CPoint local(where);
    local.offset(-size.left, -size.top);
    for (auto it = children.rbegin(); it != children.rend(); ++it)
    {
        CView* child = *it;
        if (!child->isVisible() || !child->getViewSize().pointInside(local))
            continue;
        if (mustbeMouseEnabled && !child->getMouseEnabled())
            continue;
        if (deep)
            if (auto c = dynamic_cast<CViewContainer*>(child))
                if (CView* inner = c->getViewAt(local, true, mustbeMouseEnabled))
                    return inner;
        return child;
    }
    return nullptr;
}

CViewContainer* CViewContainer::getContainerAt(const CPoint& where, bool deep) const
{
    CPoint local(where);
    local.offset(-size.left, -size.top);
    for (auto it = children.rbegin(); it != children.rend(); ++it)
    {
        auto c = dynamic_cast<CViewContainer*>(*it);
        if (c && c->isVisible() && c->getViewSize().pointInside(local))
            return deep ? c->getContainerAt(local, true) : c;
    }
    return const_cast<CViewContainer*>(this);
}

void CViewContainer::forEachChild(const std::function<void(CView*)>& f, bool deep) const
{
    for (CView* child : children)
    {
        f(child);
        if (deep)
            if (auto c = dynamic_cast<CViewContainer*>(child))
                c->forEachChild(f, true);
    }
}

void CViewContainer::setBackgroundColor(const CColor& color)
{
    if (backgroundColor == color)
        return;
    backgroundColor = color;
    invalidateBackgroundCache();
    setDirty(true);
}

void CViewContainer::setBackgroundColorDrawStyle(CDrawStyle style)
{
    if (backgroundColorDrawStyle == style)
        return;
    backgroundColorDrawStyle = style;
    invalidateBackgroundCache();
    setDirty(true);
}

void CViewContainer::setBackgroundOffset(const CPoint& p)
{
    backgroundOffset = p;
    invalidateBackgroundCache();
    setDirty(true);
}

void CViewContainer::setBackground(CBitmap* b)
{
    invalidateBackgroundCache();
    CView::setBackground(b);
}

void CViewContainer::setTransparency(bool state)
{
    invalidateBackgroundCache();
    CView::setTransparency(state);
}

void CViewContainer::invalidateBackgroundCache()
{
    if (backgroundCache)
        cairo_surface_destroy(static_cast<cairo_surface_t*>(backgroundCache));
    backgroundCache = nullptr;
    backgroundCacheScale = 0;
}

void CViewContainer::drawBackgroundRect(CDrawContext* context, const CRect& rect)
{
    if (!background && transparency)
        return;
    const double scale = context->getScaleFactor();
    if (!backgroundCache || backgroundCacheScale != scale)
    {
        // Render the whole background once at this scale; later repaints copy it.
        invalidateBackgroundCache();
        auto offscreen = COffscreenContext::create(CPoint(getWidth(), getHeight()), scale);
        if (!offscreen)
            return;
        const CRect all(0, 0, getWidth(), getHeight());
        if (background)
            background->draw(offscreen, all, backgroundOffset);
        else
        {
            offscreen->setDrawMode(kAliasing);
            offscreen->setLineWidth(1);
            offscreen->setFillColor(backgroundColor);
            offscreen->setFrameColor(backgroundColor);
            offscreen->drawRect(all, backgroundColorDrawStyle);
        }
        backgroundCache = cairo_surface_reference(static_cast<cairo_surface_t*>(offscreen->getSurface()));
        cairo_surface_set_device_scale(static_cast<cairo_surface_t*>(backgroundCache), scale, scale);
        backgroundCacheScale = scale;
    }
    context->saveGlobalState();
    CRect clip;
    context->getClipRect(clip);
    clip.bound(rect);
    context->setClipRect(clip);
    context->drawSurface(backgroundCache, CRect(0, 0, getWidth(), getHeight()));
    context->restoreGlobalState();
}

void CViewContainer::invalid() { invalidRect(CRect(0, 0, getWidth(), getHeight())); }

void CViewContainer::invalidRect(const CRect& rect)
{
    CRect r(rect);
    r.offset(size.left, size.top);
    r.bound(size);
    if (!r.isEmpty())
        CView::invalidRect(r);
}

void CViewContainer::draw(CDrawContext* context) { drawRect(context, size); }

void CViewContainer::drawRect(CDrawContext* context, const CRect& updateRect)
{
    CRect clipped(updateRect);
    clipped.bound(size);
    if (clipped.isEmpty())
        return;
    context->pushTransform(size.getTopLeft());
    CRect local(clipped);
    local.offset(-size.left, -size.top);
    context->setClipRect(local);
    drawBackgroundRect(context, local);
    drawChildren(context, local);
    context->popTransform();
    setDirty(false);
}

void CViewContainer::drawChildren(CDrawContext* context, const CRect& local)
{
    for (CView* child : children)
    {
        if (!child->isVisible() || !child->checkUpdate(local))
            continue;
        CRect childClip(child->getViewSize());
        childClip.bound(local);
        if (childClip.isEmpty())
            continue;
        context->saveGlobalState();
        context->setClipRect(childClip);
        if (child->getAlphaValue() < 1.f)
            context->setGlobalAlpha(context->getGlobalAlpha() * child->getAlphaValue());
        child->drawRect(context, childClip);
        context->restoreGlobalState();
    }
}

void CViewContainer::setViewSize(const CRect& rect, bool doInvalid)
{
    if (rect.getWidth() != size.getWidth() || rect.getHeight() != size.getHeight())
        invalidateBackgroundCache();
    CView::setViewSize(rect, doInvalid);
}

CMouseEventResult CViewContainer::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    CPoint local(where);
    local.offset(-size.left, -size.top);
    for (auto it = children.rbegin(); it != children.rend(); ++it)
    {
        CView* child = *it;
        if (!child->isVisible() || !child->getMouseEnabled() || !child->hitTest(local, buttons))
            continue;
        CPoint p(local);
        CMouseEventResult result = child->onMouseDown(p, buttons);
        if (result == kMouseEventNotHandled || result == kMouseEventNotImplemented)
            continue;
        if (result == kMouseEventHandled)
            mouseDownView = child;
        return result;
    }
    return kMouseEventNotHandled;
}

CMouseEventResult CViewContainer::onMouseUp(CPoint& where, const CButtonState& buttons)
{
    if (!mouseDownView)
        return kMouseEventNotHandled;
    CView* target = mouseDownView;
    mouseDownView = nullptr;
    CPoint local(where);
    local.offset(-size.left, -size.top);
    target->remember();
    CMouseEventResult result = target->onMouseUp(local, buttons);
    target->forget();
    return result;
}

CMouseEventResult CViewContainer::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!mouseDownView)
        return kMouseEventNotHandled;
    CPoint local(where);
    local.offset(-size.left, -size.top);
    CView* target = mouseDownView;
    target->remember();
    CMouseEventResult result = target->onMouseMoved(local, buttons);
    if (result == kMouseMoveEventHandledButDontNeedMoreEvents || result == kMouseEventNotHandled)
        mouseDownView = nullptr;
    target->forget();
    return result;
}

CMouseEventResult CViewContainer::onMouseCancel()
{
    if (!mouseDownView)
        return kMouseEventNotHandled;
    CView* target = mouseDownView;
    mouseDownView = nullptr;
    return target->onMouseCancel();
}

bool CViewContainer::onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                             const CButtonState& buttons)
{
    CPoint local(where);
    local.offset(-size.left, -size.top);
    for (auto it = children.rbegin(); it != children.rend(); ++it)
    {
        CView* child = *it;
        if (!child->isVisible() || !child->getMouseEnabled() || !child->hitTest(local, buttons))
            continue;
        if (child->onWheel(local, axis, distance, buttons))
            return true;
    }
    return false;
}

bool CViewContainer::hitTest(const CPoint& where, const CButtonState& buttons)
{
    return CView::hitTest(where, buttons);
}

bool CViewContainer::attached(CView* parent)
{
    if (!CView::attached(parent))
        return false;
    for (CView* child : children)
    {
        child->setParentFrame(getFrame());
        child->attached(this);
    }
    return true;
}

bool CViewContainer::removed(CView* parent)
{
    if (!isAttached())
        return false;
    mouseDownView = nullptr;
    for (CView* child : children)
        child->removed(this);
    // Children stay owned, pointing at this container, until it lets them go.
    for (CView* child : children)
        child->setParentView(this);
    return CView::removed(parent);
}

void CViewContainer::setParentFrame(CFrame* frame) { CView::setParentFrame(frame); }

CPoint& CViewContainer::localToFrame(CPoint& point) const
{
    point.offset(size.left, size.top);
    return CView::localToFrame(point);
}

CPoint& CViewContainer::frameToLocal(CPoint& point) const
{
    point.offset(-size.left, -size.top);
    return CView::frameToLocal(point);
}

} // namespace VSTGUI
