// The Processor as the editor's edit controller and delegate: which editor createView builds,
// and what the DSP object hears of the editor's life (open, close, timer ticks, rebuilds).
// Everything here runs on the host's user-interface thread.
#include "adapter/processor/Processor.h"

#include "CTovuCustomView.h"
#include "EditorResources.h"
#include "VST3EditorKa.h"

#include "vstgui/lib/cbitmap.h"

#include <cstring>
#include <new>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

IPlugView* PLUGIN_API Processor::createView(FIDString name)
{
    if (!m_pPlugIn || !name || std::strcmp(name, ViewType::kEditor) != 0)
        return nullptr;
    if (!m_pPlugIn->m_bHasEditor)
        return nullptr;

    CUiMessage ask;
    ask.code = kUiHasOwnEditor;
    ask.answer = false;
    m_pPlugIn->uiMessage(&ask);
    if (ask.answer)
        return createOwnEditorView();

    const std::string resources = editorResourceFolder();
    if (!resources.empty())
        VSTGUI::setResourceDirectory(resources);
    auto* editor = new (std::nothrow) VST3EditorKa(this, kEditorTemplate, kEditorDescription);
    if (!editor)
        return nullptr;
    editor->setKnobModeSetting(m_pPlugIn->m_nKnobMode);
    editor->setPlugIn(m_pPlugIn);
    return editor;
}

IPlugView* Processor::createOwnEditorView()
{
    // The DSP object draws its own editor into the frame this view hands it.
    auto* view = new (std::nothrow) CTovuCustomView(this);
    if (view)
        view->setPlugIn(m_pPlugIn);
    return view;
}

tresult Processor::receiveText(const char8* text)
{
    if (!m_pPlugIn || !text)
        return kResultOk;
    if (std::strcmp(text, "VSTGUITimerPing") == 0)
    {
        m_UiMessage.code = kUiTimerPing;
        m_pPlugIn->uiMessage(&m_UiMessage);
        // The editor's timer is a safe moment to tell the host what changed during its own
        // calls (a preset choice, a restored state): no host call is running now.
        m_Notifier.deliverPending();
    }
    else if (std::strcmp(text, "RecreateView") == 0)
    {
        sendEditorLifeMessage(kUiDidOpen);
    }
    return kResultOk;
}

void Processor::didOpen(VSTGUI::VST3Editor* editor)
{
    if (m_pPlugIn && editor)
        sendEditorLifeMessage(kUiDidOpen);
}

void Processor::willClose(VSTGUI::VST3Editor*)
{
    if (m_pPlugIn)
        sendEditorLifeMessage(kUiWillClose);
}

void Processor::sendEditorLifeMessage(uint32_t code)
{
    // Only the fields of an open or close notice change; the rest keep what earlier
    // messages left in the record.
    m_UiMessage.code = code;
    m_UiMessage.editorView = nullptr;
    m_UiMessage.listener = nullptr;
    m_UiMessage.answer = false;
    m_UiMessage.viewName = "";
    m_UiMessage.extraText = "";
    m_pPlugIn->uiMessage(&m_UiMessage);
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
