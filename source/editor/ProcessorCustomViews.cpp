// The Processor as the editor's delegate for named views and sub-controllers: the framework's
// factory, with the DSP object as the fallback for view names the framework does not know.
#include "adapter/processor/Processor.h"

#include "CustomViewFactory.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

VSTGUI::CView* Processor::createCustomView(VSTGUI::UTF8StringPtr name, const VSTGUI::UIAttributes& attributes,
                                           const VSTGUI::IUIDescription* description, VSTGUI::VST3Editor*)
{
    if (!m_pPlugIn)
        return nullptr;
    return createFrameworkView(*m_pPlugIn, m_UiMessage, name, attributes, description);
}

VSTGUI::IController* Processor::createSubController(VSTGUI::UTF8StringPtr name, const VSTGUI::IUIDescription*,
                                                    VSTGUI::VST3Editor* editor)
{
    if (!m_pPlugIn)
        return nullptr;
    return createFrameworkSubController(name, this, editor);
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
