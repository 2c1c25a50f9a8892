// Texts of any length land in the SDK's fixed fields cut to fit, always terminated.
#include "AdapterFixture.h"

#include "adapter/processor/TextConversion.h"

#include <cstring>

using namespace AdapterTest;

namespace {
size_t length16(const char16* text)
{
    size_t n = 0;
    while (text[n])
        ++n;
    return n;
}
} // namespace

TEST(TextTruncation, Utf8ToUtf16NeverSplitsACharacter)
{
    const struct
    {
        std::string text;
        size_t capacity;
        size_t expectedUnits;
    } cases[] = {
        {std::string(1023, 'x'), 128, 127},
        {"", 128, 0},
        {"abc", 4, 3},
        {"abcd", 4, 3},
        {std::string(126, 'a') + "\xF0\x9F\x98\x80", 128, 126}, // the pair does not fit: dropped
        {std::string(125, 'a') + "\xF0\x9F\x98\x80", 128, 127},
        {std::string(200, 'a').replace(0, 2, "\xC3\xA9"), 128, 127},
    };
    for (const auto& c : cases)
    {
        std::vector<char16> out(c.capacity + 4, 0x7777);
        copyUtf8ToUtf16(c.text.c_str(), out.data(), c.capacity);
        EXPECT_EQ(length16(out.data()), c.expectedUnits) << c.text.size();
        EXPECT_EQ(out[c.capacity], 0x7777) << "wrote past the field";
    }
    char16 out[8];
    copyUtf8ToUtf16("a\xFF"
                    "b",
                    out, 8); // a stray byte becomes the replacement character
    EXPECT_EQ(out[1], 0xFFFD);
    EXPECT_EQ(out[2], u'b');
}

TEST(TextTruncation, ByteFieldsAreCutAndZeroFilled)
{
    char field[8];
    std::memset(field, 'z', sizeof field);
    copyTruncated(field, sizeof field, "0123456789");
    EXPECT_STREQ(field, "0123456");
    copyTruncated(field, sizeof field, "ab");
    EXPECT_EQ(std::string(field, sizeof field), std::string("ab\0\0\0\0\0\0", 8));
}

TEST(TextTruncation, LongControlTextsBecomeFullFields)
{
    const std::string longText(1023, 'q');
    auto* dsp = new FixtureDsp;
    CControlEntry& gain = dsp->addControl(longText.c_str(), 100, kDataFloat, 0.0f, 1.0f, 0.5f);
    CControlEntry::setText(gain.szUnits, longText.c_str());
    CControlEntry& list = dsp->addControl(longText.c_str(), 100, kDataUint, 0.0f, 1.0f, 0.0f);
    CControlEntry::setText(list.szEnumList, longText.c_str());
    dsp->m_ButtonLabels[0] = longText.c_str();
    dsp->m_PresetNames[0] = longText.c_str();
    ProcessorHolder p(dsp);
    ASSERT_EQ(p->initialize(nullptr), kResultOk);

    for (ParamID id : {0u, 1u, static_cast<ParamID>(kParamButton1)})
    {
        ParameterInfo info = {};
        ASSERT_EQ(p->getParameterInfoByTag(id, info), kResultOk);
        EXPECT_EQ(length16(info.title), 127u) << id;
        EXPECT_EQ(toUtf8(info.title), longText.substr(0, 127)) << id;
    }
    ParameterInfo gainInfo = {};
    p->getParameterInfoByTag(0, gainInfo);
    EXPECT_EQ(length16(gainInfo.units), 127u);

    String128 text = {};
    ASSERT_EQ(p->getParamStringByValue(1, 0.0, text), kResultOk);
    EXPECT_EQ(length16(text), 127u);
    ASSERT_EQ(p->getProgramName(kParamFactoryPresets, 0, text), kResultOk);
    EXPECT_EQ(length16(text), 127u);
}
