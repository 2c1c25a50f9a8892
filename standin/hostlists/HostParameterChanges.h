// The host's list of parameter queues for one block (IParameterChanges), used for the input
// changes a host sends and for the output changes (meters) a plug-in reports.
//
// All queues and their points are allocated at construction: clear() and adding changes never
// allocate. Owned by the caller; addRef/release only count.
#pragma once

#include "HostParamValueQueue.h"

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <memory>
#include <vector>

namespace TessalineHost {

class HostParameterChanges : public Steinberg::Vst::IParameterChanges
{
public:
    explicit HostParameterChanges(Steinberg::int32 maxQueues = 64, Steinberg::int32 pointsPerQueue = 64);
    virtual ~HostParameterChanges() = default;
    HostParameterChanges(const HostParameterChanges&) = delete;
    HostParameterChanges& operator=(const HostParameterChanges&) = delete;
    // For resizing a list no process call uses at the time (its queues move along).
    HostParameterChanges(HostParameterChanges&&) = default;
    HostParameterChanges& operator=(HostParameterChanges&&) = default;

    // Removes all queues (their storage stays reserved).
    void clear() { used = 0; }

    // Adds one point to the queue of id, creating the queue when it is new; false when no room.
    bool addChange(Steinberg::Vst::ParamID id, Steinberg::int32 sampleOffset,
                   Steinberg::Vst::ParamValue value);

    // Appends a new empty queue even when one for id exists (for malformed input); null when full.
    HostParamValueQueue* appendQueue(Steinberg::Vst::ParamID id);

    // The queue of id, or null.
    HostParamValueQueue* find(Steinberg::Vst::ParamID id);
    // The queue at index, or null.
    HostParamValueQueue* queue(Steinberg::int32 index);

    Steinberg::int32 maxQueues() const { return static_cast<Steinberg::int32>(queues.size()); }

    //--- IParameterChanges
    Steinberg::int32 PLUGIN_API getParameterCount() override { return used; }
    // Null for an index outside the list.
    Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override;
    // The existing queue of id or a new one; null (index -1) when the list is full.
    Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID& id,
                                                                  Steinberg::int32& index) override;

    //--- FUnknown
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return ++refs; }
    Steinberg::uint32 PLUGIN_API release() override { return refs > 1 ? --refs : 1; }

private:
    // Index of the live queue of id, or -1.
    Steinberg::int32 indexOf(Steinberg::Vst::ParamID id) const;

    std::vector<std::unique_ptr<HostParamValueQueue>> queues; // fixed; the first `used` are live
    Steinberg::int32 used = 0;
    Steinberg::uint32 refs = 1;
};

} // namespace TessalineHost
