#include "FixturePlugIn.h"
#include "core/CControlList.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

CControlEntry recordWithId(uint32_t id, const char* name)
{
    CControlEntry record;
    record.uId = id;
    CControlEntry::setText(record.szName, name);
    return record;
}

} // namespace

TEST(ControlEntry, SetTextTruncatesLongTextAndTreatsNullAsEmpty)
{
    CControlEntry record;
    const std::string longText(1100, 'x');
    CControlEntry::setText(record.szUnits, longText.c_str());
    EXPECT_EQ(std::strlen(record.szUnits), 1023u);
    EXPECT_EQ(std::string(record.szUnits), longText.substr(0, 1023));

    const std::string exact(1023, 'y');
    CControlEntry::setText(record.szUnits, exact.c_str());
    EXPECT_EQ(std::string(record.szUnits), exact);

    CControlEntry::setText(record.szUnits, nullptr);
    EXPECT_STREQ(record.szUnits, "");
}

TEST(ControlList, AppendCopiesEveryFieldIntoItsOwnNode)
{
    CControlList list;
    CControlEntry record = recordWithId(7, "Gain");
    CControlEntry::setText(record.szEnumList, "A,B");
    record.dPresetValues[15] = 0.25;
    float bound = 0.0f;
    record.pFloatVar = &bound;

    CControlEntry* node = list.appendControl(record);
    CControlEntry::setText(record.szName, "Changed afterwards");
    record.uId = 99;

    ASSERT_NE(node, &record);
    EXPECT_STREQ(node->szName, "Gain");
    EXPECT_STREQ(node->szEnumList, "A,B");
    EXPECT_EQ(node->uId, 7u);
    EXPECT_EQ(node->dPresetValues[15], 0.25);
    EXPECT_EQ(node->pFloatVar, &bound);
}

TEST(ControlList, AppendTerminatesAFieldFilledToTheBrim)
{
    CControlEntry record;
    std::memset(record.szSpare, 'z', sizeof record.szSpare); // no terminator at all
    CControlList list;
    CControlEntry* node = list.appendControl(record);
    EXPECT_EQ(std::strlen(node->szSpare), 1023u);
}

TEST(ControlList, PositionsFollowAppendOrderAndEndAtTheCount)
{
    CControlList list;
    EXPECT_EQ(list.controlCount(), 0u);
    EXPECT_EQ(list.controlAt(0), nullptr);
    for (uint32_t id : {30u, 10u, 20u})
        list.appendControl(recordWithId(id, "c"));
    ASSERT_EQ(list.controlCount(), 3u);
    EXPECT_EQ(list.controlAt(0)->uId, 30u);
    EXPECT_EQ(list.controlAt(2)->uId, 20u);
    EXPECT_EQ(list.controlAt(3), nullptr);
    EXPECT_EQ(list.controlAt(0xFFFFFFFFu), nullptr);
}

TEST(ControlList, RemoveControlUnlinksTheFirstNodeWithThatId)
{
    CControlList list;
    list.removeControl(recordWithId(1, "none")); // empty list: nothing happens
    EXPECT_EQ(list.controlCount(), 0u);

    list.appendControl(recordWithId(1, "first"));
    list.appendControl(recordWithId(2, "second"));
    list.appendControl(recordWithId(1, "third"));
    CControlEntry* keep = list.controlAt(1);

    list.removeControl(recordWithId(1, "any name"));
    ASSERT_EQ(list.controlCount(), 2u);
    EXPECT_EQ(list.controlAt(0), keep); // surviving nodes keep their addresses
    EXPECT_STREQ(list.controlAt(1)->szName, "third");

    list.removeControl(recordWithId(42, "missing"));
    EXPECT_EQ(list.controlCount(), 2u);

    list.clearControls();
    EXPECT_EQ(list.controlCount(), 0u);
}

TEST(ControlTables, PointAtTheListNodesAndCarryIndexAndId)
{
    FixturePlugIn plugIn;
    ASSERT_EQ(plugIn.m_nControlCount, static_cast<uint32_t>(FixturePlugIn::kCount));
    for (uint32_t p = 0; p < plugIn.m_nControlCount; ++p)
    {
        EXPECT_EQ(plugIn.m_ppControlTable[p], plugIn.m_ControlList.controlAt(p));
        EXPECT_EQ(plugIn.m_pControlValues[p].nIndex, static_cast<int32_t>(p));
        EXPECT_EQ(plugIn.m_pControlValues[p].uId, FixturePlugIn::kIdBase + p);
        EXPECT_FALSE(plugIn.m_pControlValues[p].bUpdated);
    }
    // The two joystick slots exist but hold no control.
    EXPECT_EQ(plugIn.m_ppControlTable[plugIn.m_nControlCount], nullptr);
    EXPECT_EQ(plugIn.m_ppControlTable[plugIn.m_nControlCount + 1], nullptr);
    EXPECT_EQ(plugIn.m_pControlValues[plugIn.m_nControlCount + 1].uId, 0u);
}

TEST(ControlTables, EmptyListBuildsTablesWithOnlyTheJoystickSlots)
{
    CPlugIn plugIn;
    plugIn.buildControlTables();
    EXPECT_EQ(plugIn.m_nControlCount, 0u);
    ASSERT_TRUE(plugIn.m_ppControlTable);
    EXPECT_EQ(plugIn.m_ppControlTable[0], nullptr);
    EXPECT_EQ(plugIn.m_ppControlTable[1], nullptr);
}
