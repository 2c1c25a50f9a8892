#include "PluginSession.h"

#include "HostEffect.h"

#include "pluginterfaces/vst/vstspeaker.h"

#include <mutex>

namespace TessalineTool {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {
std::mutex& lifetimeLock()
{
    static std::mutex lock;
    return lock;
}
} // namespace

PluginSession::~PluginSession()
{
    const std::lock_guard<std::mutex> hold(lifetimeLock());
    instance.destroy();
    module.unload();
}

bool PluginSession::open(const std::string& bundlePath, std::string& error, const char* className)
{
    const std::lock_guard<std::mutex> hold(lifetimeLock());
    if (!module.load(bundlePath))
    {
        error = "cannot load the plug-in " + bundlePath + ": " + module.error();
        return false;
    }
    TUID cid = {};
    std::string reason;
    if (!TessalineHost::openEffect(module, instance, cid, reason, className))
    {
        error = bundlePath + ": " + reason;
        return false;
    }
    return true;
}

void PluginSession::edit(const std::vector<ParameterEdit>& edits)
{
    for (const ParameterEdit& e : edits)
    {
        instance.getController()->setParamNormalized(e.id, e.normalized);
        pendingEdits.push_back(e);
    }
}

bool PluginSession::start(int channels, double sampleRate, int32 maxBlockSize, std::string& error)
{
    const SpeakerArrangement arrangement = channels == 1 ? SpeakerArr::kMono : SpeakerArr::kStereo;
    if (instance.setBusArrangement(arrangement) != kResultOk)
    {
        error = std::string("the plug-in does not accept a ") + (channels == 1 ? "mono" : "stereo") + " bus";
        return false;
    }
    if (instance.setupProcessing(sampleRate, maxBlockSize, kOffline) != kResultOk)
    {
        error = "the plug-in refuses to process at " + std::to_string(static_cast<long>(sampleRate))
                + " Hz in blocks of " + std::to_string(maxBlockSize);
        return false;
    }
    if (instance.setActive(true) != kResultOk)
    {
        error = "the plug-in could not be activated";
        return false;
    }
    instance.setProcessing(true); // optional for a plug-in; its answer does not matter
    return true;
}

uint32 PluginSession::tailSamples() const { return instance.getProcessor()->getTailSamples(); }

bool PluginSession::process(TessalineHost::HostAudioBuffers& buffers, int32 numSamples)
{
    changes.clear();
    for (const ParameterEdit& e : pendingEdits)
        changes.addChange(e.id, 0, e.normalized);
    pendingEdits.clear();
    return instance.process(buffers, numSamples, &changes) == kResultOk;
}

} // namespace TessalineTool
