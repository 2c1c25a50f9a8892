#include "TestController.h"

#include "TestAssets.h"

#include "pluginterfaces/base/ustring.h"
#include "public.sdk/source/vst/vstparameters.h"
#include "vstgui/plugin-bindings/vst3padcontroller.h"

using namespace Steinberg;

Steinberg::tresult PLUGIN_API RecordingHandler::beginEdit(Vst::ParamID id)
{
    records.push_back({EditRecord::Begin, id, 0});
    return kResultOk;
}

Steinberg::tresult PLUGIN_API RecordingHandler::performEdit(Vst::ParamID id, Vst::ParamValue v)
{
    records.push_back({EditRecord::Perform, id, v});
    return kResultOk;
}

Steinberg::tresult PLUGIN_API RecordingHandler::endEdit(Vst::ParamID id)
{
    records.push_back({EditRecord::End, id, 0});
    return kResultOk;
}

size_t RecordingHandler::count(EditRecord::Kind kind) const
{
    size_t n = 0;
    for (const auto& r : records)
        n += r.kind == kind;
    return n;
}

namespace {
void title(Vst::String128 out, const char* text) { UString(out, 128).fromAscii(text); }
} // namespace

TestController::TestController()
{
    Vst::String128 name;
    title(name, "Gain");
    parameters.addParameter(name, nullptr, 0, 0.5, Vst::ParameterInfo::kCanAutomate, 0);
    title(name, "Position");
    auto* list = new Vst::StringListParameter(name, 1);
    const char* entries[] = {"Center", "L22", "L45", "L67",  "L90",  "R22",
                             "R45",    "R67", "R90", "Rear", "Above"};
    for (const char* e : entries)
    {
        Vst::String128 entry;
        title(entry, e);
        list->appendString(entry);
    }
    parameters.addParameter(list);
    title(name, "Height");
    parameters.addParameter(name, nullptr, 0, 0.5, Vst::ParameterInfo::kCanAutomate, 5);
    title(name, "Decay");
    parameters.addParameter(name, nullptr, 1, 0, Vst::ParameterInfo::kCanAutomate, 8);
    setComponentHandler(&handler);
}

VSTGUI::VST3Editor* TestController::createEditor(const char* file)
{
    const std::string path = TestAssets::prepare() + "/" + file;
    return new VSTGUI::VST3Editor(this, "Editor", path.c_str());
}

VSTGUI::CView* TestController::createCustomView(VSTGUI::UTF8StringPtr name, const VSTGUI::UIAttributes&,
                                                const VSTGUI::IUIDescription*, VSTGUI::VST3Editor*)
{
    customViewNames.push_back(name);
    return nullptr;
}

VSTGUI::IController* TestController::createSubController(VSTGUI::UTF8StringPtr name,
                                                         const VSTGUI::IUIDescription*,
                                                         VSTGUI::VST3Editor* editor)
{
    if (std::string(name) != "Pad")
        return nullptr;
    return new VSTGUI::PadController(editor, this, getParameterObject(0), getParameterObject(5));
}
