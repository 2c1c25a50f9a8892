// The editor used when the DSP object draws its own: it hands the DSP object an empty frame,
// the host's parent window and a connector for parameter edits (code 6), keeps it informed of
// every parameter's value (code 13), and tells it when the editor closes (code 7).
#pragma once

#include "CVSTParameterConnector.h"

#include "core/CPlugIn.h"

#include "public.sdk/source/vst/vstguieditor.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

class CTovuCustomView : public CVSTParameterConnector, public VSTGUIEditor
{
public:
    explicit CTovuCustomView(EditController* controller);

    void setPlugIn(CPlugIn* plugIn) { m_pPlugIn = plugIn; }

    // CVSTParameterConnector (the editor base's index-based gesture calls stay reachable too)
    using VSTGUIEditor::beginEdit;
    using VSTGUIEditor::endEdit;
    void beginEdit(uint32_t paramId) override;
    void endEdit(uint32_t paramId) override;
    void parameterChanged(uint32_t paramId, float normalized) override;

    bool PLUGIN_API open(void* parent, const VSTGUI::PlatformType& type = VSTGUI::kDefaultNative) override;
    void PLUGIN_API close() override;

protected:
    ~CTovuCustomView() override;

private:
    void releaseFrame();

    CPlugIn* m_pPlugIn = nullptr;
    void* m_pParentWindow = nullptr;
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
