#include "adapter/processor/Processor.h"

#include "ProcessorEditorViews.h"

#include "CTovuCustomView.h"
#include "CustomViewFactory.h"
#include "EditorResources.h"
#include "VST3EditorKa.h"

#include "adapter/processor/EditorDelegate.h"

#include <new>
#include <string>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

IPlugView* CProcessorEditorViews::createEditor(Processor& processor, CPlugIn& plugIn, bool ownEditor) const
{
    if (ownEditor)
    {
        // The DSP object draws its own editor into the frame this view hands it.
        auto* view = new (std::nothrow) CTovuCustomView(&processor);
        if (view)
            view->setPlugIn(&plugIn);
        return view;
    }
    const std::string resources = editorResourceFolder();
    if (!resources.empty())
        VSTGUI::setResourceDirectory(resources);
    auto* editor = new (std::nothrow) VST3EditorKa(&processor, kEditorTemplate, kEditorDescription);
    if (!editor)
        return nullptr;
    editor->setKnobModeSetting(plugIn.m_nKnobMode);
    editor->setPlugIn(&plugIn);
    return editor;
}

VSTGUI::CView* CProcessorEditorViews::createCustomView(CPlugIn& plugIn, CUiMessage& message,
                                                       VSTGUI::UTF8StringPtr name,
                                                       const VSTGUI::UIAttributes& attributes,
                                                       const VSTGUI::IUIDescription* description) const
{
    // The framework's factory, with the DSP object as the fallback for names it does not know.
    return createFrameworkView(plugIn, message, name, attributes, description);
}

VSTGUI::IController* CProcessorEditorViews::createSubController(VSTGUI::UTF8StringPtr name,
                                                                Processor& processor,
                                                                VSTGUI::VST3Editor* editor) const
{
    return createFrameworkSubController(name, &processor, editor);
}

void CProcessorEditorViews::install()
{
    static const CProcessorEditorViews views;
    CEditorDelegate::install(&views);
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
