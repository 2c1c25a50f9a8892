// The room panel in an LV2 host: the tovu.uidesc description built with our toolkit into a
// frame embedded in the host's parent window. Its controls are bound to the plug-in's control
// ports by tag (tag k is port k): edits go out through the host's write function (inside a
// touch gesture where the host offers one), and port events come in and reach the controls on
// the next idle. It runs on the host's idle calls only, and never sees the plug-in instance.
#pragma once

#include "lv2/ui/IdleRunLoop.h"
#include "lv2/ui/PanelPorts.h"

#include "vstgui/lib/cframe.h"
#include "vstgui/lib/vstguieditorinterface.h"
#include "vstgui/uidescription/icontroller.h"
#include "vstgui/uidescription/uidescription.h"

#include <lv2/ui/ui.h>

#include <memory>
#include <string>
#include <vector>

namespace TessalineLv2 {

class PanelEditor : public VSTGUI::VSTGUIEditorInterface,
                    public VSTGUI::IController,
                    public VSTGUI::IViewAddedRemovedObserver
{
public:
    struct HostAccess
    {
        LV2UI_Write_Function write = nullptr;
        LV2UI_Controller controller = nullptr;
        const LV2UI_Touch* touch = nullptr;   // optional
        const LV2UI_Resize* resize = nullptr; // optional
    };

    // Null when the description cannot be read or the frame cannot open in `parent`.
    static std::unique_ptr<PanelEditor> open(const std::string& resourceFolder, void* parent,
                                             const HostAccess& host);
    ~PanelEditor() override;
    PanelEditor(const PanelEditor&) = delete;
    PanelEditor& operator=(const PanelEditor&) = delete;

    uintptr_t window() const;
    // [host] A port's value changed; shown on the next idle.
    void portEvent(uint32_t port, float value);
    // [host] Runs the panel: window events, repaints, port values that came in.
    int idle();

    // IController / IControlListener
    void valueChanged(VSTGUI::CControl* control) override;
    void controlBeginEdit(VSTGUI::CControl* control) override;
    void controlEndEdit(VSTGUI::CControl* control) override;
    // VSTGUIEditorInterface: knobs move in a straight line, as in the VST3 panel.
    int32_t getKnobMode() const override { return VSTGUI::kLinearMode; }
    // IViewAddedRemovedObserver
    void onViewAdded(VSTGUI::CFrame* frame, VSTGUI::CView* view) override;
    void onViewRemoved(VSTGUI::CFrame* frame, VSTGUI::CView* view) override;

private:
    explicit PanelEditor(const HostAccess& host);
    void showPort(uint32_t port);
    void touch(uint32_t port, bool grabbed);

    HostAccess m_Host;
    IdleRunLoop m_RunLoop;
    VSTGUI::UIDescription* m_pDescription = nullptr;
    std::vector<float> m_PortValues;
    std::vector<float> m_Pending; // NaN: nothing came in
    std::vector<int> m_Gestures;  // open edit gestures per port
    std::vector<std::vector<VSTGUI::CControl*>> m_Bound;
};

} // namespace TessalineLv2
