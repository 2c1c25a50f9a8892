// The editor's life during playback leaves the audio alone: opening, ticking, editing,
// closing and reopening the room panel between blocks gives, sample for sample, the output of
// a session without an editor that receives the same parameter changes from its host.
#include "EditorFixture.h"

#include "HostAudioBuffers.h"
#include "HostParameterChanges.h"

#include <random>

using namespace EditorTest;

namespace {

constexpr int32 kBlock = 512;

class RoomSession
{
public:
    RoomSession()
        : processor(new Processor)
    {
        EXPECT_EQ(processor->initialize(nullptr), kResultOk);
        ProcessSetup setup{kRealtime, kSample32, kBlock, 48000.0};
        EXPECT_EQ(processor->setupProcessing(setup), kResultOk);
        EXPECT_EQ(processor->setActive(true), kResultOk);
    }
    ~RoomSession()
    {
        processor->setActive(false);
        processor->terminate();
        processor->release();
    }

    // One block of the same noise for every session, with the host's changes of this block.
    std::vector<float> block(int index, const std::vector<TessalineHost::HostComponentHandler::Edit>& edits)
    {
        std::mt19937 noise(static_cast<uint32_t>(index));
        std::uniform_real_distribution<float> sample(-0.5f, 0.5f);
        for (int32 c = 0; c < 2; ++c)
            for (int32 i = 0; i < kBlock; ++i)
                buffers.input(c)[i] = sample(noise);
        changes.clear();
        for (const auto& edit : edits)
            changes.addChange(edit.id, 0, edit.value);
        ProcessData& data = buffers.prepare(kBlock);
        data.inputParameterChanges = &changes;
        EXPECT_EQ(processor->process(data), kResultOk);
        std::vector<float> out(buffers.output(0), buffers.output(0) + kBlock);
        out.insert(out.end(), buffers.output(1), buffers.output(1) + kBlock);
        return out;
    }

    Processor* processor;
    TessalineHost::HostAudioBuffers buffers{2, 2, kBlock};
    TessalineHost::HostParameterChanges changes{16, 16};
};

} // namespace

TEST(PlaybackWithEditor, EditorLifeLeavesTheAudioAsTheHostSendsIt)
{
    RoomSession plain;
    RoomSession withEditor;
    HandlerHolder handler(withEditor.processor);
    auto session = std::make_unique<OffscreenEditor>(withEditor.processor);
    ASSERT_NE(session->editor, nullptr);

    for (int b = 0; b < 12; ++b)
    {
        handler.handler->reset();
        switch (b % 4)
        {
        case 0: ASSERT_TRUE(session->open()); break;
        case 1:
            for (int t = 0; t < 3; ++t)
                session->tick();
            break;
        case 2:
        {
            // A switch clicked in the panel: the host records the edit and sends it back
            // with the next block, as a host does.
            session->tick();
            auto* frame = session->frame();
            VSTGUI::CPoint decay(150, 294);
            frame->onMouseDown(decay, VSTGUI::CButtonState(VSTGUI::kLButton));
            frame->onMouseUp(decay, VSTGUI::CButtonState(VSTGUI::kLButton));
            EXPECT_EQ(handler.handler->edits.size(), 1u);
            break;
        }
        default:
            session->close();
            if (b == 7) // released and created again, as a host does on reopening
                session = std::make_unique<OffscreenEditor>(withEditor.processor);
            break;
        }
        const auto edits = handler.handler->edits;
        const auto expected = plain.block(b, edits);
        EXPECT_EQ(withEditor.block(b, edits), expected) << "block " << b;
    }
    withEditor.processor->setComponentHandler(nullptr);
}
