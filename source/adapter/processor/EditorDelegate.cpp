#include "adapter/processor/EditorDelegate.h"

#include <cassert>
#include <cstring>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

namespace {
const IEditorViews* gEditorViews = nullptr;
} // namespace

void CEditorDelegate::install(const IEditorViews* views) { gEditorViews = views; }

const IEditorViews* CEditorDelegate::installed() { return gEditorViews; }

IPlugView* CEditorDelegate::createView(Processor& processor, CPlugIn* plugIn, FIDString name)
{
    if (!plugIn || !name || std::strcmp(name, ViewType::kEditor) != 0)
        return nullptr;
    if (!plugIn->m_bHasEditor || !gEditorViews)
        return nullptr;
    CUiMessage ask;
    ask.code = kUiHasOwnEditor;
    ask.answer = false;
    plugIn->uiMessage(&ask);
    return gEditorViews->createEditor(processor, *plugIn, ask.answer);
}

void CEditorDelegate::receiveText(CPlugIn* plugIn, const char8* text, CHostNotifier& notifier)
{
    if (!plugIn || !text)
        return;
    if (std::strcmp(text, "VSTGUITimerPing") == 0)
    {
        m_UiMessage.code = kUiTimerPing;
        plugIn->uiMessage(&m_UiMessage);
        // The editor's timer is a safe moment to tell the host what changed during its own
        // calls (a preset choice, a restored state): no host call is running now.
        notifier.deliverPending();
    }
    else if (std::strcmp(text, "RecreateView") == 0)
    {
        sendLifeMessage(*plugIn, kUiDidOpen);
    }
}

void CEditorDelegate::didOpen(CPlugIn* plugIn, const VSTGUI::VST3Editor* editor)
{
    if (plugIn && editor)
        sendLifeMessage(*plugIn, kUiDidOpen);
}

void CEditorDelegate::willClose(CPlugIn* plugIn)
{
    if (plugIn)
        sendLifeMessage(*plugIn, kUiWillClose);
}

VSTGUI::CView* CEditorDelegate::createCustomView(CPlugIn* plugIn, VSTGUI::UTF8StringPtr name,
                                                 const VSTGUI::UIAttributes& attributes,
                                                 const VSTGUI::IUIDescription* description)
{
    // Only an editor the installed views built asks for its named views.
    if (!plugIn)
        return nullptr;
    assert(gEditorViews && "a named view asked for with no editor views installed");
    return gEditorViews ? gEditorViews->createCustomView(*plugIn, m_UiMessage, name, attributes, description)
                        : nullptr;
}

VSTGUI::IController* CEditorDelegate::createSubController(Processor& processor, CPlugIn* plugIn,
                                                          VSTGUI::UTF8StringPtr name,
                                                          VSTGUI::VST3Editor* editor)
{
    if (!plugIn)
        return nullptr;
    assert(gEditorViews && "a sub-controller asked for with no editor views installed");
    return gEditorViews ? gEditorViews->createSubController(name, processor, editor) : nullptr;
}

void CEditorDelegate::sendLifeMessage(CPlugIn& plugIn, uint32_t code)
{
    // Only the fields of an open or close notice change; the rest keep what earlier
    // messages left in the record.
    m_UiMessage.code = code;
    m_UiMessage.editorView = nullptr;
    m_UiMessage.listener = nullptr;
    m_UiMessage.answer = false;
    m_UiMessage.viewName = "";
    m_UiMessage.extraText = "";
    plugIn.uiMessage(&m_UiMessage);
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
