#include "cview.h"

#include "cbitmap.h"
#include "cdrawcontext.h"
#include "cframe.h"
#include "cviewcontainer.h"
#include "../uidescription/icontroller.h"

namespace VSTGUI {

CView::CView(const CRect& size)
    : size(size)
    , mouseableArea(size)
{}

CView::CView(const CView& v)
    : CBaseObject()
    , size(v.size)
    , mouseableArea(v.mouseableArea)
    , background(v.background)
    , mouseEnabled(v.mouseEnabled)
    , transparency(v.transparency)
    , wantsFocus(v.wantsFocus)
    , visible(v.visible)
    , alphaValue(v.alphaValue)
    , attributes(v.attributes)
{
    if (background)
        background->remember();
}

CView::~CView()
{
    if (background)
        background->forget();
    if (ownedController)
    {
        // Reference-counted controllers are released, plain ones deleted.
        if (auto ref = dynamic_cast<IReference*>(ownedController))
            ref->forget();
        else
            delete ownedController;
    }
}

void CView::setOwnedController(IController* controller)
{
    if (ownedController == controller)
        return;
    if (ownedController)
    {
        if (auto ref = dynamic_cast<IReference*>(ownedController))
            ref->forget();
        else
            delete ownedController;
    }
    ownedController = controller;
}

IController* getViewController(const CView* view, bool deep)
{
    for (; view; view = deep ? view->getParentView() : nullptr)
        if (auto c = view->getOwnedController())
            return c;
    return nullptr;
}

void CView::drawRect(CDrawContext* context, const CRect& updateRect)
{
    draw(context);
    setDirty(false);
}

void CView::setDirty(bool state)
{
    dirty = state;
    if (state)
        invalid();
}

void CView::invalid() { invalidRect(size); }

void CView::invalidRect(const CRect& rect)
{
    if (isAttachedFlag && visible && parentView)
        parentView->invalidRect(rect);
}

CMouseEventResult CView::onMouseDown(CPoint&, const CButtonState&) { return kMouseEventNotImplemented; }

CMouseEventResult CView::onMouseUp(CPoint&, const CButtonState&) { return kMouseEventNotImplemented; }

CMouseEventResult CView::onMouseMoved(CPoint&, const CButtonState&) { return kMouseEventNotImplemented; }

CMouseEventResult CView::onMouseCancel() { return kMouseEventNotImplemented; }

CMouseEventResult CView::onMouseEntered(CPoint&, const CButtonState&) { return kMouseEventNotImplemented; }

CMouseEventResult CView::onMouseExited(CPoint&, const CButtonState&) { return kMouseEventNotImplemented; }

bool CView::onWheel(const CPoint&, const CMouseWheelAxis&, const float&, const CButtonState&)
{
    return false;
}

int32_t CView::onKeyDown(VstKeyCode&) { return -1; }

int32_t CView::onKeyUp(VstKeyCode&) { return -1; }

bool CView::hitTest(const CPoint& where, const CButtonState&) { return mouseableArea.pointInside(where); }

void CView::setMouseEnabled(bool state) { mouseEnabled = state; }

void CView::setViewSize(const CRect& rect, bool doInvalid)
{
    if (rect == size)
        return;
    if (doInvalid)
        invalid();
    // The mouseable area follows the view unless it was set apart.
    if (mouseableArea == size)
        mouseableArea = rect;
    size = rect;
    if (doInvalid)
        invalid();
}

CRect CView::getVisibleViewSize() const
{
    CRect r(size);
    for (CView* p = parentView; p; p = p->getParentView())
    {
        CRect parent(0, 0, p->getWidth(), p->getHeight());
        r.bound(parent);
        r.offset(p->getViewSize().left, p->getViewSize().top);
    }
    return r;
}

CPoint& CView::localToFrame(CPoint& point) const
{
    if (parentView)
        return parentView->localToFrame(point);
    return point;
}

CPoint& CView::frameToLocal(CPoint& point) const
{
    if (parentView)
        return parentView->frameToLocal(point);
    return point;
}

void CView::setBackground(CBitmap* b)
{
    if (b == background)
        return;
    if (b)
        b->remember();
    if (background)
        background->forget();
    background = b;
    setDirty(true);
}

void CView::setTransparency(bool state)
{
    if (transparency == state)
        return;
    transparency = state;
    setDirty(true);
}

void CView::setAlphaValue(float alpha)
{
    if (alphaValue == alpha)
        return;
    alphaValue = alpha;
    invalid();
}

void CView::setVisible(bool state)
{
    if (visible == state)
        return;
    if (!state)
        invalid();
    visible = state;
    if (state)
        invalid();
}

bool CView::attached(CView* parent)
{
    if (isAttachedFlag)
        return false;
    parentView = parent;
    isAttachedFlag = true;
    if (parentFrame)
    {
        if (wantsIdleFlag)
            parentFrame->registerIdleView(this);
        parentFrame->onViewAdded(this);
    }
    return true;
}

bool CView::removed(CView* parent)
{
    if (!isAttachedFlag)
        return false;
    if (parentFrame)
    {
        if (wantsIdleFlag)
            parentFrame->unregisterIdleView(this);
        if (parentFrame->getFocusView() == this)
            parentFrame->setFocusView(nullptr);
        parentFrame->onViewRemoved(this);
    }
    isAttachedFlag = false;
    parentView = nullptr;
    parentFrame = nullptr;
    return true;
}

CViewContainer* CView::getParentViewContainer() const { return dynamic_cast<CViewContainer*>(parentView); }

bool CView::getAttribute(const std::string& id, std::string& value) const
{
    auto it = attributes.find(id);
    if (it == attributes.end())
        return false;
    value = it->second;
    return true;
}

void CView::setWantsIdle(bool state)
{
    if (wantsIdleFlag == state)
        return;
    wantsIdleFlag = state;
    if (isAttachedFlag && parentFrame)
    {
        if (state)
            parentFrame->registerIdleView(this);
        else
            parentFrame->unregisterIdleView(this);
    }
}

} // namespace VSTGUI
