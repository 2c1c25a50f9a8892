// Binds the controls of one tag to the edit controller's parameter with that id, both ways:
// user gestures become beginEdit/performEdit/endEdit on the controller, parameter changes
// (automation, host edits) move every bound control.
#pragma once

#include "../lib/vstguifwd.h"

#include "base/source/fobject.h"
#include "pluginterfaces/vst/vsttypes.h"

#include <atomic>
#include <thread>
#include <vector>

namespace Steinberg {
namespace Vst {
class EditController;
class Parameter;
} // namespace Vst
} // namespace Steinberg

namespace VSTGUI {

class ParameterChangeListener : public Steinberg::FObject
{
public:
    ParameterChangeListener(Steinberg::Vst::EditController* editController,
                            Steinberg::Vst::Parameter* parameter, CControl* control);
    ~ParameterChangeListener() override;

    void addControl(CControl* control);
    void removeControl(CControl* control);
    bool containsControl(CControl* control) const;
    const std::vector<CControl*>& getControls() const { return controls; }

    // Gesture on the parameter (nested gestures reach the controller once).
    void beginEdit();
    void endEdit();
    // Sets the parameter to a normalized value, tells the host and moves every control.
    void performEdit(Steinberg::Vst::ParamValue value);
    // Moves every control to the parameter's current value.
    void updateControls();

    Steinberg::Vst::Parameter* getParameter() const { return parameter; }
    Steinberg::Vst::ParamID getParameterID() const;

    // Applies a change that arrived from another thread (called on the editor's timer).
    void idle();

    // The parameter changed (IDependent). Changes from the user-interface thread move the
    // controls at once; changes from any other thread (some hosts automate from their audio or
    // sequencer threads) are applied on the next idle, never touching views off that thread.
    void PLUGIN_API update(Steinberg::FUnknown* changedUnknown, Steinberg::int32 message) override;

    OBJ_METHODS(ParameterChangeListener, FObject)

protected:
    void updateControlValue(Steinberg::Vst::ParamValue value);
    void setupControl(CControl* control);
    // The control's value as the parameter's normalized value.
    Steinberg::Vst::ParamValue controlToNormalized(CControl* control) const;

    Steinberg::Vst::EditController* editController;
    Steinberg::Vst::Parameter* parameter;
    std::vector<CControl*> controls;
    int32_t editCount{0};
    std::thread::id uiThread;
    std::atomic<bool> pendingUpdate{false};
};

} // namespace VSTGUI
