// The views the editor library builds for a Processor, so that the adapter links no toolkit.
#pragma once

#include "core/CPlugIn.h"

#include "pluginterfaces/gui/iplugview.h"
#include "vstgui/plugin-bindings/vst3editor.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

class Processor;

// Installed once per process (CEditorDelegate::install) by whoever links the editor library: the
// plug-in module, the editor tests.
class IEditorViews
{
public:
    virtual ~IEditorViews() = default;

    // [UI thread] The editor createView returns: the one the DSP object draws itself (ownEditor)
    // or the description's; null when it cannot be built.
    virtual IPlugView* createEditor(Processor& processor, CPlugIn& plugIn, bool ownEditor) const = 0;
    // [UI thread] A named view of the description; `message` is the editor's record of messages
    // to the DSP object, which views built here keep using.
    virtual VSTGUI::CView* createCustomView(CPlugIn& plugIn, CUiMessage& message, VSTGUI::UTF8StringPtr name,
                                            const VSTGUI::UIAttributes& attributes,
                                            const VSTGUI::IUIDescription* description) const = 0;
    // [UI thread] A named sub-controller of the description (the editor owns it).
    virtual VSTGUI::IController* createSubController(VSTGUI::UTF8StringPtr name, Processor& processor,
                                                     VSTGUI::VST3Editor* editor) const = 0;
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
