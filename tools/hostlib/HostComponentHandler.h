// A recording component handler: the host side of a plug-in's edit notifications
// (beginEdit/performEdit/endEdit/restartComponent). Tests read the counts and the edits.
//
// Reference counted: create with new (count 1) and hold it in an IPtr; the plug-in keeps its own
// reference while the handler is installed.
#pragma once

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <atomic>
#include <vector>

namespace TessalineHost {

class HostComponentHandler : public Steinberg::Vst::IComponentHandler
{
public:
    struct Edit
    {
        Steinberg::Vst::ParamID id;
        Steinberg::Vst::ParamValue value;
    };

    HostComponentHandler() = default;
    virtual ~HostComponentHandler() = default;

    // Forgets everything recorded so far.
    void reset();

    int beginEditCount = 0;
    int performEditCount = 0;
    int endEditCount = 0;
    int restartCount = 0;
    Steinberg::int32 lastRestartFlags = 0;
    Steinberg::int32 allRestartFlags = 0; // every restart flag seen, or-ed together
    std::vector<Edit> edits;              // every performEdit, in call order

    //--- IComponentHandler
    Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) override;
    Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id,
                                              Steinberg::Vst::ParamValue valueNormalized) override;
    Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) override;
    Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) override;

    //--- FUnknown
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override;
    Steinberg::uint32 PLUGIN_API release() override;

private:
    std::atomic<Steinberg::uint32> refs{1};
};

} // namespace TessalineHost
