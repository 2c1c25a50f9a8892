// Host-side parameter changes for one process call: ParameterChanges holds one queue per changed
// parameter, ParameterValueQueue the points of one parameter.
//
// Same class names and header path as the VST3 SDK's hosting classes, which the Debian SDK subset
// does not ship. Unlike those, every list here is sized once by the constructor (on the main
// thread) and never grows, so filling and clearing them on the audio thread allocates nothing:
// addParameterData refuses a parameter beyond the capacity, and a point beyond a queue's capacity
// replaces the queue's last point (the latest value is what a block must end with).
#pragma once

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <vector>

namespace Steinberg {
namespace Vst {

class ParameterValueQueue : public IParamValueQueue
{
public:
    explicit ParameterValueQueue(ParamID paramID = 0, int32 maxPoints = 16);
    virtual ~ParameterValueQueue() = default;

    // Reuse for another parameter: the points are dropped, the capacity kept.
    void setParamID(ParamID pid) { paramID = pid; }
    void clear() { count = 0; }

    ParamID PLUGIN_API getParameterId() SMTG_OVERRIDE { return paramID; }
    int32 PLUGIN_API getPointCount() SMTG_OVERRIDE { return count; }
    tresult PLUGIN_API getPoint(int32 index, int32& sampleOffset, ParamValue& value) SMTG_OVERRIDE;
    // Points are kept in offset order: a point at an earlier offset than the last one is moved to
    // the last one's offset.
    tresult PLUGIN_API addPoint(int32 sampleOffset, ParamValue value, int32& index) SMTG_OVERRIDE;

    // Not reference counted: the owning ParameterChanges holds its queues by value.
    tresult PLUGIN_API queryInterface(const TUID _iid, void** obj) SMTG_OVERRIDE;
    uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1; }
    uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1; }

private:
    struct Point
    {
        int32 sampleOffset;
        ParamValue value;
    };
    ParamID paramID;
    std::vector<Point> points;
    int32 count = 0;
};

class ParameterChanges : public IParameterChanges
{
public:
    explicit ParameterChanges(int32 maxParameters = 0, int32 maxPointsPerParameter = 16);
    virtual ~ParameterChanges() = default;

    // Drops every queue; the capacity stays.
    void clearQueue() { usedQueues = 0; }

    int32 PLUGIN_API getParameterCount() SMTG_OVERRIDE { return usedQueues; }
    IParamValueQueue* PLUGIN_API getParameterData(int32 index) SMTG_OVERRIDE;
    // The queue already holding id, else the next free one; null when all are taken.
    IParamValueQueue* PLUGIN_API addParameterData(const ParamID& pid, int32& index) SMTG_OVERRIDE;

    // Not reference counted: its owner (a host object) keeps it for as long as it is used.
    tresult PLUGIN_API queryInterface(const TUID _iid, void** obj) SMTG_OVERRIDE;
    uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1; }
    uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1; }

private:
    std::vector<ParameterValueQueue> queues;
    int32 usedQueues = 0;
};

} // namespace Vst
} // namespace Steinberg
