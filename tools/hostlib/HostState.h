// Saving and restoring a plug-in's component state through an in-memory byte stream (the SDK's
// MemoryStream), the way a host stores it in a project.
#pragma once

#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <cstdint>
#include <vector>

namespace TessalineHost {

// IComponent::getState into bytes (replaced, also on failure); returns the plug-in's result.
Steinberg::tresult saveComponentState(Steinberg::Vst::IComponent* component,
                                      std::vector<std::uint8_t>& bytes);

// IComponent::setState from bytes; returns the plug-in's result (kInvalidArgument without one).
Steinberg::tresult loadComponentState(Steinberg::Vst::IComponent* component,
                                      const std::vector<std::uint8_t>& bytes);

// IEditController::setComponentState from bytes (the controller's copy of the component state).
Steinberg::tresult loadControllerState(Steinberg::Vst::IEditController* controller,
                                       const std::vector<std::uint8_t>& bytes);

} // namespace TessalineHost
