// The Processor as the editor's edit controller and delegate: each call handed to its editor
// part. Everything here runs on the host's user-interface thread.
#include "adapter/processor/Processor.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

IPlugView* PLUGIN_API Processor::createView(FIDString name)
{
    return m_Editor.createView(*this, m_pPlugIn.get(), name);
}

tresult Processor::receiveText(const char8* text)
{
    m_Editor.receiveText(m_pPlugIn.get(), text, m_Notifier);
    return kResultOk;
}

void Processor::didOpen(VSTGUI::VST3Editor* editor) { m_Editor.didOpen(m_pPlugIn.get(), editor); }

void Processor::willClose(VSTGUI::VST3Editor*) { m_Editor.willClose(m_pPlugIn.get()); }

VSTGUI::CView* Processor::createCustomView(VSTGUI::UTF8StringPtr name, const VSTGUI::UIAttributes& attributes,
                                           const VSTGUI::IUIDescription* description, VSTGUI::VST3Editor*)
{
    return m_Editor.createCustomView(m_pPlugIn.get(), name, attributes, description);
}

VSTGUI::IController* Processor::createSubController(VSTGUI::UTF8StringPtr name, const VSTGUI::IUIDescription*,
                                                    VSTGUI::VST3Editor* editor)
{
    return m_Editor.createSubController(*this, m_pPlugIn.get(), name, editor);
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
