// Items of a comma-separated choice list.
#include "adapter/processor/Processor.h"

#include <gtest/gtest.h>

using Steinberg::Vst::Vava2DUZ3::Processor;

TEST(EnumItems, ItemsInTextOrderWithSwitchWordsShortened)
{
    const struct
    {
        const char* text;
        int k;
        const char* item; // null: no such item
    } cases[] = {
        {"Center,L22,L32", 0, "Center"},
        {"Center,L22,L32", 2, "L32"},
        {"Center,L22,L32", 3, nullptr},
        {"SWITCH_OFF,SWITCH_ON", 0, "OFF"},
        {"SWITCH_OFF,SWITCH_ON", 1, "ON"},
        {"SWITCH_ONX,xSWITCH_OFF", 0, "SWITCH_ONX"}, // only exact words are shortened
        {"SWITCH_ONX,xSWITCH_OFF", 1, "xSWITCH_OFF"},
        {"Stereo, Mono", 1, " Mono"}, // items are not trimmed
        {"a,,b", 1, ""},
        {"a,", 1, ""},
        {"", 0, ""}, // an empty text has one empty item
        {"", 1, nullptr},
        {"Left", -1, nullptr},
        {nullptr, 0, ""},
    };
    for (const auto& c : cases)
    {
        const auto item = Processor::getEnumItem(c.text, c.k);
        const std::string label = std::string(c.text ? c.text : "(null)") + " #" + std::to_string(c.k);
        if (!c.item)
            EXPECT_FALSE(item.has_value()) << label;
        else
        {
            ASSERT_TRUE(item.has_value()) << label;
            EXPECT_EQ(*item, c.item) << label;
        }
    }
}
