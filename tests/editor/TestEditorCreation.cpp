// Which editor createView builds, and how its knobs follow the mouse.
#include "EditorFixture.h"

#include "editor/CTovuCustomView.h"

#include "pluginterfaces/gui/iplugview.h"

using namespace EditorTest;

namespace {

// Releases a view the way a host does when it is done with it.
struct ViewHolder
{
    IPlugView* view;
    explicit ViewHolder(IPlugView* v)
        : view(v)
    {}
    ~ViewHolder()
    {
        if (view)
            view->release();
    }
    VST3EditorKa* editor() const { return dynamic_cast<VST3EditorKa*>(view); }
};

// Restores the host knob mode, which the SDK keeps for every controller of the process.
struct HostKnobModeGuard
{
    EditController* controller;
    ~HostKnobModeGuard() { controller->setKnobMode(kCircularMode); }
};

} // namespace

TEST(EditorCreation, CreateViewDecidesWhichEditor)
{
    struct Case
    {
        const char* what;
        bool withDsp;
        const char* name;
        bool hasEditor;
        bool claimsOwnEditor;
        bool expectPanel;
        bool expectAsked; // the DSP object was asked whether it has an editor of its own
    };
    const Case cases[] = {
        {"no DSP object", false, "editor", true, false, false, false},
        {"capitalised name", true, "Editor", true, false, false, false},
        {"longer name", true, "editors", true, false, false, false},
        {"no name", true, nullptr, true, false, false, false},
        {"DSP object without editor", true, "editor", false, false, false, false},
        {"DSP object with its own editor", true, "editor", true, true, false, true},
        {"the panel", true, "editor", true, false, true, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        auto* dsp = c.withDsp ? new EditorDsp : nullptr;
        if (dsp)
        {
            dsp->m_bHasEditor = c.hasEditor;
            dsp->claimsOwnEditor = c.claimsOwnEditor;
        }
        ProcessorHolder p(dsp);
        ViewHolder view(p->createView(c.name));
        EXPECT_EQ(view.editor() != nullptr, c.expectPanel);
        // A DSP object that draws its own editor gets the view that hands it a frame.
        const bool ownEditor = dynamic_cast<CTovuCustomView*>(view.view) != nullptr;
        EXPECT_EQ(ownEditor, c.claimsOwnEditor && c.expectAsked);
        if (!c.expectPanel && !ownEditor)
        {
            EXPECT_EQ(view.view, nullptr);
        }
        if (!dsp)
            continue;
        const bool asked = !dsp->uiMessages.empty() && dsp->uiMessages[0].code == kUiHasOwnEditor;
        EXPECT_EQ(asked, c.expectAsked);
        if (asked)
        {
            EXPECT_FALSE(dsp->uiMessages[0].answer); // asked with the answer cleared
            EXPECT_EQ(dsp->uiMessages.size(), 1u);   // nothing else before the view opens
        }
    }
}

TEST(EditorCreation, EditorCopiesTheControlListForIdLookups)
{
    auto* dsp = new EditorDsp;
    dsp->addControl("A", 0.0f, 1.0f, 0.5f);
    dsp->addControl("B", 0.0f, 1.0f, 0.5f);
    dsp->addControl("C", 0.0f, 1.0f, 0.5f).uId = 7;
    ProcessorHolder p(dsp);
    ViewHolder view(p->createView("editor"));
    ASSERT_NE(view.editor(), nullptr);
    const std::pair<uint32, int32> lookups[] = {{100, 0}, {101, 1}, {7, 2}, {102, -1}, {99, -1}};
    for (const auto& [id, index] : lookups)
        EXPECT_EQ(view.editor()->findControlIndex(id), index) << id;
    // The copy is the editor's own: later changes of the DSP object's list do not reach it.
    dsp->m_ControlList.controlAt(0)->uId = 55;
    EXPECT_EQ(view.editor()->findControlIndex(100), 0);
    EXPECT_EQ(view.editor()->findControlIndex(55), -1);
}

TEST(EditorCreation, KnobModeForEachSettingAndHostMode)
{
    struct Case
    {
        int32 setting, hostMode, expected;
    };
    const Case cases[] = {
        {0, 2, VSTGUI::kCircularMode}, {1, 2, VSTGUI::kRelativCircularMode}, {2, 0, VSTGUI::kLinearMode},
        {3, 0, VSTGUI::kCircularMode}, {3, 1, VSTGUI::kRelativCircularMode}, {3, 2, VSTGUI::kLinearMode},
        {3, 7, VSTGUI::kLinearMode},   {4, 0, VSTGUI::kLinearMode},          {-1, 1, VSTGUI::kLinearMode},
    };
    for (const Case& c : cases)
        EXPECT_EQ(answerKnobMode(c.setting, c.hostMode), c.expected)
            << "setting " << c.setting << ", host " << c.hostMode;
}

TEST(EditorCreation, EditorFollowsTheKnobModeTheHostSets)
{
    auto* dsp = new EditorDsp; // asks to follow the host
    ProcessorHolder p(dsp);
    HostKnobModeGuard guard{p.processor};
    ViewHolder view(p->createView("editor"));
    ASSERT_NE(view.editor(), nullptr);
    FUnknownPtr<IEditController2> controller2(static_cast<IEditController*>(p.processor));
    ASSERT_TRUE(controller2);
    const std::pair<KnobMode, int32_t> modes[] = {{kRelativCircularMode, VSTGUI::kRelativCircularMode},
                                                  {7, VSTGUI::kLinearMode},
                                                  {kCircularMode, VSTGUI::kCircularMode}};
    for (const auto& [host, expected] : modes)
    {
        controller2->setKnobMode(host);
        EXPECT_EQ(view.editor()->getKnobMode(), expected) << "host mode " << host;
    }
}

TEST(EditorCreation, RoomPanelKnobsAreLinearWhateverTheHost)
{
    auto* processor = new Processor; // the room model
    {
        HostKnobModeGuard guard{processor};
        ViewHolder view(processor->createView("editor"));
        ASSERT_NE(view.editor(), nullptr);
        for (KnobMode host : {kCircularMode, kRelativCircularMode, kLinearMode})
        {
            processor->setKnobMode(host);
            EXPECT_EQ(view.editor()->getKnobMode(), VSTGUI::kLinearMode);
        }
        // The panel has one size: any size change is taken as it comes.
        EXPECT_TRUE(
            view.editor()->beforeSizeChange(VSTGUI::CRect(0, 0, 10, 10), VSTGUI::CRect(0, 0, 303, 525)));
    }
    processor->release();
}
