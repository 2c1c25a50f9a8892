// Binding the room bank's component tables to stages by source position.
#include "support/StageFixtures.h"
#include "room/ResponseBank.h"

#include <gtest/gtest.h>

namespace {

using namespace enginetest;
using Component = CPartitionedConvolver::Component;

struct Bound
{
    const double* fb;
    const double* lr;
    const double* cf;
};

Bound boundTables(CPartitionedConvolver& stage)
{
    return {stage.component(Component::kFB).m_pData, stage.component(Component::kLR).m_pData,
            stage.component(Component::kCF).m_pData};
}

void expectPosition(CPartitionedConvolver& stage, int p)
{
    const Bound b = boundTables(stage);
    EXPECT_EQ(b.fb, roomResponseTable(32 - 3 * p)) << p;
    EXPECT_EQ(b.lr, roomResponseTable(31 - 3 * p)) << p;
    EXPECT_EQ(b.cf, roomResponseTable(30 - 3 * p)) << p;
}

TEST(PositionLoading, EveryPositionBindsItsThreeTablesForBothEars)
{
    CPartitionedConvolver left(roomResponseBank(), 0, 44100, 0, kResponseLength, kEarlyLength,
                               kEarlyPartition, 0);
    CPartitionedConvolver right(roomResponseBank(), 0, 44100, 1, kResponseLength, kEarlyLength,
                                kEarlyPartition, 0);
    expectPosition(left, 0); // the constructor binds its position
    for (int p = 0; p < 11; ++p)
    {
        left.loadPosition(p, 44100);
        right.reloadPosition(p, 48000);
        expectPosition(left, p);
        expectPosition(right, p);
        EXPECT_EQ(left.component(Component::kFB).m_nLength, kResponseLength);
    }
}

TEST(PositionLoading, OutOfRangePositions)
{
    CPartitionedConvolver stage(roomResponseBank(), 7, 44100, 0, kResponseLength, kEarlyLength,
                                kEarlyPartition, 0);
    expectPosition(stage, 7);
    for (int p : {-1, 33, -1000})
    {
        stage.loadPosition(4, 44100);
        stage.loadPosition(p, 44100);
        expectPosition(stage, 0);
    }
    // 11 … 32 keep whatever was bound.
    for (int p : {11, 20, 32})
    {
        stage.loadPosition(9, 44100);
        stage.loadPosition(p, 44100);
        expectPosition(stage, 9);
    }
}

TEST(PositionLoading, ReselectingAPositionKeepsTheResponse)
{
    CPartitionedConvolver stage(roomResponseBank(), 3, 44100, 1, kResponseLength, kLateLength, kLatePartition,
                                kLateStart);
    stage.setAllDecays(7.0, 7.0, 7.0, 44100, 1);
    stage.setVolumes(1.0, 1.0, 1.0);
    std::vector<double> first(kResponseLength), second(kResponseLength);
    stage.shapedResponse(0, kResponseLength, first.data());
    stage.loadPosition(3, 44100);
    stage.shapedResponse(0, kResponseLength, second.data());
    EXPECT_EQ(first, second);
}

TEST(PositionLoading, BindComponentRejectsUnknownTables)
{
    CComponentIR component{kResponseLength, nullptr};
    bindComponent(component, roomResponseBank(), 5);
    EXPECT_EQ(component.m_pData, roomResponseTable(5));
    for (int k : {-1, 33})
    {
        bindComponent(component, roomResponseBank(), k);
        EXPECT_EQ(component.m_pData, nullptr);
    }
}

} // namespace
