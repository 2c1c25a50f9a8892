// libFuzzer target: arbitrary bytes as the editor's description, read by the toolkit's expat
// reader and built by its view factory with the Processor as the editor's delegate, so the
// framework's named views and sub-controllers are built from fuzzed attributes too. The editor
// opens offscreen (a frame with no window: no X display needed), binds its controls to the
// parameters, draws a corner of the frame into an image, takes a timer tick, builds and drops the
// description's other templates and closes.
#include "adapter/processor/Processor.h"

#include "editor/ProcessorEditorViews.h"

#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/cvstguitimer.h"
#include "vstgui/plugin-bindings/vst3editor.h"
#include "vstgui/uidescription/uidescription.h"

#include <cstdint>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Steinberg::Vst::Vava2DUZ3;
using namespace VSTGUI;

namespace {
// The editor's template name; other templates are built on their own.
constexpr const char* kTemplate = "Editor";
constexpr size_t kMaxOtherTemplates = 4;
// Only this corner is drawn: enough to reach every kind of view without paying for large images.
constexpr int kCanvas = 96;

Processor& processor()
{
    static Processor* instance = [] {
        CProcessorEditorViews::install();
        auto* p = new Processor();
        p->initialize(nullptr);
        return p;
    }();
    return *instance;
}

void drawCorner(CFrame& frame)
{
    static SharedPointer<COffscreenContext> context = COffscreenContext::create(CPoint(kCanvas, kCanvas));
    frame.drawRect(context, CRect(0, 0, kCanvas, kCanvas));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Processor& controller = processor();
    auto description = makeOwned<UIDescription>(CResourceDescription());
    if (!description->parseText(std::string(reinterpret_cast<const char*>(data), size)))
        return 0;

    auto* editor = new VST3Editor(description, &controller, kTemplate, nullptr);
    if (editor->open(nullptr, kDefaultNative))
    {
        if (CFrame* frame = editor->getFrame())
            drawCorner(*frame);
        static_cast<CBaseObject*>(editor)->notify(nullptr, CVSTGUITimer::kMsgTimer);
        size_t built = 0;
        for (const std::string& name : description->collectTemplateViewNames())
        {
            if (name == kTemplate)
                continue;
            if (built++ == kMaxOtherTemplates)
                break;
            if (CView* view = description->createView(name.c_str(), editor))
                view->forget();
        }
        editor->close();
    }
    editor->release();
    return 0;
}
