// The editor a DSP object draws itself, and the room panel, which names no framework view.
#include "FrameworkDsp.h"

#include "editor/CTovuCustomView.h"

#include "vstgui/lib/cframe.h"
#include "vstgui/lib/cviewcontainer.h"
#include "vstgui/uidescription/uidescription.h"

#include <sstream>
#include <typeinfo>

using namespace FrameworkTest;
using namespace VSTGUI;

namespace {

TEST(OwnEditor, OpensWithCodesSixAndThirteenAndClosesWithSeven)
{
    auto* dsp = new FrameworkDsp;
    dsp->claimsOwnEditor = true;
    dsp->drawsOwnEditor = true;
    ProcessorHolder holder(dsp);
    ASSERT_EQ(holder->initialize(nullptr), kResultOk);
    holder->setParamNormalized(2, 0.25);
    IPlugView* view = holder->createView("editor");
    auto* own = dynamic_cast<CTovuCustomView*>(view);
    ASSERT_NE(own, nullptr);
    dsp->uiMessages.clear();

    int parent = 0;
    ASSERT_TRUE(own->open(&parent, kX11EmbedWindowID));
    const int32 count = holder->getParameterCount();
    ASSERT_EQ(dsp->uiMessages.size(), static_cast<size_t>(count) + 1);
    const CUiMessage& opened = dsp->uiMessages[0];
    EXPECT_EQ(opened.code, kUiOpenOwnEditor);
    EXPECT_EQ(opened.parentWindow, &parent);
    EXPECT_EQ(opened.editorView, own);
    EXPECT_EQ(opened.connector, static_cast<CVSTParameterConnector*>(own));
    for (int32 id = 0; id < count; ++id)
    {
        const CUiMessage& m = dsp->uiMessages[static_cast<size_t>(id) + 1];
        EXPECT_EQ(m.code, kUiParameterValue);
        EXPECT_EQ(m.paramIndex, id);
        EXPECT_DOUBLE_EQ(m.paramValue, holder->getParamNormalized(static_cast<ParamID>(id)));
    }
    EXPECT_DOUBLE_EQ(dsp->uiMessages[3].paramValue, 0.25);
    ASSERT_NE(own->getFrame(), nullptr);
    EXPECT_EQ(own->getFrame()->getViewSize(), CRect(0, 0, 240, 130));

    // The connector edits parameters as one gesture.
    CVSTParameterConnector* connector = own;
    connector->beginEdit(0);
    connector->parameterChanged(0, 0.75f);
    connector->endEdit(0);
    EXPECT_DOUBLE_EQ(holder->getParamNormalized(0), 0.75);

    dsp->uiMessages.clear();
    own->close();
    ASSERT_EQ(dsp->uiMessages.size(), 1u);
    EXPECT_EQ(dsp->uiMessages[0].code, kUiCloseOwnEditor);
    EXPECT_EQ(dsp->uiMessages[0].parentWindow, &parent);
    EXPECT_EQ(own->getFrame(), nullptr);
    view->release();
}

TEST(OwnEditor, RefusesWhenTheDspObjectDoesNotAnswer)
{
    auto* dsp = new FrameworkDsp;
    dsp->claimsOwnEditor = true; // claims an editor but never opens it
    ProcessorHolder holder(dsp);
    IPlugView* view = holder->createView("editor");
    auto* own = dynamic_cast<CTovuCustomView*>(view);
    ASSERT_NE(own, nullptr);
    EXPECT_FALSE(own->open(nullptr, kX11EmbedWindowID));
    EXPECT_EQ(own->getFrame(), nullptr); // nothing kept for an editor that never shows
    view->release();
}

// The class, place and children of every view, one line each.
void describe(CView* v, int depth, std::ostringstream& out)
{
    out << std::string(static_cast<size_t>(depth), ' ') << typeid(*v).name() << " " << v->getViewSize().left
        << "," << v->getViewSize().top << "," << v->getViewSize().right << "," << v->getViewSize().bottom
        << "\n";
    if (auto* c = dynamic_cast<CViewContainer*>(v))
        for (uint32_t i = 0; i < c->getNbViews(); ++i)
            describe(c->getView(i), depth + 1, out);
}

// A controller that builds nothing of its own: the description's classes alone.
struct PlainController : IController
{};

TEST(RoomPanelFactory, SameTreeWithAndWithoutTheFactory)
{
    Processor* processor = new Processor();
    ASSERT_EQ(processor->initialize(nullptr), kResultOk);
    OffscreenEditor withFactory(processor);
    ASSERT_TRUE(withFactory.open());

    auto desc =
        makeOwned<UIDescription>(CResourceDescription(std::string(TESSALINE_RESOURCE_DIR) + "/tovu.uidesc"));
    ASSERT_TRUE(desc->parse());
    PlainController plain;
    desc->setController(&plain);
    CView* bare = desc->createView("Editor", &plain);
    ASSERT_NE(bare, nullptr);

    std::ostringstream a, b;
    auto* frame = withFactory.frame();
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->getNbViews(), 1u);
    describe(frame->getView(0), 0, a);
    describe(bare, 0, b);
    EXPECT_EQ(a.str(), b.str());
    EXPECT_GT(a.str().size(), 100u);
    bare->forget();
    withFactory.close();
    processor->terminate();
    processor->release();
}

} // namespace
