// The room panel's editor: the stock VST3 editor built from the description, plus a 50 ms
// timer that pings the Processor and repaints the whole frame, the knob mode the DSP object
// asks for, and the walk over the DSP object's dependent controls after each edit.
#pragma once

#include "core/CControlList.h"
#include "core/CPlugIn.h"

#include "vstgui/plugin-bindings/vst3editor.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

// Knob-mode settings a DSP object may ask for.
enum EditorKnobMode : int32
{
    kEditorKnobCircular = 0,
    kEditorKnobRelativeCircular = 1,
    kEditorKnobLinear = 2,
    kEditorKnobFollowHost = 3,
};

// What the editor answers for a setting, given the host's knob mode (IEditController2).
int32_t answerKnobMode(int32 setting, int32 hostKnobMode);

class VST3EditorKa : public VSTGUI::VST3Editor
{
public:
    static constexpr int32 kIdleRateMs = 50;

    VST3EditorKa(EditController* controller, VSTGUI::UTF8StringPtr templateName,
                 VSTGUI::UTF8StringPtr xmlFile);

    // Binds the DSP object (not owned) and keeps a copy of its control list for id lookups.
    void setPlugIn(CPlugIn* plugIn);
    // Applies the DSP object's dependent controls of one control's new plain value.
    void updateDependentControls(uint32 controlId, float plainValue);
    // Position of the first control with that id in the editor's copy of the list, or -1.
    int32 findControlIndex(uint32 controlId) const;

    void setKnobModeSetting(int32 mode) { m_nKnobMode = mode; }

    // VSTGUIEditorInterface
    int32_t getKnobMode() const override;
    // Size changes of the frame are accepted as they come; the panel has one size.
    bool beforeSizeChange(const VSTGUI::CRect& newSize, const VSTGUI::CRect& oldSize) override;
    // IControlListener
    void valueChanged(VSTGUI::CControl* control) override;

protected:
    ~VST3EditorKa() override;
    // CBaseObject: timer ticks and view re-creations are passed on to the Processor.
    VSTGUI::CMessageResult notify(VSTGUI::CBaseObject* sender, VSTGUI::IdStringPtr message) override;

private:
    // A text edit whose text the parameter cannot parse: the control shows the parameter's
    // value again; false means no edit may follow.
    bool acceptTypedText(VSTGUI::CControl* control, VSTGUI::ParameterChangeListener* listener, float& value);

    CControlList m_ControlList;
    int32 m_nKnobMode = kEditorKnobFollowHost;
    CPlugIn* m_pPlugIn = nullptr;
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
