// The frame a VST2 host's editor window gives the plug-in's IPlugView: the X11 window the host
// passes becomes the view's parent, size requests of the view go to the host, and the host's
// idle calls drive the run loop the view asks its frame for.
#pragma once

#include "public.sdk/source/vst/vst2wrapper/vst2runloop.h"

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "vst2abi/Vst2Speakers.h"

#include <functional>

namespace Steinberg {
namespace Vst {

class Vst2EditorFrame : public IPlugFrame
{
public:
    // resizeWindow asks the host for a window of width x height and answers whether it agreed.
    using ResizeWindow = std::function<bool(int32 width, int32 height)>;

    Vst2EditorFrame(IEditController& controller, ResizeWindow resizeWindow);
    ~Vst2EditorFrame();

    // [main thread] Whether the controller makes an editor view (one is created and released).
    bool hasEditor();
    // The view's size; creates the view if needed. False without a view.
    bool getRect(Vst2::ERect*& rect);
    // Attaches the view to the host's X11 window. False (and no view kept) when that fails.
    bool open(void* parentWindow);
    void close();
    void idle() { runLoop.tick(); }
    bool isOpen() const { return attached; }

    // --- IPlugFrame
    tresult PLUGIN_API resizeView(IPlugView* view, ViewRect* newSize) SMTG_OVERRIDE;

    // Answers IPlugFrame and the run loop. Lives inside the wrapper: no reference counting.
    tresult PLUGIN_API queryInterface(const TUID _iid, void** obj) SMTG_OVERRIDE;
    uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1; }
    uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1; }

private:
    bool ensureView();
    void releaseView();

    IEditController& controller;
    ResizeWindow resizeWindow;
    Vst2RunLoop runLoop;
    IPtr<IPlugView> view;
    Vst2::ERect rect{};
    bool attached = false;
};

} // namespace Vst
} // namespace Steinberg
