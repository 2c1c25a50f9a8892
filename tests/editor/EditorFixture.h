// A Processor around a recording DSP object for editor tests: which editor messages arrive,
// whether it claims an editor of its own, and a fixed set of dependent controls.
#pragma once

#include "adapter/processor/Processor.h"

#include "HostComponentHandler.h"

#include "support/DspWithControls.h"
#include "support/PendingProcessor.h"

#include "editor/EditorResources.h"
#include "editor/ProcessorEditorViews.h"
#include "editor/VST3EditorKa.h"

#include "vstgui/lib/cframe.h"
#include "vstgui/lib/cvstguitimer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace EditorTest {

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Steinberg::Vst::Vava2DUZ3;

// The editor library's views, installed for every Processor of the test as the plug-in module
// installs them (the adapter itself builds no editor).
inline const bool kEditorViewsInstalled = (CProcessorEditorViews::install(), true);

// A DSP object with controls of its own (DspWithControls), which records every editor message,
// answers the own-editor question as told and names a fixed set of dependent controls for any edit.
class EditorDsp : public TessalineTest::DspWithControls
{
public:
    std::vector<CUiMessage> uiMessages;
    bool claimsOwnEditor = false;     // answer to "has own editor"
    std::vector<uint32_t> dependents; // control ids reported for any edit
    float dependentValue = 0.0f;

    EditorDsp()
    {
        m_bHasEditor = true;
        m_nKnobMode = kEditorKnobFollowHost;
    }

    using DspWithControls::addControl;
    // Appends a float control (id 100 + position) bound to values[position].
    CControlEntry& addControl(const char* name, float min, float max, float initial)
    {
        return addControl(name, 100, kDataFloat, min, max, initial);
    }

    void* uiMessage(CUiMessage* message) override
    {
        uiMessages.push_back(*message);
        if (message->code == kUiHasOwnEditor)
            message->answer = claimsOwnEditor;
        return nullptr;
    }

    bool reportDependentControls(uint32_t, float, CDependentControl** list, bool) override
    {
        if (dependents.empty())
            return false;
        CDependentControl** tail = list;
        for (uint32_t id : dependents)
        {
            *tail = new CDependentControl{id, dependentValue, nullptr};
            tail = &(*tail)->pNext;
        }
        return true;
    }

    // Codes of the editor messages received so far, in order.
    std::vector<uint32_t> codes() const
    {
        std::vector<uint32_t> result;
        for (const CUiMessage& m : uiMessages)
            result.push_back(m.code);
        return result;
    }
};

// A Processor around an EditorDsp (or none), released at the end of the test.
using ProcessorHolder = TessalineTest::PendingProcessor<EditorDsp>;

// A recording component handler installed on the holder's Processor.
struct HandlerHolder
{
    Steinberg::IPtr<TessalineHost::HostComponentHandler> handler;
    explicit HandlerHolder(Processor* processor)
        : handler(new TessalineHost::HostComponentHandler, false)
    {
        processor->setComponentHandler(handler);
    }
};

// The editor the Processor creates, opened without a window: the whole view tree is built
// and bound, and ticks of its timer are delivered by hand.
class OffscreenEditor
{
public:
    explicit OffscreenEditor(Processor* processor)
    {
        Steinberg::Vst::Vava2DUZ3::setEditorResourceFolder(TESSALINE_RESOURCE_DIR);
        view = processor->createView("editor");
        editor = dynamic_cast<VST3EditorKa*>(view);
    }
    ~OffscreenEditor()
    {
        if (editor)
            editor->close();
        if (view)
            view->release();
    }
    bool open() { return editor && editor->open(nullptr, VSTGUI::kDefaultNative); }
    void close() { editor->close(); }
    // One tick of the editor's timer, as its run loop delivers it.
    void tick()
    {
        VSTGUI::CBaseObject* timerTarget = editor;
        timerTarget->notify(nullptr, VSTGUI::CVSTGUITimer::kMsgTimer);
    }
    VSTGUI::CFrame* frame() const { return editor->getFrame(); }

    IPlugView* view = nullptr;
    VST3EditorKa* editor = nullptr;
};

} // namespace EditorTest
