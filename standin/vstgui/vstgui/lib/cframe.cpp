#include "cframe.h"

#include "cdrawcontext.h"
#include "platform/iplatformframe.h"

#include <algorithm>

namespace VSTGUI {

std::unique_ptr<IPlatformFrame> createX11PlatformFrame(CFrame* frame, void* parent,
                                                       IPlatformFrameConfig* config);

CFrame::CFrame(const CRect& inSize, VSTGUIEditorInterface* editor)
    : CViewContainer(inSize)
    , editor(editor)
{
    // The frame is the root: attached to itself from the start, at the origin.
    size.moveTo(0, 0);
    mouseableArea = size;
    parentFrame = this;
    isAttachedFlag = true;
}

CFrame::~CFrame() = default;

void CFrame::beforeDelete()
{
    setModalView(nullptr);
    setFocusView(nullptr);
    removeAll(true);
    platformFrame.reset();
}

bool CFrame::open(void* parent, PlatformType type, IPlatformFrameConfig* config)
{
    if (platformFrame || !parent || type != kX11EmbedWindowID)
        return false;
    platformFrame = createX11PlatformFrame(this, parent, config);
    if (!platformFrame)
        return false;
    invalid();
    return true;
}

void CFrame::close()
{
    setModalView(nullptr);
    setFocusView(nullptr);
    removeAll(true);
    platformFrame.reset();
    forget();
}

bool CFrame::setSize(CCoord width, CCoord height)
{
    if (width == getWidth() && height == getHeight())
        return true;
    CRect newSize(0, 0, width, height);
    if (editor && !editor->beforeSizeChange(newSize, size))
        return false;
    setViewSize(newSize, false);
    if (platformFrame)
        platformFrame->setSize(size, zoom);
    invalid();
    return true;
}

bool CFrame::getSize(CRect& r) const
{
    r = size;
    return true;
}

bool CFrame::setZoom(double zoomFactor)
{
    if (zoomFactor <= 0)
        return false;
    if (zoomFactor == zoom)
        return true;
    zoom = zoomFactor;
    if (platformFrame)
        platformFrame->setSize(size, zoom);
    invalid();
    return true;
}

void CFrame::invalid() { invalidRect(CRect(0, 0, getWidth(), getHeight())); }

void CFrame::invalidRect(const CRect& rect)
{
    CRect r(rect);
    r.bound(size);
    if (r.isEmpty())
        return;
    invalidArea.unite(r);
    if (platformFrame)
        platformFrame->invalidRect(r);
}

CRect CFrame::paint(CDrawContext* context, bool all)
{
    CRect area = all ? size : invalidArea;
    invalidArea = CRect();
    area.bound(size);
    if (area.isEmpty())
        return area;
    context->saveGlobalState();
    context->setClipRect(area);
    drawRect(context, area);
    context->restoreGlobalState();
    return area;
}

void CFrame::drawRect(CDrawContext* context, const CRect& updateRect)
{
    CViewContainer::drawRect(context, updateRect);
    // Offscreen the popup is drawn over the frame; an open frame shows it in its own window.
    if (modalView && !platformFrame)
    {
        CRect r(modalView->getViewSize());
        r.bound(updateRect);
        if (!r.isEmpty())
        {
            context->saveGlobalState();
            context->setClipRect(r);
            modalView->drawRect(context, r);
            context->restoreGlobalState();
        }
    }
}

CMouseEventResult CFrame::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (modalView)
    {
        // The popup sees every press; one outside it closes it.
        modalMouseDown = true;
        CPoint p(where);
        return modalView->onMouseDown(p, buttons);
    }
    if (focusView)
    {
        CPoint p(where);
        focusView->frameToLocal(p);
        if (!focusView->getViewSize().pointInside(p))
            setFocusView(nullptr);
    }
    CPoint p(where);
    CMouseEventResult result = CViewContainer::onMouseDown(p, buttons);
    return result;
}

CMouseEventResult CFrame::onMouseUp(CPoint& where, const CButtonState& buttons)
{
    if (modalView)
    {
        if (!modalMouseDown)
            return kMouseEventHandled;
        modalMouseDown = false;
        CPoint p(where);
        return modalView->onMouseUp(p, buttons);
    }
    CPoint p(where);
    return CViewContainer::onMouseUp(p, buttons);
}

CMouseEventResult CFrame::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (modalView)
    {
        CPoint p(where);
        return modalView->onMouseMoved(p, buttons);
    }
    CPoint p(where);
    return CViewContainer::onMouseMoved(p, buttons);
}

bool CFrame::onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                     const CButtonState& buttons)
{
    if (modalView)
        return modalView->onWheel(where, axis, distance, buttons);
    return CViewContainer::onWheel(where, axis, distance, buttons);
}

int32_t CFrame::onKeyDown(VstKeyCode& keyCode)
{
    if (keyboardHook && keyboardHook->onKeyDown(keyCode, this) == 1)
        return 1;
    if (modalView)
        return modalView->onKeyDown(keyCode);
    if (focusView)
        return focusView->onKeyDown(keyCode);
    return -1;
}

int32_t CFrame::onKeyUp(VstKeyCode& keyCode)
{
    if (keyboardHook && keyboardHook->onKeyUp(keyCode, this) == 1)
        return 1;
    if (modalView)
        return modalView->onKeyUp(keyCode);
    if (focusView)
        return focusView->onKeyUp(keyCode);
    return -1;
}

void CFrame::setFocusView(CView* view)
{
    if (view == focusView)
        return;
    CView* old = focusView;
    focusView = view;
    if (old)
        old->looseFocus();
    if (focusView)
    {
        focusView->takeFocus();
        if (platformFrame)
            platformFrame->takeKeyboardFocus();
    }
}

bool CFrame::setModalView(CView* view)
{
    if (view == modalView)
        return true;
    if (view && modalView)
        return false;
    if (modalView)
    {
        CView* old = modalView;
        modalView = nullptr;
        modalMouseDown = false;
        if (platformFrame)
            platformFrame->hidePopup();
        else
            invalidRect(old->getViewSize());
        old->removed(this);
        old->forget();
        return true;
    }
    modalView = view;
    view->remember();
    view->setParentFrame(this);
    view->attached(this);
    if (!platformFrame || !platformFrame->showPopup(view, view->getViewSize()))
        invalidRect(view->getViewSize());
    return true;
}

void CFrame::idle()
{
    // Idle views may remove themselves while called.
    auto views = idleViews;
    for (CView* v : views)
        if (std::find(idleViews.begin(), idleViews.end(), v) != idleViews.end())
            v->onIdle();
    if (platformFrame)
        platformFrame->flush();
}

void CFrame::registerIdleView(CView* view)
{
    if (std::find(idleViews.begin(), idleViews.end(), view) == idleViews.end())
        idleViews.push_back(view);
}

void CFrame::unregisterIdleView(CView* view)
{
    idleViews.erase(std::remove(idleViews.begin(), idleViews.end(), view), idleViews.end());
}

void CFrame::unregisterViewAddedRemovedObserver(IViewAddedRemovedObserver* observer)
{
    if (viewObserver == observer)
        viewObserver = nullptr;
}

void CFrame::unregisterKeyboardHook(IKeyboardHook* hook)
{
    if (keyboardHook == hook)
        keyboardHook = nullptr;
}

void CFrame::onViewAdded(CView* view)
{
    if (viewObserver)
        viewObserver->onViewAdded(this, view);
}

void CFrame::onViewRemoved(CView* view)
{
    if (mouseDownTarget == view)
        mouseDownTarget = nullptr;
    if (viewObserver)
        viewObserver->onViewRemoved(this, view);
}

} // namespace VSTGUI
