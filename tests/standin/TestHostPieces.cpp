// Host library pieces with logic of their own: parameter queues and lists, the event list, audio
// buffers and the UTF-16 helpers.
#include "HostAudioBuffers.h"
#include "HostEventList.h"
#include "HostParameterChanges.h"
#include "HostParamValueQueue.h"
#include "HostStrings.h"

#include <gtest/gtest.h>

using namespace Steinberg;
using namespace TessalineHost;

namespace {

std::vector<std::pair<int32, double>> pointsOf(Vst::IParamValueQueue& q)
{
    std::vector<std::pair<int32, double>> out;
    for (int32 i = 0; i < q.getPointCount(); ++i)
    {
        int32 offset = 0;
        Vst::ParamValue value = 0;
        EXPECT_EQ(q.getPoint(i, offset, value), kResultOk);
        out.emplace_back(offset, value);
    }
    return out;
}

TEST(HostParamValueQueueTest, AddPointKeepsOffsetOrderAndReplacesSameOffset)
{
    HostParamValueQueue q(4);
    q.reset(7);
    int32 index = -2;
    EXPECT_EQ(q.addPoint(10, 0.1, index), kResultOk);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(q.addPoint(5, 0.2, index), kResultOk);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(q.addPoint(10, 0.3, index), kResultOk); // replaces, no new point
    EXPECT_EQ(index, 1);
    EXPECT_EQ(q.addPoint(7, 0.4, index), kResultOk);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(q.getParameterId(), 7u);
    EXPECT_EQ(pointsOf(q), (std::vector<std::pair<int32, double>>{{5, 0.2}, {7, 0.4}, {10, 0.3}}));
}

TEST(HostParamValueQueueTest, FullQueueRefusesNewPointsButStillReplaces)
{
    HostParamValueQueue q(2);
    q.reset(1);
    int32 index = 0;
    q.addPoint(0, 0.0, index);
    q.addPoint(8, 0.5, index);
    EXPECT_EQ(q.addPoint(4, 0.9, index), kOutOfMemory);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(q.addPoint(8, 1.0, index), kResultOk);
    EXPECT_FALSE(q.appendPoint(9, 0.0));
    EXPECT_EQ(pointsOf(q), (std::vector<std::pair<int32, double>>{{0, 0.0}, {8, 1.0}}));

    int32 offset = 0;
    Vst::ParamValue value = 0;
    EXPECT_EQ(q.getPoint(-1, offset, value), kInvalidArgument);
    EXPECT_EQ(q.getPoint(2, offset, value), kInvalidArgument);

    q.reset(3);
    EXPECT_EQ(q.getPointCount(), 0);
    EXPECT_EQ(q.getParameterId(), 3u);
}

TEST(HostParamValueQueueTest, AppendPointKeepsMalformedOrder)
{
    HostParamValueQueue q(4);
    q.reset(1);
    EXPECT_TRUE(q.appendPoint(10, 0.5));
    EXPECT_TRUE(q.appendPoint(3, 0.25));
    EXPECT_TRUE(q.appendPoint(3, 0.75));
    EXPECT_EQ(pointsOf(q), (std::vector<std::pair<int32, double>>{{10, 0.5}, {3, 0.25}, {3, 0.75}}));
}

TEST(HostParameterChangesTest, OneQueuePerIdUntilFull)
{
    HostParameterChanges changes(2, 4);
    EXPECT_TRUE(changes.addChange(5, 0, 0.1));
    EXPECT_TRUE(changes.addChange(9, 3, 0.2));
    EXPECT_TRUE(changes.addChange(5, 7, 0.3)); // same queue as the first change
    EXPECT_EQ(changes.getParameterCount(), 2);
    ASSERT_NE(changes.find(5), nullptr);
    EXPECT_EQ(changes.find(5)->getPointCount(), 2);
    EXPECT_EQ(changes.find(1), nullptr);

    int32 index = 0;
    EXPECT_EQ(changes.addParameterData(9, index), changes.queue(1));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(changes.addParameterData(11, index), nullptr);
    EXPECT_EQ(index, -1);
    EXPECT_FALSE(changes.addChange(11, 0, 1.0));
    EXPECT_EQ(changes.getParameterData(2), nullptr);
    EXPECT_EQ(changes.getParameterData(-1), nullptr);

    changes.clear();
    EXPECT_EQ(changes.getParameterCount(), 0);
    EXPECT_TRUE(changes.addChange(11, 0, 1.0));
    EXPECT_EQ(changes.find(11)->getPointCount(), 1); // a reused queue starts empty
}

TEST(HostParameterChangesTest, AppendQueueAllowsRepeatedIds)
{
    HostParameterChanges changes(3, 2);
    ASSERT_NE(changes.appendQueue(4), nullptr);
    ASSERT_NE(changes.appendQueue(4), nullptr);
    EXPECT_EQ(changes.getParameterCount(), 2);
    EXPECT_EQ(changes.getParameterData(1)->getParameterId(), 4u);
}

TEST(HostEventListTest, KeepsOrderAndRefusesBeyondCapacity)
{
    HostEventList events(2);
    auto on = HostEventList::noteOn(3, 1, 60, 0.5f);
    auto off = HostEventList::noteOff(9, 1, 60, 0.0f);
    EXPECT_EQ(events.addEvent(off), kResultOk);
    EXPECT_EQ(events.addEvent(on), kResultOk);
    EXPECT_EQ(events.addEvent(on), kOutOfMemory);
    EXPECT_EQ(events.getEventCount(), 2);

    Vst::Event e{};
    ASSERT_EQ(events.getEvent(0, e), kResultOk);
    EXPECT_EQ(e.type, Vst::Event::kNoteOffEvent);
    EXPECT_EQ(e.sampleOffset, 9);
    ASSERT_EQ(events.getEvent(1, e), kResultOk);
    EXPECT_EQ(e.noteOn.pitch, 60);
    EXPECT_FLOAT_EQ(e.noteOn.velocity, 0.5f);
    EXPECT_EQ(events.getEvent(2, e), kInvalidArgument);
    EXPECT_EQ(events.getEvent(-1, e), kInvalidArgument);

    events.clear();
    EXPECT_EQ(events.getEventCount(), 0);
    EXPECT_EQ(events.addEvent(on), kResultOk);
}

TEST(HostAudioBuffersTest, RecordMatchesTheBusLayout)
{
    struct Case
    {
        int32 ins, outs;
    };
    for (auto c : {Case{2, 2}, Case{1, 1}, Case{0, 2}})
    {
        SCOPED_TRACE(testing::Message() << c.ins << " in, " << c.outs << " out");
        HostAudioBuffers buffers(c.ins, c.outs, 64);
        auto& data = buffers.prepare(1000);
        EXPECT_EQ(data.numSamples, 64); // clamped to the capacity
        EXPECT_EQ(data.symbolicSampleSize, Vst::kSample32);
        EXPECT_EQ(data.numInputs, c.ins > 0 ? 1 : 0);
        EXPECT_EQ(data.inputs == nullptr, c.ins == 0);
        ASSERT_EQ(data.numOutputs, 1);
        EXPECT_EQ(data.outputs[0].numChannels, c.outs);
        for (int32 ch = 0; ch < c.outs; ++ch)
            EXPECT_EQ(data.outputs[0].channelBuffers32[ch], buffers.output(ch));
        EXPECT_EQ(buffers.output(c.outs), nullptr);
        EXPECT_EQ(buffers.input(c.ins), nullptr);
        EXPECT_EQ(data.processContext, nullptr);
        buffers.useContext(true);
        EXPECT_EQ(data.processContext, &buffers.context());
        EXPECT_EQ(buffers.prepare(-5).numSamples, 0);
    }
}

TEST(HostStringsTest, RoundTripsAndTruncation)
{
    const std::string texts[] = {"", "Audio Output", "Größe", "日本語", "\xF0\x9F\x8E\xB9 keys"};
    for (const auto& text : texts)
    {
        auto wide = toUtf16(text);
        EXPECT_EQ(toUtf8(reinterpret_cast<const Vst::TChar*>(wide.c_str())), text);
    }
    EXPECT_EQ(toUtf16("\xF0\x9F\x8E\xB9").size(), 2u); // surrogate pair
    EXPECT_EQ(toUtf16("a\xFF"
                      "b"),
              u"a\uFFFDb");
    EXPECT_EQ(toUtf16("\xE6\x97"), u"\uFFFD"); // cut sequence

    const char16_t unterminated[] = {u'a', u'b', u'c', u'd'};
    EXPECT_EQ(toUtf8(reinterpret_cast<const Vst::TChar*>(unterminated), 3), "abc");
    const char16_t lone[] = {0xD800, u'x', 0};
    EXPECT_EQ(toUtf8(reinterpret_cast<const Vst::TChar*>(lone)), "\xEF\xBF\xBDx");

    Vst::String128 field;
    toString128(std::string(200, 'q'), field);
    EXPECT_EQ(toUtf8(field, 128), std::string(127, 'q'));
    EXPECT_EQ(field[127], 0);
    // A pair that would straddle the last place is dropped whole.
    toString128(std::string(126, 'q') + "\xF0\x9F\x8E\xB9", field);
    EXPECT_EQ(toUtf8(field, 128), std::string(126, 'q'));
}

TEST(HostStringsTest, ClassIdIsPrintedInMemoryOrder)
{
    const TUID cid = {0x01, 0x23, 0x45, 0x67, char(0x89), char(0xAB), char(0xCD), char(0xEF),
                      0x00, 0x10, 0x20, 0x30, 0x40,       0x50,       0x60,       char(0xFF)};
    EXPECT_EQ(cidToHex(cid), "0123456789ABCDEF00102030405060FF");
}

} // namespace
