// The embedded bank handed to the convolver stages: its tables and their order by position.
#include "room/ResponseBank.h"

namespace {

class RoomResponseBank final : public IResponseTables
{
public:
    int tableCount() const override { return kTableCount; }
    int positionCount() const override { return kPositionCount; }
    const double* table(int k) const override { return roomResponseTable(k); }
    PositionTables tablesOf(int position) const override
    {
        return {fbTableOf(position), lrTableOf(position), cfTableOf(position)};
    }
};

} // namespace

const IResponseTables& roomResponseBank()
{
    static const RoomResponseBank bank;
    return bank;
}
