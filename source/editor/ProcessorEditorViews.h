// The editor library's views for every Processor of the process, and the call installing them.
#pragma once

#include "adapter/processor/IEditorViews.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

// VST3EditorKa, the DSP object's own editor and the framework's named views.
class CProcessorEditorViews : public IEditorViews
{
public:
    IPlugView* createEditor(Processor& processor, CPlugIn& plugIn, bool ownEditor) const override;
    VSTGUI::CView* createCustomView(CPlugIn& plugIn, CUiMessage& message, VSTGUI::UTF8StringPtr name,
                                    const VSTGUI::UIAttributes& attributes,
                                    const VSTGUI::IUIDescription* description) const override;
    VSTGUI::IController* createSubController(VSTGUI::UTF8StringPtr name, Processor& processor,
                                             VSTGUI::VST3Editor* editor) const override;

    // [main thread] Makes these the views of every Processor's createView (idempotent).
    static void install();
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
