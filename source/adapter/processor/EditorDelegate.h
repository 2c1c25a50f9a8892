// The Processor's part as the editor's controller and delegate.
#pragma once

#include "adapter/processor/HostNotifier.h"
#include "adapter/processor/IEditorViews.h"
#include "core/CPlugIn.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

// What the DSP object hears of the editor's life (open, close, timer ticks, rebuilds), and the
// views of the installed IEditorViews.
//
// Everything here runs on the host's user-interface thread.
class CEditorDelegate
{
public:
    // [main thread, before any editor is asked for] The views every Processor of the process
    // builds; null: no editor (createView answers null).
    static void install(const IEditorViews* views);
    static const IEditorViews* installed();

    IPlugView* createView(Processor& processor, CPlugIn* plugIn, FIDString name);
    // "VSTGUITimerPing" ticks the DSP object's editor and delivers the host notifications;
    // "RecreateView" tells it the editor was rebuilt.
    void receiveText(CPlugIn* plugIn, const char8* text, CHostNotifier& notifier);
    void didOpen(CPlugIn* plugIn, const VSTGUI::VST3Editor* editor);
    void willClose(CPlugIn* plugIn);
    VSTGUI::CView* createCustomView(CPlugIn* plugIn, VSTGUI::UTF8StringPtr name,
                                    const VSTGUI::UIAttributes& attributes,
                                    const VSTGUI::IUIDescription* description);
    VSTGUI::IController* createSubController(Processor& processor, CPlugIn* plugIn,
                                             VSTGUI::UTF8StringPtr name, VSTGUI::VST3Editor* editor);

private:
    void sendLifeMessage(CPlugIn& plugIn, uint32_t code);

    // The editor's messages to the DSP object (codes 0 to 2); fields a message does not set
    // keep their earlier contents.
    CUiMessage m_UiMessage;
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
