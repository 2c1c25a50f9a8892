// The ordered list of a DSP object's controls; a control's position is its host parameter id.
#pragma once

#include "CControlEntry.h"

#include <cstdint>
#include <memory>
#include <vector>

class CControlList
{
public:
    // Copies every field of the record into a new node at the tail; returns the node's record.
    CControlEntry* appendControl(const CControlEntry& record);
    uint32_t controlCount() const;
    // The record at a position, or null past the end.
    CControlEntry* controlAt(uint32_t position) const;
    // Unlinks and frees the first node whose uId equals the record's uId. A control table built
    // over the list must be rebuilt afterwards.
    void removeControl(const CControlEntry& record);
    void clearControls();

private:
    std::vector<std::unique_ptr<CControlEntry>> m_Nodes; // stable addresses, constant-time access
};
