#include "CControlList.h"

#include <algorithm>

CControlEntry* CControlList::appendControl(const CControlEntry& record)
{
    auto node = std::make_unique<CControlEntry>(record);
    // The texts are fixed fields, so the copy already owns them; re-terminate each in case the
    // caller filled a field to the brim without a terminator.
    for (CControlEntry::Text* text :
         {&node->szName, &node->szUnits, &node->szVariable, &node->szEnumList, &node->szSpare})
        (*text)[kControlTextCapacity - 1] = '\0';
    m_Nodes.push_back(std::move(node));
    return m_Nodes.back().get();
}

uint32_t CControlList::controlCount() const { return static_cast<uint32_t>(m_Nodes.size()); }

CControlEntry* CControlList::controlAt(uint32_t position) const
{
    return position < m_Nodes.size() ? m_Nodes[position].get() : nullptr;
}

void CControlList::removeControl(const CControlEntry& record)
{
    // Compare by id, not by address: the caller may hold a copy of the record.
    const uint32_t id = record.uId;
    auto it = std::find_if(m_Nodes.begin(), m_Nodes.end(),
                           [id](const std::unique_ptr<CControlEntry>& node) { return node->uId == id; });
    if (it != m_Nodes.end())
        m_Nodes.erase(it);
}

void CControlList::clearControls() { m_Nodes.clear(); }
