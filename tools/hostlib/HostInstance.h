// One plug-in instance driven the way a host drives it: created by class id through a factory,
// its interfaces queried, initialized with a HostApplication context and a recording component
// handler, set up for 32-bit processing, activated and processed.
//
// Destruction (or destroy()) deactivates, terminates and releases in the host's order.
// Lifecycle calls happen on the thread that owns the object (the tests' main thread).
#pragma once

#include "HostAudioBuffers.h"
#include "HostComponentHandler.h"

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/ivstmidicontrollers.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <memory>

namespace Steinberg {
namespace Vst {
class HostApplication;
}
} // namespace Steinberg

namespace TessalineHost {

class HostInstance
{
public:
    HostInstance();
    ~HostInstance();
    HostInstance(const HostInstance&) = delete;
    HostInstance& operator=(const HostInstance&) = delete;

    // Creates class cid (asking for IComponent) and queries the other interfaces; an instance
    // already held is destroyed first. False when the factory creates nothing.
    bool create(Steinberg::IPluginFactory* factory, const Steinberg::TUID cid);
    // Deactivates and terminates as needed, then releases every interface.
    void destroy();

    // IPluginBase::initialize with a HostApplication; on success installs handler() with
    // IEditController::setComponentHandler.
    Steinberg::tresult initialize();
    // Detaches the handler and calls IPluginBase::terminate.
    Steinberg::tresult terminate();

    // setupProcessing with 32-bit samples (unless told otherwise), the given rate and block size.
    Steinberg::tresult setupProcessing(double sampleRate, Steinberg::int32 maxBlockSize,
                                       Steinberg::int32 processMode = Steinberg::Vst::kRealtime,
                                       Steinberg::int32 sampleSize = Steinberg::Vst::kSample32);
    // One input and one output bus with the same arrangement.
    Steinberg::tresult setBusArrangement(Steinberg::Vst::SpeakerArrangement arrangement);
    Steinberg::tresult setActive(bool state);
    Steinberg::tresult setProcessing(bool state);

    // IAudioProcessor::process on a prepared record.
    Steinberg::tresult process(Steinberg::Vst::ProcessData& data);
    // Processes numSamples of buffers with the given (optional) changes and events; the pointers
    // are attached to the buffers' record for this call only.
    Steinberg::tresult process(HostAudioBuffers& buffers, Steinberg::int32 numSamples,
                               Steinberg::Vst::IParameterChanges* inputChanges = nullptr,
                               Steinberg::Vst::IEventList* events = nullptr,
                               Steinberg::Vst::IParameterChanges* outputChanges = nullptr);

    bool isCreated() const { return component != nullptr; }
    bool isActive() const { return active; }

    // Interfaces of the instance (null when it does not offer one); no reference for the caller.
    Steinberg::Vst::IComponent* getComponent() const { return component; }
    Steinberg::Vst::IAudioProcessor* getProcessor() const { return processor; }
    Steinberg::Vst::IEditController* getController() const { return controller; }
    Steinberg::Vst::IUnitInfo* getUnitInfo() const { return unitInfo; }
    Steinberg::Vst::IMidiMapping* getMidiMapping() const { return midiMapping; }
    Steinberg::Vst::IConnectionPoint* getConnectionPoint() const { return connectionPoint; }

    HostComponentHandler& handler() { return *componentHandler; }
    Steinberg::FUnknown* hostContext() const;

private:
    Steinberg::IPtr<Steinberg::Vst::IComponent> component;
    Steinberg::IPtr<Steinberg::Vst::IAudioProcessor> processor;
    Steinberg::IPtr<Steinberg::Vst::IEditController> controller;
    Steinberg::IPtr<Steinberg::Vst::IUnitInfo> unitInfo;
    Steinberg::IPtr<Steinberg::Vst::IMidiMapping> midiMapping;
    Steinberg::IPtr<Steinberg::Vst::IConnectionPoint> connectionPoint;
    // The SDK's host application does not count references; it lives as long as this object.
    std::unique_ptr<Steinberg::Vst::HostApplication> hostApplication;
    Steinberg::IPtr<HostComponentHandler> componentHandler;
    bool initialized = false;
    bool active = false;
};

} // namespace TessalineHost
