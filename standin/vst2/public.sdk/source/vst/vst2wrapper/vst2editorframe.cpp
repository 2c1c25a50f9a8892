#include "public.sdk/source/vst/vst2wrapper/vst2editorframe.h"

#include <algorithm>
#include <utility>

namespace Steinberg {
namespace Vst {

namespace {
int16 toInt16(int32 v) { return static_cast<int16>(std::clamp<int32>(v, -32768, 32767)); }
} // namespace

Vst2EditorFrame::Vst2EditorFrame(IEditController& c, ResizeWindow resize)
    : controller(c)
    , resizeWindow(std::move(resize))
{}

Vst2EditorFrame::~Vst2EditorFrame() { close(); }

tresult PLUGIN_API Vst2EditorFrame::queryInterface(const TUID _iid, void** obj)
{
    // Inline ids: the FUID objects of the GUI interfaces are defined by whoever builds editors.
    if (FUnknownPrivate::iidEqual(_iid, FUnknown::iid)
        || FUnknownPrivate::iidEqual(_iid, INLINE_UID_OF(IPlugFrame)))
    {
        *obj = static_cast<IPlugFrame*>(this);
        return kResultOk;
    }
    if (Vst2RunLoop::isRunLoopIid(_iid))
        return runLoop.queryInterface(_iid, obj);
    *obj = nullptr;
    return kNoInterface;
}

bool Vst2EditorFrame::hasEditor()
{
    if (view)
        return true;
    IPtr<IPlugView> probe = owned(controller.createView(ViewType::kEditor));
    return probe && probe->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID) == kResultTrue;
}

bool Vst2EditorFrame::ensureView()
{
    if (!view)
        view = owned(controller.createView(ViewType::kEditor));
    return view != nullptr;
}

void Vst2EditorFrame::releaseView()
{
    // Registrations the view left behind go first: their handlers may live inside the view.
    runLoop.clear();
    if (!view)
        return;
    view->setFrame(nullptr);
    view = nullptr;
}

bool Vst2EditorFrame::getRect(Vst2::ERect*& out)
{
    ViewRect size{};
    if (!ensureView() || view->getSize(&size) != kResultTrue)
        return false;
    rect = {0, 0, toInt16(size.getHeight()), toInt16(size.getWidth())};
    out = &rect;
    return true;
}

bool Vst2EditorFrame::open(void* parentWindow)
{
    if (attached || !parentWindow || !ensureView())
        return false;
    view->setFrame(this);
    if (view->attached(parentWindow, kPlatformTypeX11EmbedWindowID) != kResultTrue)
    {
        releaseView();
        return false;
    }
    attached = true;
    return true;
}

void Vst2EditorFrame::close()
{
    if (attached && view)
        view->removed();
    attached = false;
    releaseView();
}

tresult PLUGIN_API Vst2EditorFrame::resizeView(IPlugView* requester, ViewRect* newSize)
{
    if (!requester || requester != view || !newSize)
        return kInvalidArgument;
    if (!resizeWindow || !resizeWindow(newSize->getWidth(), newSize->getHeight()))
        return kResultFalse;
    return view->onSize(newSize);
}

} // namespace Vst
} // namespace Steinberg
