#include "CTovuCustomView.h"

#include "core/PlugInTypes.h"

#include "public.sdk/source/vst/vsteditcontroller.h"

// The module's handle, known once the host has entered the module; weak so that programs
// without the module entry (tests, other hosts' builds) see none.
extern void* moduleHandle __attribute__((weak));

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

namespace {

ViewRect kInitialRect(0, 0, 100, 100);

void* currentModuleHandle() { return &moduleHandle ? moduleHandle : nullptr; }

} // namespace

CTovuCustomView::CTovuCustomView(EditController* controller)
    : VSTGUIEditor(controller, &kInitialRect)
{}

CTovuCustomView::~CTovuCustomView()
{
    if (frame)
        close();
}

void CTovuCustomView::beginEdit(uint32_t paramId)
{
    if (auto* c = getController())
        c->beginEdit(paramId);
}

void CTovuCustomView::endEdit(uint32_t paramId)
{
    if (auto* c = getController())
        c->endEdit(paramId);
}

void CTovuCustomView::parameterChanged(uint32_t paramId, float normalized)
{
    if (auto* c = getController())
    {
        c->setParamNormalized(paramId, static_cast<double>(normalized));
        c->performEdit(paramId, static_cast<double>(normalized));
    }
}

bool PLUGIN_API CTovuCustomView::open(void* parent, const VSTGUI::PlatformType& type)
{
    if (!frame)
    {
        frame = new VSTGUI::CFrame(VSTGUI::CRect(0, 0, 0, 0), this);
        frame->setTransparency(true);
        frame->enableTooltips(true);
    }
    if (!m_pPlugIn)
    {
        // Nothing will ever draw into the frame: let it go rather than keep it to the end.
        releaseFrame();
        return false;
    }
    m_pParentWindow = parent;
    CUiMessage openMessage;
    openMessage.code = kUiOpenOwnEditor;
    openMessage.editorView = this;
    openMessage.parentWindow = parent;
    openMessage.platformType = static_cast<int32_t>(type);
    openMessage.moduleHandle = currentModuleHandle();
    openMessage.connector = this;
    if (!m_pPlugIn->uiMessage(&openMessage))
    {
        m_pParentWindow = nullptr;
        releaseFrame();
        return false;
    }

    EditController* controller = getController();
    const int32 count = controller ? controller->getParameterCount() : 0;
    for (int32 id = 0; id < count; ++id)
    {
        CUiMessage valueMessage;
        valueMessage.code = kUiParameterValue;
        valueMessage.paramIndex = id;
        valueMessage.paramValue = controller->getParamNormalized(static_cast<ParamID>(id));
        m_pPlugIn->uiMessage(&valueMessage);
    }
    if (frame)
        frame->setSize(openMessage.editorWidth, openMessage.editorHeight);
    return true;
}

void PLUGIN_API CTovuCustomView::close()
{
    if (m_pPlugIn)
    {
        CUiMessage closeMessage;
        closeMessage.code = kUiCloseOwnEditor;
        closeMessage.parentWindow = m_pParentWindow;
        closeMessage.moduleHandle = currentModuleHandle();
        m_pPlugIn->uiMessage(&closeMessage);
        m_pParentWindow = nullptr;
    }
    releaseFrame();
}

void CTovuCustomView::releaseFrame()
{
    if (!frame)
        return;
    VSTGUI::CFrame* f = frame;
    frame = nullptr;
    // Views the DSP object built may still hold the frame; the last holder frees it.
    if (f->getNbReference() == 1)
        f->close();
    else
        f->forget();
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
