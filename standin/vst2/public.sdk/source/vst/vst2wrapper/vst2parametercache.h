// The VST2 host's view of the parameters: index k is the controller's k-th parameter of those it
// offers (see build). Holds the current normalized value of each, and remembers per parameter
// whether the processor and the controller have still to learn it. Setting and taking are
// lock-free, so host calls from any thread, the audio thread and the main thread can meet here.
#pragma once

#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <atomic>
#include <memory>
#include <utility>
#include <vector>

namespace Steinberg {
namespace Vst {

class Vst2ParameterCache
{
public:
    // [main thread] Reads ids, flags and values from the controller; nothing is pending after it.
    // A parameter with any flag of leaveOut is not offered to the host (later ones move up).
    void build(IEditController& controller, int32 leaveOut = 0);
    // [main thread] Re-reads every value from the controller (after a program or state change);
    // pending flags stay as they were.
    void reload(IEditController& controller);

    int32 count() const { return static_cast<int32>(ids.size()); }
    bool isValid(int32 index) const { return index >= 0 && index < count(); }
    ParamID id(int32 index) const { return ids[static_cast<size_t>(index)]; }
    int32 flags(int32 index) const { return infoFlags[static_cast<size_t>(index)]; }
    // Index of parameter id, or -1. Allocation-free (binary search).
    int32 indexOf(ParamID id) const;
    // Index of the first parameter with every bit of flagMask set, or -1.
    int32 findFlag(int32 flagMask) const;

    double value(int32 index) const;
    // Stores value (clamped to 0 .. 1, a stepped one's to its nearest step, NaN refused) and marks it
    // for the processor and/or the controller.
    void set(int32 index, double value, bool toProcessor, bool toController);

    // [audio thread] Adds every value the processor has not seen at offset 0.
    void takeProcessorChanges(IParameterChanges& changes);
    // [main thread] Hands every value the controller has not seen to setParamNormalized.
    void giveControllerChanges(IEditController& controller);

private:
    std::vector<ParamID> ids;
    std::vector<int32> infoFlags;
    std::vector<int32> stepCounts;
    std::vector<std::pair<ParamID, int32>> sortedIds;
    std::unique_ptr<std::atomic<double>[]> values;
    std::unique_ptr<std::atomic<bool>[]> processorPending;
    std::unique_ptr<std::atomic<bool>[]> controllerPending;
};

} // namespace Vst
} // namespace Steinberg
