// The host's queue of one parameter's value changes within a block (IParamValueQueue).
//
// Storage for `capacity` points is reserved at construction; adding points never allocates, so a
// process call fed by these queues can be checked for allocations. The object is owned by its
// HostParameterChanges; addRef/release only count and never delete it.
#pragma once

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <vector>

namespace TessalineHost {

class HostParamValueQueue : public Steinberg::Vst::IParamValueQueue
{
public:
    explicit HostParamValueQueue(Steinberg::int32 capacity);
    virtual ~HostParamValueQueue() = default;
    HostParamValueQueue(const HostParamValueQueue&) = delete;
    HostParamValueQueue& operator=(const HostParamValueQueue&) = delete;

    // Empties the queue and gives it a parameter id.
    void reset(Steinberg::Vst::ParamID id);
    Steinberg::int32 capacity() const { return static_cast<Steinberg::int32>(points.size()); }

    // Appends a point as given, out of order or at a repeated offset, to drive a plug-in with
    // malformed queues; false when the queue is full.
    bool appendPoint(Steinberg::int32 sampleOffset, Steinberg::Vst::ParamValue value);

    // Adds a value that must be the queue's last, as a host turning a stream of values into
    // points needs (the VST2 wrapper): a point earlier than the last one moves to the last one's
    // offset, and a full queue's last point gives way to it (the latest value is what a block
    // must end with). Nothing is added to a queue without room for any point.
    void addLatestPoint(Steinberg::int32 sampleOffset, Steinberg::Vst::ParamValue value);

    //--- IParamValueQueue
    Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return paramId; }
    Steinberg::int32 PLUGIN_API getPointCount() override { return count; }
    // kInvalidArgument for an index outside the queue.
    Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& sampleOffset,
                                           Steinberg::Vst::ParamValue& value) override;
    // Keeps the points ordered by offset; a point at an existing offset replaces its value.
    // kOutOfMemory (index -1) when a new point does not fit.
    Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32 sampleOffset, Steinberg::Vst::ParamValue value,
                                           Steinberg::int32& index) override;

    //--- FUnknown
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return ++refs; }
    Steinberg::uint32 PLUGIN_API release() override { return refs > 1 ? --refs : 1; }

private:
    struct Point
    {
        Steinberg::int32 offset;
        Steinberg::Vst::ParamValue value;
    };

    std::vector<Point> points; // fixed size; the first `count` entries are in use
    Steinberg::int32 count = 0;
    Steinberg::Vst::ParamID paramId = 0;
    Steinberg::uint32 refs = 1;
};

} // namespace TessalineHost
