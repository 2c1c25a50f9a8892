// Pieces of the VST2 wrapper that a host cannot reach without an editor or exact timing: the
// idle-driven run loop, the editor frame, transport conversion, the fixed-capacity host lists
// and text truncation.
#include "public.sdk/source/common/pluginview.h"
#include "public.sdk/source/vst/vst2wrapper/vst2editorframe.h"
#include "public.sdk/source/vst/vst2wrapper/vst2processcontext.h"
#include "public.sdk/source/vst/vst2wrapper/vst2runloop.h"
#include "public.sdk/source/vst/vst2wrapper/vst2text.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

#include "HostEventList.h"
#include "HostParameterChanges.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <unistd.h>

namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

struct CountingHandler : public Linux::IEventHandler, public Linux::ITimerHandler
{
    int fdCalls = 0;
    int timerCalls = 0;
    Vst2RunLoop* unregisterFrom = nullptr; // unregisters itself on its first call
    void PLUGIN_API onFDIsSet(Linux::FileDescriptor fd) override
    {
        char byte = 0;
        if (read(fd, &byte, 1) == 1)
            ++fdCalls;
        if (unregisterFrom)
            unregisterFrom->unregisterEventHandler(this);
    }
    void PLUGIN_API onTimer() override { ++timerCalls; }
    tresult PLUGIN_API queryInterface(const TUID, void** obj) override
    {
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }
};

TEST(Vst2RunLoop, IdleTicksServeReadableDescriptorsAndDueTimers)
{
    Vst2RunLoop loop;
    CountingHandler handler;
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    ASSERT_EQ(loop.registerEventHandler(&handler, fds[0]), kResultTrue);
    ASSERT_EQ(loop.registerTimer(&handler, 50), kResultTrue);
    EXPECT_EQ(loop.registerEventHandler(nullptr, fds[0]), kInvalidArgument);

    const auto now = Vst2RunLoop::Clock::now();
    loop.tick(now); // nothing readable, timer not due
    EXPECT_EQ(handler.fdCalls, 0);
    EXPECT_EQ(handler.timerCalls, 0);

    ASSERT_EQ(write(fds[1], "x", 1), 1);
    loop.tick(now + std::chrono::milliseconds(60));
    EXPECT_EQ(handler.fdCalls, 1);
    EXPECT_EQ(handler.timerCalls, 1);
    // A late tick fires a timer once, not once per missed interval.
    loop.tick(now + std::chrono::seconds(10));
    EXPECT_EQ(handler.timerCalls, 2);

    EXPECT_EQ(handler.fdCalls, 1); // nothing new to read

    // A handler may unregister itself from inside its call.
    handler.unregisterFrom = &loop;
    ASSERT_EQ(write(fds[1], "y", 1), 1);
    loop.tick(now + std::chrono::seconds(10));
    EXPECT_EQ(handler.fdCalls, 2);
    EXPECT_EQ(loop.handlerCount(), 0u);
    ASSERT_EQ(write(fds[1], "z", 1), 1);
    loop.tick(now + std::chrono::seconds(20));
    EXPECT_EQ(handler.fdCalls, 2);

    EXPECT_EQ(loop.unregisterTimer(&handler), kResultTrue);
    EXPECT_EQ(loop.unregisterTimer(&handler), kResultFalse);
    close(fds[0]);
    close(fds[1]);
}

// A view that asks its frame for the run loop when attached, as X11 editors do.
class FakeView : public CPluginView
{
public:
    explicit FakeView(bool refuse)
        : CPluginView(nullptr)
        , refuseAttach(refuse)
    {
        rect = ViewRect(0, 0, 640, 360);
    }
    tresult PLUGIN_API isPlatformTypeSupported(FIDString type) override
    {
        return std::strcmp(type, kPlatformTypeX11EmbedWindowID) == 0 ? kResultTrue : kResultFalse;
    }
    tresult PLUGIN_API attached(void* parent, FIDString type) override
    {
        if (refuseAttach)
            return kResultFalse;
        void* loop = nullptr;
        if (plugFrame && plugFrame->queryInterface(INLINE_UID_OF(Linux::IRunLoop), &loop) == kResultOk)
            static_cast<Linux::IRunLoop*>(loop)->registerTimer(&timer, 10);
        return CPluginView::attached(parent, type);
    }
    IPlugFrame* frame() const { return plugFrame; }
    CountingHandler timer;
    bool refuseAttach;
};

class FakeController : public EditController
{
public:
    IPlugView* PLUGIN_API createView(FIDString name) override
    {
        ++created;
        if (!withView || std::strcmp(name, ViewType::kEditor) != 0)
            return nullptr;
        lastView = new FakeView(refuseAttach);
        return lastView;
    }
    bool withView = true;
    bool refuseAttach = false;
    int created = 0;
    FakeView* lastView = nullptr;
};

TEST(Vst2EditorFrame, NoViewMeansNoEditor)
{
    FakeController controller;
    controller.withView = false;
    Vst2EditorFrame frame(controller, nullptr);
    EXPECT_FALSE(frame.hasEditor());
    Vst2::ERect* rect = nullptr;
    EXPECT_FALSE(frame.getRect(rect));
    EXPECT_EQ(rect, nullptr);
    int window = 0;
    EXPECT_FALSE(frame.open(&window));
    frame.close();
    frame.idle();
}

TEST(Vst2EditorFrame, OpenSizeResizeAndClose)
{
    FakeController controller;
    int asked = 0;
    bool hostAgrees = true;
    Vst2EditorFrame frame(controller, [&](int32 w, int32 h) {
        asked = w * 10000 + h;
        return hostAgrees;
    });
    ASSERT_TRUE(frame.hasEditor());
    Vst2::ERect* rect = nullptr;
    ASSERT_TRUE(frame.getRect(rect));
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, 640);
    EXPECT_EQ(rect->bottom - rect->top, 360);

    EXPECT_FALSE(frame.open(nullptr)); // no parent window
    int window = 0;
    ASSERT_TRUE(frame.open(&window));
    EXPECT_TRUE(frame.isOpen());
    FakeView* view = controller.lastView;
    ASSERT_NE(view->frame(), nullptr);
    // The editor's timer runs from the host's idle calls.
    usleep(20000);
    frame.idle();
    EXPECT_EQ(view->timer.timerCalls, 1);

    ViewRect bigger(0, 0, 800, 500);
    EXPECT_EQ(view->frame()->resizeView(view, &bigger), kResultTrue);
    EXPECT_EQ(asked, 800 * 10000 + 500);
    ASSERT_TRUE(frame.getRect(rect));
    EXPECT_EQ(rect->right, 800);
    hostAgrees = false;
    ViewRect refused(0, 0, 100, 100);
    EXPECT_EQ(view->frame()->resizeView(view, &refused), kResultFalse);
    EXPECT_EQ(view->frame()->resizeView(nullptr, &refused), kInvalidArgument);

    frame.close();
    EXPECT_FALSE(frame.isOpen());
    frame.idle(); // the closed editor's timer is gone
}

TEST(Vst2EditorFrame, RefusedAttachKeepsNoView)
{
    FakeController controller;
    controller.refuseAttach = true;
    Vst2EditorFrame frame(controller, nullptr);
    int window = 0;
    EXPECT_FALSE(frame.open(&window));
    EXPECT_FALSE(frame.isOpen());
    controller.refuseAttach = false;
    EXPECT_TRUE(frame.open(&window)); // a later attempt makes a fresh view
    frame.close();
}

TEST(Vst2ProcessContext, ValidityBitsDecideWhatIsCopied)
{
    Vst2::VstTimeInfo time{};
    time.samplePos = 48000.0;
    time.sampleRate = 0.0; // missing: the fallback stands in
    time.tempo = 128.0;
    time.ppqPos = 4.5;
    time.timeSigNumerator = 7;
    time.timeSigDenominator = 8;
    time.flags = Vst2::kVstTransportPlaying | Vst2::kVstTempoValid | Vst2::kVstTimeSigValid;
    ProcessContext context{};
    fillProcessContext(time, 44100.0, context);
    EXPECT_EQ(context.projectTimeSamples, 48000);
    EXPECT_EQ(context.sampleRate, 44100.0);
    EXPECT_TRUE(context.state & ProcessContext::kPlaying);
    EXPECT_TRUE(context.state & ProcessContext::kTempoValid);
    EXPECT_EQ(context.tempo, 128.0);
    EXPECT_EQ(context.timeSigNumerator, 7);
    EXPECT_FALSE(context.state & ProcessContext::kProjectTimeMusicValid);
    EXPECT_EQ(context.projectTimeMusic, 0.0); // not valid, not copied

    time.samplePos = 1e300; // nonsense from a host: no overflow, position 0
    time.flags = 0;
    fillProcessContext(time, 44100.0, context);
    EXPECT_EQ(context.projectTimeSamples, 0);
    EXPECT_EQ(context.state, 0u);
}

// The lists as the wrapper fills them: fixed capacities, and MIDI values added as each queue's
// latest point.
TEST(Vst2HostLists, FixedCapacityNeverGrows)
{
    TessalineHost::HostParameterChanges changes(2, 3);
    int32 index = -1;
    IParamValueQueue* a = changes.addParameterData(10, index);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(changes.addParameterData(10, index), a); // same id, same queue
    ASSERT_NE(changes.addParameterData(11, index), nullptr);
    EXPECT_EQ(changes.addParameterData(12, index), nullptr); // full
    TessalineHost::HostParamValueQueue* latest = changes.find(10);
    ASSERT_EQ(latest, a);
    for (int32 k = 0; k < 5; ++k)
        latest->addLatestPoint(k * 10, k / 10.0);
    // Full queue: the newest value replaced the last point.
    ASSERT_EQ(a->getPointCount(), 3);
    int32 offset = 0;
    ParamValue value = 0;
    ASSERT_EQ(a->getPoint(2, offset, value), kResultTrue);
    EXPECT_EQ(offset, 40);
    EXPECT_DOUBLE_EQ(value, 0.4);
    // Points stay in offset order: an earlier one moves to the last offset.
    latest->addLatestPoint(5, 0.9);
    ASSERT_EQ(a->getPoint(2, offset, value), kResultTrue);
    EXPECT_EQ(offset, 40);
    EXPECT_DOUBLE_EQ(value, 0.9);
    EXPECT_NE(a->getPoint(3, offset, value), kResultTrue);
    changes.clear();
    EXPECT_EQ(changes.getParameterCount(), 0);
    EXPECT_EQ(changes.getParameterData(0), nullptr);

    TessalineHost::HostEventList events(1);
    Event e{};
    EXPECT_EQ(events.addEvent(e), kResultTrue);
    EXPECT_NE(events.addEvent(e), kResultTrue);
    EXPECT_EQ(events.getEventCount(), 1);
    EXPECT_NE(events.getEvent(1, e), kResultTrue);
}

TEST(Vst2Text, TruncationKeepsWholeCharacters)
{
    const struct
    {
        const char* text;
        size_t size;
        const char* expected;
    } cases[] = {
        {"Tessaline", 32, "Tessaline"},
        {"Tessaline", 5, "Tess"},
        {"Abs L\xe2\x80\x93R", 8, "Abs L"}, // the 3-byte dash does not fit whole
        {"Abs L\xe2\x80\x93R", 9, "Abs L\xe2\x80\x93"},
        {"", 4, ""},
    };
    for (const auto& c : cases)
    {
        char out[64];
        std::memset(out, 'x', sizeof out);
        Vst2Text::copyUtf8(c.text, out, c.size);
        EXPECT_STREQ(out, c.expected) << c.text << " in " << c.size;
    }

    const char16 wide[] = {'d', 'B', ' ', 0x2013, ' ', 0xD83D, 0xDE00, 0};
    char out[16];
    Vst2Text::copyUtf16(wide, out, sizeof out);
    EXPECT_STREQ(out, "dB \xe2\x80\x93 \xf0\x9f\x98\x80");
    Vst2Text::copyUtf16(wide, out, 9); // the 4-byte character does not fit
    EXPECT_STREQ(out, "dB \xe2\x80\x93 ");

    String128 back{};
    Vst2Text::toString128("L90 \xe2\x80\x93 \xff", back);
    const char16 expected[] = {'L', '9', '0', ' ', 0x2013, ' ', 0xFFFD, 0};
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(back[i], expected[i]) << i;
}

} // namespace
