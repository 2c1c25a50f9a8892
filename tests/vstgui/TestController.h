#pragma once
// An edit controller with the parameters the test description binds (0 "Gain" continuous,
// 1 "Position" eleven entries, 5 "Height" continuous, 8 "Decay" a switch), implementing the editor delegate,
// with a component handler that records every gesture and edit the editor sends.

#include "vstgui/plugin-bindings/vst3editor.h"

#include "public.sdk/source/vst/vsteditcontroller.h"

#include <string>
#include <vector>

struct EditRecord
{
    enum Kind
    {
        Begin,
        Perform,
        End
    } kind;
    Steinberg::Vst::ParamID id;
    double value;
};

class RecordingHandler : public Steinberg::Vst::IComponentHandler
{
public:
    Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) override;
    Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id,
                                              Steinberg::Vst::ParamValue v) override;
    Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) override;
    Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32) override { return Steinberg::kResultOk; }
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID, void** obj) override
    {
        *obj = nullptr;
        return Steinberg::kNoInterface;
    }
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

    std::vector<EditRecord> records;
    size_t count(EditRecord::Kind kind) const;
};

class TestController : public Steinberg::Vst::EditController, public VSTGUI::VST3EditorDelegate
{
public:
    TestController();

    // The editor on a test description (in the assets folder).
    VSTGUI::VST3Editor* createEditor(const char* file = "test.uidesc");

    void didOpen(VSTGUI::VST3Editor*) override { ++opened; }
    void willClose(VSTGUI::VST3Editor*) override { ++closed; }
    VSTGUI::CView* createCustomView(VSTGUI::UTF8StringPtr name, const VSTGUI::UIAttributes&,
                                    const VSTGUI::IUIDescription*, VSTGUI::VST3Editor*) override;
    // "Pad" binds an XY pad to parameters 0 (x) and 5 (y).
    VSTGUI::IController* createSubController(VSTGUI::UTF8StringPtr name, const VSTGUI::IUIDescription*,
                                             VSTGUI::VST3Editor* editor) override;

    RecordingHandler handler;
    int opened{0};
    int closed{0};
    std::vector<std::string> customViewNames;
};
