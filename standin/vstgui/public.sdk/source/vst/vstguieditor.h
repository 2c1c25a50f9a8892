// The SDK's editor view over the toolkit: an IPlugView for "X11EmbedWindowID" that opens its
// frame inside the host's window, runs its timer and X events on the host's IRunLoop (asked of
// the IPlugFrame given in setFrame) and starts no thread.
//
// In a translation unit that also uses SingleComponentEffect, include
// "public.sdk/source/vst/vstsinglecomponenteffect.h" first: it renames the edit controller's
// setState/getState and must be the first to see the controller's headers.
#pragma once

#include "vstgui/lib/cframe.h"
#include "vstgui/lib/cvstguitimer.h"
#include "vstgui/lib/vstguieditorinterface.h"

#include "pluginterfaces/gui/iplugview.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

#include <memory>

namespace VSTGUI {
namespace X11 {
class IRunLoop;
}
} // namespace VSTGUI

namespace Steinberg {
namespace Vst {

class VSTGUIEditor : public EditorView, public VSTGUI::VSTGUIEditorInterface, public VSTGUI::CBaseObject
{
public:
    VSTGUIEditor(void* controller, ViewRect* size = nullptr);
    ~VSTGUIEditor() override;

    // Opens the editor's frame in the parent window; false when there is no editor to show.
    virtual bool PLUGIN_API open(void* parent, const VSTGUI::PlatformType& type = VSTGUI::kDefaultNative) = 0;
    virtual void PLUGIN_API close() = 0;

    // Period of the editor's timer in ms (it runs while the view is attached).
    void setIdleRate(int32 millisec);
    int32 getIdleRate() const { return idleRate; }

    // CBaseObject: the timer tick lets the frame idle.
    VSTGUI::CMessageResult notify(VSTGUI::CBaseObject* sender, VSTGUI::IdStringPtr message) override;

    // IPlugView
    tresult PLUGIN_API isPlatformTypeSupported(FIDString type) override;
    tresult PLUGIN_API attached(void* parent, FIDString type) override;
    tresult PLUGIN_API removed() override;
    tresult PLUGIN_API onSize(ViewRect* newSize) override;
    tresult PLUGIN_API onKeyDown(char16 key, int16 keyMsg, int16 modifiers) override;
    tresult PLUGIN_API onKeyUp(char16 key, int16 keyMsg, int16 modifiers) override;
    tresult PLUGIN_API onWheel(float distance) override;
    tresult PLUGIN_API setFrame(IPlugFrame* frame) override;

    // VSTGUIEditorInterface
    void beginEdit(int32_t index) override;
    void endEdit(int32_t index) override;
    int32_t getKnobMode() const override;

    // The frame config carrying the host's run loop (for open implementations).
    VSTGUI::IPlatformFrameConfig* getFrameConfig() const { return frameConfig.get(); }

    OBJ_METHODS(VSTGUIEditor, EditorView)
    DEFINE_INTERFACES
    END_DEFINE_INTERFACES(EditorView)
    REFCOUNT_METHODS(EditorView)

protected:
    VSTGUI::CVSTGUITimer* timer{nullptr};
    int32 idleRate{100};
    std::unique_ptr<VSTGUI::X11::IRunLoop> runLoop;
    std::unique_ptr<VSTGUI::IPlatformFrameConfig> frameConfig;
};

} // namespace Vst
} // namespace Steinberg
