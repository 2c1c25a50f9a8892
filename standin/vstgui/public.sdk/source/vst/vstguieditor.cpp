#include "vstguieditor.h"

#include "vstgui/lib/platform/x11/hostrunloop.h"
#include "vstgui/lib/platform/x11/x11runloop.h"

#include "base/source/updatehandler.h"

#include <cstring>

namespace Steinberg {

// Interface ids the Debian SDK subset declares but does not define; weak, so a host in the
// same program may define them too.
__attribute__((weak)) const FUID IPlugView::iid(IPlugView_iid);
__attribute__((weak)) const FUID IPlugFrame::iid(IPlugFrame_iid);
namespace Linux {
__attribute__((weak)) const FUID IRunLoop::iid(IRunLoop_iid);
__attribute__((weak)) const FUID IEventHandler::iid(IEventHandler_iid);
__attribute__((weak)) const FUID ITimerHandler::iid(ITimerHandler_iid);
} // namespace Linux

namespace Vst {

VSTGUIEditor::VSTGUIEditor(void* controller, ViewRect* size)
    : EditorView(static_cast<EditController*>(controller), size)
{
    // Parameters tell their dependents (the editor's bindings) through the update handler.
    UpdateHandler::instance();
}

VSTGUIEditor::~VSTGUIEditor()
{
    if (timer)
    {
        timer->stop();
        timer->forget();
        timer = nullptr;
    }
    if (runLoop)
        VSTGUI::X11::RunLoop::exit(runLoop.get());
    frameConfig.reset();
    runLoop.reset();
}

void VSTGUIEditor::setIdleRate(int32 millisec)
{
    idleRate = millisec > 0 ? millisec : 1;
    if (timer)
    {
        // A restarted timer stays on this editor's loop, whichever editor opened last.
        VSTGUI::X11::RunLoop::Scope scope(runLoop.get());
        timer->setFireTime(static_cast<uint32_t>(idleRate));
    }
}

VSTGUI::CMessageResult VSTGUIEditor::notify(VSTGUI::CBaseObject*, VSTGUI::IdStringPtr message)
{
    if (message == VSTGUI::CVSTGUITimer::kMsgTimer)
    {
        if (frame)
            frame->idle();
        return VSTGUI::kMessageNotified;
    }
    return VSTGUI::kMessageUnknown;
}

tresult PLUGIN_API VSTGUIEditor::isPlatformTypeSupported(FIDString type)
{
    return (type && std::strcmp(type, kPlatformTypeX11EmbedWindowID) == 0) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API VSTGUIEditor::attached(void* parent, FIDString type)
{
    if (!parent)
        return kInvalidArgument;
    if (isPlatformTypeSupported(type) != kResultTrue || isAttached())
        return kResultFalse;
    // Everything runs on the host's loop: without it there is no way to get events or time.
    FUnknownPtr<Linux::IRunLoop> hostLoop(plugFrame);
    if (!hostLoop)
        return kResultFalse;
    runLoop = std::make_unique<VSTGUI::X11::HostRunLoop>(hostLoop);
    VSTGUI::X11::RunLoop::init(runLoop.get());
    VSTGUI::X11::RunLoop::Scope scope(runLoop.get());
    frameConfig = std::make_unique<VSTGUI::X11::FrameConfig>(runLoop.get());
    if (!open(parent, VSTGUI::kX11EmbedWindowID))
    {
        frameConfig.reset();
        VSTGUI::X11::RunLoop::exit(runLoop.get());
        runLoop.reset();
        return kResultFalse;
    }
    timer = new VSTGUI::CVSTGUITimer(this, static_cast<uint32_t>(idleRate), true);
    return EditorView::attached(parent, type);
}

tresult PLUGIN_API VSTGUIEditor::removed()
{
    if (!isAttached())
        return kResultFalse;
    VSTGUI::X11::RunLoop::Scope scope(runLoop.get());
    if (timer)
    {
        timer->stop();
        timer->forget();
        timer = nullptr;
    }
    close();
    if (runLoop)
        VSTGUI::X11::RunLoop::exit(runLoop.get());
    frameConfig.reset();
    runLoop.reset();
    return EditorView::removed();
}

tresult PLUGIN_API VSTGUIEditor::onSize(ViewRect* newSize)
{
    if (!newSize)
        return kInvalidArgument;
    if (frame)
        frame->setSize(newSize->getWidth(), newSize->getHeight());
    return EditorView::onSize(newSize);
}

namespace {
// The SDK's virtual key codes (1 backspace ... 22 delete) and modifier bits (shift, alternate,
// command, control) have the same values as the toolkit's.
VSTGUI::VstKeyCode toKeyCode(char16 key, int16 keyMsg, int16 modifiers)
{
    VSTGUI::VstKeyCode code;
    if (keyMsg >= VSTGUI::VKEY_BACK && keyMsg <= VSTGUI::VKEY_DELETE)
        code.virt = static_cast<unsigned char>(keyMsg);
    else
        code.character = key;
    code.modifier = static_cast<unsigned char>(modifiers & 0x0F);
    return code;
}
} // namespace

tresult PLUGIN_API VSTGUIEditor::onKeyDown(char16 key, int16 keyMsg, int16 modifiers)
{
    if (!frame)
        return kResultFalse;
    VSTGUI::VstKeyCode code = toKeyCode(key, keyMsg, modifiers);
    return frame->onKeyDown(code) == 1 ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API VSTGUIEditor::onKeyUp(char16 key, int16 keyMsg, int16 modifiers)
{
    if (!frame)
        return kResultFalse;
    VSTGUI::VstKeyCode code = toKeyCode(key, keyMsg, modifiers);
    return frame->onKeyUp(code) == 1 ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API VSTGUIEditor::onWheel(float)
{
    // Wheel events come to the editor's own window with their position.
    return kResultFalse;
}

tresult PLUGIN_API VSTGUIEditor::setFrame(IPlugFrame* newFrame) { return EditorView::setFrame(newFrame); }

void VSTGUIEditor::beginEdit(int32_t index)
{
    if (controller)
        controller->beginEdit(static_cast<ParamID>(index));
}

void VSTGUIEditor::endEdit(int32_t index)
{
    if (controller)
        controller->endEdit(static_cast<ParamID>(index));
}

int32_t VSTGUIEditor::getKnobMode() const
{
    switch (EditController::getHostKnobMode())
    {
    case kCircularMode: return VSTGUI::kCircularMode;
    case kRelativCircularMode: return VSTGUI::kRelativCircularMode;
    default: return VSTGUI::kLinearMode;
    }
}

} // namespace Vst
} // namespace Steinberg
