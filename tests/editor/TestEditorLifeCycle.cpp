// What the DSP object hears of the editor's life: one open, a ping per timer tick, a fresh
// open after a rebuild, one close; and the dependent controls it names after an edit.
#include "EditorFixture.h"

#include "vstgui/lib/controls/ccontrol.h"
#include "vstgui/lib/controls/ctextedit.h"

using namespace EditorTest;

namespace {

class EditorLife : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dsp = new EditorDsp;
        // Eleven controls, so that every control of the panel binds to a parameter.
        for (int i = 0; i < 11; ++i)
            dsp->addControl(("C" + std::to_string(i)).c_str(), 0.0f, 10.0f, 5.0f);
        holder = std::make_unique<ProcessorHolder>(dsp);
        ASSERT_EQ((*holder)->initialize(nullptr), kResultOk);
        handler = std::make_unique<HandlerHolder>(holder->processor);
        session = std::make_unique<OffscreenEditor>(holder->processor);
        ASSERT_NE(session->editor, nullptr);
        dsp->uiMessages.clear(); // the creation's question is another test's business
    }
    void TearDown() override
    {
        session.reset();
        holder->processor->setComponentHandler(nullptr);
        handler.reset();
        holder.reset();
    }

    // The panel's control with this tag.
    VSTGUI::CControl* control(int32_t tag) const
    {
        VSTGUI::CControl* found = nullptr;
        session->frame()->forEachChild(
            [&](VSTGUI::CView* view) {
                auto* c = dynamic_cast<VSTGUI::CControl*>(view);
                if (c && c->getTag() == tag && !found)
                    found = c;
            },
            true);
        return found;
    }

    EditorDsp* dsp = nullptr;
    std::unique_ptr<ProcessorHolder> holder;
    std::unique_ptr<HandlerHolder> handler;
    std::unique_ptr<OffscreenEditor> session;
};

} // namespace

TEST_F(EditorLife, OpenTicksRebuildAndClose)
{
    ASSERT_TRUE(session->open());
    EXPECT_EQ(dsp->codes(), (std::vector<uint32_t>{kUiDidOpen}));
    const CUiMessage& opened = dsp->uiMessages.back();
    ASSERT_NE(opened.viewName, nullptr);
    EXPECT_STREQ(opened.viewName, "");
    ASSERT_NE(opened.extraText, nullptr);
    EXPECT_STREQ(opened.extraText, "");
    EXPECT_EQ(opened.editorView, nullptr);
    EXPECT_FALSE(opened.answer);

    for (int i = 0; i < 3; ++i)
        session->tick();
    EXPECT_EQ(dsp->codes(), (std::vector<uint32_t>{kUiDidOpen, kUiTimerPing, kUiTimerPing, kUiTimerPing}));
    // A tick names only its code: the record keeps what the open left in it.
    EXPECT_STREQ(dsp->uiMessages.back().viewName, "");

    // A rebuild is carried out on the next tick and announced as a fresh open, with no close.
    session->editor->requestRecreateView();
    dsp->uiMessages.clear();
    session->tick();
    EXPECT_EQ(dsp->codes(), (std::vector<uint32_t>{kUiTimerPing, kUiDidOpen}));
    EXPECT_NE(control(0), nullptr); // the rebuilt panel is bound again
    session->tick();
    EXPECT_EQ(dsp->codes(), (std::vector<uint32_t>{kUiTimerPing, kUiDidOpen, kUiTimerPing}));

    dsp->uiMessages.clear();
    session->close();
    EXPECT_EQ(dsp->codes(), (std::vector<uint32_t>{kUiWillClose}));
    EXPECT_EQ(session->frame(), nullptr);
}

TEST_F(EditorLife, TimerRunsEveryFiftyMilliseconds)
{
    EXPECT_EQ(session->editor->getIdleRate(), VST3EditorKa::kIdleRateMs);
    EXPECT_EQ(VST3EditorKa::kIdleRateMs, 50);
}

TEST_F(EditorLife, ReopenedEditorAnnouncesItselfAgain)
{
    ASSERT_TRUE(session->open());
    session->close();
    ASSERT_TRUE(session->open());
    EXPECT_EQ(dsp->codes(), (std::vector<uint32_t>{kUiDidOpen, kUiWillClose, kUiDidOpen}));
}

TEST_F(EditorLife, DependentControlsFollowAnEdit)
{
    // The fifth control answers to id 7; nothing answers to 99.
    dsp->m_ControlList.controlAt(4)->uId = 7;
    dsp->dependents = {7, 99};
    dsp->dependentValue = 2.5f;
    session = std::make_unique<OffscreenEditor>(holder->processor); // copies the list again
    ASSERT_TRUE(session->open());
    VSTGUI::CControl* gain = control(0);
    ASSERT_NE(gain, nullptr);
    handler->handler->reset();

    gain->beginEdit();
    gain->setValueNormalized(0.8f);
    gain->valueChanged();
    gain->endEdit();

    auto& edits = handler->handler->edits;
    ASSERT_EQ(edits.size(), 2u);
    EXPECT_EQ(edits[0].id, 0u);
    EXPECT_NEAR(edits[0].value, 0.8, 1e-6);
    EXPECT_EQ(edits[1].id, 4u); // the position of id 7, told once, without a gesture of its own
    EXPECT_NEAR(edits[1].value, 0.25, 1e-6);
    EXPECT_NEAR(holder->processor->getParamNormalized(4), 0.25, 1e-6);
    EXPECT_EQ(handler->handler->beginEditCount, 1);
    EXPECT_EQ(handler->handler->endEditCount, 1);
    for (ParamID id : {1u, 2u, 3u, 5u, 6u})
        EXPECT_NEAR(holder->processor->getParamNormalized(id), 0.5, 1e-6) << id;
}

TEST_F(EditorLife, NoDependentQueryForTagsWithoutAControl)
{
    // A control whose tag names no control of the DSP object (the reserved range): the edit
    // reaches nothing, and the DSP object is not asked about followers.
    dsp->dependents = {100};
    ASSERT_TRUE(session->open());
    handler->handler->reset();
    VSTGUI::CControl reserved(VSTGUI::CRect(0, 0, 10, 10), session->editor, 32768);
    reserved.setValueNormalized(1.0f);
    session->editor->valueChanged(&reserved);
    EXPECT_TRUE(handler->handler->edits.empty());
}

TEST_F(EditorLife, TypedTextTheParameterCannotReadChangesNothing)
{
    ASSERT_TRUE(session->open());
    // A text field bound to the first parameter, as a description could place one.
    auto* field = new VSTGUI::CTextEdit(VSTGUI::CRect(0, 0, 60, 16), session->editor, 0);
    session->frame()->addView(field);
    const std::string shown = field->getText();
    EXPECT_EQ(shown, "5.00"); // the parameter's own text
    handler->handler->reset();

    field->setText("loud");
    session->editor->valueChanged(field);
    EXPECT_TRUE(handler->handler->edits.empty());
    EXPECT_NEAR(holder->processor->getParamNormalized(0), 0.5, 1e-9);
    EXPECT_EQ(field->getText(), shown);

    // A number in the parameter's range is taken as typed.
    field->setText("2.5");
    session->editor->valueChanged(field);
    ASSERT_EQ(handler->handler->edits.size(), 1u);
    EXPECT_EQ(handler->handler->edits[0].id, 0u);
    EXPECT_NEAR(handler->handler->edits[0].value, 0.25, 1e-6);
}
