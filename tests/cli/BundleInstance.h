// The built bundle loaded in the test process through its exports, one initialized instance.
#pragma once

#include "HostInstance.h"
#include "HostModule.h"

#include <string>
#include <vector>

namespace CliTest {

class BundleInstance
{
public:
    // Loads the bundle and creates an initialized instance (check ok()).
    BundleInstance();

    bool ok() const { return ready; }
    const Steinberg::TUID& classId() const { return cid; }
    TessalineHost::HostModule& module() { return hostModule; }
    TessalineHost::HostInstance& instance() { return hostInstance; }
    Steinberg::Vst::IEditController& controller() { return *hostInstance.getController(); }

    // Selects a factory preset by list position through the "Factory Presets" parameter.
    bool selectPreset(int position);

    // Every parameter's id, title and current normalized value, in the host's order.
    struct Value
    {
        Steinberg::Vst::ParamID id;
        std::string title;
        Steinberg::Vst::ParamValue normalized;
        bool isList;
    };
    std::vector<Value> values();

    // How the controller displays a normalized value of a parameter.
    std::string display(Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue normalized);

private:
    TessalineHost::HostModule hostModule; // outlives the instance
    TessalineHost::HostInstance hostInstance;
    Steinberg::TUID cid = {};
    bool ready = false;
};

} // namespace CliTest
