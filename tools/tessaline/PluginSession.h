// The bundle loaded and one instance of its effect class driven through the VST3 interfaces,
// in the order a host uses: create and initialize, edit parameters, set up buses and processing,
// activate, process blocks, deactivate.
#pragma once

#include "ParameterEdit.h"

#include "HostInstance.h"
#include "HostModule.h"
#include "HostParameterChanges.h"

#include <string>
#include <vector>

namespace TessalineTool {

class PluginSession
{
public:
    PluginSession() = default;
    // Destroys the instance and unloads the module, one session at a time (see open()).
    ~PluginSession();
    PluginSession(const PluginSession&) = delete;
    PluginSession& operator=(const PluginSession&) = delete;

    // Loads the bundle and creates an initialized instance of its audio effect class. Sessions
    // may live on several threads: loading, creating and destroying are serialised, since a
    // module's entry, exit and factory are not made for concurrent calls.
    // A className opens that class of the bundle instead of its first effect class.
    bool open(const std::string& bundlePath, std::string& error, const char* className = nullptr);

    const TessalineHost::HostModule& loadedModule() const { return module; }
    Steinberg::Vst::IEditController& controller() { return *instance.getController(); }
    Steinberg::Vst::IUnitInfo* unitInfo() { return instance.getUnitInfo(); }
    std::vector<TessalinePresets::FactoryPreset> presets()
    {
        return TessalinePresets::factoryPresets(instance);
    }

    // Applies edits through the controller now, as a host does for values set before playback;
    // they also go to the processor with the first process call.
    void edit(const std::vector<ParameterEdit>& edits);

    // Mono or stereo buses, processing at sampleRate in blocks of up to maxBlockSize, then
    // activation. False with a message when the plug-in refuses.
    bool start(int channels, double sampleRate, Steinberg::int32 maxBlockSize, std::string& error);

    // The reverb's tail in samples at the set-up rate (after start()); kInfiniteTail when endless.
    Steinberg::uint32 tailSamples() const;

    // One block: the buffers' inputs in, their outputs filled. False when the plug-in fails.
    bool process(TessalineHost::HostAudioBuffers& buffers, Steinberg::int32 numSamples);

private:
    TessalineHost::HostModule module; // outlives the instance (declared first)
    TessalineHost::HostInstance instance;
    TessalineHost::HostParameterChanges changes;
    std::vector<ParameterEdit> pendingEdits; // for the first process call
};

} // namespace TessalineTool
